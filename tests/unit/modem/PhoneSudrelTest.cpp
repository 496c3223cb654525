// CPhone_Sudrel, the CDMA module that sends and reads in text mode with raw
// UCS2 bytes: the send steps with their part markers, the judge of the send
// reply, the "^HCMGL" listing and the "^HCMGR" fetch.
#include <ostream>

#include "ModemTestSupport.h"
#include "Phone_Sudrel.h"

using modem_test::Fixture;
using modem_test::MemberAccess;

namespace {

const std::string kEnd("\0\x1A", 2);
const std::string kCmd = "AT^HCMGS=\"13912345678\"\r";

// The UCS2 bytes of a plain text: a zero byte before every character.
std::string Ucs2(const std::string &ascii)
{
    std::string bytes;
    for (char c : ascii) {
        bytes += '\0';
        bytes += c;
    }
    return bytes;
}

std::string Repeat(const std::string &piece, int times)
{
    std::string text;
    for (int i = 0; i < times; ++i)
        text += piece;
    return text;
}

class SudrelSend : public ::testing::Test {
protected:
    void SetUp() override { modem_test::UseUtf8Environment(); }
    CPhone_Sudrel modem;
};

TEST_F(SudrelSend, ShortTextIsOneStepWithoutMarker)
{
    const auto steps = modem.GetSendPduSmsCmdArray("13912345678", "Hi");
    ASSERT_EQ(steps.size(), 1u);
    EXPECT_EQ(steps[0].cmd, kCmd);
    EXPECT_EQ(steps[0].pdu, Ucs2("Hi") + kEnd);
}

TEST_F(SudrelSend, TextOf140BytesIsOneStep)
{
    const std::string text = Repeat("中", 46) + "ab";
    const auto steps = modem.GetSendPduSmsCmdArray("13912345678", text);
    ASSERT_EQ(steps.size(), 1u);
    EXPECT_EQ(steps[0].pdu.size(), 96u + 2u);
    EXPECT_EQ(steps[0].pdu.substr(0, 2), "\x4E\x2D");
    EXPECT_EQ(steps[0].pdu.substr(92), Ucs2("ab") + kEnd);
}

TEST_F(SudrelSend, EmptyTextSendsTheTerminatorAlone)
{
    const auto steps = modem.GetSendPduSmsCmdArray("13912345678", "");
    ASSERT_EQ(steps.size(), 1u);
    EXPECT_EQ(steps[0].pdu, kEnd);
}

struct PartsCase {
    const char *name;
    std::string text;
    std::vector<std::string> markers;
    std::vector<std::size_t> partBytes;
};

void PrintTo(const PartsCase &c, std::ostream *os)
{
    *os << c.name;
}

class SudrelParts : public SudrelSend, public ::testing::WithParamInterface<PartsCase> {};

TEST_P(SudrelParts, EachPartEndsWithItsMarker)
{
    const PartsCase &c = GetParam();
    const auto steps = modem.GetSendPduSmsCmdArray("13912345678", c.text);
    ASSERT_EQ(steps.size(), c.markers.size());
    std::string joined;
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const std::string &pdu = steps[i].pdu;
        EXPECT_EQ(steps[i].cmd, kCmd) << i;
        EXPECT_EQ(pdu.size(), c.partBytes[i]) << i;
        const std::string tail = Ucs2(c.markers[i]) + kEnd;
        ASSERT_GE(pdu.size(), tail.size());
        EXPECT_EQ(pdu.substr(pdu.size() - tail.size()), tail) << i;
        joined += pdu.substr(0, pdu.size() - tail.size());
    }
    // The pieces put together are the whole text, zero bytes included.
    std::vector<unsigned char> whole((c.text.size() + 2) * 2);
    const int n = gsmEncodeUcs2(c.text.c_str(), whole.data(), static_cast<int>(c.text.size()));
    EXPECT_EQ(joined, std::string(reinterpret_cast<const char *>(whole.data()), n));
}

std::vector<PartsCase> SudrelPartsCases()
{
    std::vector<PartsCase> cases = {
        PartsCase{"ThreeParts", std::string(150, 'a'), {"(1/3)", "(2/3)", "(3/3)"}, {140, 140, 56}},
        PartsCase{"ExactlyTwoFullParts", std::string(128, 'b'), {"(1/2)", "(2/2)"}, {140, 140}},
        // U+4E00: its UCS2 form holds a zero byte.
        PartsCase{"ZeroBytesInsideTheText", Repeat("一", 50) + std::string(60, 'c'), {"(1/2)", "(2/2)"}, {140, 104}},
    };
    // 180 bytes in UTF-8 but 120 in UCS2: one part, marked all the same. In
    // code page 936 a Chinese text takes as many bytes as its UCS2 form, so
    // this case has no counterpart there.
    if (kConsoleBytesPerChinese == 3) {
        cases.push_back(PartsCase{"OneMarkedPart", Repeat("中", 60), {"(1/1)"}, {132}});
        // The code page has no emoji either; SudrelUcs2Parts covers that build.
        cases.push_back(PartsCase{"EmojiStaysWhole", std::string(63, 'a') + "\xF0\x9F\x98\x80" + std::string(100, 'b'),
                                  {"(1/3)", "(2/3)", "(3/3)"}, {138, 140, 88}});
    }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Texts, SudrelParts, ::testing::ValuesIn(SudrelPartsCases()),
                         [](const auto &info) { return std::string(info.param.name); });

// The split itself, from UCS2 bytes, in every build: a part whose 128 bytes
// of room would end on the high half of a surrogate pair ends one unit
// earlier, and the markers count the parts so cut.
struct Ucs2PartsCase {
    const char *name;
    std::string ucs2;
    std::vector<std::string> markers;
    std::vector<std::size_t> partBytes;
};

void PrintTo(const Ucs2PartsCase &c, std::ostream *os)
{
    *os << c.name;
}

class SudrelUcs2Parts : public SudrelSend, public ::testing::WithParamInterface<Ucs2PartsCase> {};

const std::string kGrinningFace("\xD8\x3D\xDE\x00", 4);  // U+1F600

TEST_P(SudrelUcs2Parts, KeepEveryPairWhole)
{
    const Ucs2PartsCase &c = GetParam();
    const std::vector<std::string> payloads = CPhone_Sudrel::SplitUcs2IntoParts(c.ucs2);
    ASSERT_EQ(payloads.size(), c.markers.size());
    std::string joined;
    for (std::size_t i = 0; i < payloads.size(); ++i) {
        const std::string tail = Ucs2(c.markers[i]) + kEnd;
        EXPECT_EQ(payloads[i].size(), c.partBytes[i]) << i;
        ASSERT_GE(payloads[i].size(), tail.size());
        EXPECT_EQ(payloads[i].substr(payloads[i].size() - tail.size()), tail) << i;
        joined += payloads[i].substr(0, payloads[i].size() - tail.size());
    }
    EXPECT_EQ(joined, c.ucs2);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, SudrelUcs2Parts,
    ::testing::Values(
        Ucs2PartsCase{"PairAtTheFirstCut", Ucs2(std::string(63, 'a')) + kGrinningFace + Ucs2(std::string(100, 'b')),
                      {"(1/3)", "(2/3)", "(3/3)"}, {138, 140, 88}},
        // 256 bytes fill two parts when cut anywhere; the pair kept whole
        // leaves one letter for a third.
        Ucs2PartsCase{"PairAddsAPart", Ucs2(std::string(63, 'a')) + kGrinningFace + Ucs2(std::string(63, 'b')),
                      {"(1/3)", "(2/3)", "(3/3)"}, {138, 140, 14}},
        Ucs2PartsCase{"PairAfterTheCut", Ucs2(std::string(64, 'a')) + kGrinningFace + Ucs2(std::string(60, 'b')),
                      {"(1/2)", "(2/2)"}, {140, 136}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(SudrelSend, ManyPartsMarkerTotalCountsTheParts)
{
    // 1400 UCS2 bytes: from part 10 on the markers take more than 12 bytes.
    const auto steps = modem.GetSendPduSmsCmdArray("13912345678", std::string(700, 'z'));
    ASSERT_GE(steps.size(), 11u);
    const std::string total = std::to_string(steps.size());
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const std::string tail = Ucs2("(" + std::to_string(i + 1) + "/" + total + ")") + kEnd;
        const std::string &pdu = steps[i].pdu;
        EXPECT_LE(pdu.size(), 140u) << i;
        ASSERT_GE(pdu.size(), tail.size());
        EXPECT_EQ(pdu.substr(pdu.size() - tail.size()), tail) << i;
    }
}

TEST(SudrelSendReply, SentFailedOrWaiting)
{
    const struct {
        const char *reply;
        COM_CMD_OPERATE_RESULT_t verdict;
        const char *error;
    } cases[] = {
        {"\r\n^HCMGSS:12\r\n\r\nOK\r\n", COM_CMD_OK, ""},
        {"\r\nOK\r\n", COM_CMD_WAIT, ""},
        {"\r\n^HCMGSS:12", COM_CMD_WAIT, ""},
        {"\r\n+CME ERROR: 3\r\n", COM_CMD_ERROR, "+CME ERROR: 3"},
        {"\r\n^HCMGSF:96\r\n", COM_CMD_ERROR, "^HCMGSF:96"},
        // A refusal with a number the GSM modems retry on is not retried here.
        {"\r\n+CMS ERROR: 500\r\n", COM_CMD_ERROR, "+CMS ERROR: 500"},
    };
    for (const auto &c : cases) {
        CPhone_Sudrel modem;
        EXPECT_EQ(modem.OnSendPduSmsContextCmdRsp(c.reply), c.verdict) << c.reply;
        EXPECT_EQ(modem.GetErrorMessage(), c.error) << c.reply;
        EXPECT_FALSE(modem.IsSendPduSmsRetry()) << c.reply;
    }
}

TEST(SudrelListing, IndicesToFetch)
{
    CPhone_Sudrel modem;
    ASSERT_EQ(modem.OnReadAllSmsCmdRsp(Fixture("sudrel/hcmgl.txt")), COM_CMD_OK);
    std::vector<std::string> fetches;
    while (modem.NotFinished())
        fetches.push_back(modem.GetReadNextSmsCmd());
    EXPECT_EQ(fetches, (std::vector<std::string>{"AT^HCMGR=0\r\n", "AT^HCMGR=3\r\n"}));
    EXPECT_EQ(modem.GetReadNextSmsCmd(), "");
}

TEST(SudrelListing, WaitsForTheWholeListing)
{
    const std::string reply = Fixture("sudrel/hcmgl.txt");
    const std::size_t ok = reply.rfind("OK");
    CPhone_Sudrel modem;
    for (std::size_t length = 0; length < ok; ++length)
        ASSERT_EQ(modem.OnReadAllSmsCmdRsp(reply.substr(0, length)), COM_CMD_WAIT) << length;
    EXPECT_FALSE(modem.NotFinished());
    EXPECT_EQ(modem.OnReadAllSmsCmdRsp(reply), COM_CMD_OK);
    EXPECT_TRUE(modem.NotFinished());
}

TEST(SudrelListing, ErrorFailsTheStorage)
{
    CPhone_Sudrel modem;
    EXPECT_EQ(modem.OnReadAllSmsCmdRsp("\r\n+CMS ERROR: 302\r\n"), COM_CMD_ERROR);
    EXPECT_EQ(modem.GetErrorMessage(), "+CMS ERROR: 302");
    EXPECT_FALSE(modem.NotFinished());
}

struct FetchCase {
    const char *name;
    std::string reply;
    std::vector<SmsRecvStruct_t> messages;
};

void PrintTo(const FetchCase &c, std::ostream *os)
{
    *os << c.name;
}

SmsRecvStruct_t Sms(const std::string &number, const std::string &time, const std::string &content)
{
    SmsRecvStruct_t sms;
    sms.number = number;
    sms.time = time;
    sms.content = content;
    return sms;
}

const std::string kHeader6 = "\r\n^HCMGR:13912345678,2019,06,05,10,22,32,0,6,10,0,0,0,1\r\n";
const std::string kHeader1 = "\r\n^HCMGR:13912345678,2019,06,05,10,22,32,0,1,5,0,0,0,1\r\n";
const std::string kFinal = "\r\n\r\nOK\r\n";
const std::string kTime = "2019-06-05 10:22:32";

class SudrelFetch : public ::testing::TestWithParam<FetchCase> {
protected:
    void SetUp() override { modem_test::UseUtf8Environment(); }
};

// A fetch that stores no message names its index as unread.
TEST_P(SudrelFetch, StoresCompleteMessages)
{
    const FetchCase &c = GetParam();
    CPhone_Sudrel modem;
    ASSERT_EQ(modem.OnReadAllSmsCmdRsp("\r\n^HCMGL:7,1\r\n\r\nOK\r\n"), COM_CMD_OK);
    modem.GetReadNextSmsCmd();
    EXPECT_EQ(modem.OnReadNextSmsCmdRsp(c.reply), 1);
    EXPECT_EQ(modem.GetUnreadSmsIndices(),
              c.messages.empty() ? std::vector<std::string>{"7"} : std::vector<std::string>{});
    const auto got = modem.GetReadSms();
    ASSERT_EQ(got.size(), c.messages.size());
    for (std::size_t i = 0; i < got.size(); ++i) {
        EXPECT_EQ(got[i].number, c.messages[i].number) << i;
        EXPECT_EQ(got[i].time, c.messages[i].time) << i;
        EXPECT_EQ(got[i].content, c.messages[i].content) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Replies, SudrelFetch,
    ::testing::Values(
        FetchCase{"PlainText", Fixture("sudrel/hcmgr_text.txt"),
                  {Sms("13912345678", kTime, "Hello")}},
        FetchCase{"Ucs2Text", kHeader6 + Ucs2("Hello") + kEnd + kFinal,
                  {Sms("13912345678", kTime, "Hello")}},
        // U+4E0A and U+4E0D carry an LF and a CR byte.
        FetchCase{"Ucs2WithLineEndBytes", kHeader6 + std::string("\x4E\x0A\x4E\x0D", 4) + kEnd + kFinal,
                  {Sms("13912345678", kTime, "上不")}},
        FetchCase{"PlainTextHoldingOk", kHeader1 + "OK, see you\x1A" + kFinal,
                  {Sms("13912345678", kTime, "OK, see you")}},
        FetchCase{"PlainTextOverTwoLines", kHeader1 + "line one\r\nline two\x1A" + kFinal,
                  {Sms("13912345678", kTime, "line one\r\nline two")}},
        FetchCase{"TwoMessages", kHeader1 + "one\x1A\r\n" + kHeader1 + "two\x1A" + kFinal,
                  {Sms("13912345678", kTime, "one"), Sms("13912345678", kTime, "two")}},
        FetchCase{"BlankAfterTag",
                  "\r\n^HCMGR: 13912345678,2019,06,05,10,22,32,0,1,5,0,0,0,1\r\nHi\x1A" + kFinal,
                  {Sms(" 13912345678", kTime, "Hi")}},
        // Texts whose terminator did not come are read line by line.
        FetchCase{"PlainTextWithoutTerminator", kHeader1 + "Hello\r\r\n\r\nOK\r\n",
                  {Sms("13912345678", kTime, "Hello")}},
        FetchCase{"HeaderWithTooFewFields", "\r\n^HCMGR:13912345678,2019,06,05,10,22,32,0\r\nHi\x1A" + kFinal,
                  {}},
        FetchCase{"UnknownEncoding", "\r\n^HCMGR:13912345678,2019,06,05,10,22,32,0,2,5\r\nHi\x1A" + kFinal,
                  {}},
        FetchCase{"EmptyText", kHeader6 + kEnd + kFinal, {}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(SudrelFetchReply, WithoutOkNothingChanges)
{
    CPhone_Sudrel modem;
    EXPECT_EQ(modem.OnReadNextSmsCmdRsp(kHeader1 + "Hello\x1A\r\n"), 0);
    EXPECT_TRUE(modem.GetReadSms().empty());
}

TEST(SudrelFetchReply, ListingStartsANewPass)
{
    modem_test::UseUtf8Environment();
    CPhone_Sudrel modem;
    modem.OnReadNextSmsCmdRsp(Fixture("sudrel/hcmgr_text.txt"));
    ASSERT_EQ(modem.GetReadSms().size(), 1u);
    modem.OnReadAllSmsCmdRsp("\r\nOK\r\n");
    EXPECT_TRUE(modem.GetReadSms().empty());
}

}  // namespace
