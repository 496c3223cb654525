// The real program's scan against modems that answer late, in pieces, with
// unsolicited reports between their replies, with noise, or without end:
// one scan of many fakes per group of behaviours, every model with every
// behaviour of the group beside a well-behaved modem of the same model.
// Each cell of a hostile modem's row is what the well-behaved one shows;
// only a cell whose value the behaviour takes away may show the not-read
// marker instead, and none the text of another reply.
#include <unistd.h>

#include <chrono>
#include <iostream>
#include <map>

#include <gtest/gtest.h>

#include "HostileBehaviours.h"
#include "ZarvexHarness.h"

namespace {
using namespace hostile;

const HarnessPaths kPaths = {ZARVEX_BINARY, FAKE_MODEM_BINARY};

// The slowest group's scan takes about 20 s; far longer is a hang.
constexpr int kRunTimeoutMs = 90000;

const FakeModel kModels[] = {FakeModel::Tarnel, FakeModel::VelkorNc5, FakeModel::VelkorMe,
                             FakeModel::Pimsor, FakeModel::Orvast,    FakeModel::Sudrel};

struct Port {
    std::string device;
    FakeModel model;
    bool anySpeed;               // it answers at every line speed
    const Behaviour *behaviour;  // null: the well-behaved modem of its model
};

class HostileScanTest : public testing::Test {
protected:
    void SetUp() override
    {
        if (geteuid() != 0)
            GTEST_SKIP() << "mount namespaces need root";
    }

    // Every model well-behaved, then with each of the behaviours, in one
    // scan.
    void ScanAndJudge(const std::vector<Behaviour> &behaviours)
    {
        std::vector<Port> ports;
        std::vector<HarnessFake> fakes;
        const auto add = [&](FakeModel model, const Behaviour *b) {
            FakeConfig c;
            c.model = model;
            if (b)
                b->shape(c);
            const std::string device = "ttyUSB" + std::to_string(ports.size());
            ports.push_back({device, model, c.baud == FakeBaud::Any, b});
            fakes.push_back({c, device});
        };
        for (FakeModel model : kModels) {
            add(model, nullptr);
            for (const Behaviour &b : behaviours)
                if (b.builds & kLinux)
                    add(model, &b);
        }
        ZarvexHarness h(kPaths);
        std::string error;
        ASSERT_TRUE(h.Start(fakes, &error)) << error;

        const auto start = std::chrono::steady_clock::now();
        // Standard input no terminal: one pass of the menu, then the end.
        const NamespaceResult r = h.Run({}, "", kRunTimeoutMs);
        const auto wall = std::chrono::steady_clock::now() - start;
        std::cout << "[ measured ] " << ports.size() << " ports: program run "
                  << std::chrono::duration_cast<std::chrono::milliseconds>(wall).count() << " ms\n";
        ASSERT_EQ(r.exitStatus, 0) << r.err;
        ASSERT_FALSE(r.timedOut);

        const std::map<std::string, std::string> rows = TableRows(r.out, "\n");
        std::map<FakeModel, Row> own;
        for (std::size_t i = 0; i < ports.size(); ++i) {
            const Port &p = ports[i];
            SCOPED_TRACE(p.device + " " + FakeModelName(p.model) + " "
                         + (p.behaviour ? p.behaviour->name : "well-behaved"));
            const auto shown = rows.find(p.device);
            ASSERT_NE(shown, rows.end()) << r.out;
            Row row;
            if (!SplitRow(shown->second, &row)) {
                ADD_FAILURE() << "not a row of values: " << shown->second
                              << "\ncommands: " << CommandList(h.Record(i));
                continue;
            }
            if (!p.behaviour) {
                ASSERT_EQ(row.at, kAtOk) << shown->second;
                ASSERT_NE(row.card, kNoCard) << shown->second;
                ASSERT_NE(row.signal, kNoSignal) << shown->second;
                own[p.model] = row;
                continue;
            }
            const unsigned lost = LostCells(p.behaviour->linuxLoss, p.model);
            EXPECT_EQ(JudgeRow(row, own[p.model], lost, p.anySpeed, OwnSerials(p.model)), "")
                << shown->second << (lost ? "\nmay be lost: " + p.behaviour->linuxLoss.why : "")
                << "\ncommands: " << CommandList(h.Record(i));
        }
        const auto recordOf = [&h](std::size_t i) { return h.Record(i); };
        EXPECT_EQ(UntestedBehaviours(behaviours, kLinux, ports, recordOf, r.out), "") << r.out;
    }
};

class HostileGroupScanTest : public HostileScanTest, public testing::WithParamInterface<Group> {};

TEST_P(HostileGroupScanTest, EveryCellIsTheModemsOwnUnlessTheBehaviourTakesItAway)
{
    ScanAndJudge(Behaviours(GetParam()));
}

INSTANTIATE_TEST_SUITE_P(Groups, HostileGroupScanTest, testing::ValuesIn(kGroups),
                         [](const testing::TestParamInfo<Group> &info) { return GroupName(info.param); });

}  // namespace
