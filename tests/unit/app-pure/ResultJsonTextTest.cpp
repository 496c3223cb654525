// The JSON result holds its texts as UTF-8 whatever the console's encoding:
// jsoncpp reads every string it is given as UTF-8.
#include <gtest/gtest.h>
#include <json/json.h>

#include <iostream>
#include <sstream>

#include "CheckManager.h"
#include "CheckManagerFlow.h"
#include "ConsoleText.h"

namespace {

class ResultManager : public CCheckManager {
public:
    std::vector<SendSmsResult_t> &Results() { return m_sendResultVec; }
};

std::string PrintedJson(ResultManager &manager)
{
    std::ostringstream out;
    std::streambuf *old = std::cout.rdbuf(out.rdbuf());
    manager.PrintSendPduSmsResultAsJson();
    std::cout.rdbuf(old);
    return out.str();
}

// The styled writer shows every character past ASCII as \uXXXX of its UTF-8
// reading, so a text in another encoding would show other characters.
TEST(ResultJsonText, ChineseReasonsComeOutAsTheirCharacters)
{
    ResultManager manager;
    SendSmsResult_t result;
    result.comPath = "port";
    result.phoneNumber = "13800138000";
    result.sendTime = "2019-06-06 10:22:32";
    result.resultCode = SMS_CODE_FAILED_UNKNOWN_REASON;
    result.resultMessage = "设备不AT";
    manager.Results().push_back(result);
    result.resultMessage = "Code:5   拒绝访问。";  // a system message of a Chinese system
    manager.Results().push_back(result);
    const std::string json = PrintedJson(manager);
    EXPECT_NE(json.find("\"message\" : \"\\u8bbe\\u5907\\u4e0dAT\""), std::string::npos) << json;
    EXPECT_NE(json.find("\"message\" : \"Code:5   \\u62d2\\u7edd\\u8bbf\\u95ee\\u3002\""),
              std::string::npos)
        << json;
    EXPECT_NE(json.find("\"number\" : \"13800138000\""), std::string::npos) << json;
    EXPECT_NE(json.find("\"time\" : \"2019-06-06 10:22:32\""), std::string::npos) << json;
}

// A reason is a modem's line or a system message, which Windows ends with
// CR LF: a script compares the JSON text without it. Line ends inside the
// text are the sender's and stay.
TEST(ResultJsonText, MessagesCarryNoTrailingLineEnd)
{
    const struct {
        const char *reason;
        const char *message;
    } cases[] = {
        {"Code:21   设备未就绪。\r\n", "Code:21   设备未就绪。"},
        {"+CMS ERROR: 500\r\n\r\n", "+CMS ERROR: 500"},
        {"\n\r", ""},
        {"first\r\nsecond\n", "first\r\nsecond"},
        {"设备不AT", "设备不AT"},
    };
    ResultManager manager;
    SendSmsResult_t result;
    result.comPath = "port";
    result.resultCode = SMS_CODE_FAILED_UNKNOWN_REASON;
    for (const auto &c : cases) {
        result.resultMessage = c.reason;
        manager.Results().push_back(result);
    }
    const std::string json = PrintedJson(manager);
    Json::Value printed;
    ASSERT_TRUE(Json::Reader().parse(json, printed)) << json;
    EXPECT_EQ(printed["message"].asString(), "param is ok");
    ASSERT_EQ(printed["result"].size(), sizeof cases / sizeof cases[0]) << json;
    Json::ArrayIndex i = 0;
    for (const auto &c : cases)
        EXPECT_EQ(printed["result"][i++]["message"].asString(), ConsoleTextToUtf8(c.message)) << c.reason;
}

}  // namespace
