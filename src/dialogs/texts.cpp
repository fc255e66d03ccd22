#include "dialogs/texts.h"

#include <QLineEdit>
#include <QValidator>

#include <cstring>

#include "language.h"
#include "model/quantity.h"
#include "model/text_codec.h"

namespace units {
namespace dialogs {
namespace {

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
  const std::string bytes(field, strnlen(field, width));
  return QString::fromStdString(IsValidUtf8(bytes) ? bytes : Cp1252ToUtf8(bytes));
}

void StoreFieldText(char* field, size_t width, const QString& text) {
  if (width == 0 || FieldText(field, width) == text) return;
  CopyText(field, width, text.toUtf8().constData());
}

size_t Utf8Length(const QString& text) { return static_cast<size_t>(text.toUtf8().size()); }

void LimitToBytes(QLineEdit* edit, size_t max_bytes) { edit->setValidator(new ByteLimitValidator(edit, max_bytes)); }

}  // namespace dialogs
}  // namespace units
