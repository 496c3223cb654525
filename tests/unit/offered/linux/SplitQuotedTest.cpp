#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "TermSupport.h"

namespace {

using Words = std::vector<std::string>;

struct SplitResult {
    int result;
    Words words;
};

SplitResult Split(const std::string &text, int size = 8, int start = 0)
{
    std::vector<char *> argv(static_cast<size_t>(size > 0 ? size : 1), nullptr);
    int argc = start;
    SplitResult r;
    r.result = split_quoted(text.c_str(), &argc, argv.data(), size);
    for (int i = start; i < argc; i++) {
        r.words.push_back(argv[static_cast<size_t>(i)]);
        std::free(argv[static_cast<size_t>(i)]);
    }
    return r;
}

}  // namespace

struct SplitCase {
    const char *name;
    std::string text;
    int result;
    Words words;
    friend void PrintTo(const SplitCase &c, std::ostream *os) { *os << c.name; }
};

class SplitQuotedTest : public testing::TestWithParam<SplitCase> {};

TEST_P(SplitQuotedTest, SplitsLikeAShell)
{
    const SplitResult r = Split(GetParam().text);
    EXPECT_EQ(r.result, GetParam().result);
    EXPECT_EQ(r.words, GetParam().words);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, SplitQuotedTest,
    testing::Values(
        SplitCase{"PlainDoubleAndSingleQuoted", "sz \"two words\" 'a\\b'", 0,
                  {"sz", "two words", "a\\b"}},
        SplitCase{"SeparatorsRunTogether", " \t rx\n\n-vv  ", 0, {"rx", "-vv"}},
        SplitCase{"BackslashOutsideQuotes", "a\\ b \\'c", 0, {"a b", "'c"}},
        SplitCase{"BackslashNewlineJoins", "ab\\\ncd", 0, {"abcd"}},
        SplitCase{"DoubleQuoteEscapes", "\"\\\\ \\\" \\` \\$ \\n\"", 0, {"\\ \" ` $ \\n"}},
        SplitCase{"DoubleQuoteBackslashNewline", "\"a\\\nb\"", 0, {"ab"}},
        SplitCase{"QuotesInsideAWord", "--name='my file'.txt", 0, {"--name=my file.txt"}},
        SplitCase{"EmptyQuotesMakeAWord", "x '' \"\"", 0, {"x", "", ""}},
        SplitCase{"Nothing", "  ", 0, {}},
        SplitCase{"UnclosedDoubleQuote", "sz \"file", -1, {"sz"}},
        SplitCase{"UnclosedSingleQuote", "'file", -1, {}},
        SplitCase{"TrailingBackslash", "sz file\\", -1, {"sz"}}),
    [](const testing::TestParamInfo<SplitCase> &info) { return std::string(info.param.name); });

TEST(SplitQuoted, WordsBeyondTheArraySizeAreDropped)
{
    const SplitResult r = Split("a b c d", 2);
    EXPECT_EQ(r.result, SPLIT_DROPPED);
    EXPECT_EQ(r.words, (Words{"a", "b"}));
}

TEST(SplitQuoted, AppendsAfterWordsAlreadyThere)
{
    const SplitResult r = Split("c d e", 4, 2);
    EXPECT_EQ(r.result, SPLIT_DROPPED);
    EXPECT_EQ(r.words, (Words{"c", "d"}));
}

TEST(SplitQuoted, LongWordIsCutAt511Characters)
{
    const std::string longWord(600, 'w');
    const SplitResult r = Split(longWord + " tail");
    EXPECT_EQ(r.result, SPLIT_TRUNCATED);
    ASSERT_EQ(r.words.size(), 2u);
    EXPECT_EQ(r.words[0], std::string(SPLIT_WORD_MAX, 'w'));
    EXPECT_EQ(r.words[1], "tail");
}

TEST(SplitQuoted, BothFlagsTogether)
{
    const SplitResult r = Split(std::string(512, 'w') + " x y", 2);
    EXPECT_EQ(r.result, SPLIT_TRUNCATED | SPLIT_DROPPED);
}
