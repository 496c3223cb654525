// The reply of one command told apart from the rest of a line's traffic: one
// row per piece of traffic as a modem sends it, with what the command's
// parser then sees and what the line owes afterwards.
#include "CommandReply.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct ReplyCase {
    const char *name;
    const char *command;
    int owedBefore;
    const char *unfinishedBefore;
    const char *pending;                // already there before the write
    std::vector<std::string> pieces;    // arriving after it, in order
    ReplyEnd end;
    ReplyLines lines;
    const char *text;                   // what the parser sees at the end
    bool hasEnd;
    int owedAfter;
    const char *unfinishedAfter;
};

void PrintTo(const ReplyCase &c, std::ostream *os)
{
    *os << c.name;
}

const ReplyEnd kFinal = ReplyEnd::FinalResult;
const ReplyLines kFiltered = ReplyLines::WithoutReports;

const ReplyCase kCases[] = {
    {"PlainReply", "AT+CGSN\r\n", 0, "", "", {"\r\n866123456789012\r\n\r\nOK\r\n"}, kFinal,
     kFiltered, "\r\n866123456789012\r\n\r\nOK\r\n", true, 0, ""},
    {"EchoLeftOut", "AT+CGSN\r\n", 0, "", "", {"AT+CGSN\r\r\n866123456789012\r\n\r\nOK\r\n"},
     kFinal, kFiltered, "866123456789012\r\n\r\nOK\r\n", true, 0, ""},
    {"EchoOfAMessageBodyLeftOut", "0011000B818130000000F00008AA04004F60597D\x1a", 0, "", "",
     {"0011000B818130000000F00008AA04004F60597D\x1a\r\n+CMGS: 7\r\n\r\nOK\r\n"}, kFinal,
     kFiltered, "+CMGS: 7\r\n\r\nOK\r\n", true, 0, ""},
    {"ALaterLineLikeTheEchoStays", "AT\r", 0, "", "", {"\r\nOK\r\nAT\r\n"}, kFinal, kFiltered,
     "\r\nOK\r\nAT\r\n", true, 0, ""},
    {"ReportsBeforeAndInsideLeftOut", "at+csq\r\n", 0, "", "",
     {"\r\nRING\r\n\r\n+CSQ: 20,99\r\n\r\n+CMTI: \"SM\",3\r\n\r\nOK\r\n"}, kFinal, kFiltered,
     "\r\n\r\n+CSQ: 20,99\r\n\r\n\r\nOK\r\n", true, 0, ""},
    {"ReportsKeptInAFetchedText", "AT^HCMGR=1\r\n", 0, "", "",
     {"\r\n^HCMGR:10086,2019,6,5,10,22,32,0,1,4,0,0,0,1\r\nRING\r\nHi\x1a\r\n\r\nOK\r\n"},
     kFinal, ReplyLines::AsSent,
     "\r\n^HCMGR:10086,2019,6,5,10,22,32,0,1,4,0,0,0,1\r\nRING\r\nHi\x1a\r\n\r\nOK\r\n", true, 0,
     ""},
    {"ReportLikeTextInAFetchedMessageIsText", "AT^HCMGR=1\r\n", 0, "", "",
     {"\r\n^HCMGR:10086,2019,6,5,10,22,32,0,1,12,0,0,0,1\r\n^HCMGSS: 5\r\n"}, kFinal,
     ReplyLines::AsSent, "\r\n^HCMGR:10086,2019,6,5,10,22,32,0,1,12,0,0,0,1\r\n^HCMGSS: 5\r\n", false,
     1, ""},
    {"LateFinalOfAnEarlierCommandSettled", "AT+CGSN\r\n", 1, "", "",
     {"\r\nOK\r\n\r\n866123456789012\r\n\r\nOK\r\n"}, kFinal, kFiltered,
     "\r\n866123456789012\r\n\r\nOK\r\n", true, 0, ""},
    {"LateReplyWithAValueSettled", "AT+CGSN\r\n", 2, "", "",
     {"\r\n+CPMS: 0,50,0,50,0,50\r\n\r\nOK\r\n", "\r\nOK\r\n", "\r\n866123456789012\r\n\r\nOK\r\n"},
     kFinal, kFiltered, "\r\n866123456789012\r\n\r\nOK\r\n", true, 0, ""},
    {"LateFinalInPieces", "AT+CGSN\r\n", 1, "", "", {"\r\nO", "K\r\n\r\n86", "6123456789012\r\n", "\r\nOK\r\n"},
     kFinal, kFiltered, "\r\n866123456789012\r\n\r\nOK\r\n", true, 0, ""},
    {"LateFinalAlreadyPending", "AT+CCID\r\n", 1, "", "\r\nOK\r\n\r\n+CREG: 1\r\n",
     {"\r\n+CCID: 89860012345678901234\r\n\r\nOK\r\n"}, kFinal, kFiltered,
     "\r\n+CCID: 89860012345678901234\r\n\r\nOK\r\n", true, 0, ""},
    {"PendingNoiseDropped", "AT\r\n", 0, "", "noise\r\n+CREG", {"\r\nOK\r\n"}, kFinal, kFiltered,
     "OK\r\n", true, 0, ""},
    {"LineLeftUnfinishedDropped", "AT+CGSN\r\n", 0, "+CMTI: \"SM\",", "",
     {"3\r\n\r\n866123456789012\r\n\r\nOK\r\n"}, kFinal, kFiltered,
     "\r\n866123456789012\r\n\r\nOK\r\n", true, 0, ""},
    {"UnansweredIsOwed", "ATI\r\n", 0, "", "", {"\r\nQuectel\r\nM35\r\n"}, kFinal, kFiltered,
     "\r\nQuectel\r\nM35\r\n", false, 1, ""},
    {"UnansweredCutMidLineIsOwedWithItsStart", "ATI\r\n", 0, "", "", {"\r\nQuectel\r\nM3"}, kFinal,
     kFiltered, "\r\nQuectel\r\nM3", false, 1, "M3"},
    {"StillSettlingAddsItsOwn", "AT+CCID\r\n", 2, "", "", {"\r\nOK\r\n\r\n+CP"}, kFinal, kFiltered,
     "", false, 2, "+CP"},
    {"ReportAfterTheFinalStartsTheNextLine", "AT\r\n", 0, "", "", {"\r\nOK\r\n\r\n+CMT"}, kFinal,
     kFiltered, "\r\nOK\r\n\r\n+CMT", true, 0, "+CMT"},
    {"PromptEndsALengthCommand", "AT+CMGS=19\r", 0, "", "", {"\r\n> "}, ReplyEnd::Prompt, kFiltered,
     "\r\n> ", true, 0, ""},
    {"ErrorEndsALengthCommand", "AT+CMGS=19\r", 0, "", "", {"\r\n+CMS ERROR: 304\r\n"},
     ReplyEnd::Prompt, kFiltered, "\r\n+CMS ERROR: 304\r\n", true, 0, ""},
    {"NoPromptIsOwed", "AT+CMGS=19\r", 0, "", "", {"\r\n"}, ReplyEnd::Prompt, kFiltered, "\r\n",
     false, 1, ""},
    // A CDMA module's message body: its send report closes the reply, after
    // an OK or alone, and then nothing more is owed.
    {"SendReportAfterOk", "\x01\x02\x00\x1a", 0, "", "", {"\r\nOK\r\n", "\r\n^HCMGSS: 5\r\n"},
     kFinal, kFiltered, "\r\nOK\r\n\r\n^HCMGSS: 5\r\n", true, 0, ""},
    {"SendReportAlone", "\x01\x02\x00\x1a", 0, "", "", {"\r\n^HCMGSS: 5\r\n"}, kFinal, kFiltered,
     "\r\n^HCMGSS: 5\r\n", true, 0, ""},
    {"SendFailureReportAlone", "\x01\x02\x00\x1a", 0, "", "", {"\r\n^HCMGSF: 97\r\n"}, kFinal,
     kFiltered, "\r\n^HCMGSF: 97\r\n", true, 0, ""},
    // A report that came after its body's time settles that body's debt: the
    // next part's prompt is the next part's.
    {"LateSendReportSettledBeforeThePrompt", "AT^HCMGS=\"10086\"\r", 1, "", "",
     {"\r\n^HCMGSS: 5\r\n", "\r\n> "}, ReplyEnd::Prompt, kFiltered, "\r\n> ", true, 0, ""},
};

class CommandReplyTest : public testing::TestWithParam<ReplyCase> {};

TEST_P(CommandReplyTest, TheCommandsOwnReplyAndWhatTheLineOwes)
{
    const ReplyCase &c = GetParam();
    LineAccount account;
    account.owedFinals = c.owedBefore;
    account.unfinishedLine = c.unfinishedBefore;
    CommandReply reply(account, c.command, c.end, c.lines);
    reply.TakePending(c.pending);
    for (const std::string &piece : c.pieces)
        reply.Take(piece);
    EXPECT_EQ(reply.Text(), c.text);
    EXPECT_EQ(reply.HasEnd(), c.hasEnd);
    reply.Finish(c.hasEnd);
    EXPECT_EQ(account.owedFinals, c.owedAfter);
    EXPECT_EQ(account.unfinishedLine, c.unfinishedAfter);
    EXPECT_EQ(account.lastUnanswered, !c.hasEnd);
}

INSTANTIATE_TEST_SUITE_P(Traffic, CommandReplyTest, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<ReplyCase> &info) {
                             return std::string(info.param.name);
                         });

// The parser sees the reply grow, one byte at a time as a slow line brings
// it, and never a byte of the late final result before it.
TEST(CommandReply, GrowsByteByByteWithoutTheSettledPart)
{
    LineAccount account;
    account.owedFinals = 1;
    CommandReply reply(account, "AT+CGSN\r\n");
    const std::string traffic = "\r\nOK\r\n\r\n866123456789012\r\n\r\nOK\r\n";
    std::string last;
    for (char c : traffic) {
        reply.Take(std::string(1, c));
        EXPECT_EQ(reply.Text().find("OK\r\n\r\n866"), std::string::npos);
        last = reply.Text();
    }
    EXPECT_EQ(last, "\r\n866123456789012\r\n\r\nOK\r\n");
}

// A final result that no command was owed, seen between commands: the
// modem answered something twice, and the line says so.
TEST(CommandReply, AFinalResultNobodyWasOwedIsMarkedStray)
{
    const struct {
        const char *name;
        int owedBefore;
        const char *unfinishedBefore;
        const char *pending;
        std::vector<std::string> pieces;
        bool stray;
    } cases[] = {
        {"ExtraOkPending", 0, "", "\r\nOK\r\n", {"\r\nOK\r\n"}, true},
        {"ExtraErrorAmongReportsPending", 0, "", "\r\nRING\r\n\r\n+CME ERROR: 22\r\n\r\n+CREG: 1\r\n",
         {"\r\nOK\r\n"}, true},
        {"ExtraSendReportPending", 0, "", "\r\n^HCMGSS: 5\r\n", {"\r\nOK\r\n"}, true},
        {"ExtraOkCompletingTheLastLine", 0, "O", "K\r\n", {"\r\nOK\r\n"}, true},
        {"ExtraOkArrivingAfterTheWrite", 0, "O", "", {"K\r\n\r\nOK\r\n"}, true},
        {"OwedOkPending", 1, "", "\r\nOK\r\n", {"\r\nOK\r\n"}, false},
        {"OwedOkAfterTheWrite", 1, "", "", {"\r\nOK\r\n\r\nOK\r\n"}, false},
        {"OnlyReportsAndNoisePending", 0, "+CMT", "I: \"SM\",3\r\nnoise\r\n", {"\r\nOK\r\n"}, false},
        {"AnOkStillArrivingIsNotYetOne", 0, "", "\r\nOK", {}, false},
        {"TheCommandsOwnReply", 0, "", "", {"\r\nOK\r\n"}, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        LineAccount account;
        account.owedFinals = c.owedBefore;
        account.unfinishedLine = c.unfinishedBefore;
        CommandReply reply(account, "AT\r");
        reply.TakePending(c.pending);
        for (const std::string &piece : c.pieces)
            reply.Take(piece);
        EXPECT_EQ(account.strayFinal, c.stray);
        EXPECT_EQ(reply.Text(), c.pieces.empty() ? "" : "\r\nOK\r\n");
    }
}

TEST(CommandReply, AFinalResultMarksTheLineAsAnswered)
{
    LineAccount account;
    {
        CommandReply reply(account, "AT\r\n");
        reply.Take("\r\nRING\r\n");
        reply.Finish(false);
    }
    EXPECT_FALSE(account.answered);
    CommandReply reply(account, "AT\r\n");
    reply.Take("\r\nERROR\r\n");
    EXPECT_TRUE(account.answered);
}

}  // namespace
