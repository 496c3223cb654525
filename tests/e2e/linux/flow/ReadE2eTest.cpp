// Reading through the real program's menu: both storages of every chosen
// port, long messages joined, the three ways of listing (whole listing,
// index list, the CDMA module's own commands), the failure line, a hostile
// message shown harmless, a modem that goes away in the middle or between
// the storages, Ctrl-D at the port prompt, and a full SIM behind a USB
// serial bridge.
#include "FakeSamples.h"
#include "FlowE2eSupport.h"

namespace {
using namespace flow_e2e;

const std::string kDashes(50, '-');

class ReadE2eTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (geteuid() != 0)
            GTEST_SKIP() << "mount namespaces need root";
    }

    // Menu key 2 with this port answer; the screen of the whole run.
    std::string ReadThrough(const std::vector<FakeConfig> &fakes, const std::string &ports)
    {
        std::string error;
        EXPECT_TRUE(h.Start(fakes, &error)) << error;
        auto p = h.StartInteractive({}, &error, kRunMs);
        EXPECT_TRUE(p) << error;
        if (!p)
            return std::string();
        Terminal t(std::move(p));
        EXPECT_TRUE(t.Dialogue('2', {{kPortPrompt, ports}}, kReadDone));
        return t.Screen();
    }

    ZarvexHarness h{kPaths};
};

FakeConfig WithMessages(FakeModel model, const std::vector<StoredMessage> &messages)
{
    FakeConfig c = Fake(model);
    c.messages = messages;
    return c;
}

std::string Listed(int ordinal, const char *number, const char *time, const std::string &content)
{
    return kDashes + "\n 第 " + std::to_string(ordinal) + " 条短信\n发送号码: " + number + "\n发送时间: " + time
           + "\n短信内容: " + content + "\n";
}

// The sample SIM storage: a two-part message stored part 2 first comes out
// joined, after the single messages.
std::string SampleSim()
{
    return Green("SIM卡中的短信共 3 条") + "\n"
           + Listed(1, "8613800138000", "19-08-01 12:05:04", "你好，这是一条测试短信。")
           + Listed(2, "10086", "19-08-02 08:30:15", "Hello from the fake modem")
           + Listed(3, "8613800138000", "19-08-03 10:15:00", "这是一条长短信的前半部分，后半部分到此结束。")
           + kDashes + "\n";
}

std::string FailureLine(const std::string &port, const std::string &reason)
{
    return OnTerminal(Red("端口 " + port + " 接收短信失败") + Red("\t 失败原因: ") + Red(reason) + "\n");
}

std::vector<std::string> Fetches(const FakeRecord &record, const std::string &command)
{
    std::vector<std::string> indices;
    for (const std::string &c : record.CommandTexts())
        if (c.rfind(command, 0) == 0)
            indices.push_back(c.substr(command.size()));
    return indices;
}

TEST_F(ReadE2eTest, EveryStorageOfEveryModel)
{
    const std::string screen = ReadThrough({WithMessages(FakeModel::Tarnel, SampleStoredMessages()),
                                            WithMessages(FakeModel::VelkorNc5, SampleStoredMessages()),
                                            WithMessages(FakeModel::Sudrel, SampleCdmaMessages()),
                                            Fake(FakeModel::UnknownAti)},
                                           "USB0 USB1;USB2,USB3");
    const std::string tarnel =
        Green("端口 ttyUSB0 接收短信成功 共 6 条短信") + "\n" + SampleSim() + Green("设备中的短信共 3 条") + "\n"
        + Listed(1, "10086", "", "查询余额") + Listed(2, "8615800000001", "19-08-05 09:09:09", "设备存储中的短信")
        + Listed(3, "8613912345678", "19-08-04 18:00:02",
                 "Part one of three, part two of three, part three of three.")
        + kDashes + "\n";
    const std::string sudrel = Green("端口 ttyUSB2 接收短信成功 共 3 条短信") + "\n" + Green("SIM卡中的短信共 2 条")
                               + "\n" + Listed(1, "13800138000", "2019-06-05 10:22:32", "Hello")
                               + Listed(2, "10086", "2019-06-06 11:00:00", "你好，CDMA") + kDashes + "\n"
                               + Green("设备中的短信共 1 条") + "\n"
                               + Listed(1, "13912345678", "2019-06-07 12:00:00", "设备中的短信") + kDashes + "\n";
    EXPECT_TRUE(InOrder(screen,
                        {OnTerminal(tarnel), OnTerminal(Green("端口 ttyUSB1 接收短信成功 共 6 条短信") + "\n" + SampleSim()),
                         OnTerminal("短信内容: Part one of three, part two of three, part three of three.\n"),
                         OnTerminal(sudrel), FailureLine("ttyUSB3", "设备不AT")}));
    EXPECT_TRUE(std::regex_search(screen, std::regex("\r\n读取短信耗时: [1-9][0-9]* 秒\r\n"))) << screen;

    // The device storage is read first, then the SIM.
    const std::vector<std::string> tarnelCommands = h.Record(0).CommandTexts();
    const std::vector<std::string> read(tarnelCommands.begin() + 9, tarnelCommands.end() - 9);
    EXPECT_EQ(read, (std::vector<std::string>{"AT+CMEE=1", "AT+CPMS=\"SM\"", "ATE0", "AT+CPMS=\"ME\"", "at+cmgf=0",
                                              "AT", "AT+CMGL=4", "AT+CPMS=\"SM\"", "at+cmgf=0", "AT", "AT+CMGL=4"}));
    // The index-list model fetches "AT+CMGR=" one by one, the CDMA module
    // lists and fetches with its own commands.
    EXPECT_EQ(Fetches(h.Record(1), "AT+CMGR="), (std::vector<std::string>{"0", "1", "2", "3", "4", "1", "2", "3", "5"}));
    EXPECT_EQ(Fetches(h.Record(2), "AT^HCMGL="), (std::vector<std::string>{"4", "4"}));
    EXPECT_EQ(Fetches(h.Record(2), "AT^HCMGR="), (std::vector<std::string>{"0", "0", "1"}));
    // A port without model object is opened, but nothing is written to it:
    // its record holds two scans (before the read and for the table after).
    const std::vector<std::string> scan = {"ATE0", "AT", "ATI", "ATE0", "AT", "ATI"};
    std::vector<std::string> twoScans = scan;
    twoScans.insert(twoScans.end(), scan.begin(), scan.end());
    EXPECT_EQ(h.Record(3).CommandTexts(), twoScans);
}

// A stored message whose text carries terminal controls: shown in a visible
// form, never emitted, the rest of the text intact.
TEST_F(ReadE2eTest, ControlSequencesInAMessageNeverReachTheTerminal)
{
    StoredMessage hostile;
    hostile.store = "SM";
    hostile.index = 1;
    hostile.sender = "+8613800138000";
    hostile.text = "\033[2J\033]0;owned\007请回电 13800138000";
    const std::string screen = ReadThrough({WithMessages(FakeModel::Tarnel, {hostile})}, "USB0");
    EXPECT_NE(screen.find("短信内容: \\x1b[2J\\x1b]0;owned\\x07请回电 13800138000\r\n"), std::string::npos) << screen;
    EXPECT_EQ(WithoutColours(screen).find('\033'), std::string::npos) << "only the program's colours";
    EXPECT_EQ(screen.find('\007'), std::string::npos);
}

// The line drops after the second fetch of the device storage: that port
// fails with the port's reason, the next one is read, the program ends
// normally.
TEST_F(ReadE2eTest, ModemGoneMidRead)
{
    FakeConfig dropping = WithMessages(FakeModel::VelkorNc5, SampleStoredMessages());
    dropping.faults.dropAfterCommands = 18;  // the scan's 9; 3 init, storage, 2 modes, index list, 2 fetches
    const long long start = FakeNowMs();
    const std::string screen =
        ReadThrough({dropping, WithMessages(FakeModel::Tarnel, SampleStoredMessages())}, "USB0,USB1");
    EXPECT_LT(FakeNowMs() - start, 60000) << "no fetch waits out the dead line";
    EXPECT_TRUE(InOrder(screen, {FailureLine("ttyUSB0", "Code: 5  Input/output error"),
                                 OnTerminal(Green("端口 ttyUSB1 接收短信成功 共 6 条短信") + "\n" + SampleSim())}));
    EXPECT_EQ(Fetches(h.Record(0), "AT+CMGR="), (std::vector<std::string>{"0", "1"}));
}

// The line drops after the device storage was read and before the SIM is:
// the port counts as read, and a red line after its block says that the
// SIM could not be read and why.
TEST_F(ReadE2eTest, ModemGoneBetweenTheStorages)
{
    FakeConfig dropping = WithMessages(FakeModel::Tarnel, SampleStoredMessages());
    dropping.faults.dropAfterCommands = 16;  // the scan's 9; 3 init, storage, 2 modes, listing
    const std::string screen = ReadThrough({dropping}, "USB0");
    EXPECT_TRUE(InOrder(screen, {OnTerminal(Green("端口 ttyUSB0 接收短信成功 共 3 条短信") + "\n"
                                            + Green("设备中的短信共 3 条") + "\n"),
                                 OnTerminal(Listed(3, "8613912345678", "19-08-04 18:00:02",
                                                   "Part one of three, part two of three, part three of three.")
                                            + kDashes + "\n"
                                            + Red("端口 ttyUSB0 读取SIM卡中的短信失败\t 失败原因: "
                                                  "Code: 5  Input/output error")
                                            + "\n"),
                                 kReadDone}));
    EXPECT_EQ(screen.find("SIM卡中的短信共"), std::string::npos) << screen;
}

// Noise cost a SIM and a device message their PDU lines, listed whole by
// one modem and fetched one by one by the other: no empty message stands in
// for them, the messages after them are shown, the count is of those read,
// and a red line after each port's result names the entries not read.
TEST_F(ReadE2eTest, MessagesWhosePduLineIsLostAreNamed)
{
    const std::vector<StoredMessage> messages = SampleStoredMessagesWithLostPduLines();
    const std::string screen = ReadThrough(
        {WithMessages(FakeModel::Tarnel, messages), WithMessages(FakeModel::VelkorNc5, messages)}, "USB0,USB1");
    for (const std::string port : {"ttyUSB0", "ttyUSB1"})
        EXPECT_TRUE(InOrder(screen, {OnTerminal(Green("端口 " + port + " 接收短信成功 共 4 条短信") + "\n"
                                                + Green("SIM卡中的短信共 2 条") + "\n"),
                                     OnTerminal("短信内容: 这是一条长短信的前半部分，后半部分到此结束。\n"),
                                     OnTerminal(Green("设备中的短信共 2 条") + "\n"),
                                     OnTerminal(Red("端口 " + port + " 无法读取的短信: SIM卡中索引 2, 设备中索引 4")
                                                + "\n")}));
    EXPECT_EQ(screen.find("短信内容: \r\n"), std::string::npos) << screen;
    EXPECT_EQ(screen.find("Hello from the fake modem"), std::string::npos) << screen;
}

// Ctrl-D at the port prompt is one refused answer, never the empty answer
// that would read every port: the prompt asks again, the next answer
// counts, and the menu takes keys afterwards.
TEST_F(ReadE2eTest, CtrlDAtThePortPromptIsOneRefusedTry)
{
    const std::string screen = ReadThrough({WithMessages(FakeModel::Tarnel, SampleStoredMessages()),
                                            WithMessages(FakeModel::Tarnel, SampleStoredMessages())},
                                           "\x04USB1");
    EXPECT_TRUE(InOrder(screen, {kPortPrompt, OnTerminal(Red("您输入的设备端口号有误，请重新输入") + "\n"),
                                 kPortPrompt, "端口 ttyUSB1 接收短信成功 共 6 条短信", kReadDone}));
    EXPECT_EQ(screen.find("端口 ttyUSB0 接收"), std::string::npos) << screen;
    EXPECT_TRUE(Fetches(h.Record(0), "AT+CMGL=").empty()) << "USB0 is not read";
}

// A modem fixed at 115200 behind a USB serial bridge without flow control:
// what lies unread at the port beyond about 4 KB is lost on the way, so a
// read that falls behind the line loses messages and, with them, the
// listing's OK.
TEST_F(ReadE2eTest, EveryStoredMessageOfAFullSimBehindABridgeArrives)
{
    const int kStoredMessages = 100;
    const std::string screen = ReadThrough({BridgedFullSim(kStoredMessages)}, "USB0");
    const std::string count = std::to_string(kStoredMessages);
    std::vector<std::string> expected = {
        OnTerminal(Green("端口 ttyUSB0 接收短信成功 共 " + count + " 条短信") + "\n"),
        OnTerminal(Green("SIM卡中的短信共 " + count + " 条") + "\n")};
    for (int n = 1; n <= kStoredMessages; ++n)
        expected.push_back(OnTerminal(Listed(n, "8613800138000", "19-08-01 12:05:04", ManyStoredText(n))));
    expected.push_back(OnTerminal(Green("设备中的短信共 0 条") + "\n"));
    EXPECT_TRUE(InOrder(screen, expected));
}

}  // namespace
