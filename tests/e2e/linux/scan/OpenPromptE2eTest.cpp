// The real program's scan of modems that a run ended at the ">" prompt: they
// take every command for message text until an ESC at their own speed gives
// the message up. Each is found, read and left with no message sent.
#include <unistd.h>

#include <map>

#include <gtest/gtest.h>

#include "HostileBehaviours.h"
#include "ZarvexHarness.h"

namespace {
using hostile::ProfileRow;
using hostile::ShownRow;

const HarnessPaths kPaths = {ZARVEX_BINARY, FAKE_MODEM_BINARY};

constexpr int kRunTimeoutMs = 60000;

FakeConfig LeftAtPrompt(FakeModel model, FakeBaud baud)
{
    FakeConfig c;
    c.model = model;
    c.baud = baud;
    c.faults.leftAtPrompt = true;
    return c;
}

class OpenPromptE2eTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (geteuid() != 0)
            GTEST_SKIP() << "mount namespaces need root";
    }
};

TEST_F(OpenPromptE2eTest, ModemsLeftAtThePromptAreFoundAndRead)
{
    ZarvexHarness h(kPaths);
    std::string error;
    // Its speed is the one it was left at: only there does it hear the ESC.
    ASSERT_TRUE(h.Start({LeftAtPrompt(FakeModel::Tarnel, FakeBaud::Any),
                         LeftAtPrompt(FakeModel::Pimsor, FakeBaud::Only115200)},
                        &error))
        << error;
    // One pass of the menu: standard input is no terminal.
    const NamespaceResult r = h.Run({}, "", kRunTimeoutMs);
    ASSERT_EQ(r.exitStatus, 0) << r.err;
    const std::string out = PlainText(r.out);
    const std::map<std::string, std::string> rows = hostile::TableRows(out, "\n");
    EXPECT_EQ(ShownRow(rows, "ttyUSB0"), ProfileRow("ttyUSB0", FakeModel::Tarnel, "9600")) << out;
    EXPECT_EQ(ShownRow(rows, "ttyUSB1"), ProfileRow("ttyUSB1", FakeModel::Pimsor, "115200")) << out;
    for (std::size_t fake : {0u, 1u})
        EXPECT_TRUE(h.Record(fake).submissions.empty()) << "the message was given up, not sent";
}

}  // namespace
