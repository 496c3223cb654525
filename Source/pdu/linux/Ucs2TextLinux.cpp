// Multibyte text <-> UCS2 through the C library's locales. Outgoing text is
// read with the character type of the user's environment; incoming UCS2 is
// always written as UTF-8, the Linux console encoding. Both set the process
// locale: main thread only.
#include "ConsoleText.h"
#include "PduCodec.h"
#include "TextLocale.h"

#include <clocale>
#include <cstring>
#include <cwchar>
#include <langinfo.h>
#include <vector>

namespace pdutext {

const char *const kUtf8OutputLocales[] = {"en_US.utf8", "C.UTF-8"};
const size_t kUtf8OutputLocaleCount = sizeof(kUtf8OutputLocales) / sizeof(kUtf8OutputLocales[0]);

namespace {

// glibc's plain C/POSIX locale: seven-bit only.
const char kAsciiCodeset[] = "ANSI_X3.4-1968";

bool EnvironmentIsAscii()
{
    const char *codeset = nl_langinfo(CODESET);
    return codeset != nullptr && std::strcmp(codeset, kAsciiCodeset) == 0;
}

// mbsrtowcs with the current LC_CTYPE; false when it rejects the text.
bool LocaleToWide(const std::string &text, std::wstring &out)
{
    std::mbstate_t state{};
    const char *src = text.c_str();
    const size_t measured = std::mbsrtowcs(nullptr, &src, 0, &state);
    if (measured == static_cast<size_t>(-1))
        return false;
    std::vector<wchar_t> buffer(measured + 1);
    state = std::mbstate_t{};
    src = text.c_str();
    if (std::mbsrtowcs(buffer.data(), &src, measured + 1, &state) == static_cast<size_t>(-1))
        return false;
    out.assign(buffer.data(), measured);
    return true;
}

// wcsrtombs with the current locale; empty when it rejects a character.
std::string WideToLocale(const std::wstring &text)
{
    std::mbstate_t state{};
    const wchar_t *src = text.c_str();
    const size_t measured = std::wcsrtombs(nullptr, &src, 0, &state);
    if (measured == static_cast<size_t>(-1))
        return std::string();
    std::vector<char> buffer(measured + 1);
    state = std::mbstate_t{};
    src = text.c_str();
    if (std::wcsrtombs(buffer.data(), &src, measured + 1, &state) == static_cast<size_t>(-1))
        return std::string();
    return std::string(buffer.data(), measured);
}

// The wide character of this platform holds a whole code point.
std::wstring Ucs2ToWide(const unsigned char *pSrc, int nSrcLength)
{
    const std::u32string codePoints = Ucs2ToCodePoints(pSrc, nSrcLength);
    return std::wstring(codePoints.begin(), codePoints.end());
}

} // namespace

std::string UnicodeToUtf8Via(const std::wstring &text, const char *const *locales, size_t count)
{
    for (size_t i = 0; i < count; i++) {
        if (std::setlocale(LC_ALL, locales[i]) != nullptr)
            return WideToLocale(text);
    }
    // No UTF-8 locale on this machine: the locale left as it was might not be
    // able to write the text at all, and the console still reads UTF-8.
    bool ok = false;
    return WideToUtf8(text, ok);
}

} // namespace pdutext

std::wstring ANSIToUnicode(const std::string &text)
{
    try {
        std::setlocale(LC_CTYPE, "");
        std::wstring wide;
        // Under the plain C locale (a minimal sudo, a service manager) the
        // user's text is still the console's UTF-8, and a locale that rejects
        // the bytes would otherwise turn the message into nothing.
        if (!pdutext::EnvironmentIsAscii() && pdutext::LocaleToWide(text, wide))
            return wide;
        return pdutext::Utf8ToWideLenient(text);
    } catch (...) {
        return std::wstring();
    }
}

std::string UnicodeToANSI(const std::wstring &text)
{
    try {
        return pdutext::UnicodeToUtf8Via(text, pdutext::kUtf8OutputLocales, pdutext::kUtf8OutputLocaleCount);
    } catch (...) {
        return std::string();
    }
}

int gsmDecodeUcs2(const unsigned char *pSrc, char *pDst, int nSrcLength)
{
    if (nSrcLength <= 0)
        return 0;
    const std::string text = UnicodeToANSI(pdutext::Ucs2ToWide(pSrc, nSrcLength));
    // The caller sized its buffer for UTF-8 of whole UCS2 characters.
    const size_t limit = 3 * static_cast<size_t>(nSrcLength / 2);
    const size_t bytes = text.size() < limit ? text.size() : limit;
    if (bytes > 0)
        std::memcpy(pDst, text.data(), bytes);
    return static_cast<int>(bytes);
}

std::string gsmDecodeNew2(const unsigned char *pSrc, int nSrcLength)
{
    if (nSrcLength <= 0)
        return std::string();
    return UnicodeToANSI(pdutext::Ucs2ToWide(pSrc, nSrcLength));
}

// The Linux build leaves a push message's text out of its record: nothing is
// converted and nothing handed back.
int Utf8ToGBK(const char *, char **) { return 0; }

std::string ConsoleTextToUtf8(const std::string &text) { return text; }

size_t ConsoleTextPrefixLength(const char *text, size_t bytes, size_t room)
{
    return pdutext::Utf8PrefixLength(text, bytes, room);
}

std::string CodePointsToConsoleText(const std::u32string &text)
{
    // The console reads UTF-8 whichever locale the process has, and the codec's
    // own writer needs none.
    bool ok = false;
    return pdutext::WideToUtf8(std::wstring(text.begin(), text.end()), ok);
}
