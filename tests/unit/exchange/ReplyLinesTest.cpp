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

// What ends a reply for the line's account: the final results above, and
// the report that closes a CDMA module's message body, with or without an
// OK before it. Nothing else that merely names the report does.
TEST(ReplyLines, WhatEndsACommandsReply)
{
    const LineCase cases[] = {
        {"OK", true},
        {"+CMS ERROR: 500", true},
        {"^HCMGSS: 5", true},
        {"^HCMGSS:5\r", true},
        {" ^HCMGSF: 97 ", true},
        {"^HCMGS=\"10086\"", false},
        {"HCMGSS: 5", false},
        {"xx^HCMGSS: 5", false},
        {"^HCMGL: 0,1", false},
        {"+CMGS: 7", false},
        {"", false},
    };
    for (const LineCase &c : cases)
        EXPECT_EQ(EndsCommandReply(c.line), c.final) << c.line;
}

TEST(ReplyLines, UnsolicitedReports)
{
    const LineCase cases[] = {
        // Calls and messages.
        {"RING", true},
        {"RING\r", true},
        {"  RING  ", true},
        {"NO CARRIER", true},
        {"+CRING: VOICE", true},
        {"+CLIP: \"13800138000\",129,,,,0", true},
        {"+CMTI: \"SM\",3", true},
        {"+CMTI: \"ME\",12", true},
        {"+CDSI: \"SM\",4", true},
        {"+CMT: ,24", true},
        {"+CDS: 25", true},
        {"+CBM: 88", true},
        {"^HCMT: 13800138000,2019,06,05,10,22,32,0,1,5,0,0,0", true},
        // Registration, signal, mode and SIM state.
        {"+CREG: 1", true},
        {"+CREG: 1,\"1A2B\",\"0C3D\"", true},
        {"+CGREG: 5", true},
        {"+CEREG: 1,\"1A2B\",\"01A2B3C4\",7", true},
        {"^RSSI: 17", true},
        {"^RSSILVL: 60", true},
        {"^HRSSILVL: 40", true},
        {"^BOOT: 12345678,0,0,0,23", true},
        {"^MODE: 5,4", true},
        {"^SRVST: 2", true},
        {"^SIMST: 1", true},
        {"^CEND: 1,0,104,16", true},
        {"^ORIG: 1,0", true},
        {"^CONF: 1", true},
        {"^CONN: 1,0", true},
        {"^DSFLOWRPT: 00000010,00000000,00000000", true},
        {"+WIND: 4", true},
        // Start-up notices.
        {"RDY", true},
        {"Call Ready", true},
        {"SMS Ready", true},
        {"+PACSP1", true},
        // Final results, echoes and the values the program asks for.
        {"OK", false},
        {"ERROR", false},
        {"+CME ERROR: 10", false},
        {"AT+CGSN", false},
        {"866123031234561", false},
        {"+CCID: 89860012345678901234", false},
        {"^ICCID: 98680021436587092103", false},
        {"+CSQ: 20,99", false},
        {"+CSCA: \"+8613800100500\",145", false},
        {"+CMGL: 5,1,,30", false},
        {"^HCMGL: 0,1", false},
        {"^HCMGR: 13800138000,2019,06,05,10,22,32,0,1,5,0,0,0", false},
        {"^HCMGSS: 3", false},
        {"+CMGW: 3", false},
        {"^CPBR: 1,\"482913570264815\",129,\"WMSN\"", false},
        {"Serial Number 351234567890123", false},
        // Near misses: another case, a longer word, a tag not at the start.
        {"", false},
        {"ring", false},
        {"RINGING", false},
        {"^RSSI", false},
        {"xx+CMTI: \"SM\",3", false},
        {"Model: RING", false},
    };
    for (const LineCase &c : cases)
        EXPECT_EQ(IsUnsolicitedReport(c.line), c.final) << c.line;
}

}  // namespace
