#include "ConsoleEnvironment.h"
#include "PrintableText.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <set>

struct PrintableCase {
    const char *name;
    std::string text;
    std::string shown;
    friend void PrintTo(const PrintableCase &c, std::ostream *os) { *os << c.name; }
};

class MakePrintableTextTest : public testing::TestWithParam<PrintableCase> {};

// The filter knows UTF-8 only. In the Windows build these rows' Chinese
// literals are code page 936 bytes, which it shows escaped: the filter's
// Windows form comes with the application's Windows layer.
const std::set<std::string> kChineseLiteralRows = {"Chinese", "FailureDisguisedAsSuccess"};

TEST_P(MakePrintableTextTest, ShowsControlsNeverEmitsThem)
{
    if (kConsoleBytesPerChinese != 3 && kChineseLiteralRows.count(GetParam().name) != 0)
        GTEST_SKIP() << "the printable-text filter does not read code page 936 yet";
    EXPECT_EQ(MakePrintableText(GetParam().text), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, MakePrintableTextTest,
    testing::Values(
        // Ordinary texts pass byte for byte.
        PrintableCase{"Ascii", "Hello, world! 123 ~", "Hello, world! 123 ~"},
        PrintableCase{"Chinese", "北京Korvane短信为您服务", "北京Korvane短信为您服务"},
        PrintableCase{"FourByteEmoji", "ok \xF0\x9F\x98\x80", "ok \xF0\x9F\x98\x80"},
        PrintableCase{"TabAndLineFeedKept", "a\tb\nc", "a\tb\nc"},
        PrintableCase{"Empty", "", ""},
        // Hostile texts.
        PrintableCase{"ClearScreen", "\x1b[2J\x1b[Hgotcha", "\\x1b[2J\\x1b[Hgotcha"},
        PrintableCase{"RetitleTerminal", "\x1b]0;owned\x07", "\\x1b]0;owned\\x07"},
        PrintableCase{"CarriageReturnInsideNumber", "1380\r0000", "1380\\r0000"},
        PrintableCase{"FailureDisguisedAsSuccess", "ERROR\r的短信发送成功", "ERROR\\r的短信发送成功"},
        PrintableCase{"TrailingCarriageReturnPasses", "866123456789012\r", "866123456789012\r"},
        PrintableCase{"TwoTrailingCarriageReturns", "86\r\r", "86\\r\r"},
        PrintableCase{"Bell", "ring\a", "ring\\x07"},
        PrintableCase{"Del", "a\x7f" "b", "a\\x7fb"},
        PrintableCase{"Nul", std::string("a\0b", 3), "a\\x00b"},
        PrintableCase{"C1CsiEncoded", "\xC2\x9B" "31m", "\\xc2\\x9b31m"},
        PrintableCase{"C1LastOfRange", "\xC2\x9F", "\\xc2\\x9f"},
        PrintableCase{"NoBreakSpaceIsNotC1", "\xC2\xA0", "\xC2\xA0"},
        PrintableCase{"RawCsiByte", "\x9B" "2J", "\\x9b2J"},
        PrintableCase{"InvalidLeadByte", "\xFF" "x", "\\xffx"},
        PrintableCase{"TruncatedSequence", "\xE4\xB8", "\\xe4\\xb8"},
        PrintableCase{"OverlongSlash", "\xC0\xAF", "\\xc0\\xaf"},
        PrintableCase{"Surrogate", "\xED\xA0\x80", "\\xed\\xa0\\x80"},
        // Direction controls would show the text in an order other than the
        // one it holds ("invoice\u202efdp.exe" reads as "invoiceexe.pdf").
        PrintableCase{"RightToLeftOverride", "invoice\xE2\x80\xAE" "fdp.exe", "invoice\\u202efdp.exe"},
        PrintableCase{"EmbeddingAndPop", "\xE2\x80\xAA" "12\xE2\x80\xAC", "\\u202a12\\u202c"},
        PrintableCase{"EveryIsolate", "\xE2\x81\xA6\xE2\x81\xA7\xE2\x81\xA8\xE2\x81\xA9",
                      "\\u2066\\u2067\\u2068\\u2069"},
        PrintableCase{"OverrideInBodyKeepsItsLines", "第一行\n\xE2\x80\xAE" "第二行",
                      "第一行\n\\u202e第二行"}),
    [](const testing::TestParamInfo<PrintableCase> &info) { return std::string(info.param.name); });

TEST(MakePrintableText, OutputHoldsNoControlBytes)
{
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    const std::string shown = MakePrintableText(all);
    for (unsigned char c : shown) {
        EXPECT_FALSE(c < 0x20 && c != '\t' && c != '\n') << int(c);
        EXPECT_NE(c, 0x7F);
        EXPECT_LT(c, 0x80) << "every high byte of this input is invalid UTF-8 on its own";
    }
}

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
        PrintableCase{"EscapeAsInAnyText", "\x1b[2J24", "\\x1b[2J24"},
        PrintableCase{"OverrideAsInAnyText", "\xE2\x80\xAE" "10086", "\\u202e10086"}),
    [](const testing::TestParamInfo<PrintableCase> &info) { return std::string(info.param.name); });

TEST(MakePrintableText, SingleLineOutputHoldsNoControlBytes)
{
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    for (unsigned char c : MakePrintableText(all, PrintableLayout::SingleLine))
        EXPECT_FALSE(c < 0x20 && c != '\t') << int(c);
}

// Of the general punctuation block, exactly the embeddings, overrides and
// isolates are shown escaped, in either layout; their neighbours (narrow
// no-break space, invisible operators, the deprecated format characters)
// pass.
TEST(MakePrintableText, EscapesExactlyTheDirectionControls)
{
    for (unsigned cp = 0x2000; cp <= 0x206F; ++cp) {
        const std::string text = {static_cast<char>(0xE0 | (cp >> 12)),
                                  static_cast<char>(0x80 | ((cp >> 6) & 0x3F)),
                                  static_cast<char>(0x80 | (cp & 0x3F))};
        const bool direction = (cp >= 0x202A && cp <= 0x202E) || (cp >= 0x2066 && cp <= 0x2069);
        char escaped[8];
        std::snprintf(escaped, sizeof escaped, "\\u%04x", cp);
        const std::string shown = direction ? escaped : text;
        EXPECT_EQ(MakePrintableText(text), shown) << std::hex << cp;
        EXPECT_EQ(MakePrintableText(text, PrintableLayout::SingleLine), shown) << std::hex << cp;
    }
}
