#include "StandardPdu.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

struct StandardCase {
    const char *name;
    std::string smsc, number;
    std::string pdu;  // without the closing Ctrl-Z
    int tpduLength;
    friend void PrintTo(const StandardCase &c, std::ostream *os) { *os << c.name; }
};

class StandardPduTest : public testing::TestWithParam<StandardCase> {};

TEST_P(StandardPduTest, BuildsThePduWithEmptyUserData)
{
    const StandardCase &c = GetParam();
    CStandardPdu builder;
    ASSERT_TRUE(builder.InitSample(c.smsc, c.number, "hi"));
    char out[128];
    std::memset(out, 'x', sizeof(out));
    int total = -1, tpdu = -1;
    ASSERT_TRUE(builder.SaveToUCS2Data(out, sizeof(out), total, tpdu));
    EXPECT_EQ(std::string(out, static_cast<size_t>(total)), c.pdu + "\x1A");
    EXPECT_EQ(tpdu, c.tpduLength);
}

INSTANTIATE_TEST_SUITE_P(
    Numbers, StandardPduTest,
    testing::Values(StandardCase{"International", "+8613800100500", "+8613912345678",
                                 "0891683108100005F0" "1100" "0D91683119325476F8" "0008AA" "00", 30},
                    StandardCase{"National", "13800100500", "10086",
                                 "07813108100005F0" "1100" "05810180F6" "0008AA" "00", 22},
                    StandardCase{"EmptyCentre", "", "10086", "0181" "1100" "05810180F6" "0008AA" "00", 22}),
    [](const testing::TestParamInfo<StandardCase> &info) { return std::string(info.param.name); });

TEST(StandardPdu, RefusesAnOutputBufferTooSmall)
{
    CStandardPdu builder;
    ASSERT_TRUE(builder.InitSample("+8613800100500", "+8613912345678", "hi"));
    char out[48];
    std::memset(out, 'x', sizeof(out));
    int total = -1, tpdu = -1;
    EXPECT_FALSE(builder.SaveToUCS2Data(out, sizeof(out), total, tpdu));  // needs 49
    EXPECT_EQ(out[0], 'x');
    EXPECT_EQ(total, -1);
    char exact[49];
    EXPECT_TRUE(builder.SaveToUCS2Data(exact, sizeof(exact), total, tpdu));
    EXPECT_EQ(total, 49);
}

TEST(StandardPdu, InitSampleRefusesTheFirstTooLongText)
{
    CStandardPdu builder;
    EXPECT_TRUE(builder.InitSample(std::string(15, '1'), std::string(31, '2'), std::string(139, 'a')));
    EXPECT_FALSE(builder.InitSample(std::string(16, '1'), "2", "a"));
    EXPECT_FALSE(builder.InitSample("1", std::string(32, '2'), "a"));
    EXPECT_FALSE(builder.InitSample("1", "2", std::string(140, 'a')));

    // The longest numbers still fit the PDU's digit areas.
    char out[128];
    int total = 0, tpdu = 0;
    EXPECT_TRUE(builder.SaveToUCS2Data(out, sizeof(out), total, tpdu));
}

TEST(StandardPdu, OffersNoLongMessage)
{
    CStandardPdu builder;
    EXPECT_TRUE(builder.CreateLongPduSmsFromData().empty());
}

TEST(StandardPdu, HexDigitConversions)
{
    const char digits[] = "0123456789ABCDEF";
    for (int v = 0; v < 16; v++) {
        EXPECT_EQ(CStandardPdu::ValueToHex(v), digits[v]);
        EXPECT_EQ(CStandardPdu::HexToValue(digits[v]), v);
    }
    EXPECT_EQ(CStandardPdu::ValueToHex(16), '0');
    EXPECT_EQ(CStandardPdu::ValueToHex(-1), '0');
    EXPECT_EQ(CStandardPdu::HexToValue('a'), -1);
    EXPECT_EQ(CStandardPdu::HexToValue('G'), -1);
}

TEST(StandardPdu, TextOperations)
{
    char pair[] = "1234";
    EXPECT_TRUE(CStandardPdu::SwapNextTwoValue(pair, 4));
    EXPECT_STREQ(pair, "2143");
    char odd[] = "123";
    EXPECT_FALSE(CStandardPdu::SwapNextTwoValue(odd, 3));
    EXPECT_STREQ(odd, "123");

    char buffer[8] = "ab";
    EXPECT_EQ(CStandardPdu::AppendData(buffer, 2, "cde", 3), 5);
    EXPECT_EQ(std::string(buffer, 5), "abcde");

    EXPECT_TRUE(CStandardPdu::IsSMSCInternal("+86"));
    EXPECT_FALSE(CStandardPdu::IsSMSCInternal("86"));
    EXPECT_FALSE(CStandardPdu::IsSMSCInternal(""));
    EXPECT_FALSE(CStandardPdu::IsSMSCInternal(nullptr));

    const unsigned char octets[] = {0x0A, 0xF1};
    char hex[8];
    EXPECT_EQ(CStandardPdu::gsmBytes2String(octets, hex, 2), 4);
    EXPECT_STREQ(hex, "0AF1");
}

} // namespace
