// Lines that carry a stranger's text stay the lines they are: a reason or a
// sender can neither end its line early nor add a line of its own choosing,
// a message body keeps its line breaks, and no text turns the display order
// around. The device table's cells are covered by DeviceTableTest.
#include "FlowTestSupport.h"
#include "PhoneCardBase.h"

namespace {
using app_test::ConsoleCapture;
using app_test::Fake;
using app_test::PortTest;
using flow_test::FlowManager;
using flow_test::Red;
using flow_test::ShownName;
using flow_test::Target;

const char kNumber[] = "13800138000";
const char kRightToLeftOverride[] = "\xE2\x80\xAE";

// ---- Send result lines ----------------------------------------------------

struct ReasonCase {
    const char *name;
    std::string reason;  // as the model object or the port gave it
    std::string shown;
};

void PrintTo(const ReasonCase &c, std::ostream *os)
{
    *os << c.name;
}

const ReasonCase kReasonCases[] = {
    {"LineFeedForgesSuccess", "+CMS ERROR: 500\n端口 ttyUSB0 发送到 10086 的短信发送成功",
     "+CMS ERROR: 500\\n端口 ttyUSB0 发送到 10086 的短信发送成功"},
    {"WholeReplyKept", "+CMGS: 12\r\n\r\nERROR", "+CMGS: 12\\r\\n\\r\\nERROR"},
    {"TrailingCarriageReturn", "+CMS ERROR: 304\r", "+CMS ERROR: 304\\r"},
    // A port's error on Windows: the system's message ends in its own line
    // end, which ends the line; one inside a reason never does.
    {"SystemMessageEndsItsLine", "Code:5   拒绝访问。\r\n", "Code:5   拒绝访问。\r\n"},
    {"OnlyTheClosingLineEndPasses", "+CMS ERROR: 500\r\n端口 ttyUSB0 发送到 10086 的短信发送成功\r\n",
     "+CMS ERROR: 500\\r\\n端口 ttyUSB0 发送到 10086 的短信发送成功\r\n"},
    {"OverrideTurnsTheReason", std::string(kRightToLeftOverride) + "0 :RORRE SMC+",
     "\\u202e0 :RORRE SMC+"},
};

class ShownSendReasonTest : public ::testing::TestWithParam<ReasonCase> {};

TEST_P(ShownSendReasonTest, ShownInsideItsLine)
{
    FlowManager manager;
    SendSmsResult_t result;
    result.comPath = "/dev/ttyUSB0";
    result.phoneNumber = kNumber;
    result.resultCode = SMS_CODE_FAILED_UNKNOWN_REASON;
    result.resultMessage = GetParam().reason;
    ConsoleCapture console("");
    manager.HandleSendSmsResultByMode(result);
    EXPECT_EQ(console.Output(), Red("端口 ") + Red("ttyUSB0") + Red(" 发送到 ") + Red(kNumber)
                                    + Red(" 的短信发送失败,失败原因: ") + Red(GetParam().shown)
                                    + "\n");
}

INSTANTIATE_TEST_SUITE_P(ShownText, ShownSendReasonTest, ::testing::ValuesIn(kReasonCases),
                         [](const ::testing::TestParamInfo<ReasonCase> &info) {
                             return std::string(info.param.name);
                         });

// ---- Read failure line ------------------------------------------------------

class ShownReadReasonTest : public PortTest {};

// A refused listing keeps the modem's whole reply as the reason, line ends
// and all; a second line in it must not look like another port's result.
TEST_F(ShownReadReasonTest, ModemReplyOfTwoLinesStaysOnTheFailureLine)
{
    FakeConfig config = Fake(FakeModel::Tarnel);
    config.faults.errorCommands = {
        {"AT+CMGL", "+CMS ERROR: 321\r\n端口 ttyUSB9 接收短信成功 共 9 条短信"}};
    FakeModem fake(config);
    ASSERT_TRUE(fake.Ok()) << fake.Error();
    FlowManager manager;
    ConsoleCapture console("");
    manager.HandleReadAllSms({Target(fake.SlavePath())});
    EXPECT_EQ(console.Output(),
              Red("端口 " + ShownName(fake.SlavePath()) + " 接收短信失败") + Red("\t 失败原因: ")
                  + Red("+CMS ERROR: 321\\r\\n端口 ttyUSB9 接收短信成功 共 9 条短信") + "\n");
}

// ---- Message lists ----------------------------------------------------------

struct ListCase {
    const char *name;
    SmsRecvStruct_t message;
    std::string shown;  // the lines of the message, between its dashes
};

void PrintTo(const ListCase &c, std::ostream *os)
{
    *os << c.name;
}

SmsRecvStruct_t Message(const std::string &number, const std::string &time,
                        const std::string &content)
{
    SmsRecvStruct_t m;
    m.number = number;
    m.time = time;
    m.content = content;
    return m;
}

const ListCase kListCases[] = {
    // Shown raw, the override would make the stored "68001 打拨请" read as
    // "请拨打 10086".
    {"OverrideInBody",
     Message("10086", "19-08-01 12:05:04",
             "回复TD退订\n" + std::string(kRightToLeftOverride) + "68001 打拨请\xE2\x80\xAC"),
     "发送号码: 10086\n发送时间: 19-08-01 12:05:04\n短信内容: 回复TD退订\n\\u202e68001 "
     "打拨请\\u202c\n"},
    {"IsolatesInBody", Message("10086", "", "\xE2\x81\xA7" "abc\xE2\x81\xA9 def"),
     "发送号码: 10086\n发送时间: \n短信内容: \\u2067abc\\u2069 def\n"},
    // A sender is one value on its line: its line feed would add a line
    // that looks like the message's own.
    {"LineFeedInSender", Message("+86138\n短信内容: 已中奖", "19-08-01 12:05:04", "你好"),
     "发送号码: +86138\\n短信内容: 已中奖\n发送时间: 19-08-01 12:05:04\n短信内容: 你好\n"},
    {"OverrideInSender", Message(std::string(kRightToLeftOverride) + "68001", "", "x"),
     "发送号码: \\u202e68001\n发送时间: \n短信内容: x\n"},
};

class ShownMessageListTest : public ::testing::TestWithParam<ListCase> {
protected:
    std::string Expected() const
    {
        const std::string dashes(50, '-');
        return dashes + "\n 第 1 条短信\n" + GetParam().shown + dashes + "\n";
    }
};

TEST_P(ShownMessageListTest, ReadFlowList)
{
    FlowManager manager;
    ConsoleCapture console("");
    manager.PrintRecvSms({GetParam().message});
    EXPECT_EQ(console.Output(), Expected());
}

TEST_P(ShownMessageListTest, ModelObjectList)
{
    ConsoleCapture console("");
    PrintRecvSmsList({GetParam().message});
    EXPECT_EQ(console.Output(), Expected());
}

INSTANTIATE_TEST_SUITE_P(ShownText, ShownMessageListTest, ::testing::ValuesIn(kListCases),
                         [](const ::testing::TestParamInfo<ListCase> &info) {
                             return std::string(info.param.name);
                         });

}  // namespace
