// The Linux bodies of the functions that differ per platform, each against
// what the Windows build does instead.
#include "ColorCout.h"
#include "ConsoleText.h"
#include "PhoneCardBase.h"
#include "PhoneCountryCode.h"
#include "StringUtil.h"

#include <gtest/gtest.h>

#include <iostream>
#include <memory>
#include <sstream>

namespace {

TEST(ReplyLinesLinux, SplitAtLineFeedsKeepingCarriageReturns)
{
    EXPECT_EQ(SplitStringToArray("\r\nOK\r\n"), (std::vector<std::string>{"\r", "OK\r"}));
    EXPECT_EQ(SplitStringToArray("a\nb\n"), (std::vector<std::string>{"a", "b"}));
}

TEST(InitReplyLinux, IsJudgedLikeAnyOtherReply)
{
    CPhoneCardBase phone;
    EXPECT_EQ(phone.OnInitAtCmdRsp("\r\nOK\r\n"), COM_CMD_OK);
    EXPECT_EQ(phone.OnInitAtCmdRsp("\r\nERROR\r\n"), COM_CMD_ERROR);
    EXPECT_EQ(phone.OnInitAtCmdRsp(""), COM_CMD_WAIT);
}

TEST(CountryCodeLinux, JudgesByPrefixAndLength)
{
    for (const char *number : {"008613912345678", "8613912345678", "85261234567", "13912345678", "+8613912345678"}) {
        EXPECT_EQ(CPhoneCardBase::JudgePhoneCountryCode(number).hasCountryCode,
                  JudgeCountryCodeByLength(number).hasCountryCode)
            << number;
    }
    EXPECT_FALSE(CPhoneCardBase::JudgePhoneCountryCode("85261234567").hasCountryCode);
}

TEST(ConsoleTextLinux, IsUtf8Already)
{
    EXPECT_EQ(ConsoleTextToUtf8("中文 reason"), "\xE4\xB8\xAD\xE6\x96\x87 reason");
    // Nothing is repaired or dropped on the way.
    EXPECT_EQ(ConsoleTextToUtf8("a\xFF"), "a\xFF");
    EXPECT_EQ(ConsoleTextPrefixLength("A\xE4\xB8\xAD", 4, 3), 1u);
}

TEST(Utf8ToGBK, HandsNothingBack)
{
    char sentinel = 0;
    char *out = &sentinel;
    EXPECT_EQ(Utf8ToGBK("abc", &out), 0);
    EXPECT_EQ(out, &sentinel);
    EXPECT_EQ(Utf8ToGBK("\xE4\xB8\xAD", &out), 0);
    EXPECT_EQ(out, &sentinel);
}

class CoutCapture {
public:
    CoutCapture() : m_old(std::cout.rdbuf(m_text.rdbuf())) {}
    ~CoutCapture() { std::cout.rdbuf(m_old); }
    std::string Text() const { return m_text.str(); }

private:
    std::ostringstream m_text;
    std::streambuf *m_old;
};

TEST(ColorCoutLinux, WrapsTheMessageInEscapeSequences)
{
    CoutCapture capture;
    CColorCout::CoutRedMessage("失败\n");
    CColorCout::CoutGreenMessage("OK");
    EXPECT_EQ(capture.Text(), "\033[1m\033[31m失败\n\033[0m\033[1m\033[32mOK\033[0m");
}

} // namespace
