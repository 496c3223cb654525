// The Windows program's scan of modems that a run ended at the ">" prompt:
// they take every command for message text until an ESC at their own speed
// gives the message up, and answer that ESC with an OK of its own. Each is
// found and read with its own replies, and no message is sent.
#include <unistd.h>

#include <gtest/gtest.h>

#include "FakeProfile.h"
#include "WineHarness.h"
#include "WineScanSupport.h"

namespace {
using namespace wine_scan;

FakeConfig LeftAtPrompt(FakeBaud baud)
{
    FakeConfig c = ModemFake(FakeModel::Pimsor, baud);
    c.faults.leftAtPrompt = true;
    return c;
}

// The row of a Huawei MG301 read at `baud`, line end included.
std::string ReadRow(int com, const char *baud)
{
    const FakeProfile &p = GetFakeProfile(FakeModel::Pimsor);
    return RowLine(com, {baud, "OK", p.iccid, p.csq, p.imei}) + "\r\n";
}

class OpenPromptWineTest : public testing::Test {
protected:
    void SetUp() override
    {
        if (geteuid() != 0)
            GTEST_SKIP() << "Wine runs in a private mount namespace, which needs root";
    }
};

TEST_F(OpenPromptWineTest, ModemsLeftAtThePromptAreFoundAndRead)
{
    WineHarness h;
    // Its speed is the one it was left at: only there does it hear the ESC.
    h.AddFake(11, LeftAtPrompt(FakeBaud::Any)).AddFake(12, LeftAtPrompt(FakeBaud::Only115200));
    std::string error;
    ASSERT_TRUE(h.Start(&error)) << error;
    // One pass of the menu: standard input ends at once.
    const NamespaceResult r = h.Run(ZarvexExe(), {});
    ASSERT_EQ(r.exitStatus, 0) << r.err;
    EXPECT_NE(r.out.find(ReadRow(11, "9600")), std::string::npos) << ReadableGbk(r.out);
    EXPECT_NE(r.out.find(ReadRow(12, "115200")), std::string::npos) << ReadableGbk(r.out);
    for (int com : {11, 12}) {
        const FakeRecord record = h.Record(com);
        EXPECT_TRUE(record.submissions.empty()) << "the message was given up, not sent";
        ASSERT_FALSE(record.commands.empty());
        EXPECT_EQ(record.commands[0].text, "AT");
    }
}

}  // namespace
