// The real program against fake modems for the send, read and command-line
// flows: fakes by model, a person at the menu on a pty, the console texts as
// the terminal receives them, and what the fakes were sent, decoded.
#ifndef ZARVEX_FLOW_E2E_SUPPORT_H
#define ZARVEX_FLOW_E2E_SUPPORT_H

#include <unistd.h>

#include <memory>
#include <regex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "FakePool.h"
#include "FakeSmsPdu.h"
#include "ZarvexHarness.h"

namespace flow_e2e {

const HarnessPaths kPaths = {ZARVEX_BINARY, FAKE_MODEM_BINARY};

const char kMenuLine[] = "回车键刷新 1发送短信 2接收短信 q退出";
const char kNumberPrompt[] = "请输入接收短信的号码: ";
const char kPortPrompt[] = "请输入设备端口号(例:选择/dev/ttyUSB0,请输入USB0):";
const char kTextPrompt[] = "请输入短信内容:";
const char kDefaultText[] = " 北京Korvane短信为您服务 ";
// The duration lines that end a send and a read.
const char kSendDone[] = "发送短信耗时: ";
const char kReadDone[] = "读取短信耗时: ";

// The commands a Tarnel fake gets from one scan of its port.
const std::vector<std::string> kTarnelScan = {"ATE0",     "AT",           "ATI",  "AT+CMEE=1",
                                              "AT+CPMS=\"SM\"", "ATE0", "AT+CGSN", "AT+CCID",
                                              "at+csq"};

// A whole run is bounded; so is every wait for the screen.
constexpr int kRunMs = 240000;
constexpr int kScreenWaitMs = 90000;

inline FakeConfig Fake(FakeModel model)
{
    FakeConfig c;
    c.model = model;
    return c;
}

inline std::string Green(const std::string &text)
{
    return "\033[1m\033[32m" + text + "\033[0m";
}

inline std::string Red(const std::string &text)
{
    return "\033[1m\033[31m" + text + "\033[0m";
}

// A terminal shows each line end as CR LF.
inline std::string OnTerminal(const std::string &text)
{
    std::string out;
    for (char c : text) {
        if (c == '\n')
            out += '\r';
        out += c;
    }
    return out;
}

// The program's own colour sequences removed; what is left must hold no ESC.
inline std::string WithoutColours(std::string text)
{
    for (const char *colour : {"\033[1m", "\033[31m", "\033[32m", "\033[0m"})
        for (std::size_t p; (p = text.find(colour)) != std::string::npos;)
            text.erase(p, std::string(colour).size());
    return text;
}

// The parts in this order, each after the one before.
inline ::testing::AssertionResult InOrder(const std::string &text, const std::vector<std::string> &parts)
{
    std::size_t from = 0;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const std::size_t at = text.find(parts[i], from);
        if (at == std::string::npos)
            return ::testing::AssertionFailure() << "part " << i << " missing after offset " << from
                                                 << ": " << parts[i] << "\n--- in ---\n" << text;
        from = at + parts[i].size();
    }
    return ::testing::AssertionSuccess();
}

// A person at the menu: waits for what the program shows, then types.
class Terminal {
public:
    explicit Terminal(std::unique_ptr<NamespaceProcess> p) : m_p(std::move(p)) {}

    bool Await(const std::string &text)
    {
        if (!m_p->WaitForScreen(text, kScreenWaitMs, m_from))
            return false;
        m_from = m_p->Screen().find(text, m_from) + text.size();
        return true;
    }
    bool Type(const std::string &keys) { return m_p->SendKeys(keys); }
    // Menu key, then one answer per prompt, then `done` and the menu again,
    // and q. A key typed before the menu has switched the terminal to raw
    // mode waits in the line buffer until it does.
    ::testing::AssertionResult Dialogue(char key, const std::vector<std::pair<std::string, std::string>> &answers,
                                        const std::string &done)
    {
        if (!Await(kMenuLine) || !Type(std::string(1, key)))
            return ::testing::AssertionFailure() << "no menu:\n" << m_p->Screen();
        for (const auto &a : answers)
            if (!Await(a.first) || !Type(a.second + "\n"))
                return ::testing::AssertionFailure() << "no prompt " << a.first << ":\n" << m_p->Screen();
        if (!Await(done) || !Await(kMenuLine) || !Type("q"))
            return ::testing::AssertionFailure() << "did not finish:\n" << m_p->Screen();
        const NamespaceResult r = m_p->WaitExit(kScreenWaitMs);
        if (r.exitStatus != 0)
            return ::testing::AssertionFailure() << "exit " << r.exitStatus << ":\n" << m_p->Screen();
        return ::testing::AssertionSuccess();
    }
    const std::string &Screen() const { return m_p->Screen(); }

private:
    std::unique_ptr<NamespaceProcess> m_p;
    std::size_t m_from = 0;
};

// Type of address of the destination in an SMS-SUBMIT PDU: SMS-centre
// length octet, that many octets, first octet, message reference, address
// length, then the type. -1 when the body is too short.
inline int DestinationType(const std::string &pduHex)
{
    std::string bytes;
    if (!HexDecode(pduHex, &bytes) || bytes.empty())
        return -1;
    const std::size_t at = 1 + static_cast<unsigned char>(bytes[0]) + 3;
    return at < bytes.size() ? static_cast<unsigned char>(bytes[at]) : -1;
}

// "YYYY-MM-DD hh:mm:ss".
inline bool IsLocalTime(const std::string &text)
{
    return std::regex_match(text, std::regex("\\d{4}-\\d{2}-\\d{2} \\d{2}:\\d{2}:\\d{2}"));
}

}  // namespace flow_e2e

#endif
