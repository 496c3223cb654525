// Every runner's row of the runner table, run as its runner runs it, on a
// scripted line whose reads cost what a Linux port's wait for a pause costs
// and on a clock that moves only when the line or the loop spends time. A
// modem that never answers holds each runner for exactly the budget of its
// own number of polls, in this build's form; a modem that answers gets the
// verdict of the runner's own parser on the runner's own command, with the
// reply read whole and nothing left owed.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ScriptedLine.h"
#include "CheckManagerRunners.h"
#include "CommandBudgets.h"
#include "PhoneCardBase.h"

namespace {

using exchange_test::ManualClock;
using exchange_test::Ms;
using exchange_test::ScriptedLine;

constexpr Ms kReadCost(50);

using Verdict = COM_CMD_OPERATE_RESULT_t;

// A modem object of no model that notes which of its parsers judged. An
// undecided one finds no reply complete (the Windows build's initialisation
// judge would otherwise take silence for done).
class JudgedPhone : public CPhoneCardBase {
public:
    std::vector<std::string> judges;
    bool undecided = false;

    Verdict OnInitAtCmdRsp(std::string r) override
    {
        return Note("InitAt", CPhoneCardBase::OnInitAtCmdRsp(r));
    }
    Verdict OnDelAllSmsCmdRsp(std::string r) override
    {
        return Note("DelAllSms", CPhoneCardBase::OnDelAllSmsCmdRsp(r));
    }
    Verdict OnGetQuerySmsCenterCmdRsp(std::string r) override
    {
        return Note("QuerySmsCenter", CPhoneCardBase::OnGetQuerySmsCenterCmdRsp(r));
    }
    Verdict OnGetAtCmdRsp(std::string r) override
    {
        return Note("At", CPhoneCardBase::OnGetAtCmdRsp(r));
    }
    Verdict OnGetAtiCmdRsp(std::string r) override
    {
        return Note("Ati", CPhoneCardBase::OnGetAtiCmdRsp(r));
    }
    Verdict OnGetIMEI_Cmd(std::string r) override
    {
        return Note("IMEI", CPhoneCardBase::OnGetIMEI_Cmd(r));
    }
    Verdict OnSendPduSmsContextCmdRsp(std::string r) override
    {
        return Note("SendPduSmsContext", CPhoneCardBase::OnSendPduSmsContextCmdRsp(r));
    }
    Verdict OnSendPduSmsLenCmdRsp(std::string r) override
    {
        return Note("SendPduSmsLen", CPhoneCardBase::OnSendPduSmsLenCmdRsp(r));
    }
    Verdict OnReadAllSmsCmdRsp(std::string r) override
    {
        return Note("ReadAllSms", CPhoneCardBase::OnReadAllSmsCmdRsp(r));
    }
    Verdict OnGetRecvSmsCompatibleModeCmdRsp(std::string r) override
    {
        return Note("RecvSmsCompatibleMode", CPhoneCardBase::OnGetRecvSmsCompatibleModeCmdRsp(r));
    }
    Verdict OnSetSmsPduModeCmdRsp(std::string r) override
    {
        return Note("SetSmsPduMode", CPhoneCardBase::OnSetSmsPduModeCmdRsp(r));
    }
    Verdict OnGetIMSI_CmdRsp(std::string r) override
    {
        return Note("IMSI", CPhoneCardBase::OnGetIMSI_CmdRsp(r));
    }
    Verdict OnGetReadSmsOnMeCmd(std::string r) override
    {
        return Note("ReadSmsOnMe", CPhoneCardBase::OnGetReadSmsOnMeCmd(r));
    }
    Verdict OnGetReadSmsOnSmCmd(std::string r) override
    {
        return Note("ReadSmsOnSm", CPhoneCardBase::OnGetReadSmsOnSmCmd(r));
    }
    Verdict OnGetSignalStrengthCmdRsp(std::string r) override
    {
        return Note("SignalStrength", CPhoneCardBase::OnGetSignalStrengthCmdRsp(r));
    }

private:
    Verdict Note(const char *parser, Verdict verdict)
    {
        judges.push_back(parser);
        return undecided ? COM_CMD_WAIT : verdict;
    }
};

// A storage listing far longer than a reply of a few lines may be.
std::string LongListing()
{
    std::string listing;
    for (int i = 1; listing.size() <= SHORT_REPLY_BOUND.maxBytes; ++i)
        listing += "\r\n+CMGL: " + std::to_string(i) + ",1,,24\r\n"
                   + "0891683108100005F0040D91683109031046F00008520121817122230442D84F60\r\n";
    return listing + "\r\nOK\r\n";
}

const char kOk[] = "\r\nOK\r\n";
const char kMessagePart[] = "0011000B818130000000F00008AA04004F60597D\x1a";

struct RowCase {
    const char *name;
    Runner runner;
    int polls;  // its budget, in polls of the Linux runner
    Ms extraPause;
    const char *text;     // what its caller gives it to write, if anything
    const char *command;  // what it writes
    const char *parser;   // whose verdict it takes
    std::string answer;   // a reply its parser finds done
};

void PrintTo(const RowCase &c, std::ostream *os)
{
    *os << c.name;
}

const RowCase kRows[] = {
    {"InitPhone", Runner::InitPhone, INIT_POLLS_PER_COMMAND, Ms(0), "AT+CMEE=1\r\n",
     "AT+CMEE=1\r\n", "InitAt", kOk},
    // Deleting every message waits 100 ms more after each poll.
    {"DelAllSms", Runner::DelAllSms, DEL_ALL_POLLS, Ms(100), "", "AT+CMGD=0,4\r\n", "DelAllSms",
     kOk},
    {"QuerySMSC", Runner::QuerySMSC, LONG_POLLS, Ms(0), "", "AT+CSCA?\r\n", "QuerySmsCenter",
     "\r\n+CSCA: \"+8613800100500\",145\r\n\r\nOK\r\n"},
    {"AT", Runner::AT, AT_POLLS, Ms(0), "", "AT\r\n", "At", kOk},
    {"ATI", Runner::ATI, LONG_POLLS, Ms(0), "", "ATI\r\n", "Ati",
     "\r\nQuectel\r\nEC20F\r\nRevision: EC20CEFAGR06A05M4G\r\n\r\nOK\r\n"},
    {"GetSerialNumber", Runner::GetSerialNumber, VALUE_POLLS, Ms(0), "", "AT+CGSN\r\n", "IMEI",
     "\r\n867123456789012\r\n\r\nOK\r\n"},
    {"SendPduContext", Runner::SendPduContext, LONG_POLLS, Ms(0), kMessagePart, kMessagePart,
     "SendPduSmsContext", "\r\n+CMGS: 12\r\n\r\nOK\r\n"},
    // A prompt answers the length command in full: the line owes nothing
    // after it.
    {"SendPduLen", Runner::SendPduLen, SEND_LEN_POLLS, Ms(0), "AT+CMGS=19\r", "AT+CMGS=19\r",
     "SendPduSmsLen", "\r\n> "},
    // A listing is read whole, however much longer than a few lines.
    {"ReadAllSmsToPhone", Runner::ReadAllSmsToPhone, LIST_POLLS, Ms(0), "", "AT+CMGL=4\r\n",
     "ReadAllSms", LongListing()},
    {"SetRecvSmsCompatibleMode", Runner::SetRecvSmsCompatibleMode, LONG_POLLS, Ms(0), "", "AT\r",
     "RecvSmsCompatibleMode", kOk},
    {"SetPduMode", Runner::SetPduMode, LONG_POLLS, Ms(0), "", "at+cmgf=0\r\n", "SetSmsPduMode",
     kOk},
    {"GetSmsCardNumber", Runner::GetSmsCardNumber, VALUE_POLLS, Ms(0), "", "AT+CCID\r\n", "IMSI",
     "\r\n+CCID: 89860012345678901234\r\n\r\nOK\r\n"},
    {"ReadME_Sms", Runner::ReadME_Sms, STORE_SELECT_POLLS, Ms(0), "", "AT+CPMS=\"ME\"\r\n",
     "ReadSmsOnMe", "\r\n+CPMS: 0,50,0,50,0,50\r\n\r\nOK\r\n"},
    {"ReadSM_Sms", Runner::ReadSM_Sms, STORE_SELECT_POLLS, Ms(0), "", "AT+CPMS=\"SM\"\r\n",
     "ReadSmsOnSm", "\r\n+CPMS: 0,20,0,20,0,20\r\n\r\nOK\r\n"},
    {"GetSignalStrength", Runner::GetSignalStrength, VALUE_POLLS, Ms(0), "", "at+csq\r\n",
     "SignalStrength", "\r\n+CSQ: 21,99\r\n\r\nOK\r\n"},
};

class RunnerRowTest : public testing::TestWithParam<RowCase> {};

// The runner spends what a command spends on the budget of its own number
// of polls, no more and no less: as many reads and pauses, as long on the
// clock. That budget is never shorter than the Linux runner's polls take.
TEST_P(RunnerRowTest, ASilentModemHoldsTheRunnerForItsBudget)
{
    const RowCase &c = GetParam();
    JudgedPhone phone;
    phone.undecided = true;
    ManualClock clock;
    ScriptedLine silent(clock, kReadCost);
    const Ms start = clock.Now();
    EXPECT_EQ(RunRunnerRow(RunnerRowOf(c.runner), phone, silent, clock, c.text),
              CommandEnd::OutOfTime);
    const Ms spent = clock.Now() - start;

    ManualClock budgetClock;
    ScriptedLine budgetLine(budgetClock, kReadCost);
    const CommandBudget budget = RunnerBudget(c.polls, SHORT_REPLY_BOUND, c.extraPause);
    RunCommand(budgetLine, budgetClock, c.command, JudgeByEnd, budget);
    EXPECT_EQ(spent, budgetClock.Now() - start);
    EXPECT_EQ(silent.reads, budgetLine.reads);
    EXPECT_EQ(clock.pauses, budgetClock.pauses);
    EXPECT_GE(spent, Ms(PollBudgetMs(c.polls)));

    EXPECT_EQ(silent.written, std::vector<std::string> {c.command});
    ASSERT_FALSE(phone.judges.empty());
    EXPECT_EQ(phone.judges, std::vector<std::string>(phone.judges.size(), c.parser));
}

TEST_P(RunnerRowTest, AnAnswerGetsTheRunnersOwnVerdictAtOnce)
{
    const RowCase &c = GetParam();
    JudgedPhone phone;
    ManualClock clock;
    ScriptedLine line(clock, kReadCost);
    line.AfterWrite(Ms(0), c.answer);
    EXPECT_EQ(RunRunnerRow(RunnerRowOf(c.runner), phone, line, clock, c.text), CommandEnd::Done);
    EXPECT_EQ(line.reads, 1);
    EXPECT_EQ(line.written, std::vector<std::string> {c.command});
    EXPECT_EQ(phone.judges, std::vector<std::string> {c.parser});
    EXPECT_EQ(line.account.owedFinals, 0);
}

INSTANTIATE_TEST_SUITE_P(Runners, RunnerRowTest, testing::ValuesIn(kRows),
                         [](const testing::TestParamInfo<RowCase> &info) {
                             return std::string(info.param.name);
                         });

}  // namespace
