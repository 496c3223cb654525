// The phonebook of an MC323 without a serial number of its own, where the
// Windows probe keeps one of its making in entry 1, against the order of the
// modem's replies: an MC323 that answers only at the second speed still gets
// its number, and one that answers a command twice (an ERROR, then a stray
// OK) never has a person's entry 1 written over, however late the stray OK
// comes.
#include <unistd.h>

#include <gtest/gtest.h>

#include "FakeSamples.h"
#include "WineHarness.h"
#include "WineScanSupport.h"

namespace {
using wine_scan::kWriteEntry;

class PhonebookStepWineTest : public testing::Test {
protected:
    void SetUp() override
    {
        if (geteuid() != 0)
            GTEST_SKIP() << "Wine runs in a private mount namespace, which needs root";
    }

    // One menu pass: the scan, the device table, and the program ends.
    std::string Scan()
    {
        const NamespaceResult r = h.Run(ZarvexExe(), {});
        EXPECT_EQ(r.exitStatus, 0) << r.err;
        return r.out;
    }

    WineHarness h;
};

// Silent at 9600, it answers at 115200: the first scan writes a number into
// its empty entry 1 and shows it, the second shows the same without writing.
TEST_F(PhonebookStepWineTest, AnMc323FoundAtTheSecondSpeedGetsItsNumber)
{
    constexpr int kCom = 11;
    h.AddFake(kCom, ModemFake(FakeModel::SudrelNoSerial, FakeBaud::Only115200));
    std::string error;
    ASSERT_TRUE(h.Start(&error)) << error;

    const std::string first = Scan();
    const std::vector<PhonebookEntry> phonebook = h.Phonebook(kCom);
    ASSERT_EQ(phonebook.size(), 1u);
    EXPECT_EQ(phonebook[0].text, "WMSN");
    const std::string serial = phonebook[0].number;
    EXPECT_EQ(serial.size(), 15u) << serial;
    EXPECT_NE(first.find(serial), std::string::npos) << ReadableGbk(first);

    const std::string second = Scan();
    EXPECT_EQ(h.Record(kCom).CommandsStartingWith(kWriteEntry).size(), 1u);
    EXPECT_NE(second.find(serial), std::string::npos) << ReadableGbk(second);
    ASSERT_EQ(h.Phonebook(kCom).size(), 1u);
    EXPECT_EQ(h.Phonebook(kCom)[0].number, serial);
}

// A modem that takes a moment over every command.
constexpr int kAnswerDelayMs = 20;

// After the reply to `command`, a stray OK `delayMs` later; the modem
// answers later commands only after it, as a modem busy with its own output
// does.
FakeConfig StrayOk(const char *command, const char *reply, int delayMs)
{
    FakeConfig c = ModemFake(FakeModel::SudrelNoSerial);
    c.phonebook = {UserContactInEntryOne()};
    c.faults.replyDelayMs = kAnswerDelayMs;
    FakeReplyFault stray;
    stray.command = command;
    stray.reply = reply;
    stray.splitAt = static_cast<int>(stray.reply.size());
    stray.pauseMs = delayMs;
    stray.insert = "\r\nOK\r\n";
    c.faults.replyFaults = {stray};
    return c;
}

TEST_F(PhonebookStepWineTest, AStrayFinalResultNeverLeadsToAWrite)
{
    const char kSerialRefused[] = "\r\nERROR\r\n";
    const struct {
        int com;
        const char *command;
        const char *reply;
        int delayMs;
    } cases[] = {
        {11, "AT+CGSN", kSerialRefused, 0},
        {12, "AT+CGSN", kSerialRefused, 20},
        {13, "AT+CGSN", kSerialRefused, 50},
        {14, "AT+CGSN", kSerialRefused, 100},
        {15, "AT+CGSN", kSerialRefused, 200},
        {16, "AT+CGSN", kSerialRefused, 300},
        {17, "AT+CGSN", kSerialRefused, 500},
        {18, "AT+CGSN", kSerialRefused, 800},
        {19, "AT+CGSN", kSerialRefused, 1200},
        {20, "AT+CGSN", kSerialRefused, 2000},
        // The same OK too many after other replies before the entry's read.
        {21, "AT+CMEE=1", "\r\nOK\r\n", 20},
        {22, "AT+CGMM", "\r\nMC323-a\r\n\r\nOK\r\n", 20},
        {23, "AT+CPBS", "\r\nOK\r\n", 20},
        {24, "AT+CPBS", "\r\nOK\r\n", 250},
    };
    for (const auto &c : cases)
        h.AddFake(c.com, StrayOk(c.command, c.reply, c.delayMs));
    std::string error;
    ASSERT_TRUE(h.Start(&error)) << error;

    Scan();
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string("an OK too many ") + std::to_string(c.delayMs) + " ms after the reply to "
                     + c.command);
        EXPECT_EQ(h.Record(c.com).CommandsStartingWith(kWriteEntry), std::vector<std::string>());
        const std::vector<PhonebookEntry> now = h.Phonebook(c.com);
        ASSERT_EQ(now.size(), 1u);
        EXPECT_EQ(now[0].number, UserContactInEntryOne().number);
        EXPECT_EQ(now[0].text, UserContactInEntryOne().text);
    }
}

}  // namespace
