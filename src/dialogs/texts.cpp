#include "dialogs/texts.h"

#include <QLineEdit>
#include <QValidator>

#include <cstring>

#include "language.h"
#include "model/quantity.h"

namespace units {
namespace dialogs {
namespace {

// Windows-1252 at 0x80..0x9F; the other bytes are Latin-1. Unassigned
// bytes keep their C1 code point, so the decoding never loses a byte.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QString FromWindows1252(const char* bytes, size_t length) {
  QString text;
  text.reserve(static_cast<qsizetype>(length));
  for (size_t i = 0; i < length; ++i) {
    const auto byte = static_cast<unsigned char>(bytes[i]);
    text.append(QChar(byte >= 0x80 && byte < 0xA0 ? kCp1252High[byte - 0x80] : char16_t{byte}));
  }
  return text;
}

bool IsValidUtf8(const char* bytes, size_t length) {
  size_t i = 0;
  while (i < length) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    size_t extra = 0;
    uint32_t code = 0;
    if (lead < 0x80) {
      ++i;
      continue;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
      extra = 1;
      code = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      extra = 2;
      code = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      extra = 3;
      code = lead & 0x07;
    } else {
      return false;
    }
    if (i + extra >= length) return false;
    for (size_t k = 1; k <= extra; ++k) {
      const auto next = static_cast<unsigned char>(bytes[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      code = (code << 6) | (next & 0x3F);
    }
    // Overlong forms, surrogates and code points past U+10FFFF.
    if ((extra == 2 && code < 0x800) || (extra == 3 && (code < 0x10000 || code > 0x10FFFF)) ||
        (code >= 0xD800 && code <= 0xDFFF))
      return false;
    i += extra + 1;
  }
  return true;
}

class ByteLimitValidator : public QValidator {
 public:
  ByteLimitValidator(QLineEdit* edit, size_t max_bytes)
      : QValidator(edit), shown_bytes_(Utf8Length(edit->text())), max_bytes_(max_bytes) {
    // The edit asks with the changed text already in it; what it showed
    // before comes from here.
    connect(edit, &QLineEdit::textChanged, this, [this](const QString& text) { shown_bytes_ = Utf8Length(text); });
  }

  State validate(QString& input, int&) const override {
    const size_t length = Utf8Length(input);
    if (length <= max_bytes_) return Acceptable;
    // Too long: still allowed when it does not grow, so that an overlong
    // legacy text can be shortened step by step.
    return length <= shown_bytes_ ? Intermediate : Invalid;
  }

 private:
  size_t shown_bytes_;
  size_t max_bytes_;
};

}  // namespace

QString Tr(const char* text, int selector) { return QString::fromUtf8(LangGetText(text, selector)); }

QString FieldText(const char* field, size_t width) {
  const size_t length = strnlen(field, width);
  if (IsValidUtf8(field, length)) return QString::fromUtf8(field, static_cast<qsizetype>(length));
  return FromWindows1252(field, length);
}

void StoreFieldText(char* field, size_t width, const QString& text) {
  if (width == 0 || FieldText(field, width) == text) return;
  CopyText(field, width, text.toUtf8().constData());
}

size_t Utf8Length(const QString& text) { return static_cast<size_t>(text.toUtf8().size()); }

void LimitToBytes(QLineEdit* edit, size_t max_bytes) { edit->setValidator(new ByteLimitValidator(edit, max_bytes)); }

}  // namespace dialogs
}  // namespace units
