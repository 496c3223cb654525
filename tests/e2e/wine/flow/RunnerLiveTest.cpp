// The Windows runner's tests on live lines (wine_flow_runner_tests.exe of the
// Windows build) under Wine against fakes: every one of them runs and
// passes, and the fakes got what the runner was to write.
#include <unistd.h>

#include <algorithm>

#include <gtest/gtest.h>

#include "WineHarness.h"

namespace {

const std::string kRunnerTests = WindowsProgram("tests/e2e/wine/flow/wine_flow_runner_tests.exe");

bool Holds(const std::vector<std::string> &texts, const std::string &text)
{
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

TEST(RunnerLiveTest, EveryRunnerTestPassesOnLiveLines)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "Wine runs in a private mount namespace, which needs root";
    FakeConfig pieces = ModemFake(FakeModel::Pimsor);
    FakeReplyFault halfway;
    halfway.command = "AT+CMGF";
    halfway.splitAt = 3;
    halfway.pauseMs = 900;
    pieces.faults.replyFaults.push_back(halfway);
    FakeConfig refusing = ModemFake(FakeModel::Pimsor);
    refusing.faults.errorCommands = {{"AT+CMGL", "+CMS ERROR: 321"}, {"AT+CSCA", "ERROR"}};
    FakeConfig index = ModemFake(FakeModel::VelkorNc5);
    index.faults.errorCommands = {{"AT+CSCA", "ERROR"}};

    WineHarness h;
    h.AddFake(11, pieces).AddFake(12, ModemFake(FakeModel::Silent)).AddFake(13, refusing).AddFake(14, index);
    std::string error;
    ASSERT_TRUE(h.Start(&error)) << error;
    const NamespaceResult r =
        h.Run(kRunnerTests, {},
              {"", 120000,
               {"ZARVEX_FLOW_COM=COM11", "ZARVEX_FLOW_SILENT_COM=COM12", "ZARVEX_FLOW_REFUSING_COM=COM13",
                "ZARVEX_FLOW_INDEX_COM=COM14"},
               ""});
    EXPECT_EQ(r.exitStatus, 0) << r.out << r.err;
    EXPECT_EQ(r.out.find("[  SKIPPED ]"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("[  PASSED  ] 8 tests"), std::string::npos) << r.out;

    // Every initialisation command reaches a modem that answers none of them.
    const std::vector<std::string> silent = h.Record(12).CommandTexts();
    ASSERT_GE(silent.size(), 3u);
    EXPECT_EQ(std::vector<std::string>(silent.begin(), silent.begin() + 3),
              (std::vector<std::string>{"AT+CMEE=1", "AT+CPMS=\"SM\"", "ATE0"}));
    EXPECT_TRUE(Holds(silent, "AT+CNMI?")) << "written although no poll follows";
    EXPECT_TRUE(Holds(h.Record(14).CommandTexts(), "AT+CSCA?"));
}

}  // namespace
