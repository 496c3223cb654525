// A message body the modem never answers, its Ctrl-Z lost on the line: the
// modem waits at its ">" prompt still, and would take the next number's
// commands for more of that message. The body is given up, so the next
// number's message goes out.
#include <json/json.h>

#include "FlowE2eSupport.h"

namespace {
using namespace flow_e2e;

class OpenPromptSendE2eTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (geteuid() != 0)
            GTEST_SKIP() << "mount namespaces need root";
    }
};

TEST_F(OpenPromptSendE2eTest, AnUnansweredBodyIsGivenUpBeforeTheNextNumber)
{
    FakeConfig lossy = Fake(FakeModel::Tarnel);
    lossy.faults.bodiesLeftOpen = 1;
    ZarvexHarness h(kPaths);
    std::string error;
    ASSERT_TRUE(h.Start({lossy}, &error)) << error;
    const NamespaceResult r = h.Run({"13800138000,13900139000", "hello"}, "", kRunMs);
    ASSERT_EQ(r.exitStatus, 0) << r.err;
    Json::Value result;
    ASSERT_TRUE(Json::Reader().parse(r.out, result)) << r.out;
    const Json::Value &results = result["result"];
    ASSERT_EQ(results.size(), 2u) << r.out;
    EXPECT_EQ(results[0]["code"].asInt(), 1) << r.out;
    EXPECT_EQ(results[0]["message"].asString(), "no answer") << r.out;
    EXPECT_EQ(results[1]["code"].asInt(), 0) << r.out;

    const FakeRecord record = h.Record(0);
    ASSERT_EQ(record.submissions.size(), 1u);
    EXPECT_TRUE(record.submissions[0].accepted);
    const DecodedSubmission sent = DecodeSubmission(record.submissions[0]);
    EXPECT_TRUE(sent.ok) << sent.error;
    EXPECT_EQ(sent.destination, "13900139000");
}

}  // namespace
