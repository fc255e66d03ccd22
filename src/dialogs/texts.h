// Texts between the translation service, the record fields and the controls.
//
// Record fields are 8-bit texts of fixed byte width. This library writes
// UTF-8; files from older installations may hold Windows-1252, which shows
// as such and goes back byte for byte unless the user changes it.
#ifndef UNITS_DIALOGS_TEXTS_H_
#define UNITS_DIALOGS_TEXTS_H_

#include <QString>

#include <cstddef>

class QLineEdit;

namespace units {
namespace dialogs {

// The translation of an English text; selector 1 for ordinary texts, 0 for
// the few the translation service keeps apart.
QString Tr(const char* text, int selector = 1);

// The text of a field of `width` bytes (ending at its NUL or at the width):
// UTF-8 where the bytes are valid UTF-8, else Windows-1252.
QString FieldText(const char* field, size_t width);
template <size_t N>
QString FieldText(const char (&field)[N]) {
  return FieldText(field, N);
}

// Writes `text` into a field of `width` bytes as UTF-8, cut at a character
// boundary so that the NUL fits. A text equal to what the field shows leaves
// the field as it is, so unedited legacy bytes survive.
void StoreFieldText(char* field, size_t width, const QString& text);
template <size_t N>
void StoreFieldText(char (&field)[N], const QString& text) {
  StoreFieldText(field, N, text);
}

// UTF-8 bytes of a text.
size_t Utf8Length(const QString& text);

// Keeps what the user types or pastes into `edit` within `max_bytes` bytes
// of UTF-8 (the field's width without its NUL): input that would be longer
// is refused as a whole, never cut behind the user's back. A longer text put
// there by the program (a legacy field) can still be shortened.
void LimitToBytes(QLineEdit* edit, size_t max_bytes);

}  // namespace dialogs
}  // namespace units

#endif  // UNITS_DIALOGS_TEXTS_H_
