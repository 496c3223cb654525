#include "PrintableText.h"

#include <cstdio>

namespace {
constexpr unsigned char kDel = 0x7F;

void AppendHexEscape(std::string &out, unsigned char byte)
{
    char escape[5];
    std::snprintf(escape, sizeof escape, "\\x%02x", byte);
    out += escape;
}

bool IsContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

// Length of the well-formed UTF-8 sequence that starts at `pos`, or 0.
// Overlong forms, surrogates and values above U+10FFFF are not well formed.
std::size_t Utf8SequenceLength(const std::string &text, std::size_t pos)
{
    const unsigned char lead = static_cast<unsigned char>(text[pos]);
    std::size_t length;
    unsigned char min2 = 0x80, max2 = 0xBF;  // allowed range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) min2 = 0xA0;
        if (lead == 0xED) max2 = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) min2 = 0x90;
        if (lead == 0xF4) max2 = 0x8F;
    } else {
        return 0;
    }
    if (pos + length > text.size())
        return 0;
    const unsigned char second = static_cast<unsigned char>(text[pos + 1]);
    if (second < min2 || second > max2)
        return 0;
    for (std::size_t i = 2; i < length; ++i)
        if (!IsContinuation(static_cast<unsigned char>(text[pos + i])))
            return 0;
    return length;
}

// U+0080 to U+009F, encoded as C2 80 to C2 9F.
bool IsC1Control(const std::string &text, std::size_t pos, std::size_t length)
{
    return length == 2 && static_cast<unsigned char>(text[pos]) == 0xC2 &&
           static_cast<unsigned char>(text[pos + 1]) <= 0x9F;
}

// The code point of the well-formed three-byte sequence at `pos`.
char32_t ThreeByteCodePoint(const std::string &text, std::size_t pos)
{
    return (static_cast<char32_t>(static_cast<unsigned char>(text[pos]) & 0x0F) << 12) |
           (static_cast<char32_t>(static_cast<unsigned char>(text[pos + 1]) & 0x3F) << 6) |
           static_cast<char32_t>(static_cast<unsigned char>(text[pos + 2]) & 0x3F);
}

// Embeddings and overrides (LRE, RLE, PDF, LRO, RLO) and isolates (LRI, RLI,
// FSI, PDI): they reorder what follows them on the display. The plain marks
// (LRM, RLM, ALM) only settle the direction of neutral characters next to
// them and belong to ordinary right-to-left text, so they pass.
constexpr char32_t kFirstEmbedding = 0x202A, kLastOverride = 0x202E;
constexpr char32_t kFirstIsolate = 0x2066, kLastIsolate = 0x2069;

// The direction control at `pos`, or 0.
char32_t DirectionControlAt(const std::string &text, std::size_t pos, std::size_t length)
{
    if (length != 3)
        return 0;
    const char32_t cp = ThreeByteCodePoint(text, pos);
    const bool control = (cp >= kFirstEmbedding && cp <= kLastOverride) ||
                         (cp >= kFirstIsolate && cp <= kLastIsolate);
    return control ? cp : 0;
}

void AppendCodePointEscape(std::string &out, char32_t cp)
{
    char escape[7];
    std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(cp));
    out += escape;
}

// A line end inside a single-line value, or any carriage return but the
// last character of a multi-line text, would move the cursor away from
// where the text belongs.
bool ShowsLineEnd(unsigned char byte, bool last, PrintableLayout layout)
{
    if (layout == PrintableLayout::SingleLine)
        return byte == '\n' || byte == '\r';
    return byte == '\r' && !last;
}
}  // namespace

std::string MakePrintableText(const std::string &text, PrintableLayout layout)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) {
        const unsigned char byte = static_cast<unsigned char>(text[pos]);
        if (byte < 0x80) {
            if (ShowsLineEnd(byte, pos + 1 == text.size(), layout))
                out += byte == '\n' ? "\\n" : "\\r";
            else if (byte == '\t' || byte == '\n' || byte == '\r' || (byte >= 0x20 && byte != kDel))
                out += static_cast<char>(byte);
            else
                AppendHexEscape(out, byte);
            ++pos;
            continue;
        }
        const std::size_t length = Utf8SequenceLength(text, pos);
        if (length == 0 || IsC1Control(text, pos, length)) {
            for (std::size_t i = 0; i < (length ? length : 1); ++i)
                AppendHexEscape(out, static_cast<unsigned char>(text[pos + i]));
            pos += length ? length : 1;
            continue;
        }
        if (const char32_t control = DirectionControlAt(text, pos, length))
            AppendCodePointEscape(out, control);
        else
            out.append(text, pos, length);
        pos += length;
    }
    return out;
}
