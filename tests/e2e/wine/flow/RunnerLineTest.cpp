// The Windows runner and its wrappers on live lines: Win32 ports mapped to
// fake modems. The ports come from the environment, so these run only under
// the Wine harness (RunnerLiveTest), which maps them:
//   ZARVEX_FLOW_COM         a modem that answers everything, a reply in pieces
//   ZARVEX_FLOW_SILENT_COM  a port that reads and never answers
//   ZARVEX_FLOW_REFUSING_COM  a modem refusing the listing and the SMS centre
//   ZARVEX_FLOW_INDEX_COM   the index-list model, refusing the SMS centre
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <memory>

#include "CheckManager.h"
#include "CheckManagerOfferedWindows.h"
#include "CommandBudgets.h"
#include "ComPortBase.h"
#include "PhoneFactory.h"

namespace {

using Clock = std::chrono::steady_clock;

std::string PortPath(const char *variable)
{
    const char *name = std::getenv(variable);
    return name && *name ? std::string("\\\\.\\") + name : std::string();
}

long long MsSince(Clock::time_point start)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

class RunnerLineTest : public testing::Test {
protected:
    // A port and the modem object of that type (the plain base class for
    // PHONE_TYPE_BASE), echo turned off first.
    void Open(const char *variable, PHONE_TYPE_t type = PHONE_TYPE_BASE)
    {
        const std::string path = PortPath(variable);
        if (path.empty())
            GTEST_SKIP() << "no port given in " << variable;
        port.reset(new CComPortBase(path, 9600));
        ASSERT_TRUE(port->IsOpened()) << port->GetErrorMsg();
        phone.reset(type == PHONE_TYPE_BASE ? new CPhoneCardBase() : GetPhoneByType(type));
        ASSERT_NE(phone, nullptr);
        CCheckManager::RunComCmdInitPhone(phone.get(), port.get());
    }

    std::unique_ptr<CComPortBase> port;
    std::unique_ptr<CPhoneCardBase> phone;
};

TEST_F(RunnerLineTest, AReplyInPiecesReachesTheHandlerWhole)
{
    ASSERT_NO_FATAL_FAILURE(Open("ZARVEX_FLOW_COM"));
    std::vector<std::string> seen;
    const auto recording = [&seen](CPhoneCardBase *p, std::string reply) {
        seen.push_back(reply);
        return OnSetPduModeHandler(p, reply);
    };
    EXPECT_TRUE(RunComCmd(phone.get(), port.get(), phone->SetSmsPDUModeCmd(), recording, LONG_POLLS));
    ASSERT_GE(seen.size(), 2u) << "the reply pauses halfway";
    EXPECT_EQ(seen.back(), "\r\nOK\r\n");
    for (std::size_t i = 1; i < seen.size(); ++i)
        EXPECT_EQ(seen[i].compare(0, seen[i - 1].size(), seen[i - 1]), 0) << "each look holds the one before";
    EXPECT_FALSE(port->IsComError());
}

TEST_F(RunnerLineTest, TheWrappersOfASendAndAReadSucceedOnAModemThatAnswers)
{
    ASSERT_NO_FATAL_FAILURE(Open("ZARVEX_FLOW_COM"));
    EXPECT_TRUE(CCheckManager::RunComCmdQuerySMSC(phone.get(), port.get()));
    EXPECT_TRUE(CCheckManager::RunComCmdSetRecvSmsCompatibleMode(phone.get(), port.get()));
    CCheckManager manager;
    EXPECT_TRUE(manager.RunComCmdReadSM_Sms(phone.get(), port.get()));
    EXPECT_TRUE(CCheckManager::RunComCmdReadAllSmsToPhone(phone.get(), port.get()));
}

// The storage selection gets the Linux runner's budget (a reply that begins
// within about 2 s is taken), not 70 polls of over half a second each.
TEST_F(RunnerLineTest, ASilentModemHoldsACommandForItsBudgetOnly)
{
    ASSERT_NO_FATAL_FAILURE(Open("ZARVEX_FLOW_SILENT_COM"));
    // An error some earlier call left with the system is not the port's.
    SetLastError(ERROR_ACCESS_DENIED);
    const Clock::time_point start = Clock::now();
    CCheckManager manager;
    EXPECT_FALSE(manager.RunComCmdReadME_Sms(phone.get(), port.get()));
    // At most the read under way when the budget ran out.
    EXPECT_LT(MsSince(start), PollBudgetMs(STORE_SELECT_POLLS) + 562 + 300);
    EXPECT_FALSE(port->IsComError()) << port->GetErrorMsg();
    EXPECT_EQ(port->GetFailureKind(), PortFailureKind::None);
}

// The command is still written; the harness checks that it arrived.
TEST_F(RunnerLineTest, NoPollsWriteTheCommandAndAnswerFalse)
{
    ASSERT_NO_FATAL_FAILURE(Open("ZARVEX_FLOW_SILENT_COM"));
    const Clock::time_point start = Clock::now();
    EXPECT_FALSE(RunComCmd(phone.get(), port.get(), "AT+CNMI?\r\n", OnQuerySMSCHandler, 0));
    EXPECT_LT(MsSince(start), 400) << "nothing is read";
}

TEST_F(RunnerLineTest, NothingRunsWithoutAModemObjectOrAnOpenPort)
{
    CPhoneCardBase phone;
    EXPECT_FALSE(RunComCmd(nullptr, nullptr, "AT\r", OnQuerySMSCHandler, LONG_POLLS));
    EXPECT_FALSE(RunComCmd(&phone, nullptr, "AT\r", OnQuerySMSCHandler, LONG_POLLS));
    CComPortBase absent("\\\\.\\COM250", 9600);
    EXPECT_FALSE(RunComCmd(&phone, &absent, "AT\r", OnQuerySMSCHandler, LONG_POLLS));
    EXPECT_EQ(OnInitPhoneHandler(nullptr, "OK"), COM_CMD_ERROR);
}

// A refused listing is a storage not read, with the modem's own words.
TEST_F(RunnerLineTest, ARefusedListingIsAFailureWithTheModemsText)
{
    ASSERT_NO_FATAL_FAILURE(Open("ZARVEX_FLOW_REFUSING_COM"));
    EXPECT_FALSE(CCheckManager::RunComCmdReadAllSmsToPhone(phone.get(), port.get()));
    EXPECT_EQ(phone->GetErrorMessage(), "+CMS ERROR: 321");
}

TEST_F(RunnerLineTest, ARefusedSmsCentreStopsAModelThatNeedsIt)
{
    ASSERT_NO_FATAL_FAILURE(Open("ZARVEX_FLOW_REFUSING_COM", PHONE_TYPE_PIMSOR));
    EXPECT_FALSE(CCheckManager::RunComCmdQuerySMSC(phone.get(), port.get()));
}

TEST_F(RunnerLineTest, ARefusedSmsCentreNeverStopsTheIndexListModel)
{
    ASSERT_NO_FATAL_FAILURE(Open("ZARVEX_FLOW_INDEX_COM", PHONE_TYPE_VELKOR_NC5));
    EXPECT_TRUE(CCheckManager::RunComCmdQuerySMSC(phone.get(), port.get()));
}

}  // namespace
