// language.h: the translation service used by the units library for every
// text it shows or hands to hosts, and for the display names of devices.
//
// Translations come from gettext catalogues (units.mo) in the data folder
// Units/locale/<language>/LC_MESSAGES/ beside liblanguage.so. The language is
// taken from the first set and non-empty of UNITS_LANG, LANGUAGE (its first
// entry), LC_ALL, LC_MESSAGES and LANG; it never depends on the host's
// setlocale. "de_DE.UTF-8@euro" looks for the folders de_DE@euro, de@euro,
// de_DE and de in turn; "C" or "POSIX" means no translation. The environment
// is read at every call, so the language can change at run time.
//
// Safe from any number of threads. A result is the caller's own `text` or a
// copy kept for the calling thread, valid until that thread's next call.
// Strings returned are owned by the library (or are the caller's own text);
// never free them.
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
// a few fixed captions. The result stays valid at least until the calling
// thread's next call.
LANGUAGE_API const char* LANGUAGE_CALL LangGetText(const char* text, int selector);

// Registers or overrides the translation of `key` (or a device name for a
// device key) at run time; a null `text` removes the override. Both strings
// are copied. An override comes before every catalogue and stays when the
// language changes. A null `key` is ignored.
LANGUAGE_API void LANGUAGE_CALL LangSetText(const char* key, const char* text);

}  // extern "C"

#endif  // UNITS_LANGUAGE_H_
