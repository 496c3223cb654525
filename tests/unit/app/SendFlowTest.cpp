// The send process in-process: the text per number, the code of a port
// without model, the result lines, the reasons of a failure in their order,
// a refused part, ports that must never be opened and a device that goes
// away in the middle. The real program against fakes is in tests/e2e/linux/flow.
#include "CommandBudgets.h"
#include "FlowTestSupport.h"
#include "Phone_Tarnel.h"

namespace {
using app_test::ConsoleCapture;
using app_test::Fake;
using app_test::PortTest;
using app_test::Received;
using flow_test::FlowManager;
using flow_test::Green;
using flow_test::OpenWatch;
using flow_test::Red;
using flow_test::ShownName;
using flow_test::Target;

const char kTime[] = "2019-06-06 10:22:32";
const char kNumber[] = "13800138000";

// ---- Time stamp ---------------------------------------------------------

struct StampCase {
    const char *name;
    const char *number;
    bool stamped;
};

void PrintTo(const StampCase &c, std::ostream *os)
{
    *os << c.name;
}

const StampCase kStampCases[] = {
    {"ChinaMobileService", "10086", false},
    {"ChinaUnicomService", "10010", false},
    {"AnyFiveCharacters", "+1234", false},
    {"SixDigits", "123456", true},
    {"Mobile", "13800138000", true},
    {"International", "+8613800138000", true},
};

class TimeStampTest : public ::testing::TestWithParam<StampCase> {};

TEST_P(TimeStampTest, OnlyFiveCharacterNumbersGetThePlainText)
{
    FlowManager manager;
    const std::string expected = GetParam().stamped ? std::string("你好 ") + kTime : "你好";
    EXPECT_EQ(manager.AddTimeStampToSmsContextByPhoneNum("你好", GetParam().number, kTime), expected);
}

INSTANTIATE_TEST_SUITE_P(Send, TimeStampTest, ::testing::ValuesIn(kStampCases),
                         [](const ::testing::TestParamInfo<StampCase> &info) {
                             return std::string(info.param.name);
                         });

// ---- Code of a port without model object ---------------------------------

struct CodeCase {
    const char *name;
    bool exists, atOk;
    const char *serial, *card, *signal;
    SMS_CODE_ENUM code;
};

void PrintTo(const CodeCase &c, std::ostream *os)
{
    *os << c.name;
}

// Each row breaks the first rule that the row above it passed.
const CodeCase kCodeCases[] = {
    {"NoSuchPort", false, false, "", "", "", SMS_CODE_NO_SUCH_PORT},
    {"NotAt", true, false, "", "", "", SMS_CODE_DEVICE_NOT_AT},
    {"NoSerialNumber", true, true, "", "", "", SMS_CODE_NOT_KORVANE_SMS_DEVICE},
    {"NoCard", true, true, "866", "", "", SMS_CODE_NO_SIM_CARD},
    {"NoSignal", true, true, "866", "8986", "", SMS_CODE_NO_SIGNAL},
    {"Complete", true, true, "866", "8986", " 20,99", SMS_CODE_SUCCEED},
};

class ErrorCodeTest : public ::testing::TestWithParam<CodeCase> {};

TEST_P(ErrorCodeTest, FirstMissingPieceDecides)
{
    const CodeCase &c = GetParam();
    ComPortBaseInfo_t port;
    port.isPortExist = c.exists;
    port.isAtOk = c.atOk;
    port.serialNumber = c.serial;
    port.smsCardNumber = c.card;
    port.signalStrength = c.signal;
    FlowManager manager;
    EXPECT_EQ(manager.GetSmsErrorCode(port), c.code);
}

INSTANTIATE_TEST_SUITE_P(Send, ErrorCodeTest, ::testing::ValuesIn(kCodeCases),
                         [](const ::testing::TestParamInfo<CodeCase> &info) {
                             return std::string(info.param.name);
                         });

// ---- Result lines -----------------------------------------------------------

struct LineCase {
    const char *name;
    int code;
    const char *message;
    std::string expected;  // what the console receives
};

void PrintTo(const LineCase &c, std::ostream *os)
{
    *os << c.name;
}

std::string FailedLine(const std::string &reason)
{
    return Red("端口 ") + Red("ttyUSB0") + Red(" 发送到 ") + Red(kNumber)
           + Red(" 的短信发送失败,失败原因: ") + Red(reason) + "\n";
}

const LineCase kLineCases[] = {
    {"Succeeded", SMS_CODE_SUCCEED, "succeed",
     Green("端口 ") + Green("ttyUSB0") + Green(" 发送到 ") + Green(kNumber) + Green(" 的短信发送成功")
         + "\n"},
    {"ModemErrorLine", SMS_CODE_FAILED_UNKNOWN_REASON, "+CMS ERROR: 500",
     FailedLine("+CMS ERROR: 500")},
    {"NoCardTakesItsText", SMS_CODE_NO_SIM_CARD, "", FailedLine("设备未插卡")},
    {"NotAtKeepsGivenText", SMS_CODE_NO_SIGNAL, "设备不AT", FailedLine("设备不AT")},
    // A modem's line that would clear the screen, or overwrite the failure
    // with a success through a carriage return, is shown, not obeyed.
    {"HostileModemLine", SMS_CODE_FAILED_UNKNOWN_REASON, "\033[2J\r的短信发送成功",
     FailedLine("\\x1b[2J\\r的短信发送成功")},
};

class ResultLineTest : public ::testing::TestWithParam<LineCase> {};

TEST_P(ResultLineTest, InteractiveModePrintsAtOnce)
{
    FlowManager manager;
    SendSmsResult_t result;
    result.comPath = "/dev/ttyUSB0";
    result.phoneNumber = kNumber;
    result.sendTime = kTime;
    result.resultCode = GetParam().code;
    result.resultMessage = GetParam().message;
    ConsoleCapture console("");
    manager.HandleSendSmsResultByMode(result);
    EXPECT_EQ(console.Output(), GetParam().expected);
    EXPECT_TRUE(manager.Results().empty());
}

INSTANTIATE_TEST_SUITE_P(Send, ResultLineTest, ::testing::ValuesIn(kLineCases),
                         [](const ::testing::TestParamInfo<LineCase> &info) {
                             return std::string(info.param.name);
                         });

TEST(ResultHandOff, CommandLineModeCollectsAsReceivedAndPrintsNothing)
{
    FlowManager manager;
    manager.SetInteractive(false);
    SendSmsResult_t result;
    result.comPath = "/dev/ttyUSB0";
    result.phoneNumber = kNumber;
    result.resultCode = SMS_CODE_FAILED_UNKNOWN_REASON;
    result.resultMessage = "\033[2J+CMS ERROR: 500";
    ConsoleCapture console("");
    manager.HandleSendSmsResultByMode(result);
    result.resultCode = SMS_CODE_NO_SIM_CARD;
    result.resultMessage.clear();
    manager.HandleSendSmsResultByMode(result);
    EXPECT_EQ(console.Output(), "");
    ASSERT_EQ(manager.Results().size(), 2u);
    EXPECT_EQ(manager.Results()[0].resultMessage, "\033[2J+CMS ERROR: 500") << "stored as received";
    EXPECT_EQ(manager.Results()[1].resultMessage, "") << "the JSON gives code 4 its English text";
}

TEST(ResultHandOff, OfferedPlainTextListUsesWholePathAndWiderGap)
{
    FlowManager manager;
    SendSmsResult_t ok;
    ok.comPath = "/dev/ttyUSB0";
    ok.phoneNumber = "10086";
    ok.resultCode = SMS_CODE_SUCCEED;
    SendSmsResult_t failed = ok;
    failed.resultCode = SMS_CODE_FAILED_UNKNOWN_REASON;
    failed.resultMessage = "+CMS ERROR: 304";
    manager.MutableResults() = {ok, failed};
    ConsoleCapture console("");
    manager.PrintSendPduSmsResultAsPlainText();
    EXPECT_EQ(console.Output(),
              Green("端口 ") + Green("/dev/ttyUSB0") + Green(" 发送到 ") + Green("10086")
                  + Green(" 的短信发送成功") + "\n" + Red("端口 ") + Red("/dev/ttyUSB0")
                  + Red(" 发送到 ") + Red("10086") + Red(" 的短信发送失败,  失败原因: ")
                  + Red("+CMS ERROR: 304") + "\n\n\n");
}

// ---- Against fakes ----------------------------------------------------------

class SendProcessTest : public PortTest {
protected:
    // The send in command-line mode, so that the results stay in reach.
    std::vector<SendSmsResult_t> Send(const std::vector<ComPortBaseInfo_t> &ports,
                                      const std::vector<std::string> &numbers,
                                      const std::string &text = "hello")
    {
        manager.SetInteractive(false);
        manager.HandleSendPduSmsProcess(ports, numbers, text);
        return manager.Results();
    }

    FlowManager manager;
};

struct ReasonCase {
    const char *name;
    FakeConfig fake;
    bool pathExists;           // false: the record names a path nothing answers at
    bool cardNumber;           // false: no SIM card number was read at the scan
    PHONE_TYPE_t type;
    int code;
    std::string message;
    bool writes;               // the fake receives commands
};

void PrintTo(const ReasonCase &c, std::ostream *os)
{
    *os << c.name;
}

FakeConfig WithError(const char *command, const char *reply)
{
    FakeConfig c = Fake(FakeModel::Tarnel);
    c.faults.errorCommands.push_back({command, reply});
    return c;
}

const ReasonCase kReasonCases[] = {
    {"ModemErrorLineFirst", WithError("AT+CSCA?", "+CMS ERROR: 330"), true, true, PHONE_TYPE_TARNEL,
     SMS_CODE_FAILED_UNKNOWN_REASON, "+CMS ERROR: 330", true},
    {"PortErrorWithoutModemText", Fake(FakeModel::Tarnel), false, true, PHONE_TYPE_TARNEL,
     SMS_CODE_FAILED_UNKNOWN_REASON, "Code: 2  No such file or directory", false},
    // A centre line cut before its comma fails the query without a text (the
    // modem's OK follows it, as every reply ends in its final result).
    {"DeviceNotAtWithoutAnyText", WithError("AT+CSCA?", "+CSCA: \"+8613800100500\"\r\n\r\nOK"), true, true,
     PHONE_TYPE_TARNEL, SMS_CODE_FAILED_UNKNOWN_REASON, "设备不AT", true},
    {"NoCardNumberWritesNothing", Fake(FakeModel::Tarnel), true, false, PHONE_TYPE_TARNEL,
     SMS_CODE_NO_SIM_CARD, "", false},
    // Nothing can be sent without a model object, however complete the
    // port's values look.
    {"NoModelObjectIsNoSuccess", Fake(FakeModel::Tarnel), true, true, PHONE_TYPE_BASE,
     SMS_CODE_DEVICE_NOT_AT, "设备不AT", false},
};

class FailureReasonTest : public SendProcessTest, public ::testing::WithParamInterface<ReasonCase> {};

TEST_P(FailureReasonTest, ReasonInItsOrderOfChoice)
{
    const ReasonCase &c = GetParam();
    FakeModem fake(c.fake);
    ASSERT_TRUE(fake.Ok()) << fake.Error();
    ComPortBaseInfo_t port = Target(c.pathExists ? fake.SlavePath() : "/dev/zx-no-such-port", c.type);
    if (!c.cardNumber)
        port.smsCardNumber.clear();
    const std::vector<SendSmsResult_t> results = Send({port}, {kNumber, "10086"});
    ASSERT_EQ(results.size(), 2u);
    for (const SendSmsResult_t &r : results) {
        EXPECT_EQ(r.resultCode, c.code) << r.phoneNumber;
        EXPECT_EQ(r.resultMessage, c.message) << r.phoneNumber;
        EXPECT_EQ(r.comPath, port.comPath);
        EXPECT_EQ(r.sendTime.size(), std::string(kTime).size()) << r.sendTime;
    }
    EXPECT_EQ(Received(fake).empty(), !c.writes);
}

INSTANTIATE_TEST_SUITE_P(Send, FailureReasonTest, ::testing::ValuesIn(kReasonCases),
                         [](const ::testing::TestParamInfo<ReasonCase> &info) {
                             return std::string(info.param.name);
                         });

TEST_F(SendProcessTest, EveryPortThenEveryNumberInOrder)
{
    FakeModem first(Fake(FakeModel::Tarnel));
    FakeModem second(Fake(FakeModel::Pimsor));
    ASSERT_TRUE(first.Ok() && second.Ok());
    const std::vector<SendSmsResult_t> results =
        Send({Target(first.SlavePath()), Target(second.SlavePath(), PHONE_TYPE_PIMSOR)},
             {kNumber, "10086"});
    ASSERT_EQ(results.size(), 4u);
    const std::string expected[][2] = {{first.SlavePath(), kNumber},
                                       {first.SlavePath(), "10086"},
                                       {second.SlavePath(), kNumber},
                                       {second.SlavePath(), "10086"}};
    for (std::size_t i = 0; i < results.size(); ++i) {
        EXPECT_EQ(results[i].comPath, expected[i][0]) << i;
        EXPECT_EQ(results[i].phoneNumber, expected[i][1]) << i;
        EXPECT_EQ(results[i].resultCode, SMS_CODE_SUCCEED) << i;
        EXPECT_EQ(results[i].resultMessage, "succeed") << i;
    }
    EXPECT_EQ(first.Record().submissions.size(), 2u);
    EXPECT_EQ(second.Record().submissions.size(), 2u);
}

TEST_F(SendProcessTest, InteractiveSendPrintsOneLinePerNumber)
{
    FakeModem fake(Fake(FakeModel::Tarnel));
    ASSERT_TRUE(fake.Ok()) << fake.Error();
    ComPortBaseInfo_t noCard = Target(fake.SlavePath());
    noCard.smsCardNumber.clear();
    ConsoleCapture console("");
    manager.HandleSendPduSmsProcess({Target(fake.SlavePath()), noCard}, {"10086"}, "hello");
    const std::string name = ShownName(fake.SlavePath());
    EXPECT_EQ(console.Output(),
              Green("端口 ") + Green(name) + Green(" 发送到 ") + Green("10086")
                  + Green(" 的短信发送成功") + "\n" + Red("端口 ") + Red(name) + Red(" 发送到 ")
                  + Red("10086") + Red(" 的短信发送失败,失败原因: ") + Red("设备未插卡") + "\n");
}

// See ComPortBaseInfo_t: the record of a typed port that matched no device.
TEST_F(SendProcessTest, PortThatNoScanFoundIsNeverOpened)
{
    OpenWatch watch;
    ASSERT_TRUE(watch.Ok());
    ComPortBaseInfo_t port = Target(watch.Path());
    port.isPortExist = false;
    const std::vector<SendSmsResult_t> results = Send({port}, {kNumber, "10086"});
    ASSERT_EQ(results.size(), 2u);
    for (const SendSmsResult_t &r : results) {
        EXPECT_EQ(r.resultCode, SMS_CODE_NO_SIM_CARD);
        EXPECT_EQ(r.resultMessage, "");
    }
    EXPECT_FALSE(watch.WasOpened());

    port.isPortExist = true;  // the watch sees an open when there is one
    Send({port}, {kNumber});
    EXPECT_TRUE(watch.WasOpened());
}

// A model whose second body is refused, as a modem refuses a part it cannot
// take.
class SecondPartRefused : public CPhone_Tarnel {
public:
    COM_CMD_OPERATE_RESULT_t OnSendPduSmsContextCmdRsp(std::string reply) override
    {
        const COM_CMD_OPERATE_RESULT_t verdict = CPhone_Tarnel::OnSendPduSmsContextCmdRsp(reply);
        if (verdict != COM_CMD_OK || ++m_accepted != 2)
            return verdict;
        m_strErrorMsg = "+CMS ERROR: 321";
        return COM_CMD_ERROR;
    }

private:
    int m_accepted = 0;
};

TEST_F(SendProcessTest, RefusedSecondPartEndsTheMessage)
{
    FakeModem fake(Fake(FakeModel::Tarnel));
    ASSERT_TRUE(fake.Ok()) << fake.Error();
    CComPortBase port(fake.SlavePath(), 9600);
    SecondPartRefused phone;
    const std::string text(150, 'a');  // three parts of UCS2
    ASSERT_EQ(phone.GetSendPduSmsCmdArray("10086", text).size(), 3u);
    EXPECT_FALSE(manager.SendPduSmsByPhone(&phone, &port, "10086", text));
    EXPECT_EQ(phone.GetErrorMessage(), "+CMS ERROR: 321");
    const FakeRecord record = fake.Record();
    EXPECT_EQ(record.submissions.size(), 2u) << "the third part is never sent";
    int lengthCommands = 0;
    for (const std::string &command : record.CommandTexts())
        lengthCommands += command.rfind("AT+CMGS=", 0) == 0;
    EXPECT_EQ(lengthCommands, 2);
}

TEST_F(SendProcessTest, EmptyStepListIsAFailure)
{
    FakeModem fake(Fake(FakeModel::Tarnel));
    ASSERT_TRUE(fake.Ok()) << fake.Error();
    CComPortBase port(fake.SlavePath(), 9600);
    class NoSteps : public CPhone_Tarnel {
        std::vector<PDU_LONG_SMS_Base_t> GetSendPduSmsCmdArray(std::string, std::string) override
        {
            return {};
        }
    } phone;
    EXPECT_FALSE(manager.SendPduSmsByPhone(&phone, &port, kNumber, "hello"));
    EXPECT_TRUE(fake.Record().submissions.empty());
    EXPECT_FALSE(manager.SendPduSmsByPhone(nullptr, &port, kNumber, "hello"));
    EXPECT_FALSE(manager.SendPduSmsByPhone(&phone, nullptr, kNumber, "hello"));
}

// The line drops right after the first number went out (at the first
// command for the second number): the port's later numbers fail at once,
// with the port's reason, and the next port goes on.
TEST_F(SendProcessTest, DeviceGoneMidSendFailsTheRestOfItsNumbers)
{
    FakeConfig dropping = Fake(FakeModel::Tarnel);
    dropping.faults.dropAfterCommands = 7;  // 3 init, centre, PDU mode, length; then the next one
    FakeModem gone(dropping);
    FakeModem other(Fake(FakeModel::Tarnel));
    ASSERT_TRUE(gone.Ok() && other.Ok());
    const auto start = std::chrono::steady_clock::now();
    const std::vector<SendSmsResult_t> results =
        Send({Target(gone.SlavePath()), Target(other.SlavePath())}, {kNumber, "10086", "10010"});
    EXPECT_LT(app_test::ElapsedMs(start), 15000) << "no runner waits out a dead line";
    ASSERT_EQ(results.size(), 6u);
    EXPECT_EQ(results[0].resultCode, SMS_CODE_SUCCEED);
    for (int i : {1, 2}) {
        EXPECT_EQ(results[i].resultCode, SMS_CODE_FAILED_UNKNOWN_REASON) << i;
        EXPECT_EQ(results[i].resultMessage, "Code: 5  Input/output error") << i;
    }
    for (int i : {3, 4, 5})
        EXPECT_EQ(results[i].resultCode, SMS_CODE_SUCCEED) << i;
    EXPECT_TRUE(gone.Dropped());
    EXPECT_EQ(gone.Record().submissions.size(), 1u);
    EXPECT_EQ(other.Record().submissions.size(), 3u);
}

}  // namespace

namespace {

// The device starts sending without end right after the first number went
// out: the first command for the second number ends at its reply's bound,
// every later number of that port fails at once, and the next port goes on.
TEST_F(SendProcessTest, DeviceStreamingMidSendFailsTheRestOfItsNumbersWithinSeconds)
{
    FakeConfig streaming = Fake(FakeModel::Tarnel);
    streaming.faults.floodText = "\r\n+CSQ: 31,99\r\n";
    streaming.faults.floodAfterCommands = 7;  // 3 init, centre, PDU mode, length, body
    streaming.faults.floodGapMs = 5;
    FakeModem flooding(streaming);
    FakeModem other(Fake(FakeModel::Tarnel));
    ASSERT_TRUE(flooding.Ok() && other.Ok());
    const auto start = std::chrono::steady_clock::now();
    const std::vector<SendSmsResult_t> results =
        Send({Target(flooding.SlavePath()), Target(other.SlavePath())}, {kNumber, "10086", "10010"});
    EXPECT_LT(app_test::ElapsedMs(start), 3 * SHORT_REPLY_BOUND.maxMs + 5000)
        << "one command's bound for the port, not one per command";
    ASSERT_EQ(results.size(), 6u);
    EXPECT_EQ(results[0].resultCode, SMS_CODE_SUCCEED);
    for (int i : {1, 2}) {
        EXPECT_EQ(results[i].resultCode, SMS_CODE_FAILED_UNKNOWN_REASON) << i;
        EXPECT_EQ(results[i].resultMessage, "no answer") << i;
    }
    for (int i : {3, 4, 5})
        EXPECT_EQ(results[i].resultCode, SMS_CODE_SUCCEED) << i;
    EXPECT_EQ(flooding.Record().submissions.size(), 1u);
}

}  // namespace
