// Multibyte text <-> UCS2 through the ANSI code page (CP_ACP), the encoding
// of the Windows console's texts: GBK (code page 936) on a Chinese system.
#include "ConsoleText.h"
#include "PduCodec.h"
#include "Ucs2Units.h"

#include <windows.h>

#include <cstring>
#include <vector>

namespace {

// What gsmDecodeUcs2 writes at most, before its terminator: one message's
// text in the code page (70 characters of two bytes) with room to spare.
const int kDecodedTextMax = 160;

// A 16-bit wide text is UTF-16.
std::wstring CodePointsToWide(const std::u32string &text)
{
    const std::u16string units = pdutext::CodePointsToUtf16(text);
    return std::wstring(units.begin(), units.end());
}

std::wstring Ucs2ToWide(const unsigned char *pSrc, int nSrcLength)
{
    return CodePointsToWide(pdutext::Ucs2ToCodePoints(pSrc, nSrcLength));
}

std::wstring CodePageToWide(UINT codePage, const char *text, int length)
{
    if (length <= 0)
        return std::wstring();
    const int n = MultiByteToWideChar(codePage, 0, text, length, nullptr, 0);
    if (n <= 0)
        return std::wstring();
    std::wstring wide(static_cast<size_t>(n), L'\0');
    const int written = MultiByteToWideChar(codePage, 0, text, length, &wide[0], n);
    wide.resize(written > 0 ? static_cast<size_t>(written) : 0);
    return wide;
}

std::string WideToCodePage(UINT codePage, const wchar_t *wide, int units)
{
    if (units <= 0)
        return std::string();
    const int n = WideCharToMultiByte(codePage, 0, wide, units, nullptr, 0, nullptr, nullptr);
    if (n <= 0)
        return std::string();
    std::string out(static_cast<size_t>(n), '\0');
    const int written = WideCharToMultiByte(codePage, 0, wide, units, &out[0], n, nullptr, nullptr);
    out.resize(written > 0 ? static_cast<size_t>(written) : 0);
    return out;
}

bool IsAnsiLeadByte(unsigned char byte) { return IsDBCSLeadByteEx(CP_ACP, byte) != FALSE; }

} // namespace

std::wstring ANSIToUnicode(const std::string &text)
{
    // An embedded NUL ends the text, as it does for the C library.
    return CodePageToWide(CP_ACP, text.c_str(), static_cast<int>(strnlen(text.c_str(), text.size())));
}

std::string UnicodeToANSI(const std::wstring &text)
{
    const size_t length = wcsnlen(text.c_str(), text.size());
    return WideToCodePage(CP_ACP, text.c_str(), static_cast<int>(length));
}

// No pause after a short result: a one-character message decodes at once.
int gsmDecodeUcs2(const unsigned char *pSrc, char *pDst, int nSrcLength)
{
    const std::wstring wide = nSrcLength > 0 ? Ucs2ToWide(pSrc, nSrcLength) : std::wstring();
    int m = 0;
    if (!wide.empty()) {
        m = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), pDst, kDecodedTextMax,
                                nullptr, nullptr);
        // A text longer than the cap fails whole rather than arrive cut.
        if (m < 0 || m > kDecodedTextMax)
            m = 0;
    }
    pDst[m] = '\0';
    return m;
}

std::string gsmDecodeNew2(const unsigned char *pSrc, int nSrcLength)
{
    if (nSrcLength <= 0)
        return std::string();
    const std::wstring wide = Ucs2ToWide(pSrc, nSrcLength);
    return WideToCodePage(CP_ACP, wide.data(), static_cast<int>(wide.size()));
}

int Utf8ToGBK(const char *text, char **out)
{
    if (text == nullptr || out == nullptr)
        return 0;
    const int n = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
    if (n <= 0)
        return 0;
    std::vector<wchar_t> wide(static_cast<size_t>(n) + 1, L'\0');
    if (MultiByteToWideChar(CP_UTF8, 0, text, -1, wide.data(), n) <= 0)
        return 0;
    const int m = WideCharToMultiByte(CP_ACP, 0, wide.data(), -1, nullptr, 0, nullptr, nullptr);
    if (m <= 0)
        return 0;
    char *bytes = new char[static_cast<size_t>(m) + 1]();
    const int written = WideCharToMultiByte(CP_ACP, 0, wide.data(), -1, bytes, m, nullptr, nullptr);
    if (written <= 0) {
        delete[] bytes;
        return 0;
    }
    *out = bytes;
    return written;
}

std::string ConsoleTextToUtf8(const std::string &text)
{
    const std::wstring wide = CodePageToWide(CP_ACP, text.data(), static_cast<int>(text.size()));
    return WideToCodePage(CP_UTF8, wide.data(), static_cast<int>(wide.size()));
}

size_t ConsoleTextPrefixLength(const char *text, size_t bytes, size_t room)
{
    return pdutext::DoubleBytePrefixLength(text, bytes, room, IsAnsiLeadByte);
}

std::string CodePointsToConsoleText(const std::u32string &text)
{
    const std::wstring wide = CodePointsToWide(text);
    return WideToCodePage(CP_ACP, wide.data(), static_cast<int>(wide.size()));
}
