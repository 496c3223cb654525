// Zarvex.exe's command line under Wine against fakes on COM ports: the styled
// JSON with the ports' COM names, results in port by number order, the
// bodies the modems got, the tries a refusal gets, the fixed error objects,
// and UTF-8 in every JSON text.
#include "StyledResultJson.h"
#include "WineFlowSupport.h"

namespace {
using namespace wine_flow;
using styled_json::FixedObject;
using styled_json::Outcome;
using styled_json::ResultObject;

class CmdLineWineTest : public WineFlowTest {};

TEST_F(CmdLineWineTest, SendsThroughTheNamedPortsAndAnswersInJson)
{
    h.AddFake(11, ModemFake(FakeModel::Pimsor))
        .AddFake(12, Refusing(FakeModel::Pimsor, 1000, 500))
        .AddFake(13, Refusing(FakeModel::Pimsor, 1000, 304));
    ASSERT_NO_FATAL_FAILURE(Start());

    // Two ports, two numbers: port by number, the COM names, a refusal of
    // error 500 tried three times in all.
    std::string text;
    const Json::Value sent = RunJson({"11,12", "13800138000,+8613900139000", "hello 世界"}, &text);
    ASSERT_EQ(sent["result"].size(), 4u) << text;
    EXPECT_EQ(text, ResultObject({{0, "COM11", "Succeed", "13800138000"},
                                  {0, "COM11", "Succeed", "+8613900139000"},
                                  {1, "COM12", "+CMS ERROR: 500", "13800138000"},
                                  {1, "COM12", "+CMS ERROR: 500", "+8613900139000"}},
                                 sent));
    const std::vector<DecodedSubmission> bodies = Decoded(h, 11);
    ASSERT_EQ(bodies.size(), 2u);
    const char *destinations[] = {"13800138000", "8613900139000"};
    for (std::size_t i = 0; i < bodies.size(); ++i) {
        EXPECT_TRUE(bodies[i].ok) << bodies[i].error;
        EXPECT_EQ(bodies[i].destination, destinations[i]);
        EXPECT_EQ(bodies[i].declaredLength, bodies[i].tpduLength);
        // The text the person typed, then the result's own time.
        EXPECT_EQ(bodies[i].text, "hello 世界 " + sent["result"][static_cast<Json::ArrayIndex>(i)]["time"].asString());
        EXPECT_TRUE(IsTimeText(sent["result"][static_cast<Json::ArrayIndex>(i)]["time"].asString()));
    }
    EXPECT_EQ(h.Record(12).submissions.size(), 6u) << "three tries for each number";

    // Error 304 is tried once; a named port that was not found is still a
    // result, and nothing is written to it.
    const Json::Value refused = RunJson({"13,19", "10086", "hello"}, &text);
    EXPECT_EQ(text, ResultObject({{1, "COM13", "+CMS ERROR: 304", "10086"},
                                  {4, "COM19", "No SIM CARD In Device", "10086"}},
                                 refused));
    EXPECT_EQ(h.Record(13).submissions.size(), 1u);

    // The fixed objects. Ids are digits only: one piece that is not refuses
    // the whole answer, even beside a port that was found.
    const struct {
        std::vector<std::string> args;
        int code;
        const char *message;
    } errors[] = {
        {{"11,x", "10086", "hello"}, 1, "com port error"},
        {{"COM11", "10086", "hello"}, 1, "com port error"},
        {{"19", "10086", "hello"}, 1, "com port error"},
        {{"11", "10086,12", "hello"}, 2, "phone number error"},
        {{"11", "10086", "hello", "more"}, 3, "param count error"},
    };
    for (const auto &e : errors) {
        const NamespaceResult r = Run(ZarvexExe(), e.args);
        EXPECT_EQ(r.out, TextModeLineEnds(FixedObject(e.code, e.message))) << e.args[0] << " " << e.args[1];
    }
    for (int com : {11, 12, 13})
        EXPECT_EQ(h.Record(com).submissions.size(), com == 12 ? 6u : com == 11 ? 2u : 1u) << com;
}

}  // namespace
