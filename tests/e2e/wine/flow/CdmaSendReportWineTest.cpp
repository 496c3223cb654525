// Zarvex.exe's send through a CDMA module that closes each message body with
// its send report alone, no OK before it: a long text still goes out in
// every part, each part as soon as the report on the one before has come.
#include <iostream>

#include "FakeSamples.h"
#include "WineFlowSupport.h"

namespace {
using namespace wine_flow;

// 300 Chinese characters: five CDMA parts of at most 128 bytes of text.
constexpr int kCharacters = 300;
constexpr std::size_t kParts = 5;
// The run: one port's scan, then five parts of about two polls each (some
// ten seconds in all). A part whose prompt was taken for the rest of the
// last body's reply waits out its length command's budget, about 46 seconds.
constexpr long long kRunBoundMs = 40000;

class CdmaSendReportWineTest : public WineFlowTest {};

TEST_F(CdmaSendReportWineTest, EveryPartOfALongTextGoesOutAtOnce)
{
    FakeConfig fake = ModemFake(FakeModel::Sudrel);
    fake.faults.cdmaReportWithoutOk = true;
    h.AddFake(11, fake);
    ASSERT_NO_FATAL_FAILURE(Start());

    const std::string text = LongChineseText(kCharacters);
    const auto start = std::chrono::steady_clock::now();
    std::string json;
    const Json::Value sent = RunJson({"11", "10086", text}, &json);
    const long long ms = MsSince(start);
    std::cout << "[ measured ] " << kParts << "-part send with reports alone: run " << ms << " ms\n";
    ASSERT_EQ(sent["result"].size(), 1u) << json;
    EXPECT_EQ(sent["result"][0]["code"].asInt(), 0) << json;
    EXPECT_LT(ms, kRunBoundMs);

    const std::vector<DecodedSubmission> parts = Decoded(h, 11);
    ASSERT_EQ(parts.size(), kParts);
    for (std::size_t i = 0; i < parts.size(); ++i)
        EXPECT_TRUE(h.Record(11).submissions[i].accepted) << i;
    const JoinedParts joined = JoinCdmaParts(parts);
    EXPECT_TRUE(joined.ok) << joined.error;
    EXPECT_EQ(joined.text, text);
}

}  // namespace
