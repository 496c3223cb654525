#include "ConsoleEnvironment.h"
#include "PduCodec.h"
#include "PduFixtures.h"
#include "PduOffered.h"
#include "PduReference.h"
#include "PduTestSupport.h"
#include "Ucs2Units.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

template <typename T> std::string CaseName(const testing::TestParamInfo<T> &info) { return info.param.name; }

// Console text: each build stores these literals in its console encoding.
const std::string kZhong = "中";
const std::string kNi = "你";
const std::string kHao = "好";

// The send flow runs under the console's encoding, which each platform sets
// its own way.
class Utf8Environment : public testing::Test {
private:
    ConsoleEnvironment m_console;
};

SM_PARAM Record(const std::string &smsc, const std::string &peer, bool noCountryCode)
{
    SM_PARAM p;
    std::memset(&p, 0, sizeof(p));
    std::strncpy(p.smsCenter, smsc.c_str(), sizeof(p.smsCenter) - 1);
    std::strncpy(p.peerNumber, peer.c_str(), sizeof(p.peerNumber) - 1);
    p.noCountryCode = noCountryCode;
    p.dataCoding = GSM_DCS_UCS2;
    return p;
}

struct SinglePduCase {
    const char *name;
    std::string smsc, peer;
    bool noCountryCode;
    std::string text;
    std::string pdu;  // without the closing Ctrl-Z
    std::string cmd;
    friend void PrintTo(const SinglePduCase &c, std::ostream *os) { *os << c.name; }
};

class EncodePduNewTest : public Utf8Environment, public testing::WithParamInterface<SinglePduCase> {};

TEST_P(EncodePduNewTest, BuildsTheWholePduAndItsLength)
{
    const SinglePduCase &c = GetParam();
    SM_PARAM p = Record(c.smsc, c.peer, c.noCountryCode);
    std::strncpy(p.userText, c.text.c_str(), sizeof(p.userText) - 1);
    std::string cmd = "stale";
    const std::string pdu = gsmEncodePduNew(&p, cmd);
    EXPECT_EQ(pdu, c.pdu + "\x1A");
    EXPECT_EQ(cmd, c.cmd);
}

INSTANTIATE_TEST_SUITE_P(
    Messages, EncodePduNewTest,
    testing::Values(
        SinglePduCase{"NationalDestination", "+123456", "98765", true, "A",
                      "0491214365" "110005818967F50008AA020041", "AT+CMGS=13\r"},
        SinglePduCase{"InternationalDestinationPlusSkipped", "+123456", "+8698765", false, "A",
                      "0491214365" "11000791688967F50008AA020041", "AT+CMGS=14\r"},
        SinglePduCase{"EmptySmsCenter", "", "98765", true, "A", "0191" "110005818967F50008AA020041",
                      "AT+CMGS=13\r"},
        // The type of address stays 91 whether or not the centre has its '+'.
        SinglePduCase{"SmsCenterWithoutPlus", "8613800100500", "8613912345678", false, kNi + kHao,
                      "0891683108100005F0" "11000D91683119325476F80008AA044F60597D", "AT+CMGS=19\r"},
        SinglePduCase{"LongestSmsCenter", "861380010050012", "10086", true, "A",
                      "099168310810000510F2" "110005810180F60008AA020041", "AT+CMGS=13\r"},
        SinglePduCase{"EmptyText", "+123456", "98765", true, "", "0491214365" "110005818967F50008AA00",
                      "AT+CMGS=11\r"}),
    CaseName<SinglePduCase>);

TEST_F(Utf8Environment, EncodePduNewFollowsTheStandardFieldByField)
{
    SM_PARAM p = Record("+8613800100500", "8613912345678", false);
    std::strcpy(p.userText, (kNi + kHao).c_str());
    std::string cmd;
    std::string pdu = gsmEncodePduNew(&p, cmd);
    ASSERT_EQ(pdu.back(), '\x1A');
    pdu.pop_back();
    const SubmitFields f = SplitSubmit(pdu);
    ASSERT_TRUE(f.complete);
    EXPECT_EQ(f.scaLength, "08");
    EXPECT_EQ(f.scaType, "91");
    EXPECT_EQ(f.scaDigits, "683108100005F0");
    EXPECT_EQ(f.firstOctet, "11");  // SMS-SUBMIT, relative validity period
    EXPECT_EQ(f.messageRef, "00");
    EXPECT_EQ(f.daLength, "0D");
    EXPECT_EQ(f.daType, "91");
    EXPECT_EQ(f.daDigits, "683119325476F8");
    EXPECT_EQ(f.pid, "00");
    EXPECT_EQ(f.dcs, "08");
    EXPECT_EQ(f.vp, "AA");  // 4 days
    EXPECT_EQ(f.udl, "04");
    EXPECT_EQ(f.ud, "4F60597D");
    // AT+CMGS counts the TPDU, from the first octet on (TS 27.005 3.5.1).
    EXPECT_EQ(cmd, "AT+CMGS=" + std::to_string((pdu.size() - 2 - 16) / 2) + "\r");
}

TEST_F(Utf8Environment, EncodePduNewReadsAtMostOneMessageOfText)
{
    // 100 Chinese characters are more than 160 bytes; the encoder reads 160 of
    // them: in UTF-8 53 whole characters and a cut one, which is sent as
    // U+FFFD; in code page 936 80 whole characters.
    SM_PARAM p = Record("+123456", "98765", true);
    std::strcpy(p.userText, Repeat(kZhong, 100).c_str());
    std::string cmd;
    std::string pdu = gsmEncodePduNew(&p, cmd);
    pdu.pop_back();
    const SubmitFields f = SplitSubmit(pdu);
    const size_t whole = SM_SUBMIT_TEXT_MAX / kConsoleBytesPerChinese;
    const bool cut = SM_SUBMIT_TEXT_MAX % kConsoleBytesPerChinese != 0;
    EXPECT_EQ(f.udl, Hex2Octet(2 * (whole + (cut ? 1 : 0))));
    EXPECT_EQ(f.ud, Repeat("4E2D", whole) + (cut ? "FFFD" : ""));
}

TEST_F(Utf8Environment, EncodePduNewRoundTripsThroughTheStoredMessageDecoder)
{
    SM_PARAM p = Record("+8613800100500", "8613912345678", false);
    std::strcpy(p.userText, Repeat(kZhong, 46).c_str());  // at most 138 bytes: one message
    std::string cmd;
    std::string pdu = gsmEncodePduNew(&p, cmd);
    pdu.pop_back();

    SM_PARAM d;
    std::memset(&d, 0, sizeof(d));
    EXPECT_EQ(gsmDecodeSendPdu(pdu.c_str(), &d), static_cast<int>(46 * kConsoleBytesPerChinese));
    EXPECT_STREQ(d.smsCenter, "8613800100500");
    EXPECT_STREQ(d.peerNumber, "8613912345678");
    EXPECT_EQ(d.dataCoding, GSM_DCS_UCS2);
    EXPECT_EQ(std::string(d.userText), Repeat(kZhong, 46));
}

struct ValidityCase {
    const char *name;
    int minutes;
    std::string vp;
    friend void PrintTo(const ValidityCase &c, std::ostream *os) { *os << c.name; }
};

class ValidityPeriodTest : public testing::TestWithParam<ValidityCase> {};

TEST_P(ValidityPeriodTest, WritesTheRelativeForm)
{
    SM_PARAM p = Record("8613800100500", "8613912345678", false);
    p.validityMinutes = GetParam().minutes;
    char head[SM_SUBMIT_HEAD_SIZE];
    GetSubmitPdu(&p, head);
    EXPECT_EQ(SplitSubmit(std::string(head) + "00").vp, GetParam().vp);
}

INSTANTIATE_TEST_SUITE_P(Minutes, ValidityPeriodTest,
                         testing::Values(ValidityCase{"DefaultIs24Hours", 0, "A7"},
                                         ValidityCase{"FiveMinutes", 5, "00"},
                                         ValidityCase{"OneHour", 60, "0B"},
                                         ValidityCase{"TwelveHours", 720, "8F"},
                                         ValidityCase{"TwelveAndAHalfHours", 750, "90"},
                                         ValidityCase{"TwentyFourHours", 1440, "A7"},
                                         ValidityCase{"JustOverADay", 1441, "A8"},
                                         ValidityCase{"TwoDays", 2880, "A8"},
                                         ValidityCase{"Longer", 3000, "FF"},
                                         ValidityCase{"UnderFiveMinutes", 3, "FF"},
                                         ValidityCase{"OneMinute", 1, "FF"}),
                         CaseName<ValidityCase>);

struct HeadCase {
    const char *name;
    std::string smsc, peer;
    bool noCountryCode, flash;
    unsigned char dataCoding, protocolId;
    std::string head;
    friend void PrintTo(const HeadCase &c, std::ostream *os) { *os << c.name; }
};

class SubmitHeadTest : public testing::TestWithParam<HeadCase> {};

TEST_P(SubmitHeadTest, WritesTheTerminatedHead)
{
    const HeadCase &c = GetParam();
    SM_PARAM p = Record(c.smsc, c.peer, c.noCountryCode);
    p.flash = c.flash;
    p.dataCoding = c.dataCoding;
    p.protocolId = c.protocolId;
    char head[SM_SUBMIT_HEAD_SIZE + 1];
    std::memset(head, 'x', sizeof(head));
    EXPECT_EQ(GetSubmitPdu(&p, head), static_cast<int>(c.head.size()));
    EXPECT_EQ(std::string(head), c.head);
    EXPECT_EQ(head[SM_SUBMIT_HEAD_SIZE], 'x');
}

INSTANTIATE_TEST_SUITE_P(
    Records, SubmitHeadTest,
    testing::Values(
        HeadCase{"Ucs2", "8613800100500", "8613912345678", false, false, 8, 0,
                 "08" "91683108100005F0" "5100" "0D91683119325476F8" "0008A7"},
        HeadCase{"NoCountryCodeIsA1", "123456", "98765", true, false, 8, 0, "0491214365" "5100" "05A18967F5" "0008A7"},
        HeadCase{"FlashUcs2", "123456", "98765", true, true, 8, 0, "0491214365" "5100" "05A18967F5" "0018A7"},
        HeadCase{"FlashSeptets", "123456", "98765", true, true, 0, 0, "0491214365" "5100" "05A18967F5" "0010A7"},
        HeadCase{"ProtocolIdAndEightBit", "123456", "98765", true, false, 4, 0x41,
                 "0491214365" "5100" "05A18967F5" "4104A7"},
        HeadCase{"EmptySmsCenter", "", "98765", true, false, 8, 0, "0191" "5100" "05A18967F5" "0008A7"},
        HeadCase{"LeadingPlusSkipped", "+123456", "+8698765", false, false, 8, 0,
                 "0491214365" "5100" "0791688967F5" "0008A7"},
        // The longest numbers the record holds fit the head buffer.
        HeadCase{"LongestNumbers", "123456789012345", "1234567890123456789012345678901", false, false, 8, 0,
                 "09" "9121436587092143F5" "5100" "1F91" "214365870921436587092143658709F1" "0008A7"}),
    CaseName<HeadCase>);

TEST(PushSubmitHead, WritesTheHeadWithoutTerminator)
{
    SM_PARAM p = Record("123456", "98765", false);
    char head[SM_SUBMIT_HEAD_SIZE];
    std::memset(head, 'x', sizeof(head));
    const std::string expected = "0491214365" "4100" "05918967F5" "00F5";
    ASSERT_EQ(GetPushSubmitPdu(&p, head), static_cast<int>(expected.size()));
    EXPECT_EQ(std::string(head, expected.size()), expected);
    EXPECT_EQ(head[expected.size()], 'x');
}

std::vector<std::string> LongParts(const std::string &text, unsigned char dataCoding = GSM_DCS_UCS2)
{
    SM_PARAM p = Record("8613800100500", "8613912345678", false);
    p.dataCoding = dataCoding;
    std::vector<char> copy(text.begin(), text.end());
    copy.push_back('\0');
    p.longText = copy.data();
    std::vector<std::string> parts;
    gsmLongSmsPdu(&p, parts, true);
    return parts;
}

// The RR, TT and SS octets of a part's "050003" header.
struct ConcatHeader {
    std::string ref, total, seq;
};

ConcatHeader HeaderOf(const SubmitFields &f)
{
    return {f.udh.substr(6, 2), f.udh.substr(8, 2), f.udh.substr(10, 2)};
}

TEST_F(Utf8Environment, LongTextSplitsIntoPartsOf134Octets)
{
    // 135 UCS2 characters: 270 octets in parts of 134, 134 and 2.
    const std::vector<std::string> parts = LongParts(Repeat(kZhong, 135));
    ASSERT_EQ(parts.size(), 3u);
    const char *udls[] = {"8C", "8C", "08"};
    const size_t dataOctets[] = {134, 134, 2};
    std::string joined;
    std::string reference;
    for (size_t i = 0; i < parts.size(); i++) {
        const SubmitFields f = SplitSubmit(parts[i]);
        ASSERT_TRUE(f.complete) << i;
        EXPECT_EQ(f.scaLength, "08");
        EXPECT_EQ(f.scaDigits, "683108100005F0");
        EXPECT_EQ(f.firstOctet, "51");  // SMS-SUBMIT, relative validity, user-data header
        EXPECT_EQ(f.daLength + f.daType + f.daDigits, "0D91683119325476F8");
        EXPECT_EQ(f.pid + f.dcs + f.vp, "0008A7");
        EXPECT_EQ(f.udl, udls[i]);
        ASSERT_EQ(f.udh.size(), 12u);
        EXPECT_EQ(f.udh.substr(0, 6), "050003");
        const ConcatHeader h = HeaderOf(f);
        if (i == 0)
            reference = h.ref;
        EXPECT_EQ(h.ref, reference);
        EXPECT_NE(h.ref, "00");
        EXPECT_EQ(h.total, "03");
        EXPECT_EQ(h.seq, "0" + std::to_string(i + 1));
        EXPECT_EQ(f.ud.size(), 2 * dataOctets[i]);
        joined += f.ud;
    }
    EXPECT_EQ(joined, Repeat("4E2D", 135));
    const std::vector<unsigned char> octets = Octets(joined);
    EXPECT_EQ(gsmDecodeNew2(octets.data(), static_cast<int>(octets.size())), Repeat(kZhong, 135));
}

// Code page 936 has no form for a character outside the BMP, so the Windows
// program is never given one there; the cut of Ucs2PartEnd below covers that build.
bool ConsoleHoldsEmoji()
{
    return kConsoleBytesPerChinese == 3;  // UTF-8
}

// Parts of a text with an emoji, against the parts another encoder cut from
// it (the fixtures say which): the same user data and lengths part by part,
// and the same count. Cut by fixed sizes, the first text's first part ended
// with the pair's high half and the second opened with its low half; the
// second text took two parts instead of three.
TEST_F(Utf8Environment, SurrogatePairStaysInOnePart)
{
    if (!ConsoleHoldsEmoji())
        GTEST_SKIP() << "the console's code page holds no emoji";
    for (const char *fixture : {"submit-emoji-split.txt", "submit-emoji-extra-part.txt"}) {
        std::vector<std::string> theirs = FixtureLines(fixture);
        ASSERT_GE(theirs.size(), 2u) << fixture;
        const std::string text = theirs.back();
        theirs.pop_back();
        const std::vector<std::string> ours = LongParts(text);
        ASSERT_EQ(ours.size(), theirs.size()) << fixture;
        for (size_t i = 0; i < ours.size(); i++) {
            const SubmitFields mine = SplitSubmit(ours[i]);
            const SubmitFields other = SplitSubmit(theirs[i]);
            ASSERT_TRUE(mine.complete) << fixture << " part " << i + 1;
            EXPECT_EQ(mine.udl, other.udl) << fixture << " part " << i + 1;
            EXPECT_EQ(HeaderOf(mine).total, HeaderOf(other).total) << fixture << " part " << i + 1;
            EXPECT_EQ(HeaderOf(mine).seq, HeaderOf(other).seq) << fixture << " part " << i + 1;
            EXPECT_EQ(mine.ud, other.ud) << fixture << " part " << i + 1;
        }
    }
}

// Where a UCS2 part ends: at its room, one unit earlier to keep a pair whole.
struct PartEndCase {
    const char *name;
    std::string ucs2Hex;
    size_t start, room, end;
    friend void PrintTo(const PartEndCase &c, std::ostream *os) { *os << c.name; }
};

class Ucs2PartEndTest : public testing::TestWithParam<PartEndCase> {};

TEST_P(Ucs2PartEndTest, NeverCutsAPair)
{
    const PartEndCase &c = GetParam();
    const std::vector<unsigned char> octets = Octets(c.ucs2Hex);
    // An exactly sized copy, so that a read past the text shows.
    std::unique_ptr<unsigned char[]> exact(new unsigned char[octets.size()]);
    std::copy(octets.begin(), octets.end(), exact.get());
    EXPECT_EQ(pdutext::Ucs2PartEnd(exact.get(), octets.size(), c.start, c.room), c.end);
}

INSTANTIATE_TEST_SUITE_P(
    Cuts, Ucs2PartEndTest,
    testing::Values(PartEndCase{"AtTheRoom", "00410042004300440045", 0, 4, 4},
                    PartEndCase{"RestFits", "004100420043", 2, 8, 6},
                    PartEndCase{"HighHalfWaitsForTheNextPart", "0041D83DDE000042", 0, 4, 2},
                    PartEndCase{"PairInside", "0041D83DDE000042", 0, 6, 6},
                    PartEndCase{"LowHalfEndsThePart", "D83DDE0000410042", 0, 4, 4},
                    // A high half that no low half follows is no pair to keep.
                    PartEndCase{"LoneHighHalf", "0041D83D00420043", 0, 4, 4},
                    PartEndCase{"FromTheMiddle", "00410042D83DDE000043", 2, 4, 4},
                    // Nothing follows a lone high half at the text's end: it goes.
                    PartEndCase{"HighHalfEndsTheText", "0041D83D", 0, 4, 4},
                    PartEndCase{"StartAtTheEnd", "00410042", 4, 4, 4},
                    // An odd last octet is no unit to look at.
                    PartEndCase{"OddOctetAfterTheCut", "0041D83DDE", 0, 4, 4}),
    CaseName<PartEndCase>);

TEST_F(Utf8Environment, TextThatFitsOnePartStillCarriesAHeader)
{
    // 47 Chinese characters, 141 bytes: the concatenated path, 94 octets.
    const std::vector<std::string> parts = LongParts(Repeat(kZhong, 47));
    ASSERT_EQ(parts.size(), 1u);
    const SubmitFields f = SplitSubmit(parts[0]);
    ASSERT_TRUE(f.complete);
    EXPECT_EQ(f.udl, "64");  // 94 + 6
    EXPECT_EQ(HeaderOf(f).total, "01");
    EXPECT_EQ(HeaderOf(f).seq, "01");
    EXPECT_EQ(f.ud, Repeat("4E2D", 47));
}

TEST_F(Utf8Environment, SeptetPartsUseTheSixteenBitReference)
{
    // 200 septets: 175 octets, parts of 133 octets (152 septets) and 42.
    const std::vector<std::string> parts = LongParts(std::string(200, 'a'), GSM_DCS_7BIT);
    ASSERT_EQ(parts.size(), 2u);
    const SubmitFields first = SplitSubmit(parts[0]);
    const SubmitFields last = SplitSubmit(parts[1]);
    EXPECT_EQ(first.dcs, "00");
    EXPECT_EQ(first.udl, "A0");  // 8 header septets + 152
    EXPECT_EQ(last.udl, "38");   // 8 + 48
    ASSERT_EQ(first.udh.size(), 14u);
    EXPECT_EQ(first.udh.substr(0, 6), "060804");
    EXPECT_EQ(first.udh.substr(6, 2), "00");  // the reference fits 8 bits
    EXPECT_EQ(first.udh.substr(10), "0201");
    EXPECT_EQ(last.udh.substr(10), "0202");
    EXPECT_EQ(first.ud.size(), 266u);
    EXPECT_EQ(last.ud.size(), 84u);

    const std::vector<unsigned char> octets = Octets(first.ud + last.ud);
    char text[256];
    gsmDecode7bit(octets.data(), text, static_cast<int>(octets.size()));
    EXPECT_EQ(std::string(text).substr(0, 200), std::string(200, 'a'));
}

TEST_F(Utf8Environment, EightBitPartsCopyTheBytes)
{
    const std::vector<std::string> parts = LongParts(std::string(300, 'b'), GSM_DCS_8BIT);
    ASSERT_EQ(parts.size(), 3u);
    const SubmitFields last = SplitSubmit(parts[2]);
    EXPECT_EQ(last.dcs, "04");
    EXPECT_EQ(last.udl, "26");  // 32 + 6
    EXPECT_EQ(last.ud, Repeat("62", 32));
}

TEST_F(Utf8Environment, NoTextGivesNoPart)
{
    EXPECT_TRUE(LongParts("").empty());
    SM_PARAM p = Record("8613800100500", "8613912345678", false);
    std::vector<std::string> parts;
    gsmLongSmsPdu(&p, parts, true);  // longText left null
    EXPECT_TRUE(parts.empty());
}

TEST_F(Utf8Environment, PartCountIsBoundedByItsOctet)
{
    // 255 parts of 67 characters fill the TT octet; one character more would
    // need a 256th part, which no header can count.
    const std::vector<std::string> full = LongParts(std::string(255 * 67, 'c'));
    ASSERT_EQ(full.size(), 255u);
    EXPECT_EQ(HeaderOf(SplitSubmit(full.back())).total, "FF");
    EXPECT_EQ(HeaderOf(SplitSubmit(full.back())).seq, "FF");
    EXPECT_TRUE(LongParts(std::string(255 * 67 + 1, 'c')).empty());
}

TEST_F(Utf8Environment, EachMessageTakesTheNextReference)
{
    int previous = -1;
    for (int i = 0; i < 300; i++) {
        const std::vector<std::string> parts = LongParts("x");
        ASSERT_EQ(parts.size(), 1u);
        const int ref = static_cast<int>(std::stoul(HeaderOf(SplitSubmit(parts[0])).ref, nullptr, 16));
        ASSERT_NE(ref, 0);
        if (previous >= 0) {
            ASSERT_EQ(ref, previous == 255 ? 1 : previous + 1) << "after " << previous;
        }
        previous = ref;
    }
}

struct ReferenceCase {
    const char *name;
    int16_t current;
    bool seeded;
    std::int64_t now;  // the seed clock: seconds on Linux, milliseconds of tick count on Windows
    int16_t next;
    friend void PrintTo(const ReferenceCase &c, std::ostream *os) { *os << c.name; }
};

class SplitIndexTest : public testing::TestWithParam<ReferenceCase> {};

TEST_P(SplitIndexTest, SeedsOnceAndWraps)
{
    const ReferenceCase &c = GetParam();
    bool seeded = c.seeded;
    EXPECT_EQ(AdvanceSplitIndex(c.current, seeded, c.now), c.next);
    EXPECT_TRUE(seeded);
}

INSTANTIATE_TEST_SUITE_P(Counter, SplitIndexTest,
                         testing::Values(ReferenceCase{"FirstCallIsSeedPlusOne", 0, false, 1000, 1000 % 255 + 1},
                                         ReferenceCase{"SeedZero", 77, false, 255 * 4, 1},
                                         ReferenceCase{"SeedLargest", 0, false, 254, 255},
                                         ReferenceCase{"SeededIgnoresTheClock", 41, true, 1000, 42},
                                         ReferenceCase{"WrapsTo1", 255, true, 1000, 1},
                                         ReferenceCase{"ClockBefore1970", 0, false, -3, 1},
                                         // A 32-bit tick count near its wrap seeds within range too.
                                         ReferenceCase{"TickCountLargest", 0, false, 4294967295, 1},
                                         ReferenceCase{"TickCountGivingLargestSeed", 0, false, 4294967294, 255}),
                         CaseName<ReferenceCase>);

} // namespace
