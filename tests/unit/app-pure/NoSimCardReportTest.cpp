// Which error texts of a modem say that it holds no SIM card: the read flow
// tells "no SIM card" only then.
#include <gtest/gtest.h>

#include "CheckManagerFlow.h"

namespace {

TEST(NoSimCardReport, ByTheModemsOwnWords)
{
    const struct {
        const char *text;
        bool noSim;
    } cases[] = {
        {"+CME ERROR: 10", true},
        {"\r\n+CME ERROR: 10\r\n", true},
        {"+CMS ERROR: 310", true},
        {"+CME ERROR:10", true},
        {"+CME ERROR: SIM not inserted", true},
        {"+CMS ERROR: SIM NOT INSERTED", true},
        // A listing refused on a later line of the kept reply.
        {"+CMGL: 1,1,,24\r\n+CMS ERROR: 310", true},
        {"+CME ERROR: 100", false},
        {"+CME ERROR: 13", false},  // SIM failure: a card is there
        {"+CME ERROR: 310", false},
        {"+CMS ERROR: 10", false},
        {"+CMS ERROR: 302", false},
        {"+CME ERROR: SIM busy", false},
        {"ERROR", false},
        {"SIM not inserted", false},
        {"no answer", false},
        {"Code: 10  No child processes", false},
        {"", false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ReportsNoSimCard(c.text), c.noSim) << c.text;
}

}  // namespace
