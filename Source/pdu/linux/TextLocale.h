// The locale fallback of the Linux decoders, with its candidate list open to
// the tests; the locale-free pieces it rests on are in Ucs2Units.h.
#ifndef ZARVEX_TEXT_LOCALE_H
#define ZARVEX_TEXT_LOCALE_H

#include <cstddef>
#include <string>

#include "Ucs2Units.h"

namespace pdutext {

// Locales through which the decoders write UTF-8, in order of preference.
extern const char *const kUtf8OutputLocales[];
extern const size_t kUtf8OutputLocaleCount;

// Wide text to UTF-8 through the first of `locales` that setlocale(LC_ALL)
// accepts, or through WideToUtf8 when none is there. Empty when the text holds
// a character the conversion cannot write.
std::string UnicodeToUtf8Via(const std::wstring &text, const char *const *locales, size_t count);

} // namespace pdutext

#endif
