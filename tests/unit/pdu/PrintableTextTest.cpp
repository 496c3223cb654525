// The printable-text filter: texts in the console's own encoding (rows that
// hold whatever that encoding is, their Chinese literals built in it), then
// each encoding's own rows through the filter's form for it, which both
// builds run.
#include "PrintableText.h"

#include <gtest/gtest.h>

#include <cstdio>

struct PrintableCase {
    const char *name;
    std::string text;
    std::string shown;
    PrintableLayout layout = PrintableLayout::MultiLine;
    friend void PrintTo(const PrintableCase &c, std::ostream *os) { *os << c.name; }
};

std::string CaseName(const testing::TestParamInfo<PrintableCase> &info)
{
    return info.param.name;
}

// ---- The console's encoding ------------------------------------------------

class MakePrintableTextTest : public testing::TestWithParam<PrintableCase> {};

TEST_P(MakePrintableTextTest, ShowsControlsNeverEmitsThem)
{
    EXPECT_EQ(MakePrintableText(GetParam().text), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, MakePrintableTextTest,
    testing::Values(
        // Ordinary texts pass byte for byte.
        PrintableCase{"Ascii", "Hello, world! 123 ~", "Hello, world! 123 ~"},
        PrintableCase{"Chinese", "北京Korvane短信为您服务", "北京Korvane短信为您服务"},
        PrintableCase{"TabAndLineFeedKept", "a\tb\nc", "a\tb\nc"},
        PrintableCase{"ChineseLinesKept", "第一行\n第二行", "第一行\n第二行"},
        PrintableCase{"Empty", "", ""},
        // Hostile texts.
        PrintableCase{"ClearScreen", "\x1b[2J\x1b[Hgotcha", "\\x1b[2J\\x1b[Hgotcha"},
        PrintableCase{"RetitleTerminal", "\x1b]0;owned\x07", "\\x1b]0;owned\\x07"},
        PrintableCase{"CarriageReturnInsideNumber", "1380\r0000", "1380\\r0000"},
        PrintableCase{"FailureDisguisedAsSuccess", "ERROR\r的短信发送成功", "ERROR\\r的短信发送成功"},
        PrintableCase{"EscapeAfterChinese", "清屏\x1b[2J", "清屏\\x1b[2J"},
        PrintableCase{"TrailingCarriageReturnPasses", "866123456789012\r", "866123456789012\r"},
        PrintableCase{"TwoTrailingCarriageReturns", "86\r\r", "86\\r\r"},
        PrintableCase{"Bell", "ring\a", "ring\\x07"},
        PrintableCase{"Del", "a\x7f" "b", "a\\x7fb"},
        PrintableCase{"Nul", std::string("a\0b", 3), "a\\x00b"},
        // No character of either encoding begins with these bytes.
        PrintableCase{"RawCsiByte", "\x9B" "2J", "\\x9b2J"},
        PrintableCase{"InvalidLeadByte", "\xFF" "x", "\\xffx"},
        PrintableCase{"LeadByteAtTheEnd", "ok\xE4", "ok\\xe4"}),
    CaseName);

// Values shown inside one line: nothing in them may end that line.
class SingleLineTextTest : public testing::TestWithParam<PrintableCase> {};

TEST_P(SingleLineTextTest, ShowsLineEndsNeverEmitsThem)
{
    EXPECT_EQ(MakePrintableText(GetParam().text, PrintableLayout::SingleLine), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    Values, SingleLineTextTest,
    testing::Values(
        PrintableCase{"CardNumber", "89860318245000112201", "89860318245000112201"},
        PrintableCase{"ChineseReason", "设备不AT", "设备不AT"},
        PrintableCase{"TabKept", "24,99\t", "24,99\t"},
        // A line feed in a table cell starts a line of the sender's choosing.
        PrintableCase{"ForgedRow", "8986\nttyUSB9   9600      OK",
                      "8986\\nttyUSB9   9600      OK"},
        PrintableCase{"ForgedResultLine", "+CMS ERROR: 500\n端口 ttyUSB0 发送到 10086 的短信发送成功",
                      "+CMS ERROR: 500\\n端口 ttyUSB0 发送到 10086 的短信发送成功"},
        PrintableCase{"LoneLineFeed", "\n", "\\n"},
        PrintableCase{"CarriageReturnLineFeed", "ERROR\r\n", "ERROR\\r\\n"},
        // Inside a line a trailing carriage return sends the cursor back over it.
        PrintableCase{"TrailingCarriageReturnShown", "89860318245000112201\r",
                      "89860318245000112201\\r"},
        PrintableCase{"EscapeAsInAnyText", "\x1b[2J24", "\\x1b[2J24"}),
    CaseName);

// ---- Each encoding's own rows ----------------------------------------------

class Utf8TextTest : public testing::TestWithParam<PrintableCase> {};

TEST_P(Utf8TextTest, ShowsControlsNeverEmitsThem)
{
    const PrintableCase &c = GetParam();
    EXPECT_EQ(MakePrintableTextIn(ConsoleEncoding::Utf8, c.text, c.layout), c.shown);
}

// u8 literals: UTF-8 in either build.
INSTANTIATE_TEST_SUITE_P(
    Texts, Utf8TextTest,
    testing::Values(
        PrintableCase{"Chinese", u8"北京Korvane短信为您服务", u8"北京Korvane短信为您服务"},
        PrintableCase{"FourByteEmoji", "ok \xF0\x9F\x98\x80", "ok \xF0\x9F\x98\x80"},
        PrintableCase{"C1CsiEncoded", "\xC2\x9B" "31m", "\\xc2\\x9b31m"},
        PrintableCase{"C1LastOfRange", "\xC2\x9F", "\\xc2\\x9f"},
        PrintableCase{"NoBreakSpaceIsNotC1", "\xC2\xA0", "\xC2\xA0"},
        PrintableCase{"LoneContinuationByte", "\x80" "a", "\\x80a"},
        PrintableCase{"TruncatedSequence", "\xE4\xB8", "\\xe4\\xb8"},
        PrintableCase{"OverlongSlash", "\xC0\xAF", "\\xc0\\xaf"},
        PrintableCase{"Surrogate", "\xED\xA0\x80", "\\xed\\xa0\\x80"},
        // A GBK text is no UTF-8: "北京" in code page 936.
        PrintableCase{"GbkBytes", "\xB1\xB1\xBE\xA9", "\\xb1\\xb1\\xbe\\xa9"},
        // Direction controls would show the text in an order other than the
        // one it holds ("invoice\u202efdp.exe" reads as "invoiceexe.pdf").
        PrintableCase{"RightToLeftOverride", "invoice\xE2\x80\xAE" "fdp.exe", "invoice\\u202efdp.exe"},
        PrintableCase{"EmbeddingAndPop", "\xE2\x80\xAA" "12\xE2\x80\xAC", "\\u202a12\\u202c"},
        PrintableCase{"EveryIsolate", "\xE2\x81\xA6\xE2\x81\xA7\xE2\x81\xA8\xE2\x81\xA9",
                      "\\u2066\\u2067\\u2068\\u2069"},
        PrintableCase{"OverrideInBodyKeepsItsLines", u8"第一行\n\u202E第二行",
                      u8"第一行\n\\u202e第二行"},
        PrintableCase{"OverrideInAValue", "\xE2\x80\xAE" "10086", "\\u202e10086",
                      PrintableLayout::SingleLine}),
    CaseName);

class GbkTextTest : public testing::TestWithParam<PrintableCase> {};

TEST_P(GbkTextTest, ShowsControlsNeverEmitsThem)
{
    const PrintableCase &c = GetParam();
    EXPECT_EQ(MakePrintableTextIn(ConsoleEncoding::Gbk, c.text, c.layout), c.shown);
}

// Code page 936 bytes written out: "北京" B1B1 BEA9, "设备不" C9E8 B1B8 B2BB,
// "清屏" C7E5 C6C1, "第一行" B5DA D2BB D0D0.
INSTANTIATE_TEST_SUITE_P(
    Texts, GbkTextTest,
    testing::Values(
        PrintableCase{"Chinese", "\xB1\xB1\xBE\xA9Korvane", "\xB1\xB1\xBE\xA9Korvane"},
        PrintableCase{"ReasonInAValue", "\xC9\xE8\xB1\xB8\xB2\xBB" "AT", "\xC9\xE8\xB1\xB8\xB2\xBB" "AT",
                      PrintableLayout::SingleLine},
        // The lowest and highest pairs; a trail byte may look like ASCII.
        PrintableCase{"FirstPair", "\x81\x40", "\x81\x40"},
        PrintableCase{"LastPair", "\xFE\xFE", "\xFE\xFE"},
        PrintableCase{"TrailThatLooksLikeABackslash", "\x81\x5C" "n", "\x81\x5C" "n"},
        PrintableCase{"LeadAsTrail", "\xB1\xB1\xBE", "\xB1\xB1\\xbe"},
        // No pair: the lead byte alone is shown, and what follows it is read
        // on its own.
        PrintableCase{"LeadAtTheEnd", "ok\xB1", "ok\\xb1"},
        PrintableCase{"TrailBelowTheRange", "\x81\x3F", "\\x81?"},
        PrintableCase{"DelIsNoTrail", "\x81\x7F", "\\x81\\x7f"},
        PrintableCase{"TrailFF", "\x81\xFF", "\\x81\\xff"},
        PrintableCase{"EscapeIsNoTrail", "\xC7\xE5\xC6\xC1\xB1\x1b[2J", "\xC7\xE5\xC6\xC1\\xb1\\x1b[2J"},
        PrintableCase{"LineFeedIsNoTrail", "\xB1\nsecond", "\\xb1\nsecond"},
        PrintableCase{"LineFeedInAValueIsNoTrail", "\xB1\nsecond", "\\xb1\\nsecond",
                      PrintableLayout::SingleLine},
        PrintableCase{"CarriageReturnIsNoTrail", "\xB1\r", "\\xb1\r"},
        PrintableCase{"Byte80Alone", "\x80" "a", "\\x80a"},
        PrintableCase{"ByteFFAlone", "\xFF" "a", "\\xffa"},
        // Bytes that are controls in UTF-8 are ordinary characters here: the
        // code page has neither C1 controls nor direction controls.
        PrintableCase{"Utf8C1IsAPair", "\xC2\x9B" "31m", "\xC2\x9B" "31m"},
        PrintableCase{"Utf8OverrideIsAPairAndALoneByte", "\xE2\x80\xAE" "1", "\xE2\x80\\xae1"},
        PrintableCase{"LinesKept", "\xB5\xDA\xD2\xBB\xD0\xD0\n\xB5\xDA", "\xB5\xDA\xD2\xBB\xD0\xD0\n\xB5\xDA"}),
    CaseName);

// ---- Sweeps ------------------------------------------------------------------

std::string EveryByte()
{
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    return all;
}

class EveryByteTest : public testing::TestWithParam<ConsoleEncoding> {};

TEST_P(EveryByteTest, OutputHoldsNoControlBytes)
{
    for (unsigned char c : MakePrintableTextIn(GetParam(), EveryByte())) {
        EXPECT_FALSE(c < 0x20 && c != '\t' && c != '\n') << int(c);
        EXPECT_NE(c, 0x7F);
    }
    for (unsigned char c : MakePrintableTextIn(GetParam(), EveryByte(), PrintableLayout::SingleLine))
        EXPECT_FALSE(c < 0x20 && c != '\t') << int(c);
}

INSTANTIATE_TEST_SUITE_P(Encodings, EveryByteTest,
                         testing::Values(ConsoleEncoding::Utf8, ConsoleEncoding::Gbk),
                         [](const testing::TestParamInfo<ConsoleEncoding> &info) {
                             return info.param == ConsoleEncoding::Utf8 ? "Utf8" : "Gbk";
                         });

TEST(MakePrintableTextIn, EveryHighByteAloneIsInvalidUtf8)
{
    for (unsigned char c : MakePrintableTextIn(ConsoleEncoding::Utf8, EveryByte()))
        EXPECT_LT(c, 0x80);
}

// Of all 65536 two-byte texts, exactly the lead and trail pairs pass whole;
// any other text that starts with a high byte shows that byte escaped.
TEST(MakePrintableTextIn, GbkPassesExactlyTheLeadAndTrailPairs)
{
    for (unsigned lead = 0x80; lead <= 0xFF; ++lead) {
        for (unsigned trail = 0; trail <= 0xFF; ++trail) {
            const std::string text = {static_cast<char>(lead), static_cast<char>(trail)};
            const std::string shown = MakePrintableTextIn(ConsoleEncoding::Gbk, text);
            const bool pair = lead >= 0x81 && lead <= 0xFE && trail >= 0x40 && trail <= 0xFE
                              && trail != 0x7F;
            char escapedLead[5];
            std::snprintf(escapedLead, sizeof escapedLead, "\\x%02x", lead);
            if (pair)
                EXPECT_EQ(shown, text) << std::hex << lead << ' ' << trail;
            else
                EXPECT_EQ(shown.compare(0, 4, escapedLead), 0) << std::hex << lead << ' ' << trail;
        }
    }
}

// Of the general punctuation block, exactly the embeddings, overrides and
// isolates are shown escaped, in either layout; their neighbours (narrow
// no-break space, invisible operators, the deprecated format characters)
// pass.
TEST(MakePrintableTextIn, Utf8EscapesExactlyTheDirectionControls)
{
    for (unsigned cp = 0x2000; cp <= 0x206F; ++cp) {
        const std::string text = {static_cast<char>(0xE0 | (cp >> 12)),
                                  static_cast<char>(0x80 | ((cp >> 6) & 0x3F)),
                                  static_cast<char>(0x80 | (cp & 0x3F))};
        const bool direction = (cp >= 0x202A && cp <= 0x202E) || (cp >= 0x2066 && cp <= 0x2069);
        char escaped[8];
        std::snprintf(escaped, sizeof escaped, "\\u%04x", cp);
        const std::string shown = direction ? escaped : text;
        EXPECT_EQ(MakePrintableTextIn(ConsoleEncoding::Utf8, text), shown) << std::hex << cp;
        EXPECT_EQ(MakePrintableTextIn(ConsoleEncoding::Utf8, text, PrintableLayout::SingleLine), shown)
            << std::hex << cp;
    }
}
