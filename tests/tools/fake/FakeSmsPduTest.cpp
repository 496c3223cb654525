// Stored-message PDUs against hex written by hand from 3GPP TS 23.040.
#include <gtest/gtest.h>

#include "FakeSmsPdu.h"

namespace {
struct PduCase {
    const char *name;
    StoredMessage message;
    const char *smsc;
    const char *expect;
};
void PrintTo(const PduCase &c, std::ostream *os) { *os << c.name; }

StoredMessage Msg(int stat, const char *sender, const char *text, const char *coding = "ucs2", int ref = -1,
                  int total = 0, int seq = 0)
{
    StoredMessage m;
    m.stat = stat;
    m.sender = sender;
    m.text = text;
    m.coding = coding;
    m.concatRef = ref;
    m.concatTotal = total;
    m.concatSeq = seq;
    return m;
}

// Centre 8613800100500 and originator 8613800138000, both international;
// time stamp 19-08-01 12:05:04 at +8 h (semi-octets 91 80 10 21 50 40 23).
const PduCase kPduCases[] = {
    {"DeliverUcs2Chinese", Msg(1, "+8613800138000", "你好"), "+8613800100500",
     "0891683108100005F0" "04" "0D91683108108300F0" "00" "08" "91801021504023" "04" "4F60597D"},
    {"DeliverWithoutCentre", Msg(0, "+8613800138000", "A"), "",
     "00" "04" "0D91683108108300F0" "00" "08" "91801021504023" "02" "0041"},
    {"DeliverNationalSender7bit", Msg(1, "10086", "hello", "7bit"), "",
     "00" "04" "05810180F6" "00" "00" "91801021504023" "05" "E8329BFD06"},
    {"DeliverConcatenatedUcs2Part", Msg(1, "+8613800138000", "AB", "ucs2", 7, 2, 1), "",
     "00" "44" "0D91683108108300F0" "00" "08" "91801021504023" "0A" "050003070201" "00410042"},
    // Six header octets and one fill bit take seven septets before the text.
    {"DeliverConcatenated7bitPart", Msg(1, "10086", "hi", "7bit", 1, 2, 2), "",
     "00" "44" "05810180F6" "00" "00" "91801021504023" "09" "050003010202" "D069"},
    {"StoredSubmitSent", Msg(3, "10086", "A"), "", "00" "11" "00" "05810180F6" "00" "08" "AA" "02" "0041"},
    {"StoredSubmitUnsentConcatenated", Msg(2, "10086", "A", "ucs2", 255, 3, 3), "",
     "00" "51" "00" "05810180F6" "00" "08" "AA" "08" "050003FF0303" "0041"},
};

class StoredPduTest : public testing::TestWithParam<PduCase> {};

TEST_P(StoredPduTest, MatchesTheHandWrittenPdu)
{
    EXPECT_EQ(BuildStoredPdu(GetParam().message, GetParam().smsc), GetParam().expect);
}

INSTANTIATE_TEST_SUITE_P(Messages, StoredPduTest, testing::ValuesIn(kPduCases),
                         [](const testing::TestParamInfo<PduCase> &i) { return i.param.name; });

TEST(FakeSmsPduTest, Utf8ToUcs2)
{
    const std::pair<std::string, std::string> cases[] = {
        {"AB", std::string("\x00\x41\x00\x42", 4)},
        {"中文", "\x4E\x2D\x65\x87"},
        {"é", std::string("\x00\xE9", 2)},
        {"\xF0\x9F\x98\x80", "\xFF\xFD"},  // beyond UCS2
        {"\xE4\xB8", "\xFF\xFD\xFF\xFD"},  // cut sequence
        {"\x80" "A", std::string("\xFF\xFD\x00\x41", 4)},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(HexEncode(Utf8ToUcs2(c.first)), HexEncode(c.second)) << HexEncode(c.first);
        if (c.second.find("\xFF\xFD") == std::string::npos) {
            EXPECT_EQ(Ucs2ToUtf8(c.second), c.first);
        }
    }
}

TEST(FakeSmsPduTest, HexRoundTripAndRefusals)
{
    std::string bytes;
    ASSERT_TRUE(HexDecode("00ab1F", &bytes));
    EXPECT_EQ(HexEncode(bytes), "00AB1F");
    EXPECT_FALSE(HexDecode("ABC", &bytes));
    EXPECT_FALSE(HexDecode("0G", &bytes));
}

TEST(FakeSmsPduTest, TpduOctetsLeavesOutTheCentre)
{
    EXPECT_EQ(TpduOctets("0491214365110005818967F50008AA020041"), 13);
    EXPECT_EQ(TpduOctets("00110005810180F60008AA020041"), 13);
    EXPECT_EQ(TpduOctets("0891"), -1);  // shorter than its centre field
    EXPECT_EQ(TpduOctets("zz"), -1);
    EXPECT_EQ(TpduOctets(""), -1);
}
}  // namespace
