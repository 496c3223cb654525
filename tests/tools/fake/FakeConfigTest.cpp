// The JSON form of the fakes' configuration.
#include <gtest/gtest.h>

#include "FakeConfig.h"

namespace {
TEST(FakeConfigTest, RoundTripKeepsEveryField)
{
    FakeConfig c;
    c.model = FakeModel::Sudrel;
    c.baud = FakeBaud::Only115200;
    c.echo = false;
    c.uartBridge = true;
    c.imei = "80A1B2C3";
    // A value may carry a NUL byte, as a hostile modem's may.
    c.iccid = std::string("8986031180\0" "2000567806", 21);
    c.csq = "9,99";
    c.smsc = "+8613800100500";
    c.record = "/tmp/x.record";
    c.faults.replyDelayMs = 10;
    c.faults.chunkBytes = 3;
    c.faults.chunkGapMs = 4;
    c.faults.failSubmissions = 2;
    c.faults.failCode = 512;
    c.faults.errorCommands = {{"AT+CSQ", "+CME ERROR: 30"}};
    c.faults.silentCommands = {"ATI"};
    c.faults.dropAfterCommands = 7;
    c.faults.silentAfterCommands = 8;
    c.faults.ignoresEchoOff = true;
    c.faults.cdmaReportWithoutOk = true;
    c.faults.leftAtPrompt = true;
    c.faults.bodiesLeftOpen = 2;
    FakeReplyFault rf;
    rf.command = "AT^ICCID?";
    rf.reply = "\r\n^ICCID:\r\n";
    rf.splitAt = 5;
    rf.splitBefore = "\r\nOK";
    rf.pauseMs = 150;
    rf.insert = "\r\n^RSSI: 9\r\n";
    rf.times = 1;
    c.faults.replyFaults = {rf};
    c.faults.floodText = "\r\n^BOOT\r\n";
    c.faults.floodAfterCommands = 3;
    c.faults.floodGapMs = 20;
    c.productSerial = "A1";
    c.phonebookFile = "/tmp/x.phonebook";
    PhonebookEntry user;
    user.store = "SM";
    user.index = 250;
    user.number = "+8613800138000";
    user.type = 145;
    user.text = "5BB6";
    user.coding = 1;
    c.phonebook = {WmsnPhonebookEntry("123456789012345"), user};
    StoredMessage m;
    m.store = "ME";
    m.index = 4;
    m.stat = 0;
    m.text = "中文短信";
    m.coding = "7bit";
    m.concatRef = 9;
    m.concatTotal = 3;
    m.concatSeq = 2;
    m.pduLineLost = true;
    c.messages = {m};

    std::vector<FakeConfig> back;
    std::string error;
    ASSERT_TRUE(FakeConfigsFromJson(FakeConfigsToJson({c, FakeConfig()}), &back, &error)) << error;
    ASSERT_EQ(back.size(), 2u);
    const FakeConfig &b = back[0];
    EXPECT_EQ(b.model, FakeModel::Sudrel);
    EXPECT_EQ(b.baud, FakeBaud::Only115200);
    EXPECT_FALSE(b.echo);
    EXPECT_TRUE(b.uartBridge);
    EXPECT_EQ(b.imei, c.imei);
    EXPECT_EQ(b.iccid, c.iccid);
    EXPECT_EQ(b.csq, c.csq);
    EXPECT_EQ(b.smsc, c.smsc);
    EXPECT_EQ(b.record, c.record);
    EXPECT_EQ(b.faults.replyDelayMs, 10);
    EXPECT_EQ(b.faults.chunkBytes, 3);
    EXPECT_EQ(b.faults.chunkGapMs, 4);
    EXPECT_EQ(b.faults.failSubmissions, 2);
    EXPECT_EQ(b.faults.failCode, 512);
    ASSERT_EQ(b.faults.errorCommands.size(), 1u);
    EXPECT_EQ(b.faults.errorCommands[0].reply, "+CME ERROR: 30");
    EXPECT_EQ(b.faults.silentCommands, std::vector<std::string>{"ATI"});
    EXPECT_EQ(b.faults.dropAfterCommands, 7);
    EXPECT_EQ(b.faults.silentAfterCommands, 8);
    EXPECT_TRUE(b.faults.ignoresEchoOff);
    EXPECT_TRUE(b.faults.cdmaReportWithoutOk);
    EXPECT_TRUE(b.faults.leftAtPrompt);
    EXPECT_EQ(b.faults.bodiesLeftOpen, 2);
    ASSERT_EQ(b.faults.replyFaults.size(), 1u);
    EXPECT_EQ(b.faults.replyFaults[0].command, rf.command);
    EXPECT_EQ(b.faults.replyFaults[0].reply, rf.reply);
    EXPECT_EQ(b.faults.replyFaults[0].splitAt, 5);
    EXPECT_EQ(b.faults.replyFaults[0].splitBefore, rf.splitBefore);
    EXPECT_EQ(b.faults.replyFaults[0].pauseMs, 150);
    EXPECT_EQ(b.faults.replyFaults[0].insert, rf.insert);
    EXPECT_EQ(b.faults.replyFaults[0].times, 1);
    EXPECT_EQ(b.faults.floodText, c.faults.floodText);
    EXPECT_EQ(b.faults.floodAfterCommands, 3);
    EXPECT_EQ(b.faults.floodGapMs, 20);
    EXPECT_EQ(b.productSerial, "A1");
    EXPECT_EQ(b.phonebookFile, c.phonebookFile);
    ASSERT_EQ(b.phonebook.size(), 2u);
    EXPECT_EQ(b.phonebook[0].store, "ME");
    EXPECT_EQ(b.phonebook[0].index, 1);
    EXPECT_EQ(b.phonebook[0].number, "123456789012345");
    EXPECT_EQ(b.phonebook[0].type, 129);
    EXPECT_EQ(b.phonebook[0].text, "WMSN");
    EXPECT_EQ(b.phonebook[0].coding, 0);
    EXPECT_EQ(b.phonebook[1].store, "SM");
    EXPECT_EQ(b.phonebook[1].index, 250);
    EXPECT_EQ(b.phonebook[1].number, user.number);
    EXPECT_EQ(b.phonebook[1].type, 145);
    EXPECT_EQ(b.phonebook[1].text, "5BB6");
    EXPECT_EQ(b.phonebook[1].coding, 1);
    ASSERT_EQ(b.messages.size(), 1u);
    EXPECT_EQ(b.messages[0].store, "ME");
    EXPECT_EQ(b.messages[0].index, 4);
    EXPECT_EQ(b.messages[0].stat, 0);
    EXPECT_EQ(b.messages[0].text, "中文短信");
    EXPECT_EQ(b.messages[0].coding, "7bit");
    EXPECT_EQ(b.messages[0].concatRef, 9);
    EXPECT_EQ(b.messages[0].concatTotal, 3);
    EXPECT_EQ(b.messages[0].concatSeq, 2);
    EXPECT_TRUE(b.messages[0].pduLineLost);
    EXPECT_EQ(back[1].model, FakeModel::Tarnel);
    EXPECT_FALSE(back[1].uartBridge);
    EXPECT_TRUE(back[1].messages.empty());
}

struct BadConfig {
    const char *name;
    const char *json;
    const char *error;  // a part of the error text
};
void PrintTo(const BadConfig &c, std::ostream *os) { *os << c.name; }

class FakeConfigRefusalTest : public testing::TestWithParam<BadConfig> {};

TEST_P(FakeConfigRefusalTest, SaysWhatIsWrong)
{
    std::vector<FakeConfig> configs;
    std::string error;
    EXPECT_FALSE(FakeConfigsFromJson(GetParam().json, &configs, &error));
    EXPECT_NE(error.find(GetParam().error), std::string::npos) << error;
}

INSTANTIATE_TEST_SUITE_P(
    Configs, FakeConfigRefusalTest,
    testing::Values(BadConfig{"NotJson", "{", "not JSON"},
                    BadConfig{"NoFakes", "{}", "no \"fakes\""},
                    BadConfig{"UnknownModel", R"({"fakes":[{"model":"Nokia"}]})", "unknown model \"Nokia\""},
                    BadConfig{"BadBaud", R"({"fakes":[{"baud":"57600"}]})", "baud"},
                    BadConfig{"MisspeltFault", R"({"fakes":[{"faults":{"dropAfter":3}}]})",
                              "fakes[0].faults: unknown key \"dropAfter\""},
                    BadConfig{"WrongType", R"({"fakes":[{"echo":"yes"}]})", "echo is not true or false"},
                    BadConfig{"BadStore", R"({"fakes":[{"messages":[{"store":"XX"}]}]})",
                              "fakes[0].messages[0]: store"},
                    BadConfig{"BadStat", R"({"fakes":[{"messages":[{"stat":7}]}]})", "stat"},
                    BadConfig{"BadCoding", R"({"fakes":[{"messages":[{"coding":"8bit"}]}]})", "coding"},
                    BadConfig{"ReplyFaultWithoutCommand", R"({"fakes":[{"faults":{"replyFaults":[{"pauseMs":9}]}}]})",
                              "names no command"},
                    BadConfig{"MisspeltReplyFault",
                              R"({"fakes":[{"faults":{"replyFaults":[{"command":"AT","pause":9}]}}]})",
                              "unknown key \"pause\""},
                    BadConfig{"PhonebookStore", R"({"fakes":[{"phonebook":[{"store":"ON"}]}]})",
                              "fakes[0].phonebook[0]: store"},
                    BadConfig{"PhonebookIndexZero", R"({"fakes":[{"phonebook":[{"index":0}]}]})",
                              "index is not 1 to 250"},
                    BadConfig{"PhonebookIndexPastTheEnd", R"({"fakes":[{"phonebook":[{"index":251}]}]})", "index"},
                    BadConfig{"PhonebookType", R"({"fakes":[{"phonebook":[{"type":256}]}]})", "type"},
                    BadConfig{"PhonebookCoding", R"({"fakes":[{"phonebook":[{"coding":2}]}]})", "coding"},
                    BadConfig{"PhonebookTextTooLong",
                              R"({"fakes":[{"phonebook":[{"text":"0123456789012345678901234567890"}]}]})", "longer"},
                    BadConfig{"PhonebookLocationTwice", R"({"fakes":[{"phonebook":[{"index":3},{"index":3}]}]})",
                              "location ME 3 given twice"}),
    [](const testing::TestParamInfo<BadConfig> &i) { return i.param.name; });
TEST(FakeConfigTest, PhonebookFileRoundTripAndRefusals)
{
    std::vector<PhonebookEntry> back;
    std::string error;
    ASSERT_TRUE(PhonebookFromJson(PhonebookToJson({WmsnPhonebookEntry("1")}), &back, &error)) << error;
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(back[0].number, "1");
    EXPECT_EQ(back[0].text, "WMSN");
    ASSERT_TRUE(PhonebookFromJson(PhonebookToJson({}), &back, &error)) << error;
    EXPECT_TRUE(back.empty());
    EXPECT_FALSE(PhonebookFromJson("{}", &back, &error));
    EXPECT_NE(error.find("no \"phonebook\""), std::string::npos) << error;
    EXPECT_FALSE(PhonebookFromJson(R"({"phonebook":[],"extra":1})", &back, &error));
    EXPECT_NE(error.find("unknown key \"extra\""), std::string::npos) << error;
}
}  // namespace
