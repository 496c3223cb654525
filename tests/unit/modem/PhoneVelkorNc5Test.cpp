// CPhone_Velkor_NC5 reads a storage one index at a time: "AT+CMGD=?" lists the
// indices in use, each is fetched with "AT+CMGR=", and the pass's messages are
// joined from what it fetched.
#include <ostream>
#include <set>

#include "ModemTestSupport.h"
#include "Phone_Velkor_NC5.h"

using modem_test::FetchRepliesOf;
using modem_test::Fixture;

namespace {

struct IndexCase {
    const char *name;
    std::string reply;
    COM_CMD_OPERATE_RESULT_t verdict;
    std::vector<std::string> fetches;
};

void PrintTo(const IndexCase &c, std::ostream *os)
{
    *os << c.name;
}

std::vector<std::string> Fetches(CPhone_Velkor_NC5 &modem)
{
    std::vector<std::string> cmds;
    while (modem.NotFinished() && cmds.size() < 10)
        cmds.push_back(modem.GetReadNextSmsCmd());
    return cmds;
}

class IndexList : public ::testing::TestWithParam<IndexCase> {};

TEST_P(IndexList, GivesTheFetchCommands)
{
    const IndexCase &c = GetParam();
    CPhone_Velkor_NC5 modem;
    EXPECT_EQ(modem.OnReadAllSmsCmdRsp(c.reply), c.verdict);
    EXPECT_EQ(Fetches(modem), c.fetches);
    EXPECT_EQ(modem.GetReadNextSmsCmd(), "");
}

INSTANTIATE_TEST_SUITE_P(
    Replies, IndexList,
    ::testing::Values(
        // Only the first group counts: the second is the range of flags.
        IndexCase{"ThreeIndices",
                  "\r\n+CMGD: (1,2,5),(0-4)\r\n\r\nOK\r\n",
                  COM_CMD_OK,
                  {"AT+CMGR=1\r\n", "AT+CMGR=2\r\n", "AT+CMGR=5\r\n"}},
        IndexCase{"EmptyStorage", "\r\n+CMGD: (),(0-4)\r\n\r\nOK\r\n", COM_CMD_OK, {}},
        // The pieces go back as the module wrote them.
        IndexCase{"BlanksKept",
                  "\r\n+CMGD: (0, 1),(0-4)\r\n\r\nOK\r\n",
                  COM_CMD_OK,
                  {"AT+CMGR=0\r\n", "AT+CMGR= 1\r\n"}},
        IndexCase{"RangeNotExpanded",
                  "\r\n+CMGD: (0-4),(0-4)\r\n\r\nOK\r\n",
                  COM_CMD_OK,
                  {"AT+CMGR=0-4\r\n"}},
        IndexCase{"NoParentheses", "\r\n+CMGD: 1,2\r\n\r\nOK\r\n", COM_CMD_OK, {}},
        IndexCase{"Error", "\r\n+CMS ERROR: 302\r\n", COM_CMD_ERROR, {}},
        IndexCase{"NotYetComplete", "\r\n+CMGD: (1,2,5),(0-4)\r\n", COM_CMD_WAIT, {}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(IndexList, ErrorTextKept)
{
    CPhone_Velkor_NC5 modem;
    modem.OnReadAllSmsCmdRsp("\r\n+CMS ERROR: 302\r\n");
    EXPECT_EQ(modem.GetErrorMessage(), "+CMS ERROR: 302");
}

TEST(IndexList, ReplyWithoutParenthesesLeavesPendingIndices)
{
    CPhone_Velkor_NC5 modem;
    ASSERT_EQ(modem.OnReadAllSmsCmdRsp("\r\n+CMGD: (3,4),(0-4)\r\n\r\nOK\r\n"), COM_CMD_OK);
    EXPECT_EQ(modem.OnReadAllSmsCmdRsp("\r\n+CMGD: 1,2\r\n\r\nOK\r\n"), COM_CMD_OK);
    EXPECT_EQ(Fetches(modem), (std::vector<std::string>{"AT+CMGR=3\r\n", "AT+CMGR=4\r\n"}));
}

class ReadPass : public ::testing::Test {
protected:
    void SetUp() override { modem_test::UseUtf8Environment(); }

    // One storage pass as the read flow runs it, with the replies in fetch order.
    std::vector<SmsRecvStruct_t> Pass(const std::string &indexReply,
                                      const std::vector<std::string> &fetchReplies)
    {
        EXPECT_EQ(modem.OnReadAllSmsCmdRsp(indexReply), COM_CMD_OK);
        std::size_t i = 0;
        while (modem.NotFinished() && i < fetchReplies.size()) {
            modem.GetReadNextSmsCmd();
            EXPECT_EQ(modem.OnReadNextSmsCmdRsp(fetchReplies[i++]), 1);
        }
        return modem.GetReadSms();
    }

    CPhone_Velkor_NC5 modem;
};

TEST_F(ReadPass, LastFetchJoinsTheCollectedMessages)
{
    const auto messages =
        Pass("\r\n+CMGD: (1,2,5),(0-4)\r\n\r\nOK\r\n",
             {Fixture("velkor_nc5/cmgr_long_second.txt"), Fixture("velkor_nc5/cmgr_short.txt"),
              Fixture("velkor_nc5/cmgr_long_first.txt")});
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].number, "8613587654321");
    EXPECT_EQ(messages[0].content, "Meeting at 10");
    EXPECT_EQ(messages[1].number, "8613912345678");
    EXPECT_EQ(messages[1].time, "19-08-03 14:20:02");
    EXPECT_EQ(messages[1].content, "第一部分第二部分");
}

// Every fetched record carries the same index, so the parts sort by number
// alone; two messages under one reference still come out whole, whichever
// order the fetches bring their parts in. In the second storage the counter
// came round 37 hours later: A1 and B1 both lack their part 2, and each
// part 2 goes to the message sent when it was.
TEST_F(ReadPass, TwoLongMessagesUnderOneReference)
{
    const struct {
        const char *fixture;
        const char *order;  // parts as the fixture stores them: A1 A2 B1 B2 or A1 B1 B2 A2
        std::vector<std::size_t> fetched;
    } orders[] = {
        {"tarnel/cmgl_one_reference_twice.txt", "A1 A2 B1 B2", {0, 1, 2, 3}},
        {"tarnel/cmgl_one_reference_twice.txt", "A1 B1 A2 B2", {0, 2, 1, 3}},
        {"tarnel/cmgl_one_reference_twice.txt", "B2 A2 B1 A1", {3, 1, 2, 0}},
        {"tarnel/cmgl_one_reference_days_apart.txt", "A1 B1 B2 A2", {0, 1, 2, 3}},
        {"tarnel/cmgl_one_reference_days_apart.txt", "A1 B2 B1 A2", {0, 2, 1, 3}},
        {"tarnel/cmgl_one_reference_days_apart.txt", "B2 A2 B1 A1", {2, 3, 1, 0}},
    };
    for (const auto &o : orders) {
        const std::vector<std::string> parts = FetchRepliesOf(Fixture(o.fixture));
        ASSERT_EQ(parts.size(), 4u) << o.fixture;
        std::vector<std::string> replies;
        for (std::size_t i : o.fetched)
            replies.push_back(parts[i]);
        CPhone_Velkor_NC5 fresh;
        std::swap(modem, fresh);
        const auto messages = Pass("\r\n+CMGD: (0,1,2,3),(0-4)\r\n\r\nOK\r\n", replies);
        ASSERT_EQ(messages.size(), 2u) << o.fixture << " " << o.order;
        std::set<std::string> contents = {messages[0].content, messages[1].content};
        EXPECT_EQ(contents, (std::set<std::string>{"第一部分第二部分", "再见朋友"}))
            << o.fixture << " " << o.order;
    }
}

// The read flow may stop fetching before the last index (it bounds the
// fetches per storage), and the module may refuse any index: each fetch that
// brings a message rebuilds the list from everything fetched in the pass, so
// what was fetched is never lost, never counted twice, and long messages stay
// joined.
TEST_F(ReadPass, ListHoldsWhatWasFetchedSoFar)
{
    ASSERT_EQ(modem.OnReadAllSmsCmdRsp("\r\n+CMGD: (1,2,3,5,7),(0-4)\r\n\r\nOK\r\n"), COM_CMD_OK);
    const struct {
        const char *fetch;
        std::string reply;
        std::vector<std::string> contents;
    } steps[] = {
        {"short", Fixture("velkor_nc5/cmgr_short.txt"), {"Meeting at 10"}},
        {"part 2", Fixture("velkor_nc5/cmgr_long_second.txt"), {"Meeting at 10", "第二部分"}},
        // A reply that has not brought its OK changes nothing.
        {"no OK yet", "\r\n+CMGR: 1,,34\r\n", {"Meeting at 10", "第二部分"}},
        {"part 1", Fixture("velkor_nc5/cmgr_long_first.txt"), {"Meeting at 10", "第一部分第二部分"}},
        {"last index refused", "\r\n+CMS ERROR: 321\r\n", {"Meeting at 10", "第一部分第二部分"}},
    };
    for (const auto &step : steps) {
        modem.GetReadNextSmsCmd();
        modem.OnReadNextSmsCmdRsp(step.reply);
        std::vector<std::string> contents;
        for (const SmsRecvStruct_t &sms : modem.GetReadSms())
            contents.push_back(sms.content);
        EXPECT_EQ(contents, step.contents) << step.fetch;
    }
    EXPECT_FALSE(modem.NotFinished());
}

TEST_F(ReadPass, StoredOutgoingMessageIsReadAsReceived)
{
    // The received-message decoder reads a stored SMS-SUBMIT's fields as if it
    // were a delivered one: the pass still ends and reports one message.
    const auto messages =
        Pass("\r\n+CMGD: (3),(0-4)\r\n\r\nOK\r\n", {Fixture("velkor_nc5/cmgr_sent.txt")});
    EXPECT_EQ(messages.size(), 1u);
}

TEST_F(ReadPass, HeaderWithoutPduLineAddsNothing)
{
    const auto messages = Pass("\r\n+CMGD: (1),(0-4)\r\n\r\nOK\r\n", {"\r\n+CMGR: 1,,34\r\nOK"});
    EXPECT_TRUE(messages.empty());
}

// A fetch that brings no message gives none, whatever its reply holds in
// place of the PDU line, and names its index; the fetches around it are read.
TEST_F(ReadPass, FetchWithoutAMessageNamesItsIndex)
{
    const struct {
        const char *name;
        std::string reply;
    } replies[] = {
        {"PduLineLost", "\r\n+CMGR: 0,,46\r\n\r\nOK\r\n"},
        {"NoiseForThePdu", "\r\n+CMGR: 0,,46\r\n\x7f\x1b[2J~\r\n\r\nOK\r\n"},
        {"PduLineCutByNoise", "\r\n+CMGR: 0,,46\r\n0891683108100005F0040D9168318567#523F1\r\n\r\nOK\r\n"},
        {"IndexRefused", "\r\n+CMS ERROR: 321\r\n"},
        {"NoHeader", "\r\nOK\r\n"},
    };
    for (const auto &r : replies) {
        CPhone_Velkor_NC5 fresh;
        std::swap(modem, fresh);
        ASSERT_EQ(modem.OnReadAllSmsCmdRsp("\r\n+CMGD: (1,2,5),(0-4)\r\n\r\nOK\r\n"), COM_CMD_OK);
        for (const std::string &reply : {Fixture("velkor_nc5/cmgr_long_second.txt"), r.reply,
                                         Fixture("velkor_nc5/cmgr_long_first.txt")}) {
            modem.GetReadNextSmsCmd();
            modem.OnReadNextSmsCmdRsp(reply);
        }
        const auto messages = modem.GetReadSms();
        ASSERT_EQ(messages.size(), 1u) << r.name;
        EXPECT_EQ(messages[0].content, "第一部分第二部分") << r.name;
        EXPECT_EQ(modem.GetUnreadSmsIndices(), std::vector<std::string>{"2"}) << r.name;
    }
    // The next pass names only its own.
    Pass("\r\n+CMGD: (),(0-4)\r\n\r\nOK\r\n", {});
    EXPECT_TRUE(modem.GetUnreadSmsIndices().empty());
}

TEST_F(ReadPass, SecondStorageWithNothingGivesAnEmptyList)
{
    const auto device =
        Pass("\r\n+CMGD: (1,2,5),(0-4)\r\n\r\nOK\r\n",
             {Fixture("velkor_nc5/cmgr_long_second.txt"), Fixture("velkor_nc5/cmgr_short.txt"),
              Fixture("velkor_nc5/cmgr_long_first.txt")});
    EXPECT_EQ(device.size(), 2u);
    EXPECT_TRUE(Pass("\r\n+CMGD: (),(0-4)\r\n\r\nOK\r\n", {}).empty());
}

TEST(ListByFetchHeader, SameParseForCmgrHeaders)
{
    modem_test::UseUtf8Environment();
    CPhone_Velkor_NC5 modem;
    const auto records = modem.SmsRspToSmsInfoVecNew(Fixture("velkor_nc5/cmgr_short.txt"));
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].mode.index, 0);
    EXPECT_STREQ(records[0].param.peerNumber, "8613587654321");
}

}  // namespace
