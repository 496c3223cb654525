// The Windows program's scan under Wine against modems that answer late, in
// pieces, with unsolicited reports between their replies, with noise, or
// without end: one scan of many fakes per group of behaviours, every module
// family with every behaviour of the group beside a well-behaved modem of
// the same family. Each cell of a hostile modem's row is what the
// well-behaved one shows; only a cell whose value the behaviour takes away
// may show the not-read marker instead, and none another reply's text.
#include <unistd.h>

#include <chrono>
#include <iostream>
#include <map>

#include <gtest/gtest.h>

#include "HostileBehaviours.h"
#include "WineHarness.h"

namespace {
using namespace hostile;

constexpr int kFirstCom = 11;
// The slowest group's scan takes seconds; far longer is a hang.
constexpr int kRunTimeoutMs = 120000;

const FakeModel kFamilies[] = {FakeModel::Pimsor,       FakeModel::VelkorMe,    FakeModel::Sudrel,
                               FakeModel::Orvast,       FakeModel::OrvastWismoq, FakeModel::OrvastOther,
                               FakeModel::Siemens,      FakeModel::Tarnel,      FakeModel::VelkorNc5,
                               FakeModel::SudrelNoSerial};

struct Port {
    int com;
    FakeModel model;
    bool anySpeed;               // it answers at every line speed
    const Behaviour *behaviour;  // null: the well-behaved modem of its family
};

// The MC323 without a serial number of its own shows the one the probe
// keeps in entry 1 of its device phonebook, if any.
std::string KeptSerial(const std::vector<PhonebookEntry> &phonebook)
{
    const PhonebookEntry *entry = FindPhonebookEntry(phonebook, "ME", 1);
    return entry && entry->text == "WMSN" ? entry->number : kNoSerial;
}

class HostileWineScanTest : public testing::Test {
protected:
    void SetUp() override
    {
        if (geteuid() != 0)
            GTEST_SKIP() << "Wine runs in a private mount namespace, which needs root";
    }

    // Every family well-behaved, then with each of the behaviours, in one
    // scan.
    void ScanAndJudge(const std::vector<Behaviour> &behaviours)
    {
        std::vector<Port> ports;
        WineHarness h;
        const auto add = [&](FakeModel model, const Behaviour *b) {
            FakeConfig c = ModemFake(model);
            if (b)
                b->shape(c);
            const int com = kFirstCom + static_cast<int>(ports.size());
            ports.push_back({com, model, c.baud == FakeBaud::Any, b});
            h.AddFake(com, c);
        };
        for (FakeModel model : kFamilies) {
            add(model, nullptr);
            for (const Behaviour &b : behaviours)
                if (b.builds & kWindows)
                    add(model, &b);
        }
        std::string error;
        ASSERT_TRUE(h.Start(&error)) << error;

        const auto start = std::chrono::steady_clock::now();
        // Standard input an empty pipe: one pass of the menu, then the end.
        const NamespaceResult r = h.Run(ZarvexExe(), {}, {"", kRunTimeoutMs, {}, ""});
        const auto wall = std::chrono::steady_clock::now() - start;
        std::cout << "[ measured ] " << ports.size() << " ports: program run "
                  << std::chrono::duration_cast<std::chrono::milliseconds>(wall).count() << " ms\n";
        ASSERT_EQ(r.exitStatus, 0) << r.err;
        ASSERT_FALSE(r.timedOut);

        std::string out;
        EXPECT_TRUE(GbkToUtf8(r.out, &out)) << ReadableGbk(r.out);
        const std::map<std::string, std::string> rows = TableRows(out, "\r\n");
        std::map<FakeModel, Row> own;
        for (const Port &p : ports) {
            const std::string name = WineHarness::ComName(p.com);
            SCOPED_TRACE(name + " " + FakeModelName(p.model) + " "
                         + (p.behaviour ? p.behaviour->name : "well-behaved"));
            const auto shown = rows.find(name);
            ASSERT_NE(shown, rows.end()) << ReadableGbk(r.out);
            const std::string commands = "\ncommands: " + CommandList(h.Record(p.com));
            const std::vector<PhonebookEntry> phonebook = h.Phonebook(p.com);
            // Only a module without a serial number of its own gets one,
            // in its phonebook.
            if (p.model != FakeModel::SudrelNoSerial) {
                EXPECT_TRUE(phonebook.empty()) << phonebook.size() << " entries" << commands;
            }
            Row row;
            if (!SplitRow(shown->second, &row)) {
                ADD_FAILURE() << "not a row of values: " << shown->second << commands;
                continue;
            }
            if (!p.behaviour) {
                ASSERT_EQ(row.at, kAtOk) << shown->second;
                ASSERT_NE(row.card, kNoCard) << shown->second;
                ASSERT_NE(row.signal, kNoSignal) << shown->second;
                own[p.model] = row;
                continue;
            }
            Row ownRow = own[p.model];
            if (p.model == FakeModel::SudrelNoSerial) {
                ownRow.serial = KeptSerial(phonebook);
                EXPECT_LE(phonebook.size(), 1u) << commands;
            }
            const unsigned lost = LostCells(p.behaviour->windowsLoss, p.model);
            EXPECT_EQ(JudgeRow(row, ownRow, lost, p.anySpeed, OwnSerials(p.model)), "")
                << shown->second << (lost ? "\nmay be lost: " + p.behaviour->windowsLoss.why : "") << commands;
        }
        const auto recordOf = [&h, &ports](std::size_t i) { return h.Record(ports[i].com); };
        EXPECT_EQ(UntestedBehaviours(behaviours, kWindows, ports, recordOf, out), "") << out;
    }
};

class HostileGroupWineScanTest : public HostileWineScanTest, public testing::WithParamInterface<Group> {};

TEST_P(HostileGroupWineScanTest, EveryCellIsTheModemsOwnUnlessTheBehaviourTakesItAway)
{
    ScanAndJudge(Behaviours(GetParam()));
}

INSTANTIATE_TEST_SUITE_P(Groups, HostileGroupWineScanTest, testing::ValuesIn(kGroups),
                         [](const testing::TestParamInfo<Group> &info) { return GroupName(info.param); });

}  // namespace
