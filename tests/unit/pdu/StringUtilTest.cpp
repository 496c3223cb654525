#include "StringUtil.h"

#include <gtest/gtest.h>


using Strings = std::vector<std::string>;

struct SplitCase {
    const char *name;
    std::string text;
    Strings expected;
    friend void PrintTo(const SplitCase &c, std::ostream *os) { *os << c.name; }
};

// Replies cut at the Linux separator, a line feed.
class SplitAtLineFeedTest : public testing::TestWithParam<SplitCase> {};

TEST_P(SplitAtLineFeedTest, SplitsAtLineFeeds)
{
    EXPECT_EQ(SplitStringAtSeparator(GetParam().text, "\n"), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Replies, SplitAtLineFeedTest,
    testing::Values(
        SplitCase{"CsqReplyKeepsCarriageReturns", "\r\n+CSQ: 20,99\r\n\r\nOK\r\n",
                  {"\r", "+CSQ: 20,99\r", "\r", "OK\r"}},
        SplitCase{"NoLineEndGivesNothing", "OK", {}},
        SplitCase{"EmptyLinesSkipped", "a\n\nb", {"a"}},
        SplitCase{"TextAfterLastLineEndDropped", "OK\r\n+CMGL: 1", {"OK\r"}},
        SplitCase{"Empty", "", {}}),
    [](const testing::TestParamInfo<SplitCase> &info) { return std::string(info.param.name); });

// Replies cut at the Windows separator, carriage return and line feed.
class SplitAtCrLfTest : public testing::TestWithParam<SplitCase> {};

TEST_P(SplitAtCrLfTest, SplitsAtCarriageReturnLineFeed)
{
    EXPECT_EQ(SplitStringAtSeparator(GetParam().text, "\r\n"), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Replies, SplitAtCrLfTest,
    testing::Values(
        SplitCase{"OkAlone", "\r\nOK\r\n", {"OK"}},
        SplitCase{"CsqReplyLosesCarriageReturns", "\r\n+CSQ: 20,99\r\n\r\nOK\r\n", {"+CSQ: 20,99", "OK"}},
        SplitCase{"LastLineWithoutLineEndNotReturned", "\r\n+CSQ: 20,99\r\nOK", {"+CSQ: 20,99"}},
        SplitCase{"BareLineFeedsDoNotSplit", "a\nb\r\nc\n", {"a\nb"}},
        SplitCase{"LoneCarriageReturnsStay", "a\r\r\nb\rc\r\n", {"a\r", "b\rc"}},
        SplitCase{"NoLineEndGivesNothing", "OK", {}},
        SplitCase{"Empty", "", {}}),
    [](const testing::TestParamInfo<SplitCase> &info) { return std::string(info.param.name); });

TEST(SplitStringAtSeparator, EmptySeparatorGivesNothing)
{
    EXPECT_TRUE(SplitStringAtSeparator("a\nb\n", "").empty());
}

class SplitStringByCharTest : public testing::TestWithParam<SplitCase> {};

TEST_P(SplitStringByCharTest, SplitsAtComma)
{
    EXPECT_EQ(SplitStringByChar(GetParam().text, ','), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Lists, SplitStringByCharTest,
    testing::Values(SplitCase{"EmptyPieceInMiddleKept", "a,,b", {"a", "", "b"}},
                    SplitCase{"NoPieceAfterTrailingSeparator", "a,b,", {"a", "b"}},
                    SplitCase{"LeadingEmptyPieceKept", ",a", {"", "a"}},
                    SplitCase{"NoSeparator", "abc", {"abc"}},
                    SplitCase{"Empty", "", {}},
                    SplitCase{"OnlySeparators", ",,", {"", ""}}),
    [](const testing::TestParamInfo<SplitCase> &info) { return std::string(info.param.name); });

TEST(StringReplaceChar, ReplacesEveryOccurrence)
{
    EXPECT_EQ(StringReplaceChar("1;2;3", ';', ','), "1,2,3");
    EXPECT_EQ(StringReplaceChar("", ';', ','), "");
    EXPECT_EQ(StringReplaceChar("a b", ';', ','), "a b");
}

struct TrimCase {
    const char *name;
    std::string text;
    char c;
    std::string once;  // TrimChar
    std::string all;   // TrimAllChar
    friend void PrintTo(const TrimCase &c, std::ostream *os) { *os << c.name; }
};

class TrimTest : public testing::TestWithParam<TrimCase> {};

TEST_P(TrimTest, TrimsBothEnds)
{
    EXPECT_EQ(TrimChar(GetParam().text, GetParam().c), GetParam().once);
    EXPECT_EQ(TrimAllChar(GetParam().text, GetParam().c), GetParam().all);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, TrimTest,
    testing::Values(TrimCase{"QuotedValue", "\"x\"", '"', "x", "x"},
                    TrimCase{"TwoQuotesTooShort", "\"\"", '"', "\"\"", "\"\""},
                    TrimCase{"ThreeSameLetters", "aaa", 'a', "a", "a"},
                    TrimCase{"BlanksAround", "  x  ", ' ', " x ", "x"},
                    // Trimming stops once the text is shorter than three.
                    TrimCase{"FourCarriageReturns", "\r\r\r\r", '\r', "\r\r", "\r\r"},
                    TrimCase{"OnlyLeading", "\"123", '"', "123", "123"},
                    TrimCase{"NothingToTrim", "12345", '"', "12345", "12345"},
                    TrimCase{"Empty", "", ' ', "", ""}),
    [](const testing::TestParamInfo<TrimCase> &info) { return std::string(info.param.name); });

TEST(TrimAllChar, StopsAfterBoundedRounds)
{
    // 300 quotes on each side: one round removes one from each end, and at
    // most 101 rounds run.
    const std::string text = std::string(300, '"') + "x" + std::string(300, '"');
    const std::string result = TrimAllChar(text, '"');
    EXPECT_EQ(result, std::string(199, '"') + "x" + std::string(199, '"'));
}
