#include "DeviceRecords.h"

#include <gtest/gtest.h>

TEST(DeviceBaseComInfo, Defaults)
{
    DeviceBaseComInfo info;
    EXPECT_EQ(info.phoneType, 1);
    EXPECT_EQ(info.baudRate, 0);
    EXPECT_FALSE(info.isAtOk);
    EXPECT_FALSE(info.isPortOk);
    EXPECT_STREQ(info.comPath, "");
    EXPECT_STREQ(info.smsCardNumber, "");
    EXPECT_STREQ(info.signalStrength, "");
    EXPECT_STREQ(info.serialNumber, "");
    EXPECT_STREQ(info.atiResponse, "");
}

TEST(DeviceBaseComInfo, OverlongTextsAreCutToFit)
{
    DeviceBaseComInfo info;
    SetDeviceField(info.comPath, std::string(100, 'p'));
    SetDeviceField(info.smsCardNumber, std::string(64, '8'));
    SetDeviceField(info.atiResponse, std::string(2000, 'a'));
    EXPECT_EQ(std::string(info.comPath), std::string(31, 'p'));
    EXPECT_EQ(std::string(info.smsCardNumber), std::string(63, '8'));
    EXPECT_EQ(std::string(info.atiResponse), std::string(511, 'a'));
    // The neighbours are untouched.
    EXPECT_EQ(info.baudRate, 0);
    EXPECT_STREQ(info.signalStrength, "");

    SetDeviceField(info.smsCardNumber, "89860");
    EXPECT_STREQ(info.smsCardNumber, "89860");  // a shorter value leaves no tail
}

TEST(CommInfo, DefaultsAndIndependentCopies)
{
    Win32::CommInfo row;
    EXPECT_FALSE(row.isAtOk);
    EXPECT_FALSE(row.isPortOk);
    EXPECT_EQ(row.modelCode, 0);
    EXPECT_TRUE(row.comPath.empty() && row.baudText.empty() && row.modelName.empty() &&
                row.atiResponse.empty() && row.smsCardNumber.empty());

    row.comPath = "/dev/ttyUSB0";
    Win32::CommInfo copy = row;
    copy.comPath = "/dev/ttyUSB1";
    EXPECT_EQ(row.comPath, "/dev/ttyUSB0");
    Win32::CommInfo assigned;
    assigned = row;
    assigned.smsCardNumber = "x";
    EXPECT_TRUE(row.smsCardNumber.empty());
}

TEST(SendSmsResult, IndependentCopies)
{
    SendSmsResult_t result;
    EXPECT_TRUE(result.comPath.empty() && result.phoneNumber.empty() && result.sendTime.empty() &&
                result.resultMessage.empty());
    result.resultMessage = "succeed";
    SendSmsResult_t copy = result;
    copy.resultMessage = "+CMS ERROR: 500";
    EXPECT_EQ(result.resultMessage, "succeed");
}
