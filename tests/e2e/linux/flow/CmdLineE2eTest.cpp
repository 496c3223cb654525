// The command-line send of the real program: what a script reads on standard
// output (an empty line, the JSON text, an empty line, nothing else) in all
// its outcomes, and the text that reaches the modem.
#include <json/json.h>

#include "FlowE2eSupport.h"
#include "StyledResultJson.h"

namespace {
using namespace flow_e2e;
using styled_json::FixedObject;
using styled_json::Outcome;
using styled_json::ResultObject;

class CmdLineE2eTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (geteuid() != 0)
            GTEST_SKIP() << "mount namespaces need root";
    }

    void StartFake(const FakeConfig &config = Fake(FakeModel::Tarnel))
    {
        std::string error;
        ASSERT_TRUE(h.Start({config}, &error)) << error;
    }

    NamespaceResult Run(const std::vector<std::string> &args)
    {
        const NamespaceResult r = h.Run(args, "", kRunMs);
        EXPECT_EQ(r.exitStatus, 0) << r.err;
        EXPECT_FALSE(r.timedOut);
        return r;
    }

    std::string SentText()
    {
        const FakeRecord record = h.Record(0);
        EXPECT_EQ(record.submissions.size(), 1u);
        return record.submissions.empty() ? std::string() : DecodeSubmission(record.submissions[0]).text;
    }

    ZarvexHarness h{kPaths};
};

struct ErrorCase {
    const char *name;
    std::vector<std::string> args;
    int code;
    const char *message;
    bool scans;
};

void PrintTo(const ErrorCase &c, std::ostream *os)
{
    *os << c.name;
}

const ErrorCase kErrorCases[] = {
    {"OneWordThatIsNoHelp", {"HELP"}, 3, "param count error", false},
    {"FourArguments", {"USB0", "13800138000", "hello", "more"}, 3, "param count error", false},
    // Wrong in both: the numbers are judged first.
    {"NumberBeforePort", {"USB9", "1234", "hello"}, 2, "phone number error", true},
    {"OneBadNumberRejectsAll", {"13800138000,abc", "hello"}, 2, "phone number error", true},
    {"OnlyUndetectedPorts", {"USB9,USB7", "13800138000", "hello"}, 1, "com port error", true},
};

class CmdLineErrorTest : public CmdLineE2eTest, public ::testing::WithParamInterface<ErrorCase> {};

TEST_P(CmdLineErrorTest, FixedObjectAndNothingSent)
{
    ASSERT_NO_FATAL_FAILURE(StartFake());
    const NamespaceResult r = Run(GetParam().args);
    EXPECT_EQ(r.out, FixedObject(GetParam().code, GetParam().message));
    const FakeRecord record = h.Record(0);
    EXPECT_TRUE(record.submissions.empty());
    if (GetParam().scans)
        EXPECT_EQ(record.CommandTexts(), kTarnelScan);
    else
        EXPECT_TRUE(record.commands.empty()) << "no scan for a wrong argument count";
}

INSTANTIATE_TEST_SUITE_P(CmdLine, CmdLineErrorTest, ::testing::ValuesIn(kErrorCases),
                         [](const ::testing::TestParamInfo<ErrorCase> &info) {
                             return std::string(info.param.name);
                         });

// A named port that no scan found is accepted beside a found one; its
// numbers get code 4. The quotes around a longer text are dropped.
TEST_F(CmdLineE2eTest, NamedPortsWithOneNotFound)
{
    ASSERT_NO_FATAL_FAILURE(StartFake());
    const NamespaceResult r = Run({"USB0,USB9", "13800138000,10086", "\"hello world\""});
    Json::Value printed;
    ASSERT_TRUE(Json::Reader().parse(r.out, printed)) << r.out;
    ASSERT_EQ(printed["result"].size(), 4u) << r.out;
    for (const Json::Value &result : printed["result"])
        EXPECT_TRUE(IsLocalTime(result["time"].asString())) << result["time"];
    EXPECT_EQ(r.out, ResultObject({{0, "ttyUSB0", "Succeed", "13800138000"},
                                   {0, "ttyUSB0", "Succeed", "10086"},
                                   {4, "ttyUSB9", "No SIM CARD In Device", "13800138000"},
                                   {4, "ttyUSB9", "No SIM CARD In Device", "10086"}},
                                  printed));
    const FakeRecord record = h.Record(0);
    ASSERT_EQ(record.submissions.size(), 2u);
    EXPECT_EQ(DecodeSubmission(record.submissions[1]).text, "hello world");
}

struct TextCase {
    const char *name;
    const char *argument;
    std::string sent;
};

void PrintTo(const TextCase &c, std::ostream *os)
{
    *os << c.name;
}

const TextCase kTextCases[] = {
    {"ShortQuotedTextKeepsItsQuotes", "\"ab\"", "\"ab\""},
    {"EmptyTextSendsTheDefault", "", kDefaultText},
    {"ChineseInQuotes", "\"北京 欢迎您\"", "北京 欢迎您"},
    // The shell has taken its own quotes away; these belong to the message.
    {"QuotesInsideTheTextStay", "Meet at \"Cafe Blue\" at noon", "Meet at \"Cafe Blue\" at noon"},
};

class CmdLineTextTest : public CmdLineE2eTest, public ::testing::WithParamInterface<TextCase> {};

// No ports named: the fully read modem is chosen.
TEST_P(CmdLineTextTest, TextThatReachesTheModem)
{
    ASSERT_NO_FATAL_FAILURE(StartFake());
    const NamespaceResult r = Run({"10086", GetParam().argument});
    Json::Value printed;
    ASSERT_TRUE(Json::Reader().parse(r.out, printed)) << r.out;
    EXPECT_EQ(r.out, ResultObject({{0, "ttyUSB0", "Succeed", "10086"}}, printed));
    EXPECT_EQ(SentText(), GetParam().sent);
}

INSTANTIATE_TEST_SUITE_P(CmdLine, CmdLineTextTest, ::testing::ValuesIn(kTextCases),
                         [](const ::testing::TestParamInfo<TextCase> &info) {
                             return std::string(info.param.name);
                         });

// A refusal is a result inside an accepted object: its message is the
// modem's line as received.
TEST_F(CmdLineE2eTest, RefusalIsAResultWithTheModemsLine)
{
    FakeConfig c = Fake(FakeModel::Tarnel);
    c.faults.failSubmissions = 1;
    c.faults.failCode = 330;
    ASSERT_NO_FATAL_FAILURE(StartFake(c));
    const NamespaceResult r = Run({"USB0", "10086", "hello"});
    Json::Value printed;
    ASSERT_TRUE(Json::Reader().parse(r.out, printed)) << r.out;
    EXPECT_EQ(r.out, ResultObject({{1, "ttyUSB0", "+CMS ERROR: 330", "10086"}}, printed));
}

}  // namespace
