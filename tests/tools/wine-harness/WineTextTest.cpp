// Expected output in UTF-8 turned into what a Windows program under Wine
// prints to a pipe (GBK, CR LF), and output turned back for messages.
#include <gtest/gtest.h>

#include "WineText.h"

namespace {

TEST(WineTextTest, Utf8AndGbkBothWays)
{
    struct Case {
        const char *utf8;
        const char *gbk;
    } const cases[] = {
        {"", ""},
        {"ok", "ok"},
        {"中文", "\xD6\xD0\xCE\xC4"},
        {"短信 COM11：成功", "\xB6\xCC\xD0\xC5 COM11\xA3\xBA\xB3\xC9\xB9\xA6"},
    };
    for (const Case &c : cases) {
        std::string out;
        EXPECT_TRUE(Utf8ToGbk(c.utf8, &out)) << c.utf8;
        EXPECT_EQ(out, c.gbk);
        EXPECT_TRUE(GbkToUtf8(c.gbk, &out));
        EXPECT_EQ(out, c.utf8);
    }
}

TEST(WineTextTest, WhatCannotBeConvertedSaysSo)
{
    std::string out;
    EXPECT_FALSE(Utf8ToGbk("ok \xF0\x9F\x98\x80", &out)) << "an emoji has no GBK form";
    EXPECT_EQ(out, "ok ");
    EXPECT_FALSE(Utf8ToGbk("bad \xC3", &out)) << "cut UTF-8";
    EXPECT_FALSE(GbkToUtf8("\xD6", &out)) << "half a GBK character";
    EXPECT_EQ(WineStdout("\xF0\x9F\x98\x80").rfind("<not convertible", 0), 0u);
}

TEST(WineTextTest, TextModeWritesEveryLineFeedAsCrLf)
{
    struct Case {
        const char *in;
        const char *out;
    } const cases[] = {
        {"", ""}, {"a", "a"}, {"a\n", "a\r\n"}, {"\n\n", "\r\n\r\n"}, {"a\r\nb", "a\r\r\nb"}, {"\r", "\r"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(TextModeLineEnds(c.in), c.out) << c.in;
    EXPECT_EQ(WineStdout("中文 ok\n"), "\xD6\xD0\xCE\xC4 ok\r\n");
}

TEST(WineTextTest, OutputForMessagesShowsWhatIsNotGbk)
{
    EXPECT_EQ(ReadableGbk("\xD6\xD0\xCE\xC4\r\n"), "中文\r\n");
    EXPECT_EQ(ReadableGbk("a\xFF" "b\xD6"), "a\\xFFb\\xD6");
    EXPECT_EQ(ReadableGbk(""), "");
}

}  // namespace
