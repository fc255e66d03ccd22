#include "dialogs/numbers.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QValidator>

#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <limits>
#include <locale.h>
#include <string>

namespace units {
namespace dialogs {
namespace {

bool IsBlank(QChar c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f' || c == u'\v'; }

// The text as plain ASCII up to the first character a number cannot hold,
// with the separator as "." (and a "." that is not the separator ending it).
std::string AsciiNumberPrefix(const QString& text, QChar separator) {
  std::string ascii;
  int i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  for (; i < text.size(); ++i) {
    const QChar c = text[i];
    if (c == separator) {
      ascii.push_back('.');
    } else if (c.unicode() < 0x80 && c != u'.' && c != u'\0') {
      ascii.push_back(static_cast<char>(c.unicode()));
    } else {
      break;
    }
  }
  return ascii;
}

// Formats in the "C" locale for this thread only; the host's locale and
// other threads are untouched.
class CNumericOnThisThread {
 public:
  CNumericOnThisThread() : previous_(c_locale_ != nullptr ? uselocale(c_locale_) : nullptr) {}
  ~CNumericOnThisThread() {
    if (previous_ != nullptr) uselocale(previous_);
  }
  CNumericOnThisThread(const CNumericOnThisThread&) = delete;
  CNumericOnThisThread& operator=(const CNumericOnThisThread&) = delete;

 private:
  static inline locale_t c_locale_ = newlocale(LC_ALL_MASK, "C", nullptr);
  locale_t previous_;
};

class NumberCharacterValidator : public QValidator {
 public:
  NumberCharacterValidator(QObject* parent, QChar separator) : QValidator(parent), separator_(separator) {}
  State validate(QString& input, int&) const override {
    for (QChar c : input) {
      if (!IsNumberCharacter(c, separator_)) return Invalid;
    }
    return Acceptable;
  }

 private:
  QChar separator_;
};

// Discards typed characters outside the number set before they reach the
// edit; events that type nothing pass untouched.
class NumberKeyFilter : public QObject {
 public:
  NumberKeyFilter(QObject* parent, QChar separator) : QObject(parent), separator_(separator) {}
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    const QString typed = key->text();
    if (typed.isEmpty() || (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)))
      return false;
    for (QChar c : typed) {
      if (c.unicode() < 0x20 || c.unicode() == 0x7F) return false;  // Backspace, Enter, Escape, Tab
      if (!IsNumberCharacter(c, separator_)) return true;
    }
    return false;
  }

 private:
  QChar separator_;
};

}  // namespace

QChar DecimalSeparator() {
  const QString point = QLocale().decimalPoint();
  return point.isEmpty() ? QChar(u'.') : point.front();
}

int32_t ReadInteger(const QString& text) {
  int i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';
  int64_t magnitude = 0;
  constexpr int64_t kLimit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
  for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
    magnitude = std::min(kLimit, magnitude * 10 + (text[i].unicode() - u'0'));
  }
  const int64_t value = negative ? -magnitude : std::min(magnitude, kLimit - 1);
  return static_cast<int32_t>(value);
}

double ReadNumber(const QString& text, QChar separator) {
  const std::string ascii = AsciiNumberPrefix(text, separator);
  const char* first = ascii.data();
  const char* last = first + ascii.size();
  bool negative = false;
  if (first != last && (*first == '+' || *first == '-')) negative = *first++ == '-';
  if (first != last && (*first == '+' || *first == '-')) return 0.0;  // "+-1" reads as nothing
  double value = 0.0;
  const std::from_chars_result result = std::from_chars(first, last, value, std::chars_format::general);
  if (result.ec == std::errc::result_out_of_range) {
    // from_chars leaves the value alone; strtod gives infinity or 0.
    CNumericOnThisThread c_numeric;
    value = std::strtod(std::string(first, result.ptr).c_str(), nullptr);
  } else if (result.ec != std::errc()) {
    value = 0.0;
  }
  return negative ? -value : value;
}

QString FormatNumber(double value, int precision, QChar separator) {
  char buffer[64];  // "%#.*g" of a double with up to 17 digits needs at most 25
  {
    CNumericOnThisThread c_numeric;
    std::snprintf(buffer, sizeof(buffer), "%#.*g", precision, value);
  }
  QString text = QString::fromLatin1(buffer);
  if (separator != u'.') text.replace(u'.', separator);
  return text;
}

bool IsNumberCharacter(QChar c, QChar separator) {
  return (c >= u'0' && c <= u'9') || c == u'E' || c == u'e' || c == u'+' || c == u'-' || c == separator;
}

void AcceptOnlyNumberKeys(QLineEdit* edit, QChar separator) {
  edit->installEventFilter(new NumberKeyFilter(edit, separator));
  edit->setValidator(new NumberCharacterValidator(edit, separator));
}

}  // namespace dialogs
}  // namespace units
