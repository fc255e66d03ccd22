// Numbers between the dialogs' edits and the records.
//
// Integers read as the records' stored numbers always were: leading blanks
// and a sign, then decimal digits up to the first other character; no
// digits give 0. Floating-point numbers use one decimal separator, the
// toolkit locale's, for reading, formatting and the key filter alike, and
// never depend on (or change) the host's LC_NUMERIC.
#ifndef UNITS_DIALOGS_NUMBERS_H_
#define UNITS_DIALOGS_NUMBERS_H_

#include <QChar>
#include <QString>

#include <cstdint>

class QLineEdit;

namespace units {
namespace dialogs {

// The decimal separator of the toolkit's locale ("." or "," and so on).
QChar DecimalSeparator();

// A decimal integer; values beyond 32 bits are held at the nearest limit.
int32_t ReadInteger(const QString& text);

// The longest leading part of `text` that reads as a number, with
// `separator` as the decimal point; 0 when none does. Out of range gives
// plus or minus infinity, or 0 for an underflow.
double ReadNumber(const QString& text, QChar separator);

// `value` formatted as printf's "%#.<precision>g" (trailing zeros kept),
// with `separator` in place of the point. REQUIRES: precision <= 17.
QString FormatNumber(double value, int precision, QChar separator);

// Lets only digits, "E", "e", "+", "-" and `separator` into `edit`, whether
// typed or pasted; keys that type nothing (Enter, Escape, Tab, arrows,
// Backspace, shortcuts) pass as always.
void AcceptOnlyNumberKeys(QLineEdit* edit, QChar separator);

// Whether a typed character may enter a number edit.
bool IsNumberCharacter(QChar character, QChar separator);

}  // namespace dialogs
}  // namespace units

#endif  // UNITS_DIALOGS_NUMBERS_H_
