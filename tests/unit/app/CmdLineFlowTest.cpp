// The command-line mode's answers that need no scan: the parameter-count
// error and the printed result object. The outcomes after a scan, and that
// the count error comes without one, run against fakes in tests/e2e/linux/flow.
#include "FlowTestSupport.h"

namespace {
using app_test::ConsoleCapture;
using flow_test::FlowManager;

const char kCountError[] =
    "{\n   \"code\" : 3,\n   \"message\" : \"param count error\",\n   \"result\" : []\n}\n\n";

struct CountCase {
    const char *name;
    std::vector<std::string> args;  // after the program name
};

void PrintTo(const CountCase &c, std::ostream *os)
{
    *os << c.name;
}

const CountCase kCountCases[] = {
    {"NoArgument", {}},
    {"OneWordThatIsNoHelp", {"HELP"}},
    {"FourArguments", {"USB0", "13800138000", "hello", "extra"}},
};

class CountErrorTest : public ::testing::TestWithParam<CountCase> {};

TEST_P(CountErrorTest, FixedObjectPrintedStyled)
{
    std::vector<std::string> args = {"Zarvex"};
    args.insert(args.end(), GetParam().args.begin(), GetParam().args.end());
    std::vector<char *> argv;
    for (std::string &a : args)
        argv.push_back(&a[0]);
    argv.push_back(nullptr);
    FlowManager manager;
    ConsoleCapture console("");
    manager.OnCmdParams(static_cast<int>(args.size()), argv.data());
    EXPECT_EQ(console.Output(), kCountError);
}

INSTANTIATE_TEST_SUITE_P(CmdLine, CountErrorTest, ::testing::ValuesIn(kCountCases),
                         [](const ::testing::TestParamInfo<CountCase> &info) {
                             return std::string(info.param.name);
                         });

SendSmsResult_t Result(const char *path, const char *number, int code, const char *message)
{
    SendSmsResult_t r;
    r.comPath = path;
    r.phoneNumber = number;
    r.sendTime = "2019-06-06 10:22:32";
    r.resultCode = code;
    r.resultMessage = message;
    return r;
}

TEST(ResultJson, StyledFormWithMessagesPerCode)
{
    FlowManager manager;
    manager.MutableResults() = {
        Result("/dev/ttyUSB0", "13800138000", SMS_CODE_SUCCEED, "succeed"),
        Result("/dev/ttyUSB0", "10086", SMS_CODE_FAILED_UNKNOWN_REASON, "+CMS ERROR: 500"),
        Result("/dev/ttyUSB9", "10086", SMS_CODE_NO_SIM_CARD, ""),
    };
    ConsoleCapture console("");
    manager.PrintSendPduSmsResultAsJson();
    EXPECT_EQ(console.Output(),
              "{\n"
              "   \"code\" : 0,\n"
              "   \"message\" : \"param is ok\",\n"
              "   \"result\" : [\n"
              "      {\n"
              "         \"code\" : 0,\n"
              "         \"com\" : \"ttyUSB0\",\n"
              "         \"message\" : \"Succeed\",\n"
              "         \"number\" : \"13800138000\",\n"
              "         \"time\" : \"2019-06-06 10:22:32\"\n"
              "      },\n"
              "      {\n"
              "         \"code\" : 1,\n"
              "         \"com\" : \"ttyUSB0\",\n"
              "         \"message\" : \"+CMS ERROR: 500\",\n"
              "         \"number\" : \"10086\",\n"
              "         \"time\" : \"2019-06-06 10:22:32\"\n"
              "      },\n"
              "      {\n"
              "         \"code\" : 4,\n"
              "         \"com\" : \"ttyUSB9\",\n"
              "         \"message\" : \"No SIM CARD In Device\",\n"
              "         \"number\" : \"10086\",\n"
              "         \"time\" : \"2019-06-06 10:22:32\"\n"
              "      }\n"
              "   ]\n"
              "}\n\n");
}

TEST(ResultJson, NoResultMeansNoResultMember)
{
    FlowManager manager;
    ConsoleCapture console("");
    manager.PrintSendPduSmsResultAsJson();
    EXPECT_EQ(console.Output(), "{\n   \"code\" : 0,\n   \"message\" : \"param is ok\"\n}\n\n");
}

// A modem's error line goes into the JSON as it came, but for its line end;
// the writer escapes what a terminal could take as a control.
TEST(ResultJson, ModemTextKeptAndEscaped)
{
    FlowManager manager;
    manager.MutableResults() = {
        Result("/dev/ttyUSB0", "10086", SMS_CODE_FAILED_UNKNOWN_REASON, "\033[2J+CMS ERROR: 500\r")};
    ConsoleCapture console("");
    manager.PrintSendPduSmsResultAsJson();
    const std::string out = console.Output();
    EXPECT_NE(out.find("\"message\" : \"\\u001b[2J+CMS ERROR: 500\""), std::string::npos) << out;
    EXPECT_EQ(out.find('\033'), std::string::npos);
    EXPECT_EQ(out.find('\r'), std::string::npos);
}

}  // namespace
