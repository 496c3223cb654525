// Command-line mode: arguments to a send, and the JSON answer a script reads.
#include <json/json.h>

#include <iostream>

#include "CheckManager.h"
#include "CheckManagerFlow.h"
#include "ColorCout.h"

namespace {
enum CmdParamsOutcome {
    CMD_PARAMS_PORT_ERROR = 0,
    CMD_PARAMS_NUMBER_ERROR = 1,
    CMD_PARAMS_COUNT_ERROR = 2,
    CMD_PARAMS_SENT = 3,
};

const char kPortErrorJson[] = "{\"code\":1,\"message\":\"com port error\",\"result\":[]}";
const char kNumberErrorJson[] = "{\"code\":2,\"message\":\"phone number error\",\"result\":[]}";
const char kCountErrorJson[] = "{\"code\":3,\"message\":\"param count error\",\"result\":[]}";

// Texts this short keep their quotes: a quoted pair of letters is sent as typed.
constexpr std::string::size_type kMaxUnquotedLength = 5;
constexpr char kQuote = '"';

// jsoncpp's styled writer: keys sorted, " : ", three blanks per level, [] for an
// empty array and a line end after the closing brace.
void PrintStyledJson(const Json::Value &value)
{
    Json::StyledWriter writer;
    std::cout << writer.write(value) << std::endl;
}

void PrintFixedJson(const char *text)
{
    Json::Reader reader;
    Json::Value value;
    if (reader.parse(text, value, true))
        PrintStyledJson(value);
}

const char *const kHelpLines[] = {
    "1. 执行Korvane检测工具  执行Zarvex ",
    "2. 查看帮助信息  执行Zarvex help 可以输出本帮助信息 ",
    "3. 通过所有串口设备发送短信 执行 Zarvex [空格]手机号1,手机号2...[空格]\"短信内容 \"",
    "4. 通过指定串口设备发送短信 执行 Zarvex [空格]串口号1,串口号2...[空格]手机号1,手机号2，...[空格]\"短信内容 \"",
    "注意: 如果短信内容中有空格，需要用双引号(\")括起来，短信内容中的双引号(\")需要转义为\\\" ",
    "例1: 通过端口/dev/ttyUSB3给1830000000发送内容为 \"北京Korvane短信 欢迎使用\" 的短信则输入",
    "命令1: Zarvex USB3 18300000000 \"北京Korvane短信 欢迎使用\"",
    "例2: 通过端口/dev/ttyUSB3,/dev/ttyUSB4 给1830000000,18500000000 发送内容为 \"北京Korvane短信 欢迎使用\" 的短信则输入",
    "命令2: Zarvex USB3,USB4 18300000000,18500000000 \"北京Korvane短信 欢迎使用\"",
};
}  // namespace

void CCheckManager::OnCmdParams(int argc, char **argv)
{
    m_bInteractive = false;
    switch (HandleCmdParams(argc, argv)) {
    case CMD_PARAMS_PORT_ERROR: PrintFixedJson(kPortErrorJson); break;
    case CMD_PARAMS_NUMBER_ERROR: PrintFixedJson(kNumberErrorJson); break;
    case CMD_PARAMS_COUNT_ERROR: PrintFixedJson(kCountErrorJson); break;
    default: PrintSendPduSmsResultAsJson(); break;
    }
}

int CCheckManager::HandleCmdParams(int argc, char **argv)
{
    // No ports named: every usable port, chosen as for an empty answer.
    std::string portIds;
    std::string numberList;
    std::string text;
    if (argc == 3) {
        numberList = argv[1];
        text = RemoveDoubleQuotationMarksOfStringBothSide(argv[2]);
    } else if (argc == 4) {
        portIds = argv[1];
        numberList = argv[2];
        text = RemoveDoubleQuotationMarksOfStringBothSide(argv[3]);
    } else {
        return CMD_PARAMS_COUNT_ERROR;
    }
    OnScanPort();
    // The numbers are judged first: arguments wrong in both report the numbers.
    const std::vector<std::string> numbers = SplitUserPhoneNumber(numberList);
    if (numbers.empty())
        return CMD_PARAMS_NUMBER_ERROR;
    std::vector<ComPortBaseInfo_t> ports;
    if (!InputToSendPduSmsComPort(portIds, ports))
        return CMD_PARAMS_PORT_ERROR;
    InputToSendPduSmsContext(text);
    HandleSendPduSmsProcess(ports, numbers, text);
    return CMD_PARAMS_SENT;
}

void CCheckManager::PrintSendPduSmsResultAsJson()
{
    Json::Value root;
    Json::ArrayIndex index = 0;
    for (const SendSmsResult_t &result : m_sendResultVec) {
        Json::Value item;
        item["com"] = PortDisplayName(result.comPath);
        item["number"] = result.phoneNumber;
        item["time"] = result.sendTime;
        item["code"] = result.resultCode;
        item["message"] = result.resultCode == SMS_CODE_FAILED_UNKNOWN_REASON
                              ? result.resultMessage
                              : GetSmsCodeEnglishStr(static_cast<SMS_CODE_ENUM>(result.resultCode));
        root["result"][index++] = item;
    }
    root["code"] = 0;
    root["message"] = "param is ok";
    PrintStyledJson(root);
}

// A script that quotes the text twice hands it over still wrapped in quotes.
// Quotes anywhere else belong to the message: the shell has already taken
// away those the user typed for it, so no other quote can be a delimiter.
std::string CCheckManager::RemoveDoubleQuotationMarksOfStringBothSide(std::string text)
{
    if (text.size() <= kMaxUnquotedLength)
        return text;
    if (text.front() != kQuote || text.back() != kQuote)
        return text;
    return text.substr(1, text.size() - 2);
}

void CCheckManager::PrintHelpInfo()
{
    CColorCout::CoutGreenMessage("Zarvex 短信设备检测工具 使用说明");
    std::cout << std::endl << std::endl;
    for (const char *line : kHelpLines)
        std::cout << line << std::endl;
}
