// Pieces of the UCS2 conversions that do not depend on the process locale,
// and the locale fallback of the decoders with its candidate list open to
// the tests.
#ifndef ZARVEX_TEXT_LOCALE_H
#define ZARVEX_TEXT_LOCALE_H

#include <cstddef>
#include <string>

namespace pdutext {

// Locales through which the decoders write UTF-8, in order of preference.
extern const char *const kUtf8OutputLocales[];
extern const size_t kUtf8OutputLocaleCount;

// Wide text to UTF-8 through the first of `locales` that setlocale(LC_ALL)
// accepts, or through WideToUtf8 when none is there. Empty when the text holds
// a character the conversion cannot write.
std::string UnicodeToUtf8Via(const std::wstring &text, const char *const *locales, size_t count);

// UTF-8 without the C library: ends at a character of value 0; a surrogate
// value or a value above U+10FFFF fails the whole text (ok false, result
// empty), as the C library's UTF-8 conversion does.
std::string WideToUtf8(const std::wstring &text, bool &ok);

// UTF-8 bytes to wide text without the C library: ends at a NUL byte; every
// byte that does not begin a well-formed sequence becomes U+FFFD.
std::wstring Utf8ToWideLenient(const std::string &text);

} // namespace pdutext

#endif
