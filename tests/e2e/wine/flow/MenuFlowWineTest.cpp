// The menu's flows of Zarvex under Wine: the keys themselves on a terminal
// (1 sends, 2 reads, q ends), and the send and read flows through pipes
// (the flow program), where every byte of their GBK texts can be compared.
// The CDMA model and the index-list model send and read through the runner;
// long messages come out joined; a refused listing and a silent modem fail
// their port with a reason, within bounded time, the other ports unaffected.
#include <dirent.h>
#include <termios.h>
#include <unistd.h>

#include <thread>

#include "FakeSamples.h"
#include "WineFlowSupport.h"

namespace {
using namespace wine_flow;

FakeConfig WithMessages(FakeModel model, const std::vector<StoredMessage> &messages)
{
    FakeConfig c = ModemFake(model);
    c.messages = messages;
    return c;
}

// The sample SIM storage: a two-part message stored part 2 first comes out
// joined, after the single messages.
std::string SampleSim()
{
    return "SIM卡中的短信共 3 条\n" + Listed(1, "8613800138000", "19-08-01 12:05:04", "你好，这是一条测试短信。")
           + Listed(2, "10086", "19-08-02 08:30:15", "Hello from the fake modem")
           + Listed(3, "8613800138000", "19-08-03 10:15:00", "这是一条长短信的前半部分，后半部分到此结束。") + kDashes
           + "\n";
}

std::string FailureLine(const std::string &port, const std::string &reason)
{
    return "端口 " + port + " 接收短信失败\t 失败原因: " + reason + "\n";
}

// A new pseudo-terminal turns the Enter key's carriage return into a line
// feed on its way in, which Wine's console takes for Ctrl-J, not Enter: the
// test's terminals (the masters this process holds) pass it unchanged.
void PassCarriageReturns()
{
    DIR *d = opendir("/proc/self/fd");
    if (d == nullptr)
        return;
    while (dirent *e = readdir(d)) {
        char target[256] = {};
        const std::string link = std::string("/proc/self/fd/") + e->d_name;
        if (readlink(link.c_str(), target, sizeof target - 1) <= 0
            || std::string(target).find("ptmx") == std::string::npos)
            continue;
        const int fd = std::atoi(e->d_name);
        termios settings {};
        if (tcgetattr(fd, &settings) == 0) {
            settings.c_iflag &= ~static_cast<tcflag_t>(ICRNL);
            tcsetattr(fd, TCSANOW, &settings);
        }
    }
    closedir(d);
}

class MenuFlowWineTest : public WineFlowTest {};

TEST_F(MenuFlowWineTest, ReadEveryStorageOfEveryModel)
{
    FakeConfig refusing = WithMessages(FakeModel::Pimsor, SampleStoredMessages());
    refusing.faults.errorCommands = {{"AT+CMGL", "+CMS ERROR: 321"}};
    FakeConfig silent = ModemFake(FakeModel::Pimsor);
    silent.faults.silentCommands = {"AT+CPMS"};
    h.AddFake(11, WithMessages(FakeModel::Tarnel, SampleStoredMessages()))
        .AddFake(12, WithMessages(FakeModel::VelkorNc5, SampleStoredMessages()))
        .AddFake(13, WithMessages(FakeModel::Sudrel, SampleCdmaMessages()))
        .AddFake(14, refusing)
        .AddFake(15, silent);
    ASSERT_NO_FATAL_FAILURE(Start());

    const auto start = std::chrono::steady_clock::now();
    const std::string out = Printed(Run(FlowDriver(), {"read"}, "COM11\n11 12;13,14,15\n"));
    const std::string tarnel =
        "端口 COM11 接收短信成功 共 6 条短信\n" + SampleSim() + "设备中的短信共 3 条\n"
        + Listed(1, "10086", "", "查询余额") + Listed(2, "8615800000001", "19-08-05 09:09:09", "设备存储中的短信")
        + Listed(3, "8613912345678", "19-08-04 18:00:02", "Part one of three, part two of three, part three of three.")
        + kDashes + "\n";
    const std::string sudrel = "端口 COM13 接收短信成功 共 3 条短信\nSIM卡中的短信共 2 条\n"
                               + Listed(1, "13800138000", "2019-06-05 10:22:32", "Hello")
                               + Listed(2, "10086", "2019-06-06 11:00:00", "你好，CDMA") + kDashes
                               + "\n设备中的短信共 1 条\n" + Listed(1, "13912345678", "2019-06-07 12:00:00", "设备中的短信")
                               + kDashes + "\n";
    // A port name is no id: the dialogue asks again.
    const std::string prompt = "\n请输入设备端口号(例:选择COM3,请输入3):\n";
    const std::string head = prompt + "您输入的设备端口号有误，请重新输入\n" + prompt;
    const std::string body = tarnel + "端口 COM12 接收短信成功 共 6 条短信\n";
    ASSERT_EQ(out.compare(0, head.size() + body.size(), head + body), 0) << out;
    EXPECT_NE(out.find("短信内容: Part one of three, part two of three, part three of three.\n" + kDashes + "\n" + sudrel
                       + FailureLine("COM14", "+CMS ERROR: 321") + FailureLine("COM15", "no answer")),
              std::string::npos)
        << out;
    EXPECT_TRUE(EndsWithCount(out, "\n读取短信耗时: ", " 秒\n")) << out;
    // The silent modem's commands each end at their budget.
    EXPECT_LT(MsSince(start), 90000);

    // The index-list model fetches one by one; the CDMA model lists and
    // fetches with its own commands; the refused listing was asked for
    // each storage.
    EXPECT_EQ(h.Record(12).CommandsStartingWith("AT+CMGR=").size(), 9u);
    EXPECT_EQ(h.Record(13).CommandsStartingWith("AT^HCMGL=").size(), 2u);
    EXPECT_EQ(h.Record(14).CommandsStartingWith("AT+CMGL").size(), 2u);
}

TEST_F(MenuFlowWineTest, SendThroughTheCdmaAndTheIndexListModels)
{
    FakeConfig index = ModemFake(FakeModel::VelkorNc5);
    index.faults.errorCommands = {{"AT+CSCA", "ERROR"}};
    h.AddFake(11, ModemFake(FakeModel::Sudrel)).AddFake(12, index);
    ASSERT_NO_FATAL_FAILURE(Start());

    const std::string out = Printed(Run(FlowDriver(), {"send"}, "13800138000,10086\n11,12\n\n"));
    // No duration line after the results: the Windows build has no such text.
    EXPECT_EQ(out, "\n请输入接收短信的号码: \n\n请输入设备端口号(例:选择COM3,请输入3):\n\n请输入短信内容:\n"
                   "端口 COM11 发送到 13800138000 的短信发送成功\n端口 COM11 发送到 10086 的短信发送成功\n"
                   "端口 COM12 发送到 13800138000 的短信发送成功\n端口 COM12 发送到 10086 的短信发送成功\n");
    for (int com : {11, 12}) {
        const std::vector<DecodedSubmission> bodies = Decoded(h, com);
        ASSERT_EQ(bodies.size(), 2u) << com;
        EXPECT_EQ(bodies[0].destination, "13800138000") << com;
        const std::string stamped = " 北京Korvane短信为您服务  ";
        EXPECT_EQ(bodies[0].text.compare(0, stamped.size(), stamped), 0) << bodies[0].text;
        EXPECT_TRUE(IsTimeText(bodies[0].text.substr(stamped.size()))) << bodies[0].text;
        EXPECT_EQ(bodies[1].destination, "10086") << com;
        EXPECT_EQ(bodies[1].text, " 北京Korvane短信为您服务 ") << "no time stamp for a service number";
    }
    EXPECT_TRUE(h.Record(11).submissions[0].cdma);
    EXPECT_EQ(Decoded(h, 12)[0].smsc, "") << "the module's own centre";
}

// Noise cost a SIM and a device message their PDU lines, listed whole by
// one modem and fetched one by one by the other: the count is of the
// messages read, none stands empty for a lost one, and a line after the
// port's result names the entries not read. A port whose storages both fail
// says "no SIM card" only in the modem's own words, and names each storage's
// reason when they differ.
TEST_F(MenuFlowWineTest, ReadLostPduLinesAndNoSimCard)
{
    const std::vector<StoredMessage> messages = SampleStoredMessagesWithLostPduLines();
    FakeConfig noSim = ModemFake(FakeModel::Pimsor);
    noSim.faults.errorCommands = {{"AT+CPMS", "+CME ERROR: 10"}};
    FakeConfig twoReasons = ModemFake(FakeModel::Pimsor);
    twoReasons.faults.errorCommands = {{"AT+CPMS=\"ME\"", "+CMS ERROR: 302"}, {"AT+CPMS=\"SM\"", "+CME ERROR: 10"}};
    h.AddFake(11, WithMessages(FakeModel::Tarnel, messages))
        .AddFake(12, WithMessages(FakeModel::VelkorNc5, messages))
        .AddFake(13, noSim)
        .AddFake(14, twoReasons);
    ASSERT_NO_FATAL_FAILURE(Start());

    const std::string out = Printed(Run(FlowDriver(), {"read"}, "11,12,13,14\n"));
    for (const std::string port : {"COM11", "COM12"}) {
        const std::size_t head = out.find("端口 " + port + " 接收短信成功 共 4 条短信\nSIM卡中的短信共 2 条\n");
        const std::size_t unread = out.find("端口 " + port + " 无法读取的短信: SIM卡中索引 2, 设备中索引 4\n");
        EXPECT_NE(head, std::string::npos) << out;
        EXPECT_NE(unread, std::string::npos) << out;
        EXPECT_LT(head, unread) << out;
    }
    EXPECT_EQ(out.find("短信内容: \n"), std::string::npos) << out;
    EXPECT_NE(out.find(FailureLine("COM13", "设备未插卡") + FailureLine("COM14", "SIM卡: 设备未插卡; 设备: +CMS ERROR: 302")),
              std::string::npos)
        << out;
}

// A NUL typed in the text would end it where it goes to the modem, and the
// message would leave cut short: such a text is refused with its reason and
// asked for again, and after three of them nothing is sent at all.
TEST_F(MenuFlowWineTest, TextHoldingANulIsRefused)
{
    h.AddFake(11, ModemFake(FakeModel::Pimsor));
    ASSERT_NO_FATAL_FAILURE(Start());
    const std::string nulLine("a\0b\n", 4);
    const std::string out = Printed(Run(FlowDriver(), {"send"}, "13800138000\n11\n" + nulLine + nulLine + nulLine));
    const std::string refused = "\n请输入短信内容:\n您输入的短信内容含有空字符(NUL)，无法完整发送，请重新输入\n";
    EXPECT_EQ(out, "\n请输入接收短信的号码: \n\n请输入设备端口号(例:选择COM3,请输入3):\n" + refused + refused + refused
                       + "输入的错误次数过多，返回主界面\n\n\n");
    const FakeRecord record = h.Record(11);
    EXPECT_EQ(record.CommandsStartingWith("AT+CSCA").size(), 0u);
    EXPECT_EQ(record.CommandsStartingWith("AT+CMGS").size(), 0u);
}

// The keys themselves, on a terminal: 1 sends, 2 reads, q ends. Wine's
// console shows GBK texts garbled on a terminal; the fake's record tells
// what each key did.
TEST_F(MenuFlowWineTest, KeysOneTwoAndQ)
{
    h.AddFake(11, WithMessages(FakeModel::Pimsor, SampleStoredMessages()));
    ASSERT_NO_FATAL_FAILURE(Start());
    std::string error;
    NamespaceProcess *p = h.StartOnTerminal(ZarvexExe(), {}, {"", kRunMs, {}, ""}, &error);
    ASSERT_NE(p, nullptr) << error;
    ASSERT_TRUE(WaitForTerminalText(p, "COM11", 60000)) << p->Screen();
    PassCarriageReturns();
    // Keys typed ahead wait in the console's input until a read takes them.
    ASSERT_TRUE(p->SendKeys("1"));
    ASSERT_TRUE(p->SendKeys("13800138000\r"));
    ASSERT_TRUE(WaitForTerminalText(p, "COM3,", 60000)) << p->Screen();
    ASSERT_TRUE(p->SendKeys("11\rhi there\r"));
    const auto waitFor = [this](const std::string &command, std::size_t count) {
        for (int i = 0; i < 600; ++i) {
            if (h.Record(11).CommandsStartingWith(command).size() >= count)
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        return false;
    };
    ASSERT_TRUE(waitFor("AT+CMGS", 1)) << p->Screen();
    ASSERT_TRUE(p->SendKeys("2"));
    ASSERT_TRUE(p->SendKeys("11\r"));
    ASSERT_TRUE(waitFor("AT+CMGL", 2)) << p->Screen();
    ASSERT_TRUE(p->SendKeys("q"));
    const NamespaceResult r = p->WaitExit(60000);
    EXPECT_EQ(r.exitStatus, 0) << r.out;
    EXPECT_FALSE(r.timedOut);

    const std::vector<DecodedSubmission> bodies = Decoded(h, 11);
    ASSERT_EQ(bodies.size(), 1u);
    EXPECT_EQ(bodies[0].destination, "13800138000");
    EXPECT_EQ(bodies[0].text.compare(0, 9, "hi there "), 0) << bodies[0].text;
    // The read's messages reach the screen, the long one joined. Wine's
    // console draws a blank as a cursor move, gone with the escapes.
    EXPECT_NE(StripAnsi(r.out).find("Partoneofthree,parttwoofthree,partthreeofthree."), std::string::npos)
        << r.out;
}

}  // namespace
