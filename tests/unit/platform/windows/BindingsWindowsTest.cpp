// The Windows bodies of the functions that differ per platform, run under
// Wine with a Chinese locale (ANSI code page 936).
#include "ColorCout.h"
#include "ConsoleText.h"
#include "PduCodec.h"
#include "PduReference.h"
#include "PhoneCardBase.h"
#include "PhoneCountryCode.h"
#include "PhoneFactory.h"
#include "StringUtil.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <memory>
#include <sstream>
#include <vector>

namespace {

// "中文" in code page 936 and in UTF-8.
const std::string kZhongWenGbk = "\xD6\xD0\xCE\xC4";
const std::string kZhongWenUtf8 = "\xE4\xB8\xAD\xE6\x96\x87";

class CodePage936 : public testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(GetACP(), 936u) << "run with LANG=zh_CN.UTF-8"; }
};

std::string Hex(const unsigned char *octets, int count)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (int i = 0; i < count; i++) {
        out += digits[octets[i] >> 4];
        out += digits[octets[i] & 0x0F];
    }
    return out;
}

TEST_F(CodePage936, SourceLiteralsAreHeldInTheCodePage)
{
    EXPECT_EQ(std::string("中文"), kZhongWenGbk);
}

TEST_F(CodePage936, EncodesTheConsoleTextToUcs2)
{
    unsigned char out[16];
    const std::string text = "A" + kZhongWenGbk;
    EXPECT_EQ(gsmEncodeUcs2(text.data(), out, static_cast<int>(text.size())), 6);
    EXPECT_EQ(Hex(out, 6), "00414E2D6587");
    EXPECT_EQ(ANSIToUnicode(kZhongWenGbk), (std::wstring{0x4E2D, 0x6587}));
    EXPECT_EQ(UnicodeToANSI(std::wstring{0x4E2D, 0x6587, 0, L'x'}), kZhongWenGbk);
}

TEST_F(CodePage936, DecodersWriteTheCodePage)
{
    const unsigned char octets[] = {0x4E, 0x2D, 0x65, 0x87};
    EXPECT_EQ(gsmDecodeNew2(octets, 4), kZhongWenGbk);
    char text[161];
    std::memset(text, 'x', sizeof text);
    EXPECT_EQ(gsmDecodeUcs2(octets, text, 4), 4);
    EXPECT_EQ(std::string(text), kZhongWenGbk);
}

TEST_F(CodePage936, Ucs2DecoderWritesATerminatorWithinItsCap)
{
    const unsigned char abc[] = {0x00, 0x41, 0x00, 0x42, 0x00, 0x43};
    char text[161];
    std::memset(text, 'x', sizeof text);
    EXPECT_EQ(gsmDecodeUcs2(abc, text, 6), 3);
    EXPECT_STREQ(text, "ABC");

    // 80 Chinese characters are the 160 bytes the decoder holds; 81 fail whole.
    std::vector<unsigned char> octets;
    for (int i = 0; i < 81; i++) {
        octets.push_back(0x4E);
        octets.push_back(0x2D);
    }
    std::memset(text, 'x', sizeof text);
    EXPECT_EQ(gsmDecodeUcs2(octets.data(), text, 160), 160);
    EXPECT_EQ(text[160], '\0');
    std::memset(text, 'x', sizeof text);
    EXPECT_EQ(gsmDecodeUcs2(octets.data(), text, 162), 0);
    EXPECT_EQ(text[0], '\0');
    // gsmDecodeNew2 has no cap.
    EXPECT_EQ(gsmDecodeNew2(octets.data(), 162).size(), 162u);
}

TEST_F(CodePage936, ShortTextsDecodeAtOnce)
{
    // A one-character message must not hold the read flow: every short result
    // (fewer than four bytes, count 0 and 1 included) comes back at once.
    const unsigned char zhong[] = {0x4E, 0x2D};
    const unsigned char a[] = {0x00, 0x41};
    const auto start = std::chrono::steady_clock::now();
    char text[161];
    EXPECT_EQ(gsmDecodeUcs2(zhong, text, 2), 2);
    EXPECT_EQ(std::string(text), "\xD6\xD0");
    EXPECT_EQ(gsmDecodeUcs2(a, text, 1), 0);
    EXPECT_STREQ(text, "");
    EXPECT_EQ(gsmDecodeUcs2(a, text, 0), 0);
    EXPECT_EQ(gsmDecodeNew2(zhong, 2), "\xD6\xD0");
    EXPECT_EQ(gsmDecodeNew2(a, 1), "");
    EXPECT_EQ(gsmDecodeNew2(a, 0), "");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
}

TEST_F(CodePage936, Utf8ToGbkHandsBackTheCodePageText)
{
    char *out = nullptr;
    EXPECT_EQ(Utf8ToGBK(kZhongWenUtf8.c_str(), &out), 5);  // terminator counted
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(std::string(out), kZhongWenGbk);
    delete[] out;

    out = nullptr;
    EXPECT_EQ(Utf8ToGBK("", &out), 1);
    ASSERT_NE(out, nullptr);
    EXPECT_STREQ(out, "");
    delete[] out;
}

TEST_F(CodePage936, ConsoleTextBecomesUtf8)
{
    EXPECT_EQ(ConsoleTextToUtf8("原因: " + kZhongWenGbk), "\xE5\x8E\x9F\xE5\x9B\xA0: " + kZhongWenUtf8);
    EXPECT_EQ(ConsoleTextToUtf8("Code:2   not found"), "Code:2   not found");
    EXPECT_EQ(ConsoleTextToUtf8(""), "");
}

TEST_F(CodePage936, PrefixNeverCutsACharacter)
{
    const std::string text = "A" + kZhongWenGbk;  // A, then two double-byte characters
    EXPECT_EQ(ConsoleTextPrefixLength(text.data(), text.size(), 5), 5u);
    EXPECT_EQ(ConsoleTextPrefixLength(text.data(), text.size(), 4), 3u);
    EXPECT_EQ(ConsoleTextPrefixLength(text.data(), text.size(), 2), 1u);
}

TEST_F(CodePage936, PushTextReachesTheRecordWithinItsMember)
{
    // A push whose text after the URL is as many Chinese characters in UTF-8
    // as 255 octets of user data hold: it arrives whole and terminated.
    std::string userData = std::string(34, '0') + "05" + std::string(14, '0') + "6100" + "01" + "00";
    std::string text;
    while ((userData.size() + 6) / 2 <= 255) {
        userData += "E4B8AD";
        text += "\xD6\xD0";
    }
    SM_PARAM p;
    std::memset(&p, 0, sizeof p);
    char udl[3];
    std::snprintf(udl, sizeof udl, "%02X", static_cast<unsigned>(userData.size() / 2));
    const std::string pdu = "0491214365" "40" "05818967F5" "00F5" "91801021504000" + std::string(udl) + userData;
    EXPECT_EQ(gsmDecodePdu(pdu.c_str(), &p), static_cast<int>(text.size()) + 1);
    EXPECT_EQ(std::string(p.userText), text);
    EXPECT_STREQ(p.pushUrl, "a");
}

TEST_F(CodePage936, SeptetTextsAndNamesAreWrittenInTheCodePage)
{
    // From the sender "Soci\u00E9t\u00E9" (a name in the GSM alphabet): every
    // character of the default alphabet that is not ASCII, then the euro sign
    // of the extension table. What the code page lacks gets the code page's
    // best fit where it has one and '?' otherwise, as in a UCS2 text.
    const std::string pdu = "0491214365" "04" "0DD0D3F7385DA01700" "0000" "91801021504000" "29"
                            "8101A1603820120B86E301914C2815CB0593D1703A9E0F09B8E576BD5FF09EDFF7FF3765";
    SM_PARAM p;
    std::memset(&p, 0, sizeof p);
    EXPECT_EQ(gsmDecodePdu(pdu.c_str(), &p), 41);
    EXPECT_EQ(Hex(reinterpret_cast<const unsigned char *>(p.peerNumber), static_cast<int>(std::strlen(p.peerNumber))),
              "536F6369" "A8A6" "74" "A8A6");
    const std::string expected = "A1EA" "A3A4" "A8A8" "A8A6" "A8B4" "A8AC" "A8B0"  // £ ¥ è é ù ì ò
                                 "3F" "3F" "3F" "3F" "3F"                         // Ç Ø ø Å å
                                 "A6A4" "A6B5" "A6A3" "A6AB" "A6B8"               // Δ Φ Γ Λ Ω
                                 "A6B0" "A6B7" "A6B2" "A6A8" "A6AE"               // Π Ψ Σ Θ Ξ
                                 "3F" "3F" "3F" "A8A6" "A1E8"                     // Æ æ ß É ¤
                                 "3F" "3F" "3F" "3F" "A8B9" "A1EC"                // ¡ Ä Ö Ñ Ü §
                                 "3F" "3F" "3F" "3F" "A8B9" "A8A4" "80";          // ¿ ä ö ñ ü à €
    EXPECT_EQ(Hex(reinterpret_cast<const unsigned char *>(p.userText), static_cast<int>(std::strlen(p.userText))),
              expected);
}

TEST(ClockWindows, TimeTextIsUtcPlus8)
{
    const __time64_t before = _time64(nullptr);
    const std::string text = GetCurTimeStr();
    const __time64_t after = _time64(nullptr);
    bool matched = false;
    for (__time64_t t = before; t <= after; t++)
        matched = matched || text == FormatTimeAtOffset(t, 8 * 3600);
    EXPECT_TRUE(matched) << text;
}

TEST(ClockWindows, ReferenceSeedIsTheTickCount)
{
    const DWORD before = GetTickCount();
    const std::int64_t clock = SplitIndexSeedClock();
    const DWORD after = GetTickCount();
    EXPECT_GE(clock, static_cast<std::int64_t>(before));
    EXPECT_LE(clock, static_cast<std::int64_t>(after));

    // The first message's reference is that tick count modulo 255, plus one.
    SM_PARAM p;
    std::memset(&p, 0, sizeof p);
    p.dataCoding = GSM_DCS_UCS2;
    char text[] = "x";
    p.longText = text;
    std::vector<std::string> parts;
    const DWORD first = GetTickCount();
    gsmLongSmsPdu(&p, parts, true);
    const DWORD last = GetTickCount();
    ASSERT_EQ(parts.size(), 1u);
    // Head "00" (no centre), "51", "00", "00" "A1" (empty destination), PID,
    // DCS, VP, UDL, then "050003" and the reference.
    const std::size_t at = parts[0].find("050003");
    ASSERT_NE(at, std::string::npos);
    const int reference = std::stoi(parts[0].substr(at + 6, 2), nullptr, 16);
    EXPECT_GE(reference, 1);
    EXPECT_LE(reference, 255);
    bool matched = false;
    for (DWORD t = first; t <= last; t++)
        matched = matched || reference == static_cast<int>(t % 255) + 1;
    EXPECT_TRUE(matched) << reference;
}

TEST(ReplyLinesWindows, SplitAtCarriageReturnLineFeed)
{
    EXPECT_EQ(SplitStringToArray("\r\nOK\r\n"), std::vector<std::string>{"OK"});
    EXPECT_EQ(SplitStringToArray("\r\n+CSQ: 20,99\r\n\r\nOK"), std::vector<std::string>{"+CSQ: 20,99"});
}

TEST(InitReplyWindows, EveryModelTakesAnyReplyAsDone)
{
    for (int type = PHONE_TYPE_BASE; type <= PHONE_TYPE_SUDREL; type++) {
        std::unique_ptr<CPhoneCardBase> phone(type == PHONE_TYPE_BASE ? new CPhoneCardBase
                                                                      : GetPhoneByType(static_cast<PHONE_TYPE_t>(type)));
        ASSERT_NE(phone, nullptr) << type;
        EXPECT_EQ(phone->OnInitAtCmdRsp("\r\nERROR\r\n"), COM_CMD_OK) << type;
        EXPECT_EQ(phone->OnInitAtCmdRsp("\r\n+CME ERROR: 100\r\n"), COM_CMD_OK) << type;
        EXPECT_EQ(phone->OnInitAtCmdRsp(""), COM_CMD_OK) << type;
    }
}

TEST(CountryCodeWindows, JudgesByThePatternTable)
{
    const CountryCode_t hongKong = CPhoneCardBase::JudgePhoneCountryCode("85261234567");
    EXPECT_EQ(hongKong.code, 3);
    EXPECT_TRUE(hongKong.hasCountryCode);
    EXPECT_TRUE(CPhoneCardBase::JudgePhoneCountryCode("853612345").hasCountryCode);
    EXPECT_FALSE(CPhoneCardBase::JudgePhoneCountryCode("+8613912345678").hasCountryCode);
}

TEST(ColorCoutWindows, WritesTheMessageAloneToAPipe)
{
    // Output that is no console takes no attributes and no escape sequences.
    std::ostringstream captured;
    std::streambuf *old = std::cout.rdbuf(captured.rdbuf());
    CColorCout::CoutRedMessage("失败\n");
    CColorCout::CoutGreenMessage("OK");
    std::cout.rdbuf(old);
    EXPECT_EQ(captured.str(), "失败\nOK");
}

} // namespace
