// Command-line mode: arguments to a send, and the JSON answer a script reads.
#include <json/json.h>

#include <iostream>

#include "CheckManager.h"
#include "CheckManagerFlow.h"
#include "CheckManagerProgramTexts.h"
#include "ColorCout.h"
#include "ConsoleText.h"
#include "PlatformConstants.h"
#include "StringUtil.h"

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

// jsoncpp takes its strings as UTF-8, whatever the console shows: a text in
// the ANSI code page (a Chinese reason, a system message) would come out as
// other characters.
Json::Value JsonText(const std::string &consoleText)
{
    return Json::Value(ConsoleTextToUtf8(consoleText));
}

// A reason may be a modem's line or a system message, which Windows ends with
// CR LF; on the console that ends its line, in JSON a script would have to
// take it off before comparing.
Json::Value JsonMessage(const std::string &consoleText)
{
    return JsonText(WithoutTrailingLineEnds(consoleText));
}
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
        item["com"] = JsonText(PortDisplayName(result.comPath));
        item["number"] = JsonText(result.phoneNumber);
        item["time"] = JsonText(result.sendTime);
        item["code"] = result.resultCode;
        const SMS_CODE_ENUM code = static_cast<SMS_CODE_ENUM>(result.resultCode);
        item["message"] = JsonMessage(code == SMS_CODE_FAILED_UNKNOWN_REASON
                                          ? result.resultMessage
                                          : GetSmsCodeEnglishStr(code));
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
    for (const char *line : kProgramTexts.helpLines)
        std::cout << line << std::endl;
}
