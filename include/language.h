// language.h: the translation service used by the units library for every
// text it shows or hands to hosts, and for the display names of devices.
//
// Translations come from gettext catalogues (units.mo) in the data folder
// Units/locale/<language>/LC_MESSAGES/ beside liblanguage.so. The language is
// taken from UNITS_LANG, else from LANGUAGE, LC_ALL, LC_MESSAGES or LANG; it
// never depends on the host's setlocale. Call from one thread only.
#ifndef UNITS_LANGUAGE_H_
#define UNITS_LANGUAGE_H_

#if defined(_WIN32)
#if defined(LANGUAGE_BUILDING_LIBRARY)
#define LANGUAGE_API __declspec(dllexport)
#else
#define LANGUAGE_API __declspec(dllimport)
#endif
#if defined(_M_IX86) || defined(__i386__)
#define LANGUAGE_CALL __stdcall
#else
#define LANGUAGE_CALL
#endif
#else
#define LANGUAGE_API __attribute__((visibility("default")))
#define LANGUAGE_CALL
#endif

// Device names are asked for with keys made by "Dev%i" from the device number.
#define LANG_DEVICE_KEY_FORMAT "Dev%i"
// The answer for a device key when the device has no name.
#define LANG_NO_DEVICE_NAME "xxxxx"

extern "C" {

// The translation of `text`; never null. Without a translation the result is
// `text` itself (a null `text` gives ""); for a device key without a name it
// is exactly "xxxxx". Selector 1 is for ordinary texts, 0 for device keys and
// a few fixed captions. The result stays valid at least until the next call.
LANGUAGE_API const char* LANGUAGE_CALL LangGetText(const char* text, int selector);

// Registers or overrides the translation of `key` (or a device name for a
// device key) at run time; a null `text` removes the override.
LANGUAGE_API void LANGUAGE_CALL LangSetText(const char* key, const char* text);

}  // extern "C"

#endif  // UNITS_LANGUAGE_H_
