// Shared pieces of the in-process manager tests: a manager whose device rows
// a test can set, a model object whose reply judges are watched, fakes and
// captured console streams.
#ifndef ZARVEX_APP_TEST_SUPPORT_H
#define ZARVEX_APP_TEST_SUPPORT_H

#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "CheckManager.h"
#include "ComPortBase.h"
#include "FakePool.h"
#include "Phone_Tarnel.h"

namespace app_test {

// The manager with its rows and results in reach.
class TestManager : public CCheckManager {
public:
    std::vector<Win32::CommInfo> &Rows() { return m_commInfoVec; }
    const std::string &ScanTime() const { return m_strScanTime; }
};

// Every port test needs the line settings table, as start-up prepares it.
class PortTest : public ::testing::Test {
protected:
    void SetUp() override { CComPortBase::ResetAllComPort(); }
};

inline FakeConfig Fake(FakeModel model, FakeBaud baud = FakeBaud::Any)
{
    FakeConfig c;
    c.model = model;
    c.baud = baud;
    return c;
}

// The commands a fake received so far; waits a little for the ones still on
// their way so that "nothing was written" means what it says.
inline std::vector<std::string> Received(const FakeModem &fake, int settleMs = 150)
{
    usleep(settleMs * 1000);
    return fake.Record().CommandTexts();
}

inline long long ElapsedMs(std::chrono::steady_clock::time_point since)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now()
                                                                 - since)
        .count();
}

// A Tarnel object whose judges are watched. Every reply handed to a judge is
// kept; `judge`, when set, gives the verdict in place of the model's own, and
// `closeOnFirstJudge` closes that port at the first call, so that the polls
// after it read nothing and cost only the runner's own sleep.
class WatchedPhone : public CPhone_Tarnel {
public:
    using Judge = std::function<COM_CMD_OPERATE_RESULT_t(int call, const std::string &reply)>;

    std::vector<std::string> replies;
    Judge judge;
    CComPortBase *closeOnFirstJudge = nullptr;
    bool noInitCommands = false;

    COM_CMD_OPERATE_RESULT_t OnGetAtCmdRsp(std::string r) override
    {
        return Watch(r, [&] { return CPhone_Tarnel::OnGetAtCmdRsp(r); });
    }
    COM_CMD_OPERATE_RESULT_t OnGetAtiCmdRsp(std::string r) override
    {
        return Watch(r, [&] { return CPhone_Tarnel::OnGetAtiCmdRsp(r); });
    }
    COM_CMD_OPERATE_RESULT_t OnSetSmsPduModeCmdRsp(std::string r) override
    {
        return Watch(r, [&] { return CPhone_Tarnel::OnSetSmsPduModeCmdRsp(r); });
    }
    COM_CMD_OPERATE_RESULT_t OnSendPduSmsContextCmdRsp(std::string r) override
    {
        return Watch(r, [&] { return CPhone_Tarnel::OnSendPduSmsContextCmdRsp(r); });
    }
    COM_CMD_OPERATE_RESULT_t OnSendPduSmsLenCmdRsp(std::string r) override
    {
        return Watch(r, [&] { return CPhone_Tarnel::OnSendPduSmsLenCmdRsp(r); });
    }
    COM_CMD_OPERATE_RESULT_t OnGetIMSI_CmdRsp(std::string r) override
    {
        return Watch(r, [&] { return CPhone_Tarnel::OnGetIMSI_CmdRsp(r); });
    }
    COM_CMD_OPERATE_RESULT_t OnGetIMEI_Cmd(std::string r) override
    {
        return Watch(r, [&] { return CPhone_Tarnel::OnGetIMEI_Cmd(r); });
    }
    COM_CMD_OPERATE_RESULT_t OnGetSignalStrengthCmdRsp(std::string r) override
    {
        return Watch(r, [&] { return CPhone_Tarnel::OnGetSignalStrengthCmdRsp(r); });
    }
    COM_CMD_OPERATE_RESULT_t OnGetQuerySmsCenterCmdRsp(std::string r) override
    {
        return Watch(r, [&] { return CPhone_Tarnel::OnGetQuerySmsCenterCmdRsp(r); });
    }
    COM_CMD_OPERATE_RESULT_t OnDelAllSmsCmdRsp(std::string r) override
    {
        return Watch(r, [&] { return CPhone_Tarnel::OnDelAllSmsCmdRsp(r); });
    }
    COM_CMD_OPERATE_RESULT_t OnGetRecvSmsCompatibleModeCmdRsp(std::string r) override
    {
        return Watch(r, [&] { return CPhone_Tarnel::OnGetRecvSmsCompatibleModeCmdRsp(r); });
    }
    COM_CMD_OPERATE_RESULT_t OnReadAllSmsCmdRsp(std::string r) override
    {
        return Watch(r, [&] { return CPhone_Tarnel::OnReadAllSmsCmdRsp(r); });
    }
    COM_CMD_OPERATE_RESULT_t OnGetReadSmsOnMeCmd(std::string r) override
    {
        return Watch(r, [&] { return CPhone_Tarnel::OnGetReadSmsOnMeCmd(r); });
    }
    COM_CMD_OPERATE_RESULT_t OnGetReadSmsOnSmCmd(std::string r) override
    {
        return Watch(r, [&] { return CPhone_Tarnel::OnGetReadSmsOnSmCmd(r); });
    }
    COM_CMD_OPERATE_RESULT_t OnInitAtCmdRsp(std::string r) override
    {
        return Watch(r, [&] { return CPhone_Tarnel::OnInitAtCmdRsp(r); });
    }
    std::vector<std::string> GetInitAtCmd() override
    {
        if (noInitCommands)
            return {};
        return CPhone_Tarnel::GetInitAtCmd();
    }

private:
    template <typename Own>
    COM_CMD_OPERATE_RESULT_t Watch(const std::string &reply, Own own)
    {
        replies.push_back(reply);
        if (closeOnFirstJudge != nullptr && replies.size() == 1)
            closeOnFirstJudge->Close();
        if (judge)
            return judge(static_cast<int>(replies.size()), reply);
        return own();
    }
};

// Device names of a test's choosing for fake slaves: symbolic links in a
// private directory, removed with the object.
class DeviceLinks {
public:
    DeviceLinks()
    {
        char pattern[] = "/tmp/zx-XXXXXX";  // short: a record keeps 31 bytes of a path
        if (mkdtemp(pattern) != nullptr)
            m_dir = pattern;
    }
    ~DeviceLinks()
    {
        for (const std::string &link : m_links)
            unlink(link.c_str());
        if (!m_dir.empty())
            rmdir(m_dir.c_str());
    }
    DeviceLinks(const DeviceLinks &) = delete;
    DeviceLinks &operator=(const DeviceLinks &) = delete;

    // The path of the new name, or "" when it could not be made.
    std::string Add(const std::string &name, const std::string &target)
    {
        const std::string link = m_dir + "/" + name;
        if (m_dir.empty() || symlink(target.c_str(), link.c_str()) != 0)
            return std::string();
        m_links.push_back(link);
        return link;
    }

private:
    std::string m_dir;
    std::vector<std::string> m_links;
};

// Standard input and output of the console dialogues, swapped for strings
// while the object lives.
class ConsoleCapture {
public:
    explicit ConsoleCapture(const std::string &input)
        : m_input(input), m_oldIn(std::cin.rdbuf(m_input.rdbuf())),
          m_oldOut(std::cout.rdbuf(m_output.rdbuf()))
    {
    }
    ~ConsoleCapture()
    {
        std::cin.rdbuf(m_oldIn);
        std::cout.rdbuf(m_oldOut);
        std::cin.clear();
        std::cout.clear();
    }
    ConsoleCapture(const ConsoleCapture &) = delete;
    ConsoleCapture &operator=(const ConsoleCapture &) = delete;

    std::string Output() const { return m_output.str(); }

private:
    std::istringstream m_input;
    std::ostringstream m_output;
    std::streambuf *m_oldIn;
    std::streambuf *m_oldOut;
};

}  // namespace app_test

#endif
