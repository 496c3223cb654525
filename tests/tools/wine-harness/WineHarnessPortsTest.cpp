// What the harness refuses before it touches Wine: ports it cannot map, and
// runs without a started harness.
#include <gtest/gtest.h>

#include "WineHarness.h"

namespace {

TEST(WineHarnessPortsTest, RefusesPortsItCannotMap)
{
    struct Case {
        const char *name;
        int first, second;
        const char *error;
    } const cases[] = {
        {"below COM1", 0, 12, "no such COM number: 0"},
        {"negative", -11, 12, "no such COM number: -11"},
        {"above COM255", 11, 256, "no such COM number: 256"},
        {"twice", 11, 11, "COM11 added twice"},
    };
    for (const Case &c : cases) {
        WineHarness h;
        h.AddFake(c.first, ModemFake(FakeModel::Pimsor)).AddMissingPort(c.second);
        std::string error;
        EXPECT_FALSE(h.Start(&error)) << c.name;
        EXPECT_EQ(error, c.error) << c.name;
    }
}

TEST(WineHarnessPortsTest, NothingRunsBeforeAStart)
{
    WineHarness h;
    h.AddFake(11, ModemFake(FakeModel::Pimsor));
    const NamespaceResult r = h.Run("/bin/true", {});
    EXPECT_EQ(r.exitStatus, -1);
    EXPECT_EQ(r.err, "the harness has not started");
    std::string error;
    EXPECT_EQ(h.StartOnTerminal("/bin/true", {}, {}, &error), nullptr);
    EXPECT_TRUE(h.Record(11).commands.empty());
    EXPECT_EQ(h.PortNames(), std::vector<std::string>{"COM11"});
}

}  // namespace
