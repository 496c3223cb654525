#include <gtest/gtest.h>

#include "CheckManager.h"

TEST(RemoveDoubleQuotationMarks, KeepsWhatLiesBetweenTheQuotes)
{
    const struct {
        const char *text;
        const char *expected;
    } cases[] = {
        {"\"hello world\"", "hello world"},
        {"say \"hi there\" now", "hi there"},       // outside the quotes is dropped
        {"abc\"defgh", "defgh"},                    // a single quote: everything after it
        {"\"a\"b\"c\"", "a\"b\"c"},                 // first to last quote
        {"\"ab\"", "\"ab\""},                       // 4 bytes: too short to touch
        {"\"abc\"", "\"abc\""},                     // 5 bytes: still kept
        {"\"abcd\"", "abcd"},                       // 6 bytes
        {"no quotes here", "no quotes here"},
        {"\"中\"", "\"中\""},                    // lengths count bytes: 5, kept
        {"\"中文\"", "中文"},                      // 8 bytes
        {"", ""},
    };
    CCheckManager manager;
    for (const auto &c : cases)
        EXPECT_EQ(manager.RemoveDoubleQuotationMarksOfStringBothSide(c.text), c.expected) << c.text;
}
