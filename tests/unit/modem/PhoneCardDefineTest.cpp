#include "PhoneCardDefine.h"

#include <gtest/gtest.h>

TEST(PhoneTypeToString, NamesEveryType)
{
    const struct {
        int type;
        const char *text;
    } cases[] = {
        {0, "PHONE_TYPE_UN_KNOWN"}, {1, "TYPE_UNKNOWN"}, {2, "Velkor_NC5"}, {3, "Tarnel"},
        {4, "Velkor_ME"},           {5, "Pimsor"},       {6, "Orvast"},     {7, "Sudrel"},
        {8, "TYPE_UNKNOWN"},        {-1, "TYPE_UNKNOWN"}, {1000, "TYPE_UNKNOWN"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(PhoneTypeToString(static_cast<PHONE_TYPE_t>(c.type)), c.text) << c.type;
}

TEST(SmsCodeTexts, EnglishAndChinesePerCode)
{
    const struct {
        int code;
        const char *english;
        const char *chinese;
    } cases[] = {
        {0, "Succeed", "成功"},
        {2, "Device Not AT", "设备不AT"},
        {3, "Not Korvane Device", "不是Korvane短信设备"},
        {4, "No SIM CARD In Device", "设备未插卡"},
        {5, "No Signal", "设备无信号"},
        {6, "No Such Port", "没有此端口"},
        {7, "Not Korvane Sms Device", "不是Korvane短信设备"},
        // Out of range: the two tables disagree on purpose.
        {8, "Unknown reason", "设备不AT"},
        {-1, "Unknown reason", "设备不AT"},
    };
    for (const auto &c : cases) {
        const auto code = static_cast<SMS_CODE_ENUM>(c.code);
        EXPECT_EQ(GetSmsCodeEnglishStr(code), c.english) << c.code;
        EXPECT_EQ(GetSmsCodeChineseStr(code), c.chinese) << c.code;
    }
}

TEST(SmsCodeTexts, UnknownFailureHasItsOwnTexts)
{
    EXPECT_EQ(GetSmsCodeEnglishStr(SMS_CODE_FAILED_UNKNOWN_REASON), "Failed Unknown Reason");
    const std::string chinese = GetSmsCodeChineseStr(SMS_CODE_FAILED_UNKNOWN_REASON);
    EXPECT_FALSE(chinese.empty());
    EXPECT_NE(chinese, GetSmsCodeChineseStr(SMS_CODE_DEVICE_NOT_AT));
    EXPECT_NE(chinese, GetSmsCodeChineseStr(SMS_CODE_SUCCEED));
}

TEST(SmsRecvStruct, IsOkNeedsAllThreeFields)
{
    SmsRecvStruct_t sms;
    EXPECT_FALSE(sms.IsOk());
    sms.number = "+8613800138000";
    sms.time = "19/06/06 10:22:32";
    EXPECT_FALSE(sms.IsOk());
    sms.content = "hello";
    EXPECT_TRUE(sms.IsOk());
    sms.Reset();
    EXPECT_FALSE(sms.IsOk());
    EXPECT_TRUE(sms.number.empty() && sms.time.empty() && sms.content.empty());
}

TEST(PduLongSmsBase, StartsEmpty)
{
    PDU_LONG_SMS_Base_t step;
    EXPECT_TRUE(step.cmd.empty());
    EXPECT_TRUE(step.pdu.empty());
}
