// Multibyte text <-> UCS2: the parts that hold for every platform. How the
// console's multibyte text becomes wide text and back (ANSIToUnicode,
// UnicodeToANSI) and the decoders that write it belong to the platform.
#include "PduCodec.h"
#include "Ucs2Units.h"

namespace pdutext {

namespace {

const char32_t kSurrogateFirst = 0xD800;
const char32_t kSurrogateLast = 0xDFFF;
const char32_t kHighSurrogateLast = 0xDBFF;
const char32_t kLowSurrogateFirst = 0xDC00;
const char32_t kFirstSupplementary = 0x10000;

bool IsSurrogate(char32_t c) { return c >= kSurrogateFirst && c <= kSurrogateLast; }

void AppendUtf8(std::string &out, char32_t c)
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

// Length of the well-formed UTF-8 sequence at s[i] (i < size) and its value;
// 0 when the byte there begins none (overlong forms, surrogates and values
// above U+10FFFF are not well formed).
size_t Utf8Sequence(const char *s, size_t size, size_t i, char32_t &value)
{
    const unsigned char b0 = static_cast<unsigned char>(s[i]);
    size_t length;
    char32_t min;
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
    if (size - i < length)
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

} // namespace

bool IsHighSurrogate(char32_t c) { return c >= kSurrogateFirst && c <= kHighSurrogateLast; }
bool IsLowSurrogate(char32_t c) { return c >= kLowSurrogateFirst && c <= kSurrogateLast; }

size_t Ucs2PartEnd(const unsigned char *octets, size_t size, size_t start, size_t room)
{
    if (start >= size)
        return size;
    if (size - start <= room)
        return size;
    size_t end = start + room;
    // A lone octet after the cut is no unit, and so no low half.
    if (end + 1 >= size)
        return end;
    const char32_t last = (static_cast<char32_t>(octets[end - 2]) << 8) | octets[end - 1];
    const char32_t next = (static_cast<char32_t>(octets[end]) << 8) | octets[end + 1];
    // A part that holds nothing but the high half keeps it, so that every
    // part moves on.
    if (IsHighSurrogate(last) && IsLowSurrogate(next) && end - 2 > start)
        end -= 2;
    return end;
}

std::u32string Ucs2ToCodePoints(const unsigned char *octets, int count)
{
    const int units = count > 0 ? count / 2 : 0;
    std::u32string out;
    out.reserve(static_cast<size_t>(units));
    for (int i = 0; i < units; i++) {
        const char32_t unit = (static_cast<char32_t>(octets[2 * i]) << 8) | octets[2 * i + 1];
        if (!IsSurrogate(unit)) {
            out += unit;
            continue;
        }
        if (unit <= kHighSurrogateLast && i + 1 < units) {
            const char32_t low = (static_cast<char32_t>(octets[2 * i + 2]) << 8) | octets[2 * i + 3];
            if (low >= kLowSurrogateFirst && low <= kSurrogateLast) {
                out += kFirstSupplementary + ((unit - kSurrogateFirst) << 10) + (low - kLowSurrogateFirst);
                i++;
                continue;
            }
        }
        out += kReplacement;
    }
    return out;
}

std::u16string CodePointsToUtf16(const std::u32string &text)
{
    std::u16string out;
    out.reserve(text.size());
    for (char32_t c : text) {
        if (c > kMaxCodePoint) {
            out += static_cast<char16_t>(kReplacement);
        } else if (c >= kFirstSupplementary) {
            out += static_cast<char16_t>(kSurrogateFirst + ((c - kFirstSupplementary) >> 10));
            out += static_cast<char16_t>(kLowSurrogateFirst + ((c - kFirstSupplementary) & 0x3FF));
        } else {
            out += static_cast<char16_t>(c);
        }
    }
    return out;
}

std::string WideToUtf8(const std::wstring &text, bool &ok)
{
    std::string out;
    ok = true;
    for (wchar_t w : text) {
        const char32_t c = static_cast<char32_t>(w);
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
        char32_t value = 0;
        const size_t length = Utf8Sequence(text.data(), text.size(), i, value);
        if (length == 0) {
            out += static_cast<wchar_t>(kReplacement);
            i++;
        } else {
            out += static_cast<wchar_t>(value);
            i += length;
        }
    }
    return out;
}

size_t Utf8PrefixLength(const char *text, size_t bytes, size_t room)
{
    size_t end = 0;
    while (end < bytes) {
        char32_t value = 0;
        size_t length = Utf8Sequence(text, bytes, end, value);
        if (length == 0)
            length = 1;
        if (end + length > room)
            break;
        end += length;
    }
    return end;
}

size_t DoubleBytePrefixLength(const char *text, size_t bytes, size_t room, bool (*isLeadByte)(unsigned char))
{
    size_t end = 0;
    while (end < bytes) {
        // A lead byte as the text's last byte has no partner: it stands alone.
        const size_t length = isLeadByte(static_cast<unsigned char>(text[end])) && end + 1 < bytes ? 2 : 1;
        if (end + length > room)
            break;
        end += length;
    }
    return end;
}

} // namespace pdutext

int gsmEncodeUcs2(const char *pSrc, unsigned char *pDst, int nSrcLength)
{
    if (nSrcLength <= 0)
        return 0;
    const std::wstring wide = ANSIToUnicode(std::string(pSrc, static_cast<size_t>(nSrcLength)));
    // A 32-bit wide character holds a code point, a 16-bit one is already a
    // UTF-16 unit: either way what the phone reads is UTF-16.
    const std::u16string units = pdutext::CodePointsToUtf16(std::u32string(wide.begin(), wide.end()));
    const size_t capacity = 2 * static_cast<size_t>(nSrcLength);
    size_t written = 0;
    for (size_t i = 0; i < units.size(); i++) {
        // A surrogate pair goes whole or not at all.
        const bool pair = pdutext::IsHighSurrogate(units[i]) && i + 1 < units.size() && pdutext::IsLowSurrogate(units[i + 1]);
        const size_t need = pair ? 4 : 2;
        if (written + need > capacity)
            break;
        for (size_t k = 0; k < need / 2; k++) {
            pDst[written++] = static_cast<unsigned char>(units[i + k] >> 8);
            pDst[written++] = static_cast<unsigned char>(units[i + k] & 0xFF);
        }
        i += need / 2 - 1;
    }
    return static_cast<int>(written);
}
