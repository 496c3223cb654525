#include <gtest/gtest.h>

#include "CheckManager.h"

// Only a pair of quotes around the whole text goes: the shell hands quotes
// that belong to the message over as plain characters.
TEST(RemoveDoubleQuotationMarks, DropsOnlyAPairAroundTheWholeText)
{
    const struct {
        const char *text;
        const char *expected;
    } cases[] = {
        {"\"hello world\"", "hello world"},
        {"Meet at \"Cafe Blue\" at noon", "Meet at \"Cafe Blue\" at noon"},
        {"\"Meet at \"Cafe Blue\" at noon\"", "Meet at \"Cafe Blue\" at noon"},
        {"He said \"hi\"", "He said \"hi\""},        // ends with a quote only
        {"\"Quoted\" and more", "\"Quoted\" and more"},  // starts with a quote only
        {"abc\"defgh", "abc\"defgh"},                // one quote inside
        {"\"abcdefgh", "\"abcdefgh"},                // one quote in front
        {"\"a\"b\"c\"", "a\"b\"c"},                  // the outer pair only
        {"\"\"abcd\"\"", "\"abcd\""},                // one pair per call
        {"\"ab\"", "\"ab\""},                        // 4 bytes: too short to touch
        {"\"abc\"", "\"abc\""},                      // 5 bytes: still kept
        {"\"abcd\"", "abcd"},                        // 6 bytes
        {"\"    \"", "    "},
        {"no quotes here", "no quotes here"},
        {"\"中\"", "\"中\""},                        // lengths count bytes: 5, kept
        {"\"中文\"", "中文"},                        // 8 bytes
        {"", ""},
    };
    CCheckManager manager;
    for (const auto &c : cases)
        EXPECT_EQ(manager.RemoveDoubleQuotationMarksOfStringBothSide(c.text), c.expected) << c.text;
}
