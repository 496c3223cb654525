#include "Ucs2Units.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<unsigned char> Octets(std::initializer_list<int> values)
{
    std::vector<unsigned char> out;
    for (int v : values)
        out.push_back(static_cast<unsigned char>(v));
    return out;
}

struct CodePointCase {
    const char *name;
    std::vector<unsigned char> octets;
    std::u32string codePoints;
    std::u16string utf16;  // the code points written back as UTF-16
    friend void PrintTo(const CodePointCase &c, std::ostream *os) { *os << c.name; }
};

class Ucs2CodePointsTest : public testing::TestWithParam<CodePointCase> {};

TEST_P(Ucs2CodePointsTest, JoinsPairsAndReplacesLoneHalves)
{
    const CodePointCase &c = GetParam();
    const std::u32string codePoints = pdutext::Ucs2ToCodePoints(c.octets.data(), static_cast<int>(c.octets.size()));
    EXPECT_EQ(codePoints, c.codePoints);
    EXPECT_EQ(pdutext::CodePointsToUtf16(codePoints), c.utf16);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, Ucs2CodePointsTest,
    testing::Values(
        CodePointCase{"Chinese", Octets({0x4E, 0x2D, 0x65, 0x87}), U"\u4E2D\u6587", u"\u4E2D\u6587"},
        CodePointCase{"OddLastOctetIgnored", Octets({0x00, 0x41, 0x00}), U"A", u"A"},
        CodePointCase{"ZeroKept", Octets({0x00, 0x41, 0x00, 0x00, 0x00, 0x42}), std::u32string(U"A\0B", 3),
                      std::u16string(u"A\0B", 3)},
        CodePointCase{"SurrogatePair", Octets({0xD8, 0x3D, 0xDE, 0x00}), U"\U0001F600", u"\U0001F600"},
        CodePointCase{"LoneHighThenLetter", Octets({0xD8, 0x3D, 0x00, 0x41}), U"\uFFFDA", u"\uFFFDA"},
        CodePointCase{"LoneLow", Octets({0x00, 0x41, 0xDE, 0x00}), U"A\uFFFD", u"A\uFFFD"},
        CodePointCase{"HighLast", Octets({0x00, 0x41, 0xD8, 0x3D}), U"A\uFFFD", u"A\uFFFD"},
        CodePointCase{"Empty", Octets({}), U"", u""}),
    [](const testing::TestParamInfo<CodePointCase> &info) { return std::string(info.param.name); });

TEST(Ucs2ToCodePoints, NonPositiveCountGivesNothing)
{
    const unsigned char octets[] = {0x00, 0x41};
    EXPECT_TRUE(pdutext::Ucs2ToCodePoints(octets, 0).empty());
    EXPECT_TRUE(pdutext::Ucs2ToCodePoints(octets, -2).empty());
}

TEST(CodePointsToUtf16, PassesUtf16UnitsAndReplacesWhatNoneCanHold)
{
    // A 16-bit wide text's surrogate halves are one unit each, unchanged.
    EXPECT_EQ(pdutext::CodePointsToUtf16(U"\xD83D\xDE00"), u"\U0001F600");
    EXPECT_EQ(pdutext::CodePointsToUtf16(U"\x110000" U"A"), u"\uFFFDA");
    EXPECT_EQ(pdutext::CodePointsToUtf16(U"\U0010FFFF"), u"\U0010FFFF");
}

struct PrefixCase {
    const char *name;
    std::string text;
    std::size_t room;
    std::size_t prefix;
    friend void PrintTo(const PrefixCase &c, std::ostream *os) { *os << c.name; }
};

class Utf8PrefixTest : public testing::TestWithParam<PrefixCase> {};

TEST_P(Utf8PrefixTest, NeverCutsACharacter)
{
    const PrefixCase &c = GetParam();
    EXPECT_EQ(pdutext::Utf8PrefixLength(c.text.data(), c.text.size(), c.room), c.prefix);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, Utf8PrefixTest,
    testing::Values(PrefixCase{"FitsWhole", "A\xE4\xB8\xAD", 10, 4},
                    PrefixCase{"ExactFit", "A\xE4\xB8\xAD", 4, 4},
                    PrefixCase{"CutBeforeThreeByteCharacter", "A\xE4\xB8\xAD", 3, 1},
                    PrefixCase{"CutBeforeFourByteCharacter", "\xF0\x9F\x98\x80" "B", 3, 0},
                    PrefixCase{"StrayBytesCountOne", "\xFF\xFF\xFF", 2, 2},
                    PrefixCase{"TruncatedSequenceCountsOne", "A\xE4\xB8", 2, 2},
                    PrefixCase{"NoRoom", "ABC", 0, 0},
                    PrefixCase{"Empty", "", 5, 0}),
    [](const testing::TestParamInfo<PrefixCase> &info) { return std::string(info.param.name); });

// Code page 936: 0x81 to 0xFE lead a two-byte character.
bool IsGbkLeadByte(unsigned char b) { return b >= 0x81 && b <= 0xFE; }

class DoubleBytePrefixTest : public testing::TestWithParam<PrefixCase> {};

TEST_P(DoubleBytePrefixTest, NeverCutsACharacter)
{
    const PrefixCase &c = GetParam();
    EXPECT_EQ(pdutext::DoubleBytePrefixLength(c.text.data(), c.text.size(), c.room, IsGbkLeadByte), c.prefix);
}

// "中文" in code page 936 is D6 D0 CE C4; trail bytes may look like ASCII.
INSTANTIATE_TEST_SUITE_P(
    Texts, DoubleBytePrefixTest,
    testing::Values(PrefixCase{"FitsWhole", "A\xD6\xD0\xCE\xC4", 5, 5},
                    PrefixCase{"CutBeforeSecondCharacter", "A\xD6\xD0\xCE\xC4", 4, 3},
                    PrefixCase{"CutBeforeFirstCharacter", "A\xD6\xD0", 2, 1},
                    PrefixCase{"TrailByteThatLooksLikeALetter", "\x81\x41" "B", 1, 0},
                    PrefixCase{"LeadByteLastStandsAlone", "A\xD6", 2, 2},
                    PrefixCase{"Ascii", "ABC", 2, 2},
                    PrefixCase{"Empty", "", 3, 0}),
    [](const testing::TestParamInfo<PrefixCase> &info) { return std::string(info.param.name); });

} // namespace
