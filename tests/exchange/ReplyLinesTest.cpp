#include "ReplyLines.h"

#include <gtest/gtest.h>

namespace {

struct LineCase {
    const char *line;
    bool final;
};

TEST(ReplyLines, FinalResults)
{
    const LineCase cases[] = {
        {"OK", true},
        {"ERROR", true},
        {"OK\r", true},
        {" OK ", true},
        {"+CME ERROR: 10", true},
        {"+CMS ERROR: 500", true},
        {"+CME ERROR: not found", true},
        {"", false},
        {"BOOK", false},
        {"OKAY", false},
        {"+CSQ: 20,99", false},
        {"RING", false},
        {"Quectel ERROR handling", false},
    };
    for (const LineCase &c : cases)
        EXPECT_EQ(IsFinalResultLine(c.line), c.final) << c.line;
}

}  // namespace
