// The read flow in-process: the layout of a message list, both storages of a
// port with long messages joined, the failure line and its reasons, the
// bounded one-by-one fetches, ports that must never be opened and a device
// that goes away in the middle. The real program is in tests/e2e/linux/flow.
#include <tuple>

#include "FakeSamples.h"
#include "FlowTestSupport.h"
#include "Phone_Tarnel.h"

namespace {
using app_test::ConsoleCapture;
using app_test::DeviceLinks;
using app_test::Fake;
using app_test::PortTest;
using app_test::Received;
using flow_test::FlowManager;
using flow_test::Green;
using flow_test::OpenWatch;
using flow_test::Red;
using flow_test::ShownName;
using flow_test::Target;

const std::string kDashes(50, '-');

SmsRecvStruct_t Message(const char *number, const char *time, const char *content)
{
    SmsRecvStruct_t m;
    m.number = number;
    m.time = time;
    m.content = content;
    return m;
}

// ---- Message list -----------------------------------------------------------

struct ListCase {
    const char *name;
    std::vector<SmsRecvStruct_t> messages;
    std::string expected;
};

void PrintTo(const ListCase &c, std::ostream *os)
{
    *os << c.name;
}

const ListCase kListCases[] = {
    {"Empty", {}, kDashes + "\n"},
    {"TwoMessages",
     {Message("8613800138000", "19-08-01 12:05:04", "你好"), Message("10086", "", "余额")},
     kDashes + "\n 第 1 条短信\n发送号码: 8613800138000\n发送时间: 19-08-01 12:05:04\n短信内容: 你好\n"
         + kDashes + "\n 第 2 条短信\n发送号码: 10086\n发送时间: \n短信内容: 余额\n" + kDashes + "\n"},
    // What strangers wrote is shown, never obeyed: no screen clearing, no
    // title change, no line overwritten; a line feed stays a line break.
    {"HostileTexts",
     {Message("\033]0;root\007+86", "19-08-01\r12:05:04", "\033[2J清屏\n第二行\x7f\xc2\x9b")},
     kDashes + "\n 第 1 条短信\n发送号码: \\x1b]0;root\\x07+86\n发送时间: 19-08-01\\r12:05:04\n"
         + "短信内容: \\x1b[2J清屏\n第二行\\x7f\\xc2\\x9b\n" + kDashes + "\n"},
};

class MessageListTest : public ::testing::TestWithParam<ListCase> {};

TEST_P(MessageListTest, Layout)
{
    FlowManager manager;
    ConsoleCapture console("");
    manager.PrintRecvSms(GetParam().messages);
    EXPECT_EQ(console.Output(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Read, MessageListTest, ::testing::ValuesIn(kListCases),
                         [](const ::testing::TestParamInfo<ListCase> &info) {
                             return std::string(info.param.name);
                         });

// ---- Against fakes ----------------------------------------------------------

class ReadFlowTest : public PortTest {
protected:
    std::string Read(const std::vector<ComPortBaseInfo_t> &ports)
    {
        ConsoleCapture console("");
        manager.HandleReadAllSms(ports);
        return console.Output();
    }

    FlowManager manager;
};

std::string FailureLine(const std::string &portName, const std::string &reason)
{
    return Red("端口 " + portName + " 接收短信失败") + Red("\t 失败原因: ") + Red(reason) + "\n";
}

// The sample storages: the SIM holds a two-part message stored part 2 first,
// the device a three-part one stored 3, 1, 2 and a stored outgoing message.
const char kSampleSimList[] = "SIM卡中的短信共 3 条";
std::string SampleSimMessages()
{
    return kDashes + "\n 第 1 条短信\n发送号码: 8613800138000\n发送时间: 19-08-01 12:05:04\n"
           + "短信内容: 你好，这是一条测试短信。\n" + kDashes
           + "\n 第 2 条短信\n发送号码: 10086\n发送时间: 19-08-02 08:30:15\n"
           + "短信内容: Hello from the fake modem\n" + kDashes
           + "\n 第 3 条短信\n发送号码: 8613800138000\n发送时间: 19-08-03 10:15:00\n"
           + "短信内容: 这是一条长短信的前半部分，后半部分到此结束。\n" + kDashes + "\n";
}

const char kSampleDeviceList[] = "设备中的短信共 3 条";
std::string SampleDeviceMessages()
{
    return kDashes + "\n 第 1 条短信\n发送号码: 10086\n发送时间: \n短信内容: 查询余额\n" + kDashes
           + "\n 第 2 条短信\n发送号码: 8615800000001\n发送时间: 19-08-05 09:09:09\n"
           + "短信内容: 设备存储中的短信\n" + kDashes
           + "\n 第 3 条短信\n发送号码: 8613912345678\n发送时间: 19-08-04 18:00:02\n"
           + "短信内容: Part one of three, part two of three, part three of three.\n" + kDashes
           + "\n";
}

TEST_F(ReadFlowTest, BothStoragesSimFirstLongMessagesJoined)
{
    FakeConfig config = Fake(FakeModel::Tarnel);
    config.messages = SampleStoredMessages();
    FakeModem fake(config);
    ASSERT_TRUE(fake.Ok()) << fake.Error();
    const std::string name = ShownName(fake.SlavePath());
    EXPECT_EQ(Read({Target(fake.SlavePath())}),
              Green("端口 " + name + " 接收短信成功 共 6 条短信") + "\n" + Green(kSampleSimList)
                  + "\n" + SampleSimMessages() + Green(kSampleDeviceList) + "\n"
                  + SampleDeviceMessages());
    // The device storage is read first, although the SIM is shown first.
    const std::vector<std::string> commands = Received(fake);
    const std::vector<std::string> expected = {
        "AT+CMEE=1", "AT+CPMS=\"SM\"", "ATE0",       "AT+CPMS=\"ME\"", "at+cmgf=0", "AT",
        "AT+CMGL=4", "AT+CPMS=\"SM\"", "at+cmgf=0", "AT",             "AT+CMGL=4"};
    EXPECT_EQ(commands, expected);
}

TEST_F(ReadFlowTest, IndexListModelFetchesOneByOne)
{
    FakeConfig config = Fake(FakeModel::VelkorNc5);
    config.messages = SampleStoredMessages();
    FakeModem fake(config);
    ASSERT_TRUE(fake.Ok()) << fake.Error();
    const std::string out = Read({Target(fake.SlavePath(), PHONE_TYPE_VELKOR_NC5)});
    EXPECT_NE(out.find(Green(kSampleSimList) + "\n" + SampleSimMessages()), std::string::npos) << out;
    EXPECT_NE(out.find("短信内容: Part one of three, part two of three, part three of three.\n"),
              std::string::npos)
        << out;
    std::vector<std::string> fetches;
    for (const std::string &command : Received(fake))
        if (command.rfind("AT+CMGR=", 0) == 0)
            fetches.push_back(command.substr(8));
    const std::vector<std::string> expected = {"0", "1", "2", "3", "4", "1", "2", "3", "5"};
    EXPECT_EQ(fetches, expected) << "device storage, then SIM storage, index by index";
}

// A model that always says more is to come.
class NeverFinished : public CPhone_Tarnel {
public:
    bool NotFinished() override { return true; }
};

TEST_F(ReadFlowTest, FetchesStopAfterOneHundred)
{
    FakeModem fake(Fake(FakeModel::Tarnel));
    ASSERT_TRUE(fake.Ok()) << fake.Error();
    CComPortBase port(fake.SlavePath(), 9600);
    NeverFinished phone;
    EXPECT_TRUE(manager.ReadAllSmsByPhoneSM(&phone, &port));
    const std::vector<std::string> commands = Received(fake);
    ASSERT_EQ(commands.size(), 103u);  // PDU mode, compatible mode, listing, fetches
    for (std::size_t i = 3; i < commands.size(); ++i)
        EXPECT_EQ(commands[i], "AT") << i;
}

struct ReadFailureCase {
    const char *name;
    FakeConfig fake;
    bool pathExists;
    bool cardNumber;
    PHONE_TYPE_t type;
    std::string reason;
};

void PrintTo(const ReadFailureCase &c, std::ostream *os)
{
    *os << c.name;
}

FakeConfig StoragesRefused(const char *deviceReply, const char *simReply)
{
    FakeConfig c = Fake(FakeModel::Tarnel);
    c.faults.errorCommands = {{"AT+CPMS=\"ME\"", deviceReply}, {"AT+CPMS=\"SM\"", simReply}};
    return c;
}

FakeConfig StoragesRefused(const char *reply)
{
    return StoragesRefused(reply, reply);
}

// "设备未插卡" only when the modem says that it holds no SIM card: an empty
// card number cell only says that the scan did not read one.
const ReadFailureCase kReadFailureCases[] = {
    {"ModemErrorLine", StoragesRefused("+CMS ERROR: 302"), true, true, PHONE_TYPE_TARNEL,
     "+CMS ERROR: 302"},
    {"EmptyCardCellIsNoReason", StoragesRefused("+CMS ERROR: 302"), true, false, PHONE_TYPE_TARNEL,
     "+CMS ERROR: 302"},
    {"ModemSaysNoSim", StoragesRefused("+CME ERROR: 10"), true, true, PHONE_TYPE_TARNEL, "设备未插卡"},
    {"ModemSaysNoSimInWords", StoragesRefused("+CMS ERROR: SIM not inserted"), true, true,
     PHONE_TYPE_TARNEL, "设备未插卡"},
    // Each storage's reason, when they differ.
    {"StoragesFailForTheirOwnReasons", StoragesRefused("+CMS ERROR: 302", "+CMS ERROR: 310"), true,
     true, PHONE_TYPE_TARNEL, "SIM卡: 设备未插卡; 设备: +CMS ERROR: 302"},
    {"PortError", Fake(FakeModel::Tarnel), false, true, PHONE_TYPE_TARNEL,
     "Code: 2  No such file or directory"},
    {"NoModelObject", Fake(FakeModel::Tarnel), true, true, PHONE_TYPE_BASE, "设备不AT"},
    {"NoModelObjectNoCard", Fake(FakeModel::Tarnel), true, false, PHONE_TYPE_BASE, "设备不AT"},
};

class ReadFailureTest : public ReadFlowTest, public ::testing::WithParamInterface<ReadFailureCase> {};

TEST_P(ReadFailureTest, BothStoragesFailed)
{
    const ReadFailureCase &c = GetParam();
    FakeModem fake(c.fake);
    ASSERT_TRUE(fake.Ok()) << fake.Error();
    ComPortBaseInfo_t port = Target(c.pathExists ? fake.SlavePath() : "/dev/zx-no-such-port", c.type);
    if (!c.cardNumber)
        port.smsCardNumber.clear();
    EXPECT_EQ(Read({port}), FailureLine(ShownName(port.comPath), c.reason));
}

INSTANTIATE_TEST_SUITE_P(Read, ReadFailureTest, ::testing::ValuesIn(kReadFailureCases),
                         [](const ::testing::TestParamInfo<ReadFailureCase> &info) {
                             return std::string(info.param.name);
                         });

// One storage read is enough for the success block. A storage the modem
// refuses leaves no trace; one lost with the line gets a red line of its
// own after the block, with the port's error text.
struct OneStorageCase {
    const char *name;
    FakeFaults faults;
    bool simRead;
    const char *lostLine;  // after the block, "" for none
};

void PrintTo(const OneStorageCase &c, std::ostream *os)
{
    *os << c.name;
}

FakeFaults Refusing(const char *command)
{
    FakeFaults f;
    f.errorCommands = {{command, "+CMS ERROR: 302"}};
    return f;
}

FakeFaults DroppingAfter(int commands)
{
    FakeFaults f;
    f.dropAfterCommands = commands;
    return f;
}

const OneStorageCase kOneStorageCases[] = {
    // A refused storage is named with the modem's words, so that it does not
    // pass for an empty one.
    {"DeviceStorageRefused", Refusing("AT+CPMS=\"ME\""), true,
     " 读取设备中的短信失败\t 失败原因: +CMS ERROR: 302"},
    // The start-up's own selection of the SIM storage is refused too.
    {"SimStorageRefused", Refusing("AT+CPMS=\"SM\""), false,
     " 读取SIM卡中的短信失败\t 失败原因: +CMS ERROR: 302"},
    // 3 init, storage, 2 modes, listing: the device storage is read whole.
    {"LineGoneBeforeTheSim", DroppingAfter(7), false,
     " 读取SIM卡中的短信失败\t 失败原因: Code: 5  Input/output error"},
};

class OneStorageTest : public ReadFlowTest, public ::testing::WithParamInterface<OneStorageCase> {};

TEST_P(OneStorageTest, SuccessBlockOfThatStorage)
{
    const OneStorageCase &c = GetParam();
    FakeConfig config = Fake(FakeModel::Tarnel);
    config.messages = SampleStoredMessages();
    config.faults = c.faults;
    FakeModem fake(config);
    ASSERT_TRUE(fake.Ok()) << fake.Error();
    const std::string name = ShownName(fake.SlavePath());
    const std::string block =
        c.simRead ? Green(kSampleSimList) + "\n" + SampleSimMessages()
                  : Green(kSampleDeviceList) + "\n" + SampleDeviceMessages();
    const std::string lost = *c.lostLine ? Red("端口 " + name + c.lostLine) + "\n" : "";
    EXPECT_EQ(Read({Target(fake.SlavePath())}),
              Green("端口 " + name + " 接收短信成功 共 3 条短信") + "\n" + block + lost);
}

INSTANTIATE_TEST_SUITE_P(Read, OneStorageTest, ::testing::ValuesIn(kOneStorageCases),
                         [](const ::testing::TestParamInfo<OneStorageCase> &info) {
                             return std::string(info.param.name);
                         });

// A storage that lists more messages than the fetch bound allows: the
// port's line says that it was not read to its end, and what was fetched is
// shown. A storage of exactly the bound is read whole. Both models that fetch
// one by one: the CDMA one and the index-list one.
std::vector<StoredMessage> NumberedSimMessages(int count)
{
    std::vector<StoredMessage> messages;
    for (int i = 0; i < count; ++i) {
        StoredMessage m;
        m.store = "SM";
        m.index = i;
        m.sender = "13800138000";
        m.time = "190605102232";
        m.text = "m" + std::to_string(i);
        m.coding = "7bit";
        messages.push_back(m);
    }
    return messages;
}

struct FetchBoundCase {
    const char *name;
    int stored;
    std::string afterCount;  // what follows the port's count on its line
};

void PrintTo(const FetchBoundCase &c, std::ostream *os)
{
    *os << c.name;
}

const FetchBoundCase kFetchBoundCases[] = {
    {"OneMoreThanTheBound", 101, Red(" 未读完: SIM卡中的短信超过 100 条") + "\n"},
    {"ExactlyTheBound", 100, "\n"},
};

struct FetchingModel {
    const char *name;
    FakeModel fake;
    PHONE_TYPE_t type;
};

void PrintTo(const FetchingModel &m, std::ostream *os)
{
    *os << m.name;
}

const FetchingModel kFetchingModels[] = {
    {"Cdma", FakeModel::Sudrel, PHONE_TYPE_SUDREL},
    {"IndexList", FakeModel::VelkorNc5, PHONE_TYPE_VELKOR_NC5},
};

class FetchBoundTest
    : public ReadFlowTest,
      public ::testing::WithParamInterface<std::tuple<FetchBoundCase, FetchingModel>> {};

TEST_P(FetchBoundTest, PortLineTellsAStorageCutShort)
{
    const FetchBoundCase &c = std::get<0>(GetParam());
    const FetchingModel &model = std::get<1>(GetParam());
    FakeConfig config = Fake(model.fake);
    config.messages = NumberedSimMessages(c.stored);
    FakeModem fake(config);
    ASSERT_TRUE(fake.Ok()) << fake.Error();
    const std::string out = Read({Target(fake.SlavePath(), model.type)});
    const std::string head = Green("端口 " + ShownName(fake.SlavePath()) + " 接收短信成功 共 100 条短信")
                             + c.afterCount + Green("SIM卡中的短信共 100 条") + "\n";
    EXPECT_EQ(out.compare(0, head.size(), head), 0) << out;
    EXPECT_NE(out.find("短信内容: m99\n"), std::string::npos);
    EXPECT_EQ(out.find("短信内容: m100\n"), std::string::npos);
    EXPECT_NE(out.find(Green("设备中的短信共 0 条") + "\n" + kDashes + "\n"), std::string::npos)
        << "the device storage, read whole, says nothing more";
}

INSTANTIATE_TEST_SUITE_P(
    Read, FetchBoundTest,
    ::testing::Combine(::testing::ValuesIn(kFetchBoundCases), ::testing::ValuesIn(kFetchingModels)),
    [](const auto &info) {
        return std::string(std::get<1>(info.param).name) + std::get<0>(info.param).name;
    });

// Noise cost a SIM and a device message their PDU lines, in a whole
// listing and in one-by-one fetches alike: no empty message stands in for
// them, the messages after them are shown, the count is of those read, and
// one red line after the port's result names the entries not read.
const FetchingModel kReadingModels[] = {
    {"Listing", FakeModel::Tarnel, PHONE_TYPE_TARNEL},
    {"IndexList", FakeModel::VelkorNc5, PHONE_TYPE_VELKOR_NC5},
};

class LostPduLineTest : public ReadFlowTest, public ::testing::WithParamInterface<FetchingModel> {};

TEST_P(LostPduLineTest, EntryNamedAndNoEmptyMessage)
{
    FakeConfig config = Fake(GetParam().fake);
    config.messages = SampleStoredMessagesWithLostPduLines();
    FakeModem fake(config);
    ASSERT_TRUE(fake.Ok()) << fake.Error();
    const std::string name = ShownName(fake.SlavePath());
    const std::string out = Read({Target(fake.SlavePath(), GetParam().type)});
    const std::string head = Green("端口 " + name + " 接收短信成功 共 4 条短信") + "\n"
                             + Green("SIM卡中的短信共 2 条") + "\n";
    EXPECT_EQ(out.compare(0, head.size(), head), 0) << out;
    EXPECT_NE(out.find(Green("设备中的短信共 2 条")), std::string::npos) << out;
    const std::string unread = Red("端口 " + name + " 无法读取的短信: SIM卡中索引 2, 设备中索引 4") + "\n";
    ASSERT_GE(out.size(), unread.size());
    EXPECT_EQ(out.compare(out.size() - unread.size(), unread.size(), unread), 0) << out;
    EXPECT_EQ(out.find("短信内容: \n"), std::string::npos) << "no empty message";
    EXPECT_NE(out.find("短信内容: 这是一条长短信的前半部分，后半部分到此结束。\n"), std::string::npos)
        << "the message after the lost line";
}

INSTANTIATE_TEST_SUITE_P(Read, LostPduLineTest, ::testing::ValuesIn(kReadingModels),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(ReadFlowTest, EmptyStoragesCountZero)
{
    FakeModem fake(Fake(FakeModel::Pimsor));
    ASSERT_TRUE(fake.Ok()) << fake.Error();
    const std::string name = ShownName(fake.SlavePath());
    EXPECT_EQ(Read({Target(fake.SlavePath(), PHONE_TYPE_PIMSOR)}),
              Green("端口 " + name + " 接收短信成功 共 0 条短信") + "\n" + Green("SIM卡中的短信共 0 条")
                  + "\n" + kDashes + "\n" + Green("设备中的短信共 0 条") + "\n" + kDashes + "\n");
}

// See ComPortBaseInfo_t: the record of a typed port that matched no device.
TEST_F(ReadFlowTest, PortThatNoScanFoundIsNeverOpened)
{
    OpenWatch watch;
    ASSERT_TRUE(watch.Ok());
    ComPortBaseInfo_t port = Target(watch.Path());
    port.isPortExist = false;
    EXPECT_EQ(Read({port}), FailureLine(ShownName(watch.Path()), "没有此端口"));
    EXPECT_FALSE(watch.WasOpened());
}

// The line drops after the second fetch of the device storage: that port
// fails with the port's reason, in bounded time, and the next port goes on.
TEST_F(ReadFlowTest, DeviceGoneMidReadFailsThatPortOnly)
{
    FakeConfig dropping = Fake(FakeModel::VelkorNc5);
    dropping.messages = SampleStoredMessages();
    dropping.faults.dropAfterCommands = 9;  // 3 init, storage, 2 modes, index list, 2 fetches
    FakeModem gone(dropping);
    FakeConfig healthy = Fake(FakeModel::Tarnel);
    healthy.messages = SampleStoredMessages();
    FakeModem other(healthy);
    ASSERT_TRUE(gone.Ok() && other.Ok());
    const auto start = std::chrono::steady_clock::now();
    const std::string out =
        Read({Target(gone.SlavePath(), PHONE_TYPE_VELKOR_NC5), Target(other.SlavePath())});
    EXPECT_LT(app_test::ElapsedMs(start), 20000) << "no fetch waits out a dead line";
    EXPECT_TRUE(gone.Dropped());
    const std::string failure =
        FailureLine(ShownName(gone.SlavePath()), "Code: 5  Input/output error");
    ASSERT_EQ(out.compare(0, failure.size(), failure), 0) << out;
    EXPECT_NE(out.find(Green("端口 " + ShownName(other.SlavePath()) + " 接收短信成功 共 6 条短信")),
              std::string::npos)
        << out;
}

TEST_F(ReadFlowTest, DeleteAllRunsTheModelsCommandAndCloses)
{
    FakeConfig config = Fake(FakeModel::Tarnel);
    config.messages = SampleStoredMessages();
    FakeModem fake(config);
    ASSERT_TRUE(fake.Ok()) << fake.Error();
    CComPortBase port(fake.SlavePath(), 9600);
    CPhone_Tarnel phone;
    EXPECT_TRUE(manager.DeleteAllSmsByPhone(&phone, &port));
    EXPECT_FALSE(port.IsOpened());
    EXPECT_EQ(Received(fake), std::vector<std::string>{"AT+CMGD=0,4"});
    EXPECT_FALSE(manager.DeleteAllSmsByPhone(nullptr, &port));
    EXPECT_FALSE(manager.ReadAllSmsByPhoneME(&phone, &port)) << "offered, reads nothing";
    EXPECT_TRUE(port.IsOpened());
    EXPECT_EQ(Received(fake).size(), 1u);
}

// Key "d": the port dialogue, and then nothing reaches the device.
TEST_F(ReadFlowTest, DeleteKeyAsksForPortsAndSendsNothing)
{
    FakeModem fake(Fake(FakeModel::Tarnel));
    ASSERT_TRUE(fake.Ok()) << fake.Error();
    DeviceLinks links;
    const std::string path = links.Add("ttyUSB0", fake.SlavePath());
    ASSERT_FALSE(path.empty());
    app_test::TestManager table;
    Win32::CommInfo row;
    row.comPath = path;
    row.baudText = "9600";
    row.isAtOk = row.isPortOk = true;
    row.smsCardNumber = "89860012345678901234";
    row.atiResponse = "Quectel_M35\r\nOK\r\n";
    table.Rows() = {row};
    ConsoleCapture console("USB0\n");
    table.OnDelAllSms();
    EXPECT_EQ(console.Output(), "\n" + Green("请输入设备端口号(例:选择/dev/ttyUSB0,请输入USB0):") + "\n");
    EXPECT_TRUE(Received(fake).empty());
}

}  // namespace
