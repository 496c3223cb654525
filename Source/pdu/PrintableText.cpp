#include "PrintableText.h"

#include <cstdio>

#include "PlatformText.h"

namespace {
constexpr unsigned char kDel = 0x7F;

unsigned char ByteAt(const std::string &text, std::size_t pos)
{
    return static_cast<unsigned char>(text[pos]);
}

void AppendHexEscape(std::string &out, unsigned char byte)
{
    char escape[5];
    std::snprintf(escape, sizeof escape, "\\x%02x", byte);
    out += escape;
}

void AppendCodePointEscape(std::string &out, char32_t cp)
{
    char escape[7];
    std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(cp));
    out += escape;
}

// A character of more than one byte, as the console would take it.
enum class CharKind {
    // No character starts here: the byte is shown on its own.
    Invalid,
    // A control: every byte of it is shown.
    Control,
    // A direction control: shown by its code point.
    DirectionControl,
    Printable,
};

struct MultibyteChar {
    CharKind kind;
    std::size_t length;     // bytes; 1 for Invalid
    char32_t codePoint = 0;  // for DirectionControl
};

// ---- UTF-8 ---------------------------------------------------------------

bool IsContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

// Length of the well-formed UTF-8 sequence that starts at `pos`, or 0.
// Overlong forms, surrogates and values above U+10FFFF are not well formed.
std::size_t Utf8SequenceLength(const std::string &text, std::size_t pos)
{
    const unsigned char lead = ByteAt(text, pos);
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
    const unsigned char second = ByteAt(text, pos + 1);
    if (second < min2 || second > max2)
        return 0;
    for (std::size_t i = 2; i < length; ++i)
        if (!IsContinuation(ByteAt(text, pos + i)))
            return 0;
    return length;
}

// U+0080 to U+009F, encoded as C2 80 to C2 9F.
bool IsC1Control(const std::string &text, std::size_t pos, std::size_t length)
{
    return length == 2 && ByteAt(text, pos) == 0xC2 && ByteAt(text, pos + 1) <= 0x9F;
}

// The code point of the well-formed three-byte sequence at `pos`.
char32_t ThreeByteCodePoint(const std::string &text, std::size_t pos)
{
    return (static_cast<char32_t>(ByteAt(text, pos) & 0x0F) << 12) |
           (static_cast<char32_t>(ByteAt(text, pos + 1) & 0x3F) << 6) |
           static_cast<char32_t>(ByteAt(text, pos + 2) & 0x3F);
}

// Embeddings and overrides (LRE, RLE, PDF, LRO, RLO) and isolates (LRI, RLI,
// FSI, PDI): they reorder what follows them on the display. The plain marks
// (LRM, RLM, ALM) only settle the direction of neutral characters next to
// them and belong to ordinary right-to-left text, so they pass.
constexpr char32_t kFirstEmbedding = 0x202A, kLastOverride = 0x202E;
constexpr char32_t kFirstIsolate = 0x2066, kLastIsolate = 0x2069;

bool IsDirectionControl(char32_t cp)
{
    return (cp >= kFirstEmbedding && cp <= kLastOverride) ||
           (cp >= kFirstIsolate && cp <= kLastIsolate);
}

MultibyteChar Utf8CharAt(const std::string &text, std::size_t pos)
{
    const std::size_t length = Utf8SequenceLength(text, pos);
    if (length == 0)
        return {CharKind::Invalid, 1};
    if (IsC1Control(text, pos, length))
        return {CharKind::Control, length};
    if (length == 3) {
        const char32_t cp = ThreeByteCodePoint(text, pos);
        if (IsDirectionControl(cp))
            return {CharKind::DirectionControl, length, cp};
    }
    return {CharKind::Printable, length};
}

// ---- GBK (code page 936) -------------------------------------------------

constexpr unsigned char kGbkFirstLead = 0x81, kGbkLastLead = 0xFE;
constexpr unsigned char kGbkFirstTrail = 0x40, kGbkLastTrail = 0xFE;

// Every lead and trail pair is printable: the code page has no C1 controls
// (0x80 to 0x9F are lead bytes there) and no direction controls at all. A
// trail byte is never below 0x40, so no control can hide in a pair.
MultibyteChar GbkCharAt(const std::string &text, std::size_t pos)
{
    const unsigned char lead = ByteAt(text, pos);
    if (lead < kGbkFirstLead || lead > kGbkLastLead || pos + 1 >= text.size())
        return {CharKind::Invalid, 1};
    const unsigned char trail = ByteAt(text, pos + 1);
    if (trail < kGbkFirstTrail || trail > kGbkLastTrail || trail == kDel)
        return {CharKind::Invalid, 1};
    return {CharKind::Printable, 2};
}

// ---------------------------------------------------------------------------

// A line end inside a single-line value, or any carriage return but the
// last character of a multi-line text, would move the cursor away from
// where the text belongs.
bool ShowsLineEnd(unsigned char byte, bool last, PrintableLayout layout)
{
    if (layout == PrintableLayout::SingleLine)
        return byte == '\n' || byte == '\r';
    return byte == '\r' && !last;
}

// Both encodings share the 7-bit characters.
void AppendSingleByte(std::string &out, unsigned char byte, bool last, PrintableLayout layout)
{
    if (ShowsLineEnd(byte, last, layout))
        out += byte == '\n' ? "\\n" : "\\r";
    else if (byte == '\t' || byte == '\n' || byte == '\r' || (byte >= 0x20 && byte != kDel))
        out += static_cast<char>(byte);
    else
        AppendHexEscape(out, byte);
}
}  // namespace

std::string MakePrintableTextIn(ConsoleEncoding encoding, const std::string &text,
                                PrintableLayout layout)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) {
        const unsigned char byte = ByteAt(text, pos);
        if (byte < 0x80) {
            AppendSingleByte(out, byte, pos + 1 == text.size(), layout);
            ++pos;
            continue;
        }
        const MultibyteChar c =
            encoding == ConsoleEncoding::Gbk ? GbkCharAt(text, pos) : Utf8CharAt(text, pos);
        switch (c.kind) {
        case CharKind::Invalid:
        case CharKind::Control:
            for (std::size_t i = 0; i < c.length; ++i)
                AppendHexEscape(out, ByteAt(text, pos + i));
            break;
        case CharKind::DirectionControl: AppendCodePointEscape(out, c.codePoint); break;
        case CharKind::Printable: out.append(text, pos, c.length); break;
        }
        pos += c.length;
    }
    return out;
}

std::string MakePrintableText(const std::string &text, PrintableLayout layout)
{
    return MakePrintableTextIn(kConsoleEncoding, text, layout);
}
