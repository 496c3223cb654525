// The phonebook of an MC323 without a serial number of its own, where the
// Windows probe keeps one of its making in entry 1, under modems that do
// not plainly say what entry 1 holds: it refuses the read, answers with
// another command's tag, or answers every command late. The probe writes
// nothing then: entry 1 may hold a person's contact, and an entry that is
// already the probe's keeps its number.
#include <unistd.h>

#include <map>

#include <gtest/gtest.h>

#include "FakeSamples.h"
#include "HostileBehaviours.h"
#include "WineHarness.h"
#include "WineScanSupport.h"

namespace {
using wine_scan::kWriteEntry;

const char kReadEntry[] = "AT^CPBR=1";
// The CGSN reply of the module holds no number; later replies shift.
constexpr int kSerialReplyLateMs = 800;
const char kKeptSerial[] = "123456789012345";

FakeConfig WithEntry(const PhonebookEntry &entry)
{
    FakeConfig c = ModemFake(FakeModel::SudrelNoSerial);
    c.phonebook = {entry};
    return c;
}

FakeConfig ReadRefused(const PhonebookEntry &entry, const char *reply)
{
    FakeConfig c = WithEntry(entry);
    c.faults.errorCommands = {{kReadEntry, reply}};
    return c;
}

struct Case {
    int com;
    const char *name;
    FakeConfig config;
};

std::vector<Case> Cases()
{
    FakeConfig otherTag = WithEntry(UserContactInEntryOne());
    FakeReplyFault tag;
    tag.command = kReadEntry;
    tag.reply = "\r\n+CPBR: 1,\"13912345678\",129,\"Li Lei\"\r\n\r\nOK\r\n";
    otherTag.faults.replyFaults = {tag};
    FakeConfig shifted = WithEntry(UserContactInEntryOne());
    shifted.faults.replyFaults = {hostile::LateReply("AT+CGSN", kSerialReplyLateMs)};
    // The probe's own entry, whose first read this scan is refused.
    FakeConfig kept = WithEntry(WmsnPhonebookEntry(kKeptSerial));
    FakeReplyFault refusedOnce;
    refusedOnce.command = kReadEntry;
    refusedOnce.reply = "\r\n+CME ERROR: 14\r\n";
    refusedOnce.times = 1;
    kept.faults.replyFaults = {refusedOnce};
    return {
        {11, "SimBusy", ReadRefused(UserContactInEntryOne(), "+CME ERROR: 14")},
        {12, "PlainError", ReadRefused(UserContactInEntryOne(), "ERROR")},
        {13, "MessageServiceError", ReadRefused(UserContactInEntryOne(), "+CMS ERROR: 500")},
        {14, "OtherCommandsTag", otherTag},
        {15, "EveryReplyAfterTheSerialLate", shifted},
        {16, "OwnEntryReadRefusedOnce", kept},
    };
}
constexpr int kKeptCom = 16;

// The serial number column of each row, by port name.
std::map<std::string, std::string> SerialCells(const std::string &gbk)
{
    std::string out;
    EXPECT_TRUE(GbkToUtf8(gbk, &out)) << ReadableGbk(gbk);
    std::map<std::string, std::string> cells;
    for (const auto &line : hostile::TableRows(out, "\r\n")) {
        hostile::Row row;
        if (hostile::SplitRow(line.second, &row))
            cells[row.port] = row.serial;
    }
    return cells;
}

TEST(HostilePhonebookWineTest, NoEntryIsWrittenWithoutAPlainAnswer)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "Wine runs in a private mount namespace, which needs root";
    const std::vector<Case> cases = Cases();
    WineHarness h;
    for (const Case &c : cases)
        h.AddFake(c.com, c.config);
    std::string error;
    ASSERT_TRUE(h.Start(&error)) << error;

    // Two scans: the second finds each phonebook as the first left it.
    std::vector<std::map<std::string, std::string>> serials;
    for (int scan = 0; scan < 2; ++scan) {
        const NamespaceResult r = h.Run(ZarvexExe(), {});
        ASSERT_EQ(r.exitStatus, 0) << r.err;
        serials.push_back(SerialCells(r.out));
    }
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(h.Record(c.com).CommandsStartingWith(kWriteEntry), std::vector<std::string>());
        const std::vector<PhonebookEntry> now = h.Phonebook(c.com);
        ASSERT_EQ(now.size(), 1u);
        EXPECT_EQ(now[0].number, c.config.phonebook[0].number);
        EXPECT_EQ(now[0].text, c.config.phonebook[0].text);
        EXPECT_EQ(now[0].type, c.config.phonebook[0].type);
    }
    // The probe's own entry, not read the first time, is read the next.
    const std::string kept = WineHarness::ComName(kKeptCom);
    EXPECT_TRUE(serials[0][kept] == kKeptSerial || serials[0][kept] == hostile::kNoSerial) << serials[0][kept];
    EXPECT_EQ(serials[1][kept], kKeptSerial);
}

}  // namespace
