// Sending through the real program: the menu's send with its result lines
// and failure texts, what reaches the modems (decoded), the retries, a modem
// that goes away in the middle, a body the modem never answers, and a CDMA
// module that reports a send without OK.
#include <chrono>
#include <iostream>

#include <json/json.h>

#include "FakeSamples.h"
#include "FlowE2eSupport.h"

namespace {
using namespace flow_e2e;

class SendE2eTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (geteuid() != 0)
            GTEST_SKIP() << "mount namespaces need root";
    }

    void StartFakes(const std::vector<FakeConfig> &fakes)
    {
        std::string error;
        ASSERT_TRUE(h.Start(fakes, &error)) << error;
    }

    // The command-line send; its JSON result.
    Json::Value SendFromCommandLine(const std::vector<std::string> &args)
    {
        const NamespaceResult r = h.Run(args, "", kRunMs);
        EXPECT_EQ(r.exitStatus, 0) << r.err;
        Json::Value result;
        Json::Reader reader;
        EXPECT_TRUE(reader.parse(r.out, result)) << r.out;
        EXPECT_EQ(result["code"].asInt(), 0) << r.out;
        return result;
    }

    std::vector<DecodedSubmission> Submissions(std::size_t fake)
    {
        std::vector<DecodedSubmission> decoded;
        for (const FakeSubmission &s : h.Record(fake).submissions) {
            decoded.push_back(DecodeSubmission(s));
            EXPECT_TRUE(decoded.back().ok) << decoded.back().error;
        }
        return decoded;
    }

    std::unique_ptr<Terminal> Interactive()
    {
        std::string error;
        auto p = h.StartInteractive({}, &error, kRunMs);
        EXPECT_TRUE(p) << error;
        return p ? std::make_unique<Terminal>(std::move(p)) : nullptr;
    }

    ZarvexHarness h{kPaths};
};

std::string Succeeded(const std::string &port, const std::string &number)
{
    return OnTerminal(Green("端口 ") + Green(port) + Green(" 发送到 ") + Green(number)
                      + Green(" 的短信发送成功") + "\n");
}

std::string Failed(const std::string &port, const std::string &number, const std::string &reason)
{
    return OnTerminal(Red("端口 ") + Red(port) + Red(" 发送到 ") + Red(number)
                      + Red(" 的短信发送失败,失败原因: ") + Red(reason) + "\n");
}

// Two numbers through two ports: four results, port by port, number by
// number; the empty answer sends the default text, stamped except for the
// five-character number.
TEST_F(SendE2eTest, MenuSendTwoNumbersThroughTwoPorts)
{
    ASSERT_NO_FATAL_FAILURE(StartFakes({Fake(FakeModel::Tarnel), Fake(FakeModel::Orvast)}));
    auto t = Interactive();
    ASSERT_TRUE(t);
    ASSERT_TRUE(t->Dialogue('1',
                            {{kNumberPrompt, "13800138000,10086"}, {kPortPrompt, "USB0,USB1"}, {kTextPrompt, ""}},
                            kSendDone));
    EXPECT_TRUE(InOrder(t->Screen(), {Succeeded("ttyUSB0", "13800138000"), Succeeded("ttyUSB0", "10086"),
                                      Succeeded("ttyUSB1", "13800138000"), Succeeded("ttyUSB1", "10086")}));
    EXPECT_TRUE(std::regex_search(t->Screen(), std::regex("\r\n发送短信耗时: [1-9][0-9]* 秒\r\n")))
        << t->Screen();

    for (std::size_t fake : {0u, 1u}) {
        const std::vector<DecodedSubmission> sent = Submissions(fake);
        ASSERT_EQ(sent.size(), 2u) << fake;
        EXPECT_EQ(sent[0].destination, "13800138000");
        const std::string stamp = std::string(kDefaultText) + " ";
        ASSERT_EQ(sent[0].text.compare(0, stamp.size(), stamp), 0) << sent[0].text;
        EXPECT_TRUE(IsLocalTime(sent[0].text.substr(stamp.size()))) << sent[0].text;
        EXPECT_EQ(sent[1].destination, "10086");
        EXPECT_EQ(sent[1].text, kDefaultText);
        for (const DecodedSubmission &d : sent) {
            EXPECT_EQ(d.coding, 8) << "UCS2";
            EXPECT_EQ(d.concatRef, -1) << "a single message";
        }
    }
}

// Each failure with its own text: the modem's error line, "设备不AT" when
// neither modem nor port named a reason, "设备未插卡" for a port without SIM
// card number (nothing is written to it), and the port's own error text
// once its device went away after the first number.
TEST_F(SendE2eTest, MenuSendFailureTexts)
{
    FakeConfig refused = Fake(FakeModel::Tarnel);
    refused.faults.failSubmissions = 2;
    refused.faults.failCode = 304;
    FakeConfig silentCentre = Fake(FakeModel::Tarnel);
    // The centre line cut before its comma, then the modem's OK.
    silentCentre.faults.errorCommands = {{"AT+CSCA?", "+CSCA: \"+8613800100500\"\r\n\r\nOK"}};
    FakeConfig noCard = Fake(FakeModel::Tarnel);
    noCard.faults.errorCommands = {{"AT+CCID", "ERROR"}};
    FakeConfig dropping = Fake(FakeModel::Tarnel);
    // The scan's 9 commands, 6 for the first number; the line drops at the
    // first command for the second number.
    dropping.faults.dropAfterCommands = 16;
    ASSERT_NO_FATAL_FAILURE(StartFakes({refused, silentCentre, noCard, dropping}));
    auto t = Interactive();
    ASSERT_TRUE(t);
    ASSERT_TRUE(t->Dialogue(
        '1', {{kNumberPrompt, "13800138000 10086"}, {kPortPrompt, "USB0,USB1,USB2,USB3"}, {kTextPrompt, "你好"}},
        kSendDone));
    EXPECT_TRUE(InOrder(t->Screen(), {Failed("ttyUSB0", "13800138000", "+CMS ERROR: 304"),
                                      Failed("ttyUSB0", "10086", "+CMS ERROR: 304"),
                                      Failed("ttyUSB1", "13800138000", "设备不AT"),
                                      Failed("ttyUSB1", "10086", "设备不AT"),
                                      Failed("ttyUSB2", "13800138000", "设备未插卡"),
                                      Failed("ttyUSB2", "10086", "设备未插卡"),
                                      Succeeded("ttyUSB3", "13800138000"),
                                      Failed("ttyUSB3", "10086", "Code: 5  Input/output error")}));
    EXPECT_EQ(h.Record(0).submissions.size(), 2u) << "304 is not tried again";
    EXPECT_TRUE(h.Record(1).submissions.empty());
    // Two scans (before the send and for the table after it), nothing between.
    const std::vector<std::string> scan = {"ATE0", "AT", "ATI", "AT+CMEE=1", "AT+CPMS=\"SM\"", "ATE0", "AT+CGSN",
                                           "AT+CCID"};
    std::vector<std::string> twoScans = scan;
    twoScans.insert(twoScans.end(), scan.begin(), scan.end());
    EXPECT_EQ(h.Record(2).CommandTexts(), twoScans);
    EXPECT_EQ(h.Record(3).submissions.size(), 1u);
}

// A NUL typed in the text would end it where it goes to the modem, and the
// message would leave cut short: the text is refused with its reason before
// anything reaches the modem, and the next answer goes out whole.
TEST_F(SendE2eTest, TextHoldingANulIsRefused)
{
    const char kRefused[] = "您输入的短信内容含有空字符(NUL)，无法完整发送，请重新输入";
    const char kNulText[] = "before\0after the nul";
    ASSERT_NO_FATAL_FAILURE(StartFakes({Fake(FakeModel::Tarnel)}));
    auto t = Interactive();
    ASSERT_TRUE(t);
    ASSERT_TRUE(t->Dialogue('1',
                            {{kNumberPrompt, "13800138000"},
                             {kPortPrompt, "USB0"},
                             {kTextPrompt, std::string(kNulText, sizeof kNulText - 1)},
                             {kRefused, "after the nul"}},
                            kSendDone));
    EXPECT_TRUE(InOrder(t->Screen(), {kTextPrompt, OnTerminal(Red(kRefused) + "\n"), kTextPrompt,
                                      Succeeded("ttyUSB0", "13800138000"), kSendDone}));
    const std::vector<DecodedSubmission> sent = Submissions(0);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].text.compare(0, 14, "after the nul "), 0) << sent[0].text;
}

// Destination numbers as the PDU carries them: "0086" loses its "00", "86"
// stays, both as international numbers, as is a number written with "+";
// others go as typed. The CDMA module gets the number unchanged in its
// text-mode command.
TEST_F(SendE2eTest, SinglePartMessagesReachTheModemsAsSent)
{
    ASSERT_NO_FATAL_FAILURE(StartFakes({Fake(FakeModel::Tarnel), Fake(FakeModel::Sudrel)}));
    const Json::Value result =
        SendFromCommandLine({"008613800138000,8613900139000,13700137000,+8613600136000,10086", "hello"});
    ASSERT_EQ(result["result"].size(), 10u) << result.toStyledString();

    struct Expected {
        const char *destination;
        int type;
    };
    const Expected pdu[] = {{"8613800138000", 0x91}, {"8613900139000", 0x91}, {"13700137000", 0x81},
                            {"8613600136000", 0x91}, {"10086", 0x81}};
    const std::vector<DecodedSubmission> gsm = Submissions(0);
    const FakeRecord gsmRecord = h.Record(0);
    ASSERT_EQ(gsm.size(), 5u);
    for (std::size_t i = 0; i < gsm.size(); ++i) {
        EXPECT_EQ(gsm[i].destination, pdu[i].destination) << i;
        EXPECT_EQ(DestinationType(gsmRecord.submissions[i].body), pdu[i].type) << i;
        EXPECT_EQ(gsm[i].concatRef, -1) << i;
        EXPECT_EQ(gsm[i].declaredLength, gsm[i].tpduLength) << i;
    }
    const std::vector<DecodedSubmission> cdma = Submissions(1);
    const char *typed[] = {"008613800138000", "8613900139000", "13700137000", "+8613600136000", "10086"};
    ASSERT_EQ(cdma.size(), 5u);
    for (std::size_t i = 0; i < cdma.size(); ++i) {
        EXPECT_EQ(cdma[i].destination, typed[i]) << i;
        EXPECT_EQ(h.Record(1).submissions[i].command, "AT^HCMGS=\"" + std::string(typed[i]) + "\"") << i;
    }
    for (const auto *sent : {&gsm, &cdma}) {
        for (std::size_t i = 0; i + 1 < sent->size(); ++i) {
            ASSERT_EQ((*sent)[i].text.compare(0, 6, "hello "), 0) << (*sent)[i].text;
            EXPECT_TRUE(IsLocalTime((*sent)[i].text.substr(6))) << (*sent)[i].text;
        }
        EXPECT_EQ(sent->back().text, "hello");
    }
}

std::string Repeat(const std::string &piece, int times)
{
    std::string out;
    for (int i = 0; i < times; ++i)
        out += piece;
    return out;
}

// The parts of one message: one reference, the right total, sequences 1 to
// n; joined they are the text. The CDMA module's parts end in "(k/n)".
void ExpectParts(const std::vector<DecodedSubmission> &gsm, const std::vector<DecodedSubmission> &cdma,
                 const std::string &text, std::size_t gsmParts, std::size_t cdmaParts)
{
    ASSERT_EQ(gsm.size(), gsmParts);
    std::string joined;
    for (std::size_t i = 0; i < gsm.size(); ++i) {
        EXPECT_EQ(gsm[i].concatRef, gsm[0].concatRef) << i;
        EXPECT_GE(gsm[i].concatRef, 0) << i;
        EXPECT_EQ(gsm[i].concatTotal, static_cast<int>(gsmParts)) << i;
        EXPECT_EQ(gsm[i].concatSeq, static_cast<int>(i + 1)) << i;
        EXPECT_EQ(gsm[i].coding, 8) << i;
        EXPECT_EQ(gsm[i].destination, "10086") << i;
        EXPECT_EQ(gsm[i].declaredLength, gsm[i].tpduLength) << i;
        joined += gsm[i].text;
    }
    EXPECT_EQ(joined, text);

    ASSERT_EQ(cdma.size(), cdmaParts);
    for (std::size_t i = 0; i < cdma.size(); ++i)
        EXPECT_LE(cdma[i].tpduLength, 140) << i;
    const JoinedParts cdmaJoined = JoinCdmaParts(cdma);
    EXPECT_TRUE(cdmaJoined.ok) << cdmaJoined.error;
    EXPECT_EQ(cdmaJoined.text, text);
}

// 47 Chinese characters are 141 bytes: concatenated, though they fit one
// part (and one CDMA part marked (1/1)).
TEST_F(SendE2eTest, OneHundredFortyOneBytesGoConcatenated)
{
    ASSERT_NO_FATAL_FAILURE(StartFakes({Fake(FakeModel::Tarnel), Fake(FakeModel::Sudrel)}));
    const std::string text = Repeat("短", 47);
    ASSERT_EQ(text.size(), 141u);
    const Json::Value result = SendFromCommandLine({"10086", text});
    ASSERT_EQ(result["result"].size(), 2u);
    for (const Json::Value &r : result["result"])
        EXPECT_EQ(r["code"].asInt(), 0) << r.toStyledString();
    ExpectParts(Submissions(0), Submissions(1), text, 1, 1);
}

TEST_F(SendE2eTest, ThreeHundredChineseCharactersInParts)
{
    ASSERT_NO_FATAL_FAILURE(StartFakes({Fake(FakeModel::Tarnel), Fake(FakeModel::Sudrel)}));
    const std::string text = LongChineseText(300);
    ASSERT_EQ(text.size(), 900u);
    const Json::Value result = SendFromCommandLine({"10086", text});
    for (const Json::Value &r : result["result"])
        EXPECT_EQ(r["code"].asInt(), 0) << r.toStyledString();
    // 67 UCS2 characters a part beside the header; 128 text bytes a CDMA part.
    ExpectParts(Submissions(0), Submissions(1), text, 5, 5);
}

// A CDMA module that closes each message body with its send report alone,
// no OK before it: a long text still goes out in every part, each part as
// soon as the report on the one before has come.
TEST_F(SendE2eTest, CdmaPartsGoOutAtOnceOnReportsWithoutOk)
{
    // 300 Chinese characters: five CDMA parts of at most 128 bytes of text.
    const std::size_t kParts = 5;
    // The run: one port's scan, then five parts answered within a fraction
    // of a second each. A part whose prompt was taken for the rest of the
    // last body's reply waits out its length command's budget, about a
    // minute.
    const long long kRunBoundMs = 30000;
    FakeConfig fake = Fake(FakeModel::Sudrel);
    fake.faults.cdmaReportWithoutOk = true;
    ASSERT_NO_FATAL_FAILURE(StartFakes({fake}));

    const std::string text = LongChineseText(300);
    const auto start = std::chrono::steady_clock::now();
    const Json::Value result = SendFromCommandLine({"10086", text});
    const long long ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
    std::cout << "[ measured ] " << kParts << "-part send with reports alone: run " << ms << " ms\n";
    ASSERT_EQ(result["result"].size(), 1u) << result.toStyledString();
    EXPECT_EQ(result["result"][0]["code"].asInt(), 0) << result.toStyledString();
    EXPECT_LT(ms, kRunBoundMs);

    const std::vector<FakeSubmission> bodies = h.Record(0).submissions;
    ASSERT_EQ(bodies.size(), kParts);
    for (std::size_t i = 0; i < bodies.size(); ++i)
        EXPECT_TRUE(bodies[i].accepted) << i;
    const JoinedParts joined = JoinCdmaParts(Submissions(0));
    EXPECT_TRUE(joined.ok) << joined.error;
    EXPECT_EQ(joined.text, text);
}

// 500 twice then accepted: success after the third try; 500 every time:
// code 1 after exactly three; 304: one try.
TEST_F(SendE2eTest, RetriesOnlyForErrorsFiveHundredToSixHundred)
{
    FakeConfig twice = Fake(FakeModel::Tarnel);
    twice.faults.failSubmissions = 2;
    FakeConfig always = Fake(FakeModel::Tarnel);
    always.faults.failSubmissions = 1000;
    FakeConfig once = Fake(FakeModel::Tarnel);
    once.faults.failSubmissions = 1000;
    once.faults.failCode = 304;
    ASSERT_NO_FATAL_FAILURE(StartFakes({twice, always, once}));
    const Json::Value result = SendFromCommandLine({"USB0,USB1,USB2", "10086", "hello"});
    ASSERT_EQ(result["result"].size(), 3u) << result.toStyledString();
    const struct {
        int code;
        const char *message;
        std::size_t submissions;
    } expected[] = {{0, "Succeed", 3}, {1, "+CMS ERROR: 500", 3}, {1, "+CMS ERROR: 304", 1}};
    for (Json::ArrayIndex i = 0; i < 3; ++i) {
        EXPECT_EQ(result["result"][i]["code"].asInt(), expected[i].code) << i;
        EXPECT_EQ(result["result"][i]["message"].asString(), expected[i].message) << i;
        EXPECT_EQ(h.Record(i).submissions.size(), expected[i].submissions) << i;
    }
}

// The line drops during the second number: that port's later numbers fail
// with the port's reason, the next port goes on, the program ends normally.
TEST_F(SendE2eTest, ModemGoneMidSend)
{
    FakeConfig dropping = Fake(FakeModel::Tarnel);
    dropping.faults.dropAfterCommands = 16;  // the scan's 9, 6 for the first number, then one
    ASSERT_NO_FATAL_FAILURE(StartFakes({dropping, Fake(FakeModel::Pimsor)}));
    const long long start = FakeNowMs();
    const Json::Value result = SendFromCommandLine({"USB0,USB1", "13800138000,13900139000,10086", "hello"});
    EXPECT_LT(FakeNowMs() - start, 60000) << "no runner waits out the dead line";
    const Json::Value &r = result["result"];
    ASSERT_EQ(r.size(), 6u) << result.toStyledString();
    EXPECT_EQ(r[0]["code"].asInt(), 0);
    for (Json::ArrayIndex i : {1u, 2u}) {
        EXPECT_EQ(r[i]["code"].asInt(), 1) << i;
        EXPECT_EQ(r[i]["message"].asString(), "Code: 5  Input/output error") << i;
        EXPECT_EQ(r[i]["com"].asString(), "ttyUSB0") << i;
    }
    for (Json::ArrayIndex i : {3u, 4u, 5u}) {
        EXPECT_EQ(r[i]["code"].asInt(), 0) << i;
        EXPECT_EQ(r[i]["com"].asString(), "ttyUSB1") << i;
    }
    EXPECT_EQ(h.Record(0).submissions.size(), 1u);
    EXPECT_EQ(h.Record(1).submissions.size(), 3u);
}

// A message body the modem never answers, its Ctrl-Z lost on the line: the
// modem waits at its ">" prompt still, and would take the next number's
// commands for more of that message. The body is given up, so the next
// number's message goes out.
TEST_F(SendE2eTest, AnUnansweredBodyIsGivenUpBeforeTheNextNumber)
{
    FakeConfig lossy = Fake(FakeModel::Tarnel);
    lossy.faults.bodiesLeftOpen = 1;
    ASSERT_NO_FATAL_FAILURE(StartFakes({lossy}));
    const Json::Value result = SendFromCommandLine({"13800138000,13900139000", "hello"});
    const Json::Value &results = result["result"];
    ASSERT_EQ(results.size(), 2u) << result.toStyledString();
    EXPECT_EQ(results[0]["code"].asInt(), 1) << result.toStyledString();
    EXPECT_EQ(results[0]["message"].asString(), "no answer") << result.toStyledString();
    EXPECT_EQ(results[1]["code"].asInt(), 0) << result.toStyledString();

    const std::vector<DecodedSubmission> sent = Submissions(0);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_TRUE(h.Record(0).submissions[0].accepted);
    EXPECT_EQ(sent[0].destination, "13900139000");
}

// The index-list module's SMS-centre query never stops a send: when the
// module leaves "AT+CSCA?" unanswered, the body still goes out, without a
// centre of our own, so that the module uses the one it holds.
TEST_F(SendE2eTest, IndexListModuleSilentToTheCentreQueryStillSends)
{
    FakeConfig silentCentre = Fake(FakeModel::VelkorNc5);
    silentCentre.faults.silentCommands = {"AT+CSCA?"};
    ASSERT_NO_FATAL_FAILURE(StartFakes({silentCentre}));
    const Json::Value result = SendFromCommandLine({"10086", "hello"});
    ASSERT_EQ(result["result"].size(), 1u) << result.toStyledString();
    EXPECT_EQ(result["result"][0]["code"].asInt(), 0) << result.toStyledString();
    const std::vector<DecodedSubmission> sent = Submissions(0);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].destination, "10086");
    EXPECT_EQ(sent[0].text, "hello");
    EXPECT_EQ(sent[0].smsc, "");
}

}  // namespace
