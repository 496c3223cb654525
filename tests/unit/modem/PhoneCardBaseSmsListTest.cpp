// Reading a storage listing in PDU mode and joining the parts of long
// messages. The listings are transcripts of "AT+CMGL=4" replies; the sender A
// is 8613912345678, B is 8613587654321.
#include <climits>
#include <cstring>
#include <ostream>
#include <tuple>

#include "ModemTestSupport.h"
#include "Phone_Velkor_NC5.h"

using modem_test::FetchRepliesOf;
using modem_test::Fixture;
using modem_test::MemberAccess;

namespace {

const std::string kSenderA = "8613912345678";
const std::string kSenderB = "8613587654321";

struct Expected {
    std::string number;
    std::string time;
    std::string content;
};

void ExpectMessages(const std::vector<SmsRecvStruct_t> &got, const std::vector<Expected> &want)
{
    ASSERT_EQ(got.size(), want.size());
    for (std::size_t i = 0; i < want.size(); ++i) {
        EXPECT_EQ(got[i].number, want[i].number) << "message " << i;
        EXPECT_EQ(got[i].time, want[i].time) << "message " << i;
        EXPECT_EQ(got[i].content, want[i].content) << "message " << i;
    }
}

struct ListingCase {
    const char *name;
    const char *fixture;
    std::vector<Expected> messages;
};

void PrintTo(const ListingCase &c, std::ostream *os)
{
    *os << c.name;
}

class Listing : public ::testing::TestWithParam<ListingCase> {
protected:
    void SetUp() override { modem_test::UseUtf8Environment(); }
};

TEST_P(Listing, GivesTheStoredMessages)
{
    const ListingCase &c = GetParam();
    const std::string reply = Fixture(c.fixture);
    CPhoneCardBase modem;
    ASSERT_EQ(modem.OnReadAllSmsCmdRsp(reply), COM_CMD_OK);
    ExpectMessages(modem.GetReadSms(), c.messages);
    // After a good listing the error text is the listing itself.
    EXPECT_EQ(modem.GetErrorMessage(), reply.substr(2, reply.size() - 4));
}

INSTANTIATE_TEST_SUITE_P(
    Storages, Listing,
    ::testing::Values(
        // Short messages in storage order (a stored outgoing one has no time),
        // then the long one, its parts stored out of order, with the number and
        // time of its last part.
        ListingCase{"ShortBeforeLong",
                    "tarnel/cmgl_mixed.txt",
                    {{kSenderA, "19-08-01 12:05:04", "你好"},
                     {kSenderB, "19-08-02 09:30:15", "Meeting at 10"},
                     {kSenderB, "", "已发送"},
                     {kSenderA, "19-08-03 14:20:02", "第一部分第二部分"}}},
        ListingCase{"TwoInterleavedLongMessages",
                    "pimsor/cmgl_interleaved.txt",
                    {{kSenderA, "19-08-03 14:20:02", "第一部分第二部分"},
                     {kSenderB, "19-08-04 15:00:01", "Part one part two"}}},
        ListingCase{"EndsWithSmsDone",
                    "orvast/cmgl_sms_done.txt",
                    {{kSenderA, "19-08-01 12:05:04", "你好"}}},
        // A lone part of one part, and one whose header says zero parts.
        ListingCase{"LoneParts",
                    "velkor_me/cmgl_lone_parts.txt",
                    {{kSenderB, "19-08-02 09:30:15", "Meeting at 10"},
                     {kSenderA, "19-08-05 16:00:00", "独立"},
                     {kSenderA, "19-08-06 17:00:00", "无总数"}}},
        // The sender's reference counter came round again: two whole messages
        // under one reference.
        ListingCase{"TwoLongMessagesUnderOneReference",
                    "tarnel/cmgl_one_reference_twice.txt",
                    {{kSenderA, "19-08-03 14:20:02", "第一部分第二部分"},
                     {kSenderA, "19-08-03 15:00:01", "再见朋友"}}},
        // The counter came round 37 hours later, and the storage holds A1 B1
        // B2 A2: each part 2 joins the message sent when it was.
        ListingCase{"OneReferenceTwiceDaysApart",
                    "tarnel/cmgl_one_reference_days_apart.txt",
                    {{kSenderA, "19-08-03 14:20:02", "第一部分第二部分"},
                     {kSenderA, "19-08-05 03:20:01", "再见朋友"}}},
        // Parts with a 16-bit reference join like the others; a header of
        // another kind (port numbers) is passed over, never shown.
        ListingCase{"OtherUserDataHeaders",
                    "tarnel/cmgl_other_headers.txt",
                    {{kSenderA, "19-08-03 16:01:00", "再见"},
                     {kSenderB, "19-08-03 16:00:00", "你好世界"}}}),
    [](const auto &info) { return std::string(info.param.name); });

// Long messages from senders that do not write UCS2: 7-bit parts after the
// 6-octet header (one fill bit) and the 7-octet one (none), 8-bit parts, and
// parts that disagree on the coding. Each storage is read both ways: listed
// whole, and fetched index by index by CPhone_Velkor_NC5.
enum class Reading { Listing, IndexFetches };

const char *ReadingName(Reading r)
{
    return r == Reading::Listing ? "Listed" : "FetchedByIndex";
}

void PrintTo(Reading r, std::ostream *os)
{
    *os << ReadingName(r);
}

struct CodingCase {
    const char *name;
    const char *fixture;
    std::vector<Expected> messages;
};

void PrintTo(const CodingCase &c, std::ostream *os)
{
    *os << c.name;
}

// Full 7-bit parts hold 153 septets after the 6-octet header, 152 after the
// 7-octet one.
const std::string kStatementText =
    "Dear customer, your statement for the account ending 4821 is ready. Payments made after 25 "
    "Aug will show on the next statement. For questions mail billin"
    "g@example.com or call 95588 (free of charge). Your minimum payment of 356.20 is due on 5 "
    "Sep; pay it by transfer, at any branch or with the app. To stop "
    "these notices reply STOP. Thank you for banking with us!";
const std::string kMeetingText =
    "Reminder: the team meeting moves to Room 4B on the 3rd floor at 14:30 today. Please bring "
    "the Q3 figures and the draft plan; lunch is served from 12:00 "
    "in the canteen. See you there.";

const CodingCase kCodingCases[] = {
    // Stored B2 A3 A1 short B1 A2.
    {"SeptetParts",
     "tarnel/cmgl_septet_parts.txt",
     {{kSenderB, "19-08-11 09:00:00", "See you at 5"},
      {kSenderA, "19-08-10 09:30:02", kStatementText},
      {kSenderB, "19-08-11 08:05:01", kMeetingText}}},
    // The same parts sent as flash texts (class 0) and as class-1 texts of
    // the coding group that names a class: still septets, joined by text.
    {"SeptetPartsWithAClass",
     "tarnel/cmgl_septet_parts_with_class.txt",
     {{kSenderB, "19-08-11 09:00:00", "See you at 5"},
      {kSenderA, "19-08-10 09:30:02", kStatementText},
      {kSenderB, "19-08-11 08:05:01", kMeetingText}}},
    // 8-bit data is no text: the joined parts show the hex digits of its
    // octets (here an order notice in ASCII).
    {"OctetParts",
     "tarnel/cmgl_octet_parts.txt",
     {{kSenderA, "19-08-12 10:15:01",
       "4F726465722032303139303831322D303435372068617320736869707065642E20547261636B696E67206E756D"
       "626572205346313032393338343735362C2065787065637465642064656C6976657279206F6E203134204175672E"}}},
    // Neighbouring UCS2 parts still join as one text, so the character whose
    // halves the sender put in two parts comes out whole; a 7-bit part gives
    // its own text, before or after them.
    {"PartsOfMixedCoding",
     "tarnel/cmgl_mixed_coding_parts.txt",
     {{kSenderA, "19-08-13 20:00:02",
       "Photos from the trip <camera> are in the shared album. Reply YES to get the link."},
      {kSenderB, "19-08-13 21:00:01", "Price: 25 EUR, 谢谢！"}}},
};

// The camera (U+1F4F7, units D83D DCF7) has no form in the Windows code page;
// the expectation holds whatever the console encoding makes of the pair, and
// on Linux that is the character itself.
std::vector<Expected> WithCameraInConsoleForm(std::vector<Expected> messages)
{
    const std::string token = "<camera>";
    const unsigned char units[] = {0xD8, 0x3D, 0xDC, 0xF7};
    const std::string camera = gsmDecodeNew2(units, sizeof units);
    for (Expected &m : messages)
        for (std::size_t at = m.content.find(token); at != std::string::npos; at = m.content.find(token))
            m.content.replace(at, token.size(), camera);
    return messages;
}

class OtherCodings : public ::testing::TestWithParam<std::tuple<CodingCase, Reading>> {
protected:
    void SetUp() override { modem_test::UseUtf8Environment(); }
};

std::vector<SmsRecvStruct_t> ReadByIndex(const std::string &listing)
{
    const std::vector<std::string> replies = FetchRepliesOf(listing);
    std::string indices;
    for (std::size_t i = 0; i < replies.size(); ++i)
        indices += (i == 0 ? "" : ",") + std::to_string(i);
    CPhone_Velkor_NC5 modem;
    EXPECT_EQ(modem.OnReadAllSmsCmdRsp("\r\n+CMGD: (" + indices + "),(0-4)\r\n\r\nOK\r\n"),
              COM_CMD_OK);
    for (const std::string &reply : replies) {
        modem.GetReadNextSmsCmd();
        modem.OnReadNextSmsCmdRsp(reply);
    }
    EXPECT_FALSE(modem.NotFinished());
    return modem.GetReadSms();
}

TEST_P(OtherCodings, PartsJoinByTheirOwnCoding)
{
    const CodingCase &c = std::get<0>(GetParam());
    const std::string listing = Fixture(c.fixture);
    const std::vector<Expected> messages = WithCameraInConsoleForm(c.messages);
    if (std::get<1>(GetParam()) == Reading::IndexFetches) {
        ExpectMessages(ReadByIndex(listing), messages);
        return;
    }
    CPhoneCardBase modem;
    ASSERT_EQ(modem.OnReadAllSmsCmdRsp(listing), COM_CMD_OK);
    ExpectMessages(modem.GetReadSms(), messages);
}

INSTANTIATE_TEST_SUITE_P(
    Storages, OtherCodings,
    ::testing::Combine(::testing::ValuesIn(kCodingCases),
                       ::testing::Values(Reading::Listing, Reading::IndexFetches)),
    [](const auto &info) {
        return std::string(std::get<0>(info.param).name) + ReadingName(std::get<1>(info.param));
    });

TEST(ListingReply, PartialListingIsRebuiltAsItGrows)
{
    modem_test::UseUtf8Environment();
    const std::string reply = Fixture("tarnel/cmgl_mixed.txt");
    const std::size_t ok = reply.rfind("OK");
    CPhoneCardBase modem;
    for (std::size_t length = 0; length < ok; ++length) {
        const std::string partial = reply.substr(0, length);
        ASSERT_EQ(modem.OnReadAllSmsCmdRsp(partial), COM_CMD_WAIT) << length;
        // A header counts once its PDU line has ended.
        std::size_t complete = 0;
        for (std::size_t at = partial.find("+CMGL: "); at != std::string::npos;
             at = partial.find("+CMGL: ", at + 1)) {
            const std::size_t headerEnd = partial.find('\n', at);
            if (headerEnd != std::string::npos &&
                partial.find('\n', headerEnd + 1) != std::string::npos)
                ++complete;
        }
        EXPECT_EQ(CPhoneCardBase::SmsRspToSmsInfoVec(partial).size(), complete) << length;
    }
    EXPECT_EQ(modem.OnReadAllSmsCmdRsp(reply.substr(0, ok + 2)), COM_CMD_OK);
    EXPECT_EQ(modem.GetReadSms().size(), 4u);
}

TEST(ListingReply, ErrorKeepsThePreviousList)
{
    modem_test::UseUtf8Environment();
    CPhoneCardBase modem;
    ASSERT_EQ(modem.OnReadAllSmsCmdRsp(Fixture("orvast/cmgl_sms_done.txt")), COM_CMD_OK);
    EXPECT_EQ(modem.OnReadAllSmsCmdRsp("\r\n+CMS ERROR: 321\r\n"), COM_CMD_ERROR);
    EXPECT_EQ(modem.GetErrorMessage(), "+CMS ERROR: 321");
    EXPECT_EQ(modem.GetReadSms().size(), 1u);
}

TEST(ListingReply, StorageFullClosesTheListingToo)
{
    modem_test::UseUtf8Environment();
    CPhoneCardBase modem;
    modem.OnGetAtCmdRsp("\r\n+CME ERROR: 10\r\n");
    EXPECT_EQ(modem.OnReadAllSmsCmdRsp("\r\n+CMGL: 1,1,,24\r\n"
                                       "0891683108100005F0040D91683119325476F8000891801021504023044F"
                                       "60597D\r\n\r\nSMS FULL\r\n"),
              COM_CMD_OK);
    EXPECT_EQ(modem.GetReadSms().size(), 1u);
    EXPECT_EQ(modem.GetErrorMessage(), "+CME ERROR: 10");
}

TEST(ListingReply, UnknownStatusGivesAnEmptyMessage)
{
    modem_test::UseUtf8Environment();
    const auto records = CPhoneCardBase::SmsRspToSmsInfoVec(
        "\r\n+CMGL: 4,7,,24\r\n"
        "0891683108100005F0040D91683119325476F8000891801021504023044F60597D\r\n");
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].mode.stat, 7);
    ExpectMessages(CPhoneCardBase::SmsInfoVecToSmsRecvStructVec(records), {{"", "", ""}});
}

// Noise or a cut line can cost a header its PDU line. What stands in its
// place is no message, and the message after it is kept; the header's index
// is named as unread.
struct LostLineCase {
    const char *name;
    std::string reply;
    std::vector<Expected> messages;
    std::vector<std::string> unread;
};

void PrintTo(const LostLineCase &c, std::ostream *os)
{
    *os << c.name;
}

// A's "你好" and B's "Meeting at 10" (the first two of tarnel/cmgl_mixed.txt).
const std::string kPduA = "0891683108100005F0040D91683119325476F8000891801021504023044F60597D";
const std::string kPduB =
    "0891683108100005F0040D91683185674523F10008918020900351801A004D0065006500740069006E00670020006100"
    "74002000310030";
const Expected kMessageA = {kSenderA, "19-08-01 12:05:04", "你好"};
const Expected kMessageB = {kSenderB, "19-08-02 09:30:15", "Meeting at 10"};

const LostLineCase kLostLineCases[] = {
    {"NothingLost", "\r\n+CMGL: 0,1,,24\r\n" + kPduA + "\r\n+CMGL: 2,0,,46\r\n" + kPduB + "\r\n\r\nOK\r\n",
     {kMessageA, kMessageB}, {}},
    {"HeaderRightBeforeOk", "\r\n+CMGL: 0,1,,24\r\n" + kPduA + "\r\n+CMGL: 2,0,,46\r\n\r\nOK\r\n",
     {kMessageA}, {"2"}},
    {"HeaderRightBeforeSmsDone", "\r\n+CMGL: 0,1,,24\r\n" + kPduA + "\r\n+CMGL: 2,0,,46\r\nSMS DONE\r\n",
     {kMessageA}, {"2"}},
    {"HeaderInPlaceOfThePdu", "\r\n+CMGL: 0,1,,24\r\n+CMGL: 2,0,,46\r\n" + kPduB + "\r\n\r\nOK\r\n",
     {kMessageB}, {"0"}},
    {"NoiseInPlaceOfThePdu",
     "\r\n+CMGL: 0,1,,24\r\n\x7f\x1b[?25l\xff\r\n+CMGL: 2,0,,46\r\n" + kPduB + "\r\n\r\nOK\r\n",
     {kMessageB}, {"0"}},
    {"PduWithNoiseInIt",
     "\r\n+CMGL: 0,1,,24\r\n" + kPduA.substr(0, 20) + "~" + kPduA.substr(21) + "\r\n+CMGL: 2,0,,46\r\n" + kPduB
         + "\r\n\r\nOK\r\n",
     {kMessageB}, {"0"}},
    {"EveryPduLost", "\r\n+CMGL: 0,1,,24\r\n+CMGL: 2,0,,46\r\n\r\nOK\r\n", {}, {"0", "2"}},
};

class LostPduLine : public ::testing::TestWithParam<LostLineCase> {
protected:
    void SetUp() override { modem_test::UseUtf8Environment(); }
};

TEST_P(LostPduLine, NoMessageForTheHeaderAndTheNextOneKept)
{
    const LostLineCase &c = GetParam();
    CPhoneCardBase modem;
    ASSERT_EQ(modem.OnReadAllSmsCmdRsp(c.reply), COM_CMD_OK);
    ExpectMessages(modem.GetReadSms(), c.messages);
    EXPECT_EQ(modem.GetUnreadSmsIndices(), c.unread);
}

INSTANTIATE_TEST_SUITE_P(Listings, LostPduLine, ::testing::ValuesIn(kLostLineCases),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(ListingReply, HeaderThatYieldsNoIndexLeavesTheNextLineToBeAHeader)
{
    modem_test::UseUtf8Environment();
    const auto records = CPhoneCardBase::SmsRspToSmsInfoVec(
        "\r\n+CMGL: x\r\n+CMGL: 2,1,,24\r\n"
        "0891683108100005F0040D91683119325476F8000891801021504023044F60597D\r\n\r\nOK\r\n");
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].mode.index, 2);
}

TEST(HeaderLine, IndexAndStatus)
{
    const struct {
        const char *line;
        int index;
        int stat;
    } cases[] = {
        {"+CMGL: 7,1,,25\r", 7, 1},
        {"+CMGL: 12,0,,22", 12, 0},
        {"+CMGL: 4,2", 4, 2},
        {"+CMGL: 12", -1, -1},
        {"+CMGR: 1,,24", -1, -1},
        {"", -1, -1},
        {"+CMGL: -3,1,,25", -3, -1},
        {"+CMGL: 99999999999999999999,1,,25", INT_MAX, 1},
    };
    for (const auto &c : cases) {
        const SmsMode mode = CPhoneCardBase::StrToSmsMode(c.line);
        EXPECT_EQ(mode.index, c.index) << c.line;
        EXPECT_EQ(mode.stat, c.stat) << c.line;
    }
}

TEST(TimeStamp, ReadableForm)
{
    EXPECT_EQ(CPhoneCardBase::ReceiveTimeToReadStr("19080112050432"), "19-08-01 12:05:04");
    EXPECT_EQ(CPhoneCardBase::ReceiveTimeToReadStr("1908011205043"), "19-08-01 12:05:04");
    EXPECT_EQ(CPhoneCardBase::ReceiveTimeToReadStr("190801120504"), "");
    EXPECT_EQ(CPhoneCardBase::ReceiveTimeToReadStr(""), "");
    EXPECT_EQ(CPhoneCardBase::ReceiveTimeToReadStr(nullptr), "");
}

TEST(HexDigits, UpperAndLowerCase)
{
    for (char c : std::string("0123456789ABCDEFabcdef"))
        EXPECT_TRUE(IsHexChar(c)) << c;
    for (char c : std::string("GgZ \r\n\x1A", 8))
        EXPECT_FALSE(IsHexChar(c)) << static_cast<int>(c);
}

// Centre time stamps (YYMMDDhhmmss and the zone) of the parts below.
const char kNoon[] = "19080312000032";
const char kNoonAndASecond[] = "19080312000132";
const char kDaysLater[] = "19080501000032";
const char kDaysLaterAndASecond[] = "19080501000132";

// A decoded UCS2 long part as the decoder leaves it, for the cases no
// well-formed listing produces.
SmsInfo Part(int index, const std::string &sender, int ref, int total, int part,
             const std::string &hex, const char *timeStamp = kNoon)
{
    SmsInfo info;
    info.mode.index = index;
    info.mode.stat = 1;
    std::strncpy(info.param.peerNumber, sender.c_str(), sizeof info.param.peerNumber - 1);
    std::strncpy(info.param.timeStamp, timeStamp, sizeof info.param.timeStamp - 1);
    info.param.isLongPart = true;
    info.param.dataCoding = GSM_DCS_UCS2;
    info.param.groupRef = static_cast<short>(ref);
    info.param.concatRef = static_cast<unsigned char>(ref);
    info.param.groupTotal = static_cast<short>(total);
    info.param.partNumber = static_cast<short>(part);
    std::strncpy(info.param.partHex, hex.c_str(), sizeof info.param.partHex - 1);
    info.param.partHexLength = static_cast<int>(hex.size());
    return info;
}

std::vector<std::string> Contents(const std::vector<SmsRecvStruct_t> &messages)
{
    std::vector<std::string> contents;
    for (const auto &m : messages)
        contents.push_back(m.content);
    return contents;
}

struct JoinCase {
    const char *name;
    std::vector<SmsInfo> parts;
    std::vector<std::string> contents;
};

void PrintTo(const JoinCase &c, std::ostream *os)
{
    *os << c.name;
}

class Join : public ::testing::TestWithParam<JoinCase> {
protected:
    void SetUp() override { modem_test::UseUtf8Environment(); }
};

TEST_P(Join, PartsOfOneMessageOnly)
{
    EXPECT_EQ(Contents(CPhoneCardBase::SmsInfoVecToSmsRecvStructVec(GetParam().parts)),
              GetParam().contents);
}

// "AB", "CD", "EF" and "GH" in UCS2.
const std::string kAB = "00410042";
const std::string kCD = "00430044";
const std::string kEF = "00450046";
const std::string kGH = "00470048";

INSTANTIATE_TEST_SUITE_P(
    Storages, Join,
    ::testing::Values(
        JoinCase{"PartsOutOfOrder",
                 {Part(0, kSenderA, 9, 3, 3, kEF), Part(1, kSenderA, 9, 3, 1, kAB),
                  Part(2, kSenderA, 9, 3, 2, kCD)},
                 {"ABCDEF"}},
        // Each message misses a part: what is there stays apart.
        JoinCase{"IncompleteMessagesWithRisingPartNumbers",
                 {Part(0, kSenderA, 9, 2, 1, kAB), Part(1, kSenderB, 10, 2, 2, kCD)},
                 {"AB", "CD"}},
        JoinCase{"SameReferenceFromTwoSenders",
                 {Part(0, kSenderA, 9, 2, 1, kAB), Part(1, kSenderB, 9, 2, 1, kCD),
                  Part(2, kSenderA, 9, 2, 2, kEF), Part(3, kSenderB, 9, 2, 2, kAB)},
                 {"ABEF", "CDAB"}},
        // A part joins the first message of its sender, reference and part
        // count that still lacks its number; otherwise it begins a new one.
        JoinCase{"SecondCopyOfAPart",
                 {Part(0, kSenderA, 9, 2, 1, kAB), Part(1, kSenderA, 9, 2, 1, kCD),
                  Part(2, kSenderA, 9, 2, 2, kEF)},
                 {"ABEF", "CD"}},
        JoinCase{"OneReferenceTwiceInOrder",
                 {Part(0, kSenderA, 9, 2, 1, kAB), Part(1, kSenderA, 9, 2, 2, kCD),
                  Part(2, kSenderA, 9, 2, 1, kEF), Part(3, kSenderA, 9, 2, 2, kGH)},
                 {"ABCD", "EFGH"}},
        JoinCase{"OneReferenceTwiceInterleaved",
                 {Part(0, kSenderA, 9, 2, 1, kAB), Part(1, kSenderA, 9, 2, 1, kEF),
                  Part(2, kSenderA, 9, 2, 2, kCD), Part(3, kSenderA, 9, 2, 2, kGH)},
                 {"ABCD", "EFGH"}},
        JoinCase{"OneReferenceTwiceEachOutOfOrder",
                 {Part(0, kSenderA, 9, 2, 2, kCD), Part(1, kSenderA, 9, 2, 1, kAB),
                  Part(2, kSenderA, 9, 2, 2, kGH), Part(3, kSenderA, 9, 2, 1, kEF)},
                 {"ABCD", "EFGH"}},
        JoinCase{"OneReferenceTwiceThreeParts",
                 {Part(0, kSenderA, 9, 3, 1, kAB), Part(1, kSenderA, 9, 3, 2, kCD),
                  Part(2, kSenderA, 9, 3, 1, kEF), Part(3, kSenderA, 9, 3, 3, kGH),
                  Part(4, kSenderA, 9, 3, 2, kAB), Part(5, kSenderA, 9, 3, 3, kCD)},
                 {"ABCDGH", "EFABCD"}},
        // Both messages lack a part 2 when the first part 2 comes: it joins
        // the one sent closest to it in time.
        JoinCase{"OneReferenceTwiceDaysApart",
                 {Part(0, kSenderA, 9, 2, 1, kAB, kNoon), Part(1, kSenderA, 9, 2, 1, kEF, kDaysLater),
                  Part(2, kSenderA, 9, 2, 2, kGH, kDaysLaterAndASecond),
                  Part(3, kSenderA, 9, 2, 2, kCD, kNoonAndASecond)},
                 {"ABCD", "EFGH"}},
        // Nothing tells the two apart: the first message that lacks the part
        // takes it.
        JoinCase{"OneReferenceTwiceAtOneTime",
                 {Part(0, kSenderA, 9, 2, 1, kAB), Part(1, kSenderA, 9, 2, 1, kEF),
                  Part(2, kSenderA, 9, 2, 2, kGH), Part(3, kSenderA, 9, 2, 2, kCD)},
                 {"ABGH", "EFCD"}},
        JoinCase{"PartWithoutReadableTime",
                 {Part(0, kSenderA, 9, 2, 1, kAB, kNoon), Part(1, kSenderA, 9, 2, 1, kEF, kDaysLater),
                  Part(2, kSenderA, 9, 2, 2, kGH, "1908050100"),
                  Part(3, kSenderA, 9, 2, 2, kCD, kNoonAndASecond)},
                 {"ABGH", "EFCD"}},
        JoinCase{"MessageWithoutReadableTime",
                 {Part(0, kSenderA, 9, 2, 1, kAB, "19O8031200003Z"),
                  Part(1, kSenderA, 9, 2, 1, kEF, kDaysLater),
                  Part(2, kSenderA, 9, 2, 2, kGH, kDaysLaterAndASecond),
                  Part(3, kSenderA, 9, 2, 2, kCD, kNoonAndASecond)},
                 {"ABGH", "EFCD"}},
        // The part count tells two messages apart as well.
        JoinCase{"OneReferenceDifferentPartCounts",
                 {Part(0, kSenderA, 9, 2, 1, kAB), Part(1, kSenderA, 9, 3, 1, kCD),
                  Part(2, kSenderA, 9, 2, 2, kEF), Part(3, kSenderA, 9, 3, 2, kGH),
                  Part(4, kSenderA, 9, 3, 3, kAB)},
                 {"ABEF", "CDGHAB"}},
        JoinCase{"TotalOfZeroKeepsItsText",
                 {Part(0, kSenderA, 9, 0, 1, kAB), Part(1, kSenderA, 9, 0, 2, kCD)},
                 {"ABCD"}},
        JoinCase{"TotalOfZeroAlone", {Part(0, kSenderA, 9, 0, 0, kAB)}, {"AB"}},
        // The part's text ends at its first character that is no hex digit.
        JoinCase{"HexEndsAtOtherCharacter",
                 {Part(0, kSenderA, 9, 2, 1, kAB + "\r" + kCD), Part(1, kSenderA, 9, 2, 2, kEF)},
                 {"ABEF"}},
        // An odd digit is left out so that the next part keeps its characters.
        JoinCase{"OddDigitCount",
                 {Part(0, kSenderA, 9, 2, 1, kAB + "0"), Part(1, kSenderA, 9, 2, 2, kEF)},
                 {"ABEF"}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(JoinBounds, RecordedLengthBeyondTheBufferIsNotRead)
{
    modem_test::UseUtf8Environment();
    SmsInfo part = Part(0, kSenderA, 9, 1, 1, "");
    std::memset(part.param.partHex, 'A', sizeof part.param.partHex);
    part.param.partHexLength = 100000;
    const auto messages = CPhoneCardBase::SmsInfoVecToSmsRecvStructVec({part});
    ASSERT_EQ(messages.size(), 1u);
    part.param.partHexLength = -5;
    EXPECT_EQ(Contents(CPhoneCardBase::SmsInfoVecToSmsRecvStructVec({part})),
              std::vector<std::string>{""});
}

}  // namespace

TEST(PrintRecvSmsList, HostileTextsArePrintedVisiblyNotEmitted)
{
    std::vector<SmsRecvStruct_t> list(1);
    list[0].number = "+86138\r00138000";
    list[0].time = "19-06-06 10:22:32";
    list[0].content = "\x1b[2J清屏\x07\nsecond line";
    testing::internal::CaptureStdout();
    PrintRecvSmsList(list);
    const std::string out = testing::internal::GetCapturedStdout();
    const std::string dashes(50, '-');
    EXPECT_EQ(out, dashes + "\n 第 1 条短信\n发送号码: +86138\\r00138000\n"
                   "发送时间: 19-06-06 10:22:32\n短信内容: \\x1b[2J清屏\\x07\nsecond line\n" +
                   dashes + "\n");
}
