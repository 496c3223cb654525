// Multibyte text <-> UCS2. Outgoing text is read with the character type of
// the user's environment; incoming UCS2 is always written as UTF-8, the
// Linux console encoding. Both set the process locale: main thread only.
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

const wchar_t kReplacement = 0xFFFD;
const unsigned long kMaxCodePoint = 0x10FFFF;
const unsigned long kSurrogateFirst = 0xD800;
const unsigned long kSurrogateLast = 0xDFFF;
const unsigned long kHighSurrogateLast = 0xDBFF;

// glibc's plain C/POSIX locale: seven-bit only.
const char kAsciiCodeset[] = "ANSI_X3.4-1968";

bool IsSurrogate(unsigned long c) { return c >= kSurrogateFirst && c <= kSurrogateLast; }

void AppendUtf8(std::string &out, unsigned long c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Length of the well-formed UTF-8 sequence at s[i] and its value; 0 when the
// byte there begins none (overlong forms, surrogates and values above
// U+10FFFF are not well formed).
size_t Utf8Sequence(const std::string &s, size_t i, unsigned long &value)
{
    const unsigned char b0 = static_cast<unsigned char>(s[i]);
    size_t length;
    unsigned long min;
    if (b0 < 0x80) {
        value = b0;
        return 1;
    } else if (b0 >= 0xC2 && b0 <= 0xDF) {
        length = 2, min = 0x80, value = b0 & 0x1F;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        length = 3, min = 0x800, value = b0 & 0x0F;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        length = 4, min = 0x10000, value = b0 & 0x07;
    } else {
        return 0;
    }
    if (s.size() - i < length)
        return 0;
    for (size_t k = 1; k < length; k++) {
        const unsigned char b = static_cast<unsigned char>(s[i + k]);
        if ((b & 0xC0) != 0x80)
            return 0;
        value = (value << 6) | (b & 0x3F);
    }
    if (value < min || value > kMaxCodePoint || IsSurrogate(value))
        return 0;
    return length;
}

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

// UCS2 octets, high first, to wide characters; pairs of UTF-16 surrogates
// join into their character and a lone one stands as U+FFFD, so that one
// emoji does not cost the whole text.
std::wstring Ucs2ToWide(const unsigned char *pSrc, int nSrcLength)
{
    const int units = nSrcLength > 0 ? nSrcLength / 2 : 0;
    std::wstring out;
    out.reserve(static_cast<size_t>(units));
    for (int i = 0; i < units; i++) {
        const unsigned long unit = (static_cast<unsigned long>(pSrc[2 * i]) << 8) | pSrc[2 * i + 1];
        if (!IsSurrogate(unit)) {
            out += static_cast<wchar_t>(unit);
            continue;
        }
        if (unit <= kHighSurrogateLast && i + 1 < units) {
            const unsigned long low = (static_cast<unsigned long>(pSrc[2 * i + 2]) << 8) | pSrc[2 * i + 3];
            if (low > kHighSurrogateLast && low <= kSurrogateLast) {
                out += static_cast<wchar_t>(0x10000 + ((unit - kSurrogateFirst) << 10) + (low - 0xDC00));
                i++;
                continue;
            }
        }
        out += kReplacement;
    }
    return out;
}

} // namespace

std::string WideToUtf8(const std::wstring &text, bool &ok)
{
    std::string out;
    ok = true;
    for (wchar_t w : text) {
        const unsigned long c = static_cast<unsigned long>(w);
        if (c == 0)
            break;
        if (c > kMaxCodePoint || IsSurrogate(c)) {
            ok = false;
            return std::string();
        }
        AppendUtf8(out, c);
    }
    return out;
}

std::wstring Utf8ToWideLenient(const std::string &text)
{
    std::wstring out;
    for (size_t i = 0; i < text.size() && text[i] != '\0';) {
        unsigned long value = 0;
        const size_t length = Utf8Sequence(text, i, value);
        if (length == 0) {
            out += kReplacement;
            i++;
        } else {
            out += static_cast<wchar_t>(value);
            i += length;
        }
    }
    return out;
}

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

std::string UnicodeToUTF8(const std::wstring &text)
{
    const size_t bytes = 2 * text.size();
    return std::string(reinterpret_cast<const char *>(text.data()), bytes);
}

std::wstring UTF8ToUnicode(const std::string &text)
{
    std::wstring out;
    for (size_t i = 0; i + 1 < text.size(); i += 2) {
        const unsigned low = static_cast<unsigned char>(text[i]);
        const unsigned high = static_cast<unsigned char>(text[i + 1]);
        out += static_cast<wchar_t>(low | (high << 8));
    }
    return out;
}

std::string UTF8ToANSI(const std::string &text) { return UnicodeToANSI(UTF8ToUnicode(text)); }

std::string ANSIToUTF8(const std::string &text) { return UnicodeToUTF8(ANSIToUnicode(text)); }

int gsmEncodeUcs2(const char *pSrc, unsigned char *pDst, int nSrcLength)
{
    if (nSrcLength <= 0)
        return 0;
    const std::wstring wide = ANSIToUnicode(std::string(pSrc, static_cast<size_t>(nSrcLength)));
    const int capacity = 2 * nSrcLength;
    int written = 0;
    for (wchar_t w : wide) {
        unsigned long c = static_cast<unsigned long>(w);
        if (c > pdutext::kMaxCodePoint)
            c = pdutext::kReplacement;
        unsigned units[2];
        int unitCount = 0;
        if (c >= 0x10000) {
            // UCS2 holds 16 bits; phones read the pair as UTF-16.
            units[unitCount++] = static_cast<unsigned>(pdutext::kSurrogateFirst + ((c - 0x10000) >> 10));
            units[unitCount++] = static_cast<unsigned>(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            units[unitCount++] = static_cast<unsigned>(c);
        }
        if (written + 2 * unitCount > capacity)
            break;
        for (int k = 0; k < unitCount; k++) {
            pDst[written++] = static_cast<unsigned char>(units[k] >> 8);
            pDst[written++] = static_cast<unsigned char>(units[k] & 0xFF);
        }
    }
    return written;
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
