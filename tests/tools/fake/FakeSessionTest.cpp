// The reply model, without a pty: what each model answers, byte for byte.
#include <gtest/gtest.h>

#include "FakeProfile.h"
#include "FakeSession.h"
#include "FakeSmsPdu.h"

namespace {
std::string Joined(const FakeOutput &out)
{
    std::string s;
    for (const FakePiece &p : out.pieces)
        s += p.bytes;
    return s;
}

std::string Say(FakeSession &s, const std::string &bytes, int baud = 9600)
{
    return Joined(s.Receive(bytes, baud));
}

FakeConfig Quiet(FakeModel model)
{
    FakeConfig c;
    c.model = model;
    c.echo = false;
    return c;
}

// The identification replies as the modules send them.
const char kTarnelAti[] = "\r\nQuectel_Ltd\r\nQuectel_M35\r\nRevision: M35FBR02A03\r\n\r\nOK\r\n";
const char kNc5Ati[] =
    "\r\nManufacturer: Yuga Co.,Ltd.\r\nModel: CLM920_NC5\r\n"
    "Revision: CLM920_NC5-V1 [Jul 31 2017 14:44:25]\r\nIMEI: 867223021887302\r\n"
    "+GCAP: +CGSM\r\nEFS_SVN: cn_efs_20170731_2k\r\n\r\nOK\r\n";
const char kMeAti[] =
    "\r\nManufacturer: Huawei Technologies Co., Ltd.\r\nModel: ME909s-821\r\n"
    "Revision: 11.617.05.00.00\r\nIMEI: 866715031234503\r\n+GCAP: +CGSM,+DS,+ES\r\n\r\nOK\r\n";
const char kPimsorAti[] =
    "\r\nManufacture: HUAWEI\r\nModel: MG301\r\nRevision: 11.310.21.03.00\r\n"
    "IMEI: 863912010045604\r\n+GCAP: +CGSM\r\n\r\nOK\r\n";
const char kOrvastAti[] = "\r\n WAVECOM MODEM\r\n\r\n MULTIBAND  900E  1800 \r\n\r\nOK\r\n";
const char kSudrelAti[] =
    "\r\nManufacturer:HUAWEI TECHNOLOGIES CO., LTD\r\nModel:MC323-a\r\n"
    "Revision:12.102.29.00.00\r\nESN:80A1B2C6\r\n\r\nOK\r\n";

struct ReplyCase {
    const char *name;
    FakeModel model;
    const char *send;
    const char *expect;
};

void PrintTo(const ReplyCase &c, std::ostream *os) { *os << c.name; }

const ReplyCase kReplyCases[] = {
    {"TarnelAti", FakeModel::Tarnel, "ATI\r\n", kTarnelAti},
    {"Nc5Ati", FakeModel::VelkorNc5, "ATI\r\n", kNc5Ati},
    {"MeAti", FakeModel::VelkorMe, "ATI\r\n", kMeAti},
    {"PimsorAti", FakeModel::Pimsor, "ATI\r\n", kPimsorAti},
    {"OrvastAti", FakeModel::Orvast, "ATI\r\n", kOrvastAti},
    {"SudrelAti", FakeModel::Sudrel, "ATI\r\n", kSudrelAti},
    {"UnknownAtiNamesNoKnownModule", FakeModel::UnknownAti, "ATI\r\n",
     "\r\nManufacturer: Telnix Systems\r\nModel: TX-220\r\nRevision: 1.0.4\r\n\r\nOK\r\n"},
    {"UnknownAtiAnswersAt", FakeModel::UnknownAti, "AT\r\n", "\r\nOK\r\n"},
    {"SilentAnswersNothing", FakeModel::Silent, "AT\r\n", ""},

    {"TarnelQuotesIccid", FakeModel::Tarnel, "AT+CCID\r\n", "\r\n+CCID: \"89860318245000112201\"\r\n\r\nOK\r\n"},
    {"Nc5PlainIccid", FakeModel::VelkorNc5, "AT+CCID\r\n", "\r\n+CCID: 89860117851002233402\r\n\r\nOK\r\n"},
    {"PimsorPlainIccid", FakeModel::Pimsor, "AT+CCID\r\n", "\r\n+CCID: 89860012345678901204\r\n\r\nOK\r\n"},
    {"OrvastQuotesIccid", FakeModel::Orvast, "AT+CCID\r\n", "\r\n+CCID: \"89860045123409876505\"\r\n\r\nOK\r\n"},
    {"SudrelIccid", FakeModel::Sudrel, "AT+CCID\r\n", "\r\n+CCID: 89860311802000567806\r\n\r\nOK\r\n"},
    {"MeHasNoPlusCcid", FakeModel::VelkorMe, "AT+CCID\r\n", "\r\nERROR\r\n"},
    {"MeCaretIccid", FakeModel::VelkorMe, "AT^ICCID?\r\n", "\r\n^ICCID: 98680021436587092103\r\n\r\nOK\r\n"},
    {"TarnelHasNoCaretIccid", FakeModel::Tarnel, "AT^ICCID?\r\n", "\r\nERROR\r\n"},

    {"Imei", FakeModel::Tarnel, "AT+CGSN\r\n", "\r\n862107034551201\r\n\r\nOK\r\n"},
    {"SudrelSerial", FakeModel::Sudrel, "AT+CGSN\r\n", "\r\n80A1B2C6\r\n\r\nOK\r\n"},
    {"LowerCaseSignal", FakeModel::Pimsor, "at+csq\r\n", "\r\n+CSQ: 16,99\r\n\r\nOK\r\n"},
    {"SmsCentre", FakeModel::Orvast, "AT+CSCA?\r\n", "\r\n+CSCA: \"+8613800210500\",145\r\n\r\nOK\r\n"},
    {"SudrelHasNoSmsCentre", FakeModel::Sudrel, "AT+CSCA?\r\n", "\r\nERROR\r\n"},
    {"ErrorReports", FakeModel::Tarnel, "AT+CMEE=1\r\n", "\r\nOK\r\n"},
    {"SimStore", FakeModel::Tarnel, "AT+CPMS=\"SM\"\r\n", "\r\n+CPMS: 0,50,0,50,0,50\r\n\r\nOK\r\n"},
    {"DeviceStore", FakeModel::VelkorMe, "AT+CPMS=\"ME\"\r\n", "\r\n+CPMS: 0,100,0,100,0,100\r\n\r\nOK\r\n"},
    {"UnknownStore", FakeModel::VelkorMe, "AT+CPMS=\"XX\"\r\n", "\r\n+CMS ERROR: 302\r\n"},
    {"BlanksAroundPlus", FakeModel::Tarnel, "at + cmgf=0\r\n", "\r\nOK\r\n"},
    {"PduMode", FakeModel::Pimsor, "at+cmgf=0\r\n", "\r\nOK\r\n"},
    {"MeCurc", FakeModel::VelkorMe, "AT^CURC=0\r\n", "\r\nOK\r\n"},
    {"OnlyMeHasCurc", FakeModel::Pimsor, "AT^CURC=0\r\n", "\r\nERROR\r\n"},
    {"Nc5CompatibleMode", FakeModel::VelkorNc5, "AT+ATVER=1\r", "\r\nOK\r\n"},
    {"OnlyNc5HasAtver", FakeModel::Tarnel, "AT+ATVER=1\r", "\r\nERROR\r\n"},
    {"CompatibleModeOfTheOthers", FakeModel::Tarnel, "AT\r", "\r\nOK\r\n"},
    {"SudrelRssiReports", FakeModel::Sudrel, "AT^RSSIREP=0\r\n", "\r\nOK\r\n"},
    {"SudrelMessageParameters", FakeModel::Sudrel, "AT^HSMSSS=0,0,6,0\r\n", "\r\nOK\r\n"},
    {"SudrelHasNoPduMode", FakeModel::Sudrel, "at+cmgf=0\r\n", "\r\nERROR\r\n"},
    {"GsmHasNoVendorSend", FakeModel::Pimsor, "AT^HCMGS=\"10086\"\r", "\r\nERROR\r\n"},
    {"EmptyIndexList", FakeModel::VelkorNc5, "AT+CMGD=?\r\n", "\r\n+CMGD: (),(0-4)\r\n\r\nOK\r\n"},
    {"EmptyListing", FakeModel::Tarnel, "AT+CMGL=4\r\n", "\r\nOK\r\n"},
    {"EmptyCdmaListing", FakeModel::Sudrel, "AT^HCMGL=4\r\n", "\r\nOK\r\n"},
    {"MissingIndex", FakeModel::VelkorNc5, "AT+CMGR=3\r\n", "\r\n+CMS ERROR: 321\r\n"},
    {"SubmitPrompt", FakeModel::Tarnel, "AT+CMGS=13\r", "\r\n> "},
    {"SubmitWithoutLength", FakeModel::Tarnel, "AT+CMGS=\r", "\r\n+CMS ERROR: 304\r\n"},
    {"CdmaSubmitPrompt", FakeModel::Sudrel, "AT^HCMGS=\"13800138000\"\r", "\r\n> "},
    {"UnknownCommand", FakeModel::Tarnel, "AT+FOO\r\n", "\r\nERROR\r\n"},
    {"NotACommand", FakeModel::Tarnel, "hello\r\n", ""},
    {"TwoCommandsInOneWrite", FakeModel::Tarnel, "AT\r\nAT+CSQ\r\n", "\r\nOK\r\n\r\n+CSQ: 24,99\r\n\r\nOK\r\n"},
};

class FakeReplyTest : public testing::TestWithParam<ReplyCase> {};

TEST_P(FakeReplyTest, AnswersAsTheModuleDoes)
{
    FakeSession s(Quiet(GetParam().model));
    EXPECT_EQ(Say(s, GetParam().send), GetParam().expect);
}

INSTANTIATE_TEST_SUITE_P(Profiles, FakeReplyTest, testing::ValuesIn(kReplyCases),
                         [](const testing::TestParamInfo<ReplyCase> &i) { return i.param.name; });

TEST(FakeSessionTest, EchoesUntilAte0)
{
    FakeConfig c;
    c.model = FakeModel::Pimsor;
    FakeSession s(c);
    EXPECT_EQ(Say(s, "AT\r\n"), "AT\r\r\nOK\r\n");
    EXPECT_EQ(Say(s, "ATE0\r\n"), "ATE0\r\r\nOK\r\n");
    EXPECT_EQ(Say(s, "AT+CGSN\r\n"), "\r\n863912010045604\r\n\r\nOK\r\n");
    EXPECT_EQ(Say(s, "ATE1\r\n"), "\r\nOK\r\n");
    EXPECT_EQ(Say(s, "AT\r"), "AT\r\r\nOK\r\n");
}

// Some modules answer ATE0 with OK and go on echoing all the same.
TEST(FakeSessionTest, EchoOffIgnoredOnDemand)
{
    FakeConfig c;
    c.model = FakeModel::VelkorNc5;
    c.faults.ignoresEchoOff = true;
    FakeSession s(c);
    EXPECT_EQ(Say(s, "ATE0\r\n"), "ATE0\r\r\nOK\r\n");
    EXPECT_EQ(Say(s, "AT+CSQ\r\n"), "AT+CSQ\r\r\n+CSQ: 19,99\r\n\r\nOK\r\n");
}

TEST(FakeSessionTest, CommandSplitOverSeveralWritesIsOneCommand)
{
    FakeSession s(Quiet(FakeModel::Tarnel));
    EXPECT_EQ(Say(s, "AT+C"), "");
    EXPECT_EQ(Say(s, "SQ"), "");
    EXPECT_EQ(Say(s, "\r\n"), "\r\n+CSQ: 24,99\r\n\r\nOK\r\n");
}

TEST(FakeSessionTest, ConfiguredValuesReplaceTheDefaults)
{
    FakeConfig c = Quiet(FakeModel::VelkorNc5);
    c.imei = "111111111111111";
    c.iccid = "89860000000000000009";
    c.csq = "31,0";
    c.smsc = "+8613900000000";
    FakeSession s(c);
    EXPECT_NE(Say(s, "ATI\r\n").find("IMEI: 111111111111111\r\n"), std::string::npos);
    EXPECT_EQ(Say(s, "AT+CCID\r\n"), "\r\n+CCID: 89860000000000000009\r\n\r\nOK\r\n");
    EXPECT_EQ(Say(s, "AT+CSQ\r\n"), "\r\n+CSQ: 31,0\r\n\r\nOK\r\n");
    EXPECT_EQ(Say(s, "AT+CSCA?\r\n"), "\r\n+CSCA: \"+8613900000000\",145\r\n\r\nOK\r\n");
}

struct BaudCase {
    const char *name;
    FakeBaud baud;
    bool at9600;
    bool at115200;
};
void PrintTo(const BaudCase &c, std::ostream *os) { *os << c.name; }

class FakeBaudTest : public testing::TestWithParam<BaudCase> {};

TEST_P(FakeBaudTest, AnswersOnlyAtItsSpeeds)
{
    FakeConfig c;
    c.model = FakeModel::Orvast;
    c.baud = GetParam().baud;
    FakeSession s(c);
    const FakeOutput slow = s.Receive("ATE0\r\n", 9600);
    EXPECT_EQ(Joined(slow), GetParam().at9600 ? "ATE0\r\r\nOK\r\n" : "");
    ASSERT_EQ(slow.commands.size(), 1u);
    EXPECT_EQ(slow.commands[0].baud, 9600);
    EXPECT_EQ(slow.commands[0].answered, GetParam().at9600);
    // A command not understood at the wrong speed changed nothing: the echo
    // is still on if 9600 was not heard.
    const std::string fastEcho = GetParam().at9600 ? "" : "AT\r";
    EXPECT_EQ(Joined(s.Receive("AT\r\n", 115200)), GetParam().at115200 ? fastEcho + "\r\nOK\r\n" : "");
}

INSTANTIATE_TEST_SUITE_P(Speeds, FakeBaudTest,
                         testing::Values(BaudCase{"Any", FakeBaud::Any, true, true},
                                         BaudCase{"Only9600", FakeBaud::Only9600, true, false},
                                         BaudCase{"Only115200", FakeBaud::Only115200, false, true}),
                         [](const testing::TestParamInfo<BaudCase> &i) { return i.param.name; });

TEST(FakeSessionTest, SilentPortRecordsWhatItHears)
{
    FakeSession s(Quiet(FakeModel::Silent));
    const FakeOutput out = s.Receive("ATE0\r\nAT\r\n", 115200);
    EXPECT_TRUE(out.pieces.empty());
    ASSERT_EQ(out.commands.size(), 2u);
    EXPECT_EQ(out.commands[1].text, "AT");
    EXPECT_FALSE(out.commands[1].answered);
}

// From the codec's own example: centre +123456, destination 98765 without
// country code, the letter A in UCS2; 13 octets of TPDU.
const char kPduA[] = "0491214365110005818967F50008AA020041";

TEST(FakeSessionTest, SubmitAcceptsAPduOfTheAnnouncedLength)
{
    FakeSession s(Quiet(FakeModel::Tarnel));
    EXPECT_EQ(Say(s, "AT+CMGS=13\r"), "\r\n> ");
    const FakeOutput out = s.Receive(std::string(kPduA) + "\x1A", 9600);
    EXPECT_EQ(Joined(out), "\r\n+CMGS: 0\r\n\r\nOK\r\n");
    ASSERT_EQ(out.submissions.size(), 1u);
    EXPECT_EQ(out.submissions[0].command, "AT+CMGS=13");
    EXPECT_EQ(out.submissions[0].body, kPduA);
    EXPECT_TRUE(out.submissions[0].accepted);
    // The message reference counts up.
    Say(s, "AT+CMGS=13\r");
    EXPECT_EQ(Say(s, std::string(kPduA) + "\x1A"), "\r\n+CMGS: 1\r\n\r\nOK\r\n");
}

struct SubmitCase {
    const char *name;
    const char *command;
    const char *body;
    const char *expect;
};
void PrintTo(const SubmitCase &c, std::ostream *os) { *os << c.name; }

class FakeSubmitRefusalTest : public testing::TestWithParam<SubmitCase> {};

TEST_P(FakeSubmitRefusalTest, RefusesWithTheModemsError)
{
    FakeSession s(Quiet(FakeModel::Pimsor));
    Say(s, GetParam().command);
    const FakeOutput out = s.Receive(GetParam().body, 9600);
    EXPECT_EQ(Joined(out), GetParam().expect);
    if (!out.submissions.empty()) {
        EXPECT_FALSE(out.submissions[0].accepted);
        EXPECT_EQ("\r\n" + out.submissions[0].refusal + "\r\n", GetParam().expect);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Bodies, FakeSubmitRefusalTest,
    testing::Values(SubmitCase{"LengthTooLarge", "AT+CMGS=14\r", "0491214365110005818967F50008AA020041\x1A",
                               "\r\n+CMS ERROR: 304\r\n"},
                    SubmitCase{"LengthCountsTheCentre", "AT+CMGS=18\r",
                               "0491214365110005818967F50008AA020041\x1A", "\r\n+CMS ERROR: 304\r\n"},
                    SubmitCase{"NotHex", "AT+CMGS=13\r", "0491214365110005818967F50008AA02004G\x1A",
                               "\r\n+CMS ERROR: 304\r\n"},
                    SubmitCase{"CancelledByEscape", "AT+CMGS=13\r", "0491\x1B", "\r\nOK\r\n"}),
    [](const testing::TestParamInfo<SubmitCase> &i) { return i.param.name; });

// A modem at its prompt, found so at power-on or left there by a Ctrl-Z lost
// on the line: what it hears is message text, answered with nothing, until
// an ESC at its own speed gives the message up.
struct PromptStep {
    std::string send;
    int baud;
    std::string expect;
};

struct PromptCase {
    const char *name;
    FakeBaud baud;
    bool leftAtPrompt;
    int bodiesLeftOpen;
    std::vector<PromptStep> steps;
    std::size_t commands;  // heard as commands in all
    std::size_t accepted;  // messages sent in all
};
void PrintTo(const PromptCase &c, std::ostream *os) { *os << c.name; }

const std::string kBody = std::string(kPduA) + "\x1A";

const PromptCase kPromptCases[] = {
    {"EscapeAtNoPromptIsIgnored", FakeBaud::Any, false, 0,
     {{"\x1B", 9600, ""}, {"\x1B" "AT\r", 9600, "\r\nOK\r\n"}}, 1, 0},
    {"LeftAtPromptUntilEscape", FakeBaud::Any, true, 0,
     {{"ATE0\r\nAT\r\n", 9600, ""}, {"\x1B", 9600, "\r\nOK\r\n"}, {"AT\r", 9600, "\r\nOK\r\n"}}, 1, 0},
    {"EscapeHeardOnlyAtItsSpeed", FakeBaud::Only115200, true, 0,
     {{"\x1B", 9600, ""}, {"AT\r", 115200, ""}, {"\x1B", 115200, "\r\nOK\r\n"},
      {"AT\r", 115200, "\r\nOK\r\n"}},
     1, 0},
    // What it held becomes the body a Ctrl-Z sends: no message.
    {"LeftAtPromptUntilCtrlZ", FakeBaud::Any, true, 0,
     {{"AT\r\n\x1A", 9600, "\r\n+CMS ERROR: 304\r\n"}, {"AT\r", 9600, "\r\nOK\r\n"}}, 1, 0},
    {"LostCtrlZLeavesTheBodyOpen", FakeBaud::Any, false, 1,
     {{"AT+CMGS=13\r", 9600, "\r\n> "}, {kBody, 9600, ""}, {"ATE0\r\n", 9600, ""},
      {"\x1B", 9600, "\r\nOK\r\n"}, {"AT+CMGS=13\r", 9600, "\r\n> "},
      {kBody, 9600, "\r\n+CMGS: 0\r\n\r\nOK\r\n"}},
     2, 1},
};

class FakePromptTest : public testing::TestWithParam<PromptCase> {};

TEST_P(FakePromptTest, EverythingIsMessageTextUntilEscape)
{
    const PromptCase &c = GetParam();
    FakeConfig config = Quiet(FakeModel::Tarnel);
    config.baud = c.baud;
    config.faults.leftAtPrompt = c.leftAtPrompt;
    config.faults.bodiesLeftOpen = c.bodiesLeftOpen;
    FakeSession s(config);
    std::size_t commands = 0, accepted = 0;
    for (const PromptStep &step : c.steps) {
        const FakeOutput out = s.Receive(step.send, step.baud);
        EXPECT_EQ(Joined(out), step.expect) << step.send;
        commands += out.commands.size();
        for (const FakeCommandEvent &e : out.commands)
            EXPECT_EQ(e.text.find('\x1B'), std::string::npos) << "an ESC is no part of a command";
        for (const FakeSubmission &sub : out.submissions)
            accepted += sub.accepted ? 1 : 0;
    }
    EXPECT_EQ(commands, c.commands);
    EXPECT_EQ(accepted, c.accepted);
}

INSTANTIATE_TEST_SUITE_P(Prompt, FakePromptTest, testing::ValuesIn(kPromptCases),
                         [](const testing::TestParamInfo<PromptCase> &i) { return i.param.name; });

TEST(FakeSessionTest, FirstSubmissionsFailOnDemand)
{
    FakeConfig c = Quiet(FakeModel::VelkorMe);
    c.faults.failSubmissions = 2;
    FakeSession s(c);
    const std::string body = std::string(kPduA) + "\x1A";
    for (const char *expect : {"\r\n+CMS ERROR: 500\r\n", "\r\n+CMS ERROR: 500\r\n",
                               "\r\n+CMGS: 0\r\n\r\nOK\r\n"}) {
        EXPECT_EQ(Say(s, "AT+CMGS=13\r"), "\r\n> ");
        EXPECT_EQ(Say(s, body), expect);
    }
}

TEST(FakeSessionTest, SubmitNeedsPduMode)
{
    FakeSession s(Quiet(FakeModel::Tarnel));
    EXPECT_EQ(Say(s, "at+cmgf=1\r\n"), "\r\nOK\r\n");
    EXPECT_EQ(Say(s, "AT+CMGS=13\r"), "\r\n+CMS ERROR: 302\r\n");
    EXPECT_EQ(Say(s, "AT+CMGL=4\r\n"), "\r\n+CMS ERROR: 302\r\n");
}

TEST(FakeSessionTest, EchoedPduBodyComesBackBeforeTheResult)
{
    FakeConfig c;
    c.model = FakeModel::Tarnel;
    FakeSession s(c);
    EXPECT_EQ(Say(s, "AT+CMGS=13\r"), "AT+CMGS=13\r\r\n> ");
    EXPECT_EQ(Say(s, std::string(kPduA) + "\x1A"), std::string(kPduA) + "\x1A\r\n+CMGS: 0\r\n\r\nOK\r\n");
}

StoredMessage Message(const char *store, int index, int stat, const char *text)
{
    StoredMessage m;
    m.store = store;
    m.index = index;
    m.stat = stat;
    m.text = text;
    return m;
}

TEST(FakeSessionTest, ListsTheSelectedStoreInIndexOrder)
{
    FakeConfig c = Quiet(FakeModel::Tarnel);
    c.messages = {Message("SM", 5, 1, "B"), Message("ME", 0, 1, "C"), Message("SM", 2, 0, "A")};
    FakeSession s(c);
    const std::string smsc = "+8613800100500";
    const std::string a = BuildStoredPdu(c.messages[2], smsc), b = BuildStoredPdu(c.messages[0], smsc);
    const std::string listing = "\r\n+CMGL: 2,0,,22\r\n" + a + "\r\n+CMGL: 5,1,,22\r\n" + b + "\r\n\r\nOK\r\n";
    EXPECT_EQ(Say(s, "AT+CMGL=4\r\n"), listing);
    // Listing reads the unread message.
    EXPECT_EQ(Say(s, "AT+CMGL=0\r\n"), "\r\nOK\r\n");
    EXPECT_EQ(Say(s, "AT+CPMS=\"ME\"\r\n"), "\r\n+CPMS: 1,100,1,100,1,100\r\n\r\nOK\r\n");
    EXPECT_EQ(Say(s, "AT+CMGL=4\r\n"),
              "\r\n+CMGL: 0,1,,22\r\n" + BuildStoredPdu(c.messages[1], smsc) + "\r\n\r\nOK\r\n");
}

TEST(FakeSessionTest, GivenPduIsListedAsItStands)
{
    FakeConfig c = Quiet(FakeModel::Orvast);
    StoredMessage m = Message("SM", 1, 1, "");
    m.pdu = "0891683108100005F0040D91683108108300F0000891801021504023044F60597D";
    c.messages = {m};
    FakeSession s(c);
    EXPECT_EQ(Say(s, "AT+CMGL=4\r\n"), "\r\n+CMGL: 1,1,,24\r\n" + m.pdu + "\r\n\r\nOK\r\n");
}

TEST(FakeSessionTest, IndexListThenOneByOneFetches)
{
    FakeConfig c = Quiet(FakeModel::VelkorNc5);
    c.messages = {Message("SM", 5, 0, "x"), Message("SM", 1, 1, "y"), Message("SM", 2, 1, "z"),
                  Message("ME", 9, 1, "w")};
    FakeSession s(c);
    EXPECT_EQ(Say(s, "AT+CMGD=?\r\n"), "\r\n+CMGD: (1,2,5),(0-4)\r\n\r\nOK\r\n");
    const std::string pdu = BuildStoredPdu(c.messages[0], "+8613800200500");
    EXPECT_EQ(Say(s, "AT+CMGR=5\r\n"), "\r\n+CMGR: 0,,22\r\n" + pdu + "\r\n\r\nOK\r\n");
    EXPECT_EQ(Say(s, "AT+CMGR= 5\r\n"), "\r\n+CMGR: 1,,22\r\n" + pdu + "\r\n\r\nOK\r\n");
    EXPECT_EQ(Say(s, "AT+CMGR=0-4\r\n"), "\r\n+CMS ERROR: 321\r\n");
}

// Listed and fetched, a message that lost its PDU line gives its header
// alone; the messages around it are whole.
TEST(FakeSessionTest, LostPduLineLeavesTheHeaderAlone)
{
    const std::string smsc = "+8613800200500";
    FakeConfig c = Quiet(FakeModel::VelkorNc5);
    c.messages = {Message("SM", 1, 1, "x"), Message("SM", 2, 1, "y")};
    c.messages[0].pduLineLost = true;
    FakeSession s(c);
    const std::string kept = BuildStoredPdu(c.messages[1], smsc);
    EXPECT_EQ(Say(s, "AT+CMGR=1\r\n"), "\r\n+CMGR: 1,,22\r\n\r\nOK\r\n");
    EXPECT_EQ(Say(s, "AT+CMGR=2\r\n"), "\r\n+CMGR: 1,,22\r\n" + kept + "\r\n\r\nOK\r\n");
    EXPECT_EQ(Say(s, "AT+CMGL=4\r\n"),
              "\r\n+CMGL: 1,1,,22\r\n+CMGL: 2,1,,22\r\n" + kept + "\r\n\r\nOK\r\n");
}

TEST(FakeSessionTest, DeletesOneOrAll)
{
    FakeConfig c = Quiet(FakeModel::VelkorNc5);
    c.messages = {Message("SM", 1, 1, "a"), Message("SM", 2, 3, "b"), Message("SM", 3, 0, "c"),
                  Message("ME", 1, 1, "d")};
    FakeSession s(c);
    EXPECT_EQ(Say(s, "AT+CMGD=2\r\n"), "\r\nOK\r\n");
    EXPECT_EQ(Say(s, "AT+CMGD=2\r\n"), "\r\n+CMS ERROR: 321\r\n");
    EXPECT_EQ(Say(s, "AT+CMGD=0,1\r\n"), "\r\nOK\r\n");  // the read ones
    EXPECT_EQ(Say(s, "AT+CMGD=?\r\n"), "\r\n+CMGD: (3),(0-4)\r\n\r\nOK\r\n");
    EXPECT_EQ(Say(s, "AT+CMGD=0,4\r\n"), "\r\nOK\r\n");
    EXPECT_EQ(Say(s, "AT+CMGD=?\r\n"), "\r\n+CMGD: (),(0-4)\r\n\r\nOK\r\n");
    EXPECT_EQ(Say(s, "AT+CPMS=\"ME\"\r\n"), "\r\n+CPMS: 1,100,1,100,1,100\r\n\r\nOK\r\n");
}

TEST(FakeSessionTest, CdmaSendEndsAtTheTwoOctetTerminatorOnly)
{
    FakeSession s(Quiet(FakeModel::Sudrel));
    EXPECT_EQ(Say(s, "AT^HCMGS=\"13800138000\"\r"), "\r\n> ");
    // U+4E1A holds the octet 0x1A: not the end of the text.
    const FakeOutput part = s.Receive(std::string("\x4E\x1A", 2), 9600);
    EXPECT_TRUE(part.pieces.empty());
    const FakeOutput out = s.Receive(std::string("\x00\x41\x00\x1A", 4), 9600);
    ASSERT_EQ(out.pieces.size(), 2u);
    EXPECT_EQ(out.pieces[0].bytes, "\r\nOK\r\n");
    EXPECT_EQ(out.pieces[1].bytes, "\r\n^HCMGSS: 0\r\n");
    EXPECT_EQ(out.pieces[1].delayMs, kFakeCdmaSendReportMs);
    ASSERT_EQ(out.submissions.size(), 1u);
    EXPECT_TRUE(out.submissions[0].cdma);
    EXPECT_EQ(out.submissions[0].body, "4E1A0041001A");
}

TEST(FakeSessionTest, CdmaSendFailsOnDemand)
{
    FakeConfig c = Quiet(FakeModel::Sudrel);
    c.faults.failSubmissions = 1;
    c.faults.failCode = 96;
    FakeSession s(c);
    Say(s, "AT^HCMGS=\"10086\"\r");
    const FakeOutput out = s.Receive(std::string("\x00\x41\x00\x1A", 4), 9600);
    EXPECT_EQ(Joined(out), "\r\nOK\r\n\r\n^HCMGSF: 96\r\n");
    ASSERT_EQ(out.submissions.size(), 1u);
    EXPECT_EQ(out.submissions[0].refusal, "^HCMGSF: 96");
}

// Some firmware closes a message body with its report alone, no OK first.
TEST(FakeSessionTest, CdmaSendReportWithoutOk)
{
    FakeConfig c = Quiet(FakeModel::Sudrel);
    c.faults.cdmaReportWithoutOk = true;
    c.faults.failSubmissions = 1;
    FakeSession s(c);
    const std::string body("\x00\x41\x00\x1A", 4);
    Say(s, "AT^HCMGS=\"10086\"\r");
    EXPECT_EQ(Joined(s.Receive(body, 9600)), "\r\n^HCMGSF: 500\r\n");
    Say(s, "AT^HCMGS=\"10086\"\r");
    EXPECT_EQ(Joined(s.Receive(body, 9600)), "\r\n^HCMGSS: 0\r\n");
}

TEST(FakeSessionTest, CdmaListAndRead)
{
    FakeConfig c = Quiet(FakeModel::Sudrel);
    StoredMessage hello = Message("SM", 3, 0, "Hello");
    hello.coding = "7bit";
    hello.sender = "13800138000";
    hello.time = "190605102232";
    StoredMessage chinese = Message("SM", 0, 1, "你好");
    chinese.sender = "10086";
    c.messages = {hello, chinese};
    FakeSession s(c);
    EXPECT_EQ(Say(s, "AT^HCMGL=4\r\n"), "\r\n^HCMGL: 0,1\r\n^HCMGL: 3,0\r\n\r\nOK\r\n");
    EXPECT_EQ(Say(s, "AT^HCMGR=3\r\n"),
              "\r\n^HCMGR:13800138000,2019,06,05,10,22,32,0,1,5,0,0,0,0\r\nHello\x1A\r\n\r\nOK\r\n");
    EXPECT_EQ(Say(s, "AT^HCMGR=0\r\n"),
              "\r\n^HCMGR:10086,2019,08,01,12,05,04,0,6,4,0,0,0,1\r\n" +
                  std::string("\x4F\x60\x59\x7D\x00\x1A", 6) + "\r\n\r\nOK\r\n");
    EXPECT_EQ(Say(s, "AT^HCMGL=0\r\n"), "\r\nOK\r\n");  // read now
}

TEST(FakeSessionTest, DelayAndChunkFaultsShapeTheReply)
{
    FakeConfig c = Quiet(FakeModel::Tarnel);
    c.faults.replyDelayMs = 300;
    c.faults.chunkBytes = 4;
    c.faults.chunkGapMs = 70;
    FakeSession s(c);
    const FakeOutput out = s.Receive("AT+CSQ\r\n", 9600);
    ASSERT_EQ(out.pieces.size(), 6u);  // 21 bytes in pieces of 4
    EXPECT_EQ(out.pieces[0].delayMs, 300);
    EXPECT_EQ(out.pieces[0].bytes, "\r\n+C");
    for (std::size_t i = 1; i < out.pieces.size(); ++i)
        EXPECT_EQ(out.pieces[i].delayMs, 70);
    EXPECT_EQ(Joined(out), "\r\n+CSQ: 24,99\r\n\r\nOK\r\n");
}

TEST(FakeSessionTest, ErrorAndSilenceOnChosenCommands)
{
    FakeConfig c = Quiet(FakeModel::Pimsor);
    c.faults.errorCommands = {{"AT+CCID", "+CME ERROR: 10"}, {"at+csq", "ERROR"}};
    c.faults.silentCommands = {"AT+CGSN"};
    FakeSession s(c);
    EXPECT_EQ(Say(s, "AT+CCID\r\n"), "\r\n+CME ERROR: 10\r\n");
    EXPECT_EQ(Say(s, "AT+CSQ\r\n"), "\r\nERROR\r\n");
    const FakeOutput out = s.Receive("AT+CGSN\r\n", 9600);
    EXPECT_TRUE(out.pieces.empty());
    ASSERT_EQ(out.commands.size(), 1u);
    EXPECT_FALSE(out.commands[0].answered);
    EXPECT_EQ(Say(s, "AT\r\n"), "\r\nOK\r\n");
}

FakeReplyFault Shape(const char *command, int splitAt, int pauseMs, const char *insert = "")
{
    FakeReplyFault f;
    f.command = command;
    f.splitAt = splitAt;
    f.pauseMs = pauseMs;
    f.insert = insert;
    return f;
}

std::vector<std::pair<int, std::string>> PiecesOf(const FakeOutput &out)
{
    std::vector<std::pair<int, std::string>> pieces;
    for (const FakePiece &p : out.pieces)
        pieces.emplace_back(p.delayMs, p.bytes);
    return pieces;
}

using Pieces = std::vector<std::pair<int, std::string>>;

struct ShapeCase {
    const char *name;
    FakeReplyFault fault;
    int replyDelayMs;
    Pieces expect;  // to AT^ICCID? of the MG301
};
void PrintTo(const ShapeCase &c, std::ostream *os) { *os << c.name; }

class FakeReplyShapeTest : public testing::TestWithParam<ShapeCase> {};

TEST_P(FakeReplyShapeTest, ReplyLeavesInTheGivenPieces)
{
    FakeConfig c = Quiet(FakeModel::Pimsor);
    c.faults.replyDelayMs = GetParam().replyDelayMs;
    c.faults.replyFaults = {GetParam().fault};
    FakeSession s(c);
    EXPECT_EQ(PiecesOf(s.Receive("AT^ICCID?\r", 9600)), GetParam().expect);
}

FakeReplyFault Before(const char *command, const char *text, int pauseMs, const char *insert = "")
{
    FakeReplyFault f = Shape(command, -1, pauseMs, insert);
    f.splitBefore = text;
    return f;
}

FakeReplyFault Replacing(const char *command, const char *reply)
{
    FakeReplyFault f;
    f.command = command;
    f.reply = reply;
    return f;
}

INSTANTIATE_TEST_SUITE_P(
    Faults, FakeReplyShapeTest,
    testing::Values(
        // Past the probe's 100 ms between bytes: the card number is cut.
        ShapeCase{"PauseInsideTheValue", Shape("AT^ICCID?", 14, 150), 0,
                  {{0, "\r\n^ICCID: 8986"}, {150, "0012345678901204\r\n\r\nOK\r\n"}}},
        ShapeCase{"PauseAfterTheReplyDelay", Shape("at^iccid?", 14, 150), 40,
                  {{40, "\r\n^ICCID: 8986"}, {150, "0012345678901204\r\n\r\nOK\r\n"}}},
        // An unsolicited signal report in the middle, with no pause.
        ShapeCase{"ReportInTheMiddle", Shape("AT^ICCID?", 32, 0, "\r\n^RSSI: 18\r\n"), 0,
                  {{0, "\r\n^ICCID: 89860012345678901204\r\n"}, {0, "\r\n^RSSI: 18\r\n\r\nOK\r\n"}}},
        ShapeCase{"ReportBeforeTheReply", Shape("AT^ICCID?", -1, 0, "\r\n^RSSI: 18\r\n"), 0,
                  {{0, "\r\n^RSSI: 18\r\n\r\n^ICCID: 89860012345678901204\r\n\r\nOK\r\n"}}},
        // Split at 0: the whole reply is late.
        ShapeCase{"WholeReplyLate", Shape("AT^ICCID?", 0, 300), 20,
                  {{320, "\r\n^ICCID: 89860012345678901204\r\n\r\nOK\r\n"}}},
        ShapeCase{"SplitPastTheEnd", Shape("AT^ICCID?", 500, 300), 0,
                  {{0, "\r\n^ICCID: 89860012345678901204\r\n\r\nOK\r\n"}}},
        // Before a text of the reply: between the value and its OK.
        ShapeCase{"ReportBeforeTheOk", Before("AT^ICCID?", "\r\nOK", 50, "\r\n+CMTI: \"SM\",3\r\n"), 0,
                  {{0, "\r\n^ICCID: 89860012345678901204\r\n"},
                   {50, "\r\n+CMTI: \"SM\",3\r\n\r\nOK\r\n"}}},
        ShapeCase{"OkLate", Before("AT^ICCID?", "\r\nOK", 900), 0,
                  {{0, "\r\n^ICCID: 89860012345678901204\r\n"}, {900, "\r\nOK\r\n"}}},
        // Without that text, and past the reply's end: after the reply.
        ShapeCase{"ReportAfterTheReply", Before("AT^ICCID?", "+CME", 20, "\r\nRING\r\n"), 0,
                  {{0, "\r\n^ICCID: 89860012345678901204\r\n\r\nOK\r\n"}, {20, "\r\nRING\r\n"}}},
        ShapeCase{"SplitPastTheEndWithReport", Shape("AT^ICCID?", 500, 20, "\r\nRING\r\n"), 0,
                  {{0, "\r\n^ICCID: 89860012345678901204\r\n\r\nOK\r\n"}, {20, "\r\nRING\r\n"}}},
        ShapeCase{"OwnBytes", Replacing("AT^ICCID?", "\r\n^ICCID:\r\n\r\nOK\r\n"), 0,
                  {{0, "\r\n^ICCID:\r\n\r\nOK\r\n"}}},
        ShapeCase{"OtherCommandUntouched", Shape("AT+CCID", 3, 300), 0,
                  {{0, "\r\n^ICCID: 89860012345678901204\r\n\r\nOK\r\n"}}}),
    [](const testing::TestParamInfo<ShapeCase> &i) { return i.param.name; });

TEST(FakeSessionTest, ReplyFaultWithCountStopsAfterItsTimes)
{
    FakeConfig c = Quiet(FakeModel::Tarnel);
    FakeReplyFault f = Replacing("AT+CSQ", "\r\n+CME ERROR: 10\r\n");
    f.times = 2;
    c.faults.replyFaults = {f, Replacing("AT+CSQ", "\r\n+CSQ: 0,0\r\n\r\nOK\r\n")};
    FakeSession s(c);
    EXPECT_EQ(Say(s, "AT+CSQ\r"), "\r\n+CME ERROR: 10\r\n");
    EXPECT_EQ(Say(s, "AT+CSQ\r"), "\r\n+CME ERROR: 10\r\n");
    EXPECT_EQ(Say(s, "AT+CSQ\r"), "\r\n+CSQ: 0,0\r\n\r\nOK\r\n");  // the next fault that matches
}

// Shaping changes the bytes, not what the command does.
TEST(FakeSessionTest, ShapedCommandStillTakesEffect)
{
    FakeConfig c = Quiet(FakeModel::SudrelNoSerial);
    c.faults.replyFaults = {Replacing("AT^CPBW", "\r\nERROR\r\n")};
    FakeSession s(c);
    const FakeOutput out = s.Receive("AT+CPBS=\"ME\"\rAT^CPBW=1,\"1\",129,\"WMSN\"\r", 9600);
    EXPECT_EQ(Joined(out), "\r\nOK\r\n\r\nERROR\r\n");
    EXPECT_TRUE(out.phonebookChanged);
    EXPECT_EQ(Say(s, "AT^CPBR=1\r"), "\r\n^CPBR: 1,\"1\",129,\"WMSN\",0\r\n\r\nOK\r\n");
}

TEST(FakeSessionTest, ShapedReplyIsAlsoCutIntoChunks)
{
    FakeConfig c = Quiet(FakeModel::Tarnel);
    c.faults.chunkBytes = 8;
    c.faults.chunkGapMs = 5;
    c.faults.replyFaults = {Shape("AT+CSQ", 10, 200, "\r\nRING\r\n")};
    FakeSession s(c);
    EXPECT_EQ(PiecesOf(s.Receive("AT+CSQ\r", 9600)),
              (Pieces{{0, "\r\n+CSQ: "}, {5, "24"}, {200, "\r\nRING\r\n"}, {5, ",99\r\n\r\nO"}, {5, "K\r\n"}}));
}

TEST(FakeSessionTest, FloodBeginsAfterItsCommands)
{
    FakeConfig c = Quiet(FakeModel::Silent);
    c.faults.floodText = "\r\n^RSSILVL: 60\r\n";
    c.faults.floodAfterCommands = 2;
    FakeSession later(c);
    EXPECT_FALSE(later.Flooding());
    later.Receive("AT\r", 9600);
    EXPECT_FALSE(later.Flooding());
    later.Receive("AT\r", 115200);
    EXPECT_TRUE(later.Flooding());
    c.faults.floodAfterCommands = 0;
    EXPECT_TRUE(FakeSession(c).Flooding());
    c.faults.floodText.clear();
    EXPECT_FALSE(FakeSession(c).Flooding());
}

TEST(FakeSessionTest, LineDropsAfterNCommands)
{
    FakeConfig c = Quiet(FakeModel::Orvast);
    c.faults.dropAfterCommands = 2;
    FakeSession s(c);
    EXPECT_FALSE(s.Receive("AT\r\n", 9600).dropLine);
    const FakeOutput out = s.Receive("AT+CSQ\r\nAT\r\n", 9600);
    EXPECT_TRUE(out.dropLine);
    EXPECT_EQ(Joined(out), "\r\n+CSQ: 21,0\r\n\r\nOK\r\n");  // the third is never heard
    EXPECT_TRUE(s.Dropped());
    EXPECT_TRUE(s.Receive("AT\r\n", 9600).pieces.empty());
}

// A hung modem hears every command, echoes none and answers none.
TEST(FakeSessionTest, HangsAfterNCommands)
{
    FakeConfig c;
    c.model = FakeModel::Tarnel;
    c.faults.silentAfterCommands = 2;
    FakeSession s(c);
    EXPECT_EQ(Say(s, "AT\r"), "AT\r\r\nOK\r\n");
    const FakeOutput out = s.Receive("AT+CSQ\rAT\rAT+CGSN\r", 9600);
    EXPECT_EQ(Joined(out), "AT+CSQ\r\r\n+CSQ: 24,99\r\n\r\nOK\r\n");
    ASSERT_EQ(out.commands.size(), 3u);
    EXPECT_TRUE(out.commands[0].answered);
    EXPECT_FALSE(out.commands[1].answered);
    EXPECT_FALSE(out.commands[2].answered);
    EXPECT_FALSE(s.Dropped());
}

TEST(FakeSessionTest, OverlongLineIsCutNotOverrun)
{
    FakeSession s(Quiet(FakeModel::Tarnel));
    const FakeOutput out = s.Receive("AT" + std::string(5000, 'X') + "\r\n", 9600);
    EXPECT_EQ(Joined(out), "\r\nERROR\r\n");
    ASSERT_EQ(out.commands.size(), 1u);
    EXPECT_EQ(out.commands[0].text.size(), 1024u);
}

TEST(FakeSessionTest, NormalisesAsModemsCompare)
{
    const std::pair<const char *, const char *> cases[] = {
        {"at+csq", "AT+CSQ"},
        {"at + cpms?", "AT+CPMS?"},
        {"AT+CPMS=\"sm\"", "AT+CPMS=\"sm\""},
        {"AT^HCMGS=\"138 001\"", "AT^HCMGS=\"138 001\""},
        {"\tAT\x01", "AT"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(NormaliseCommand(c.first), c.second) << c.first;
}
}  // namespace
