// A CDMA module that closes each message body with its send report alone,
// no OK before it: a long text still goes out in every part, each part as
// soon as the report on the one before has come.
#include <chrono>
#include <iostream>

#include <json/json.h>

#include "FakeSamples.h"
#include "FlowE2eSupport.h"

namespace {
using namespace flow_e2e;

// 300 Chinese characters: five CDMA parts of at most 128 bytes of text.
constexpr int kCharacters = 300;
constexpr std::size_t kParts = 5;
// The run: one port's scan, then five parts answered within a fraction of a
// second each. A part whose prompt was taken for the rest of the last
// body's reply waits out its length command's budget, about a minute.
constexpr long long kRunBoundMs = 30000;

TEST(CdmaSendReportE2eTest, EveryPartOfALongTextGoesOutAtOnce)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "mount namespaces need root";
    FakeConfig fake = Fake(FakeModel::Sudrel);
    fake.faults.cdmaReportWithoutOk = true;
    ZarvexHarness h{kPaths};
    std::string error;
    ASSERT_TRUE(h.Start({fake}, &error)) << error;

    const std::string text = LongChineseText(kCharacters);
    const auto start = std::chrono::steady_clock::now();
    const NamespaceResult r = h.Run({"10086", text}, "", kRunMs);
    const long long ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
    std::cout << "[ measured ] " << kParts << "-part send with reports alone: run " << ms << " ms\n";
    ASSERT_EQ(r.exitStatus, 0) << r.err;
    Json::Value result;
    ASSERT_TRUE(Json::Reader().parse(r.out, result)) << r.out;
    ASSERT_EQ(result["result"].size(), 1u) << r.out;
    EXPECT_EQ(result["result"][0]["code"].asInt(), 0) << r.out;
    EXPECT_LT(ms, kRunBoundMs);

    const std::vector<FakeSubmission> bodies = h.Record(0).submissions;
    ASSERT_EQ(bodies.size(), kParts);
    std::string joined;
    for (std::size_t i = 0; i < bodies.size(); ++i) {
        EXPECT_TRUE(bodies[i].accepted) << i;
        const DecodedSubmission part = DecodeSubmission(bodies[i]);
        const std::string marker = "(" + std::to_string(i + 1) + "/" + std::to_string(kParts) + ")";
        ASSERT_GE(part.text.size(), marker.size()) << i;
        EXPECT_EQ(part.text.substr(part.text.size() - marker.size()), marker) << i;
        joined += part.text.substr(0, part.text.size() - marker.size());
    }
    EXPECT_EQ(joined, text);
}

}  // namespace
