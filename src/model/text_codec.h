// Text bytes of the stored fields. The library writes UTF-8; files made on
// Windows installations may hold Windows-1252, which the tool and the dialogs
// show decoded and write back byte for byte.
#ifndef UNITS_MODEL_TEXT_CODEC_H_
#define UNITS_MODEL_TEXT_CODEC_H_

#include <string>

namespace units {

// Well-formed UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool IsValidUtf8(const std::string& bytes);

// Every byte has a character: the five bytes that Windows-1252 leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) become the C1 controls of the
// same value, so that the decoding can always be reversed.
std::string Cp1252ToUtf8(const std::string& bytes);

// The reverse of Cp1252ToUtf8. False when `utf8` holds a character that has
// no Windows-1252 byte; `bytes` is then unspecified.
bool Utf8ToCp1252(const std::string& utf8, std::string* bytes);

}  // namespace units

#endif  // UNITS_MODEL_TEXT_CODEC_H_
