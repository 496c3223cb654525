// The Huawei MC323's serial number kept in its phonebook: written once into
// an empty entry 1 and read back, found again on the next probe without a
// second write, and never written over a user's entry or on an unclear
// answer.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <regex>

#include "ProbeSteps.h"
#include "PromptCancel.h"
#include "ScriptedModem.h"

namespace {

// An MC323 without a serial number of its own and with a device phonebook
// whose entry 1 outlives the probe (it lives in the test, as in the modem).
struct Mc323 {
    std::string entry;  // the ^CPBR line of entry 1, "" when it is empty
    std::string emptyEntryReply = "\r\nOK\r\n";
    std::string storageReply = "\r\nOK\r\n";
    std::string writeReply = "\r\nOK\r\n";
    // Non-empty: what every read of entry 1 is answered with, whatever it holds.
    std::string readReply;
    std::string serialReply = kError;  // to AT+CGSN, which gives no serial
    long long serialDelayMs = 20;
    bool answersRead = true;
    int baud = 0;  // the only speed it answers at; 0: every speed
    // A final result too many: after the reply to `strayAfter`, another OK
    // `strayDelayMs` later, and the replies to later commands behind it.
    std::string strayAfter;
    long long strayDelayMs = 0;
    // What the line brings after an empty entry's reply, before anything
    // else is asked.
    std::vector<ReplyPiece> afterEmptyRead;
    long long cancelDelayMs = 20;
    int writes = 0;

    Responder Play()
    {
        return [this](const std::string &command, int speed) {
            if (baud != 0 && speed != baud)
                return std::vector<ReplyPiece>();
            std::vector<ReplyPiece> pieces = ReplyTo(command);
            if (command == strayAfter && !pieces.empty())
                pieces.push_back({pieces.back().afterMs + strayDelayMs, kOk});
            return pieces;
        };
    }

    std::vector<ReplyPiece> ReplyTo(const std::string &command)
    {
        // The ESC that gives up a message body left open: this module
        // answers it, like a command it does not know, with OK.
        if (command == kCancelMessageBody)
            return {{cancelDelayMs, kOk}};
        static const std::regex write("AT\\^CPBW=1,\"([0-9]*)\",129,\"WMSN\"\r");
        std::smatch match;
        if (command == "AT+CGMI\r")
            return {{20, Answer("HUAWEI")}};
        if (command == "AT+CGMM\r")
            return {{20, Answer("MC323")}};
        if (command == "AT+CGSN\r")
            return {{serialDelayMs, serialReply}};
        if (command == "AT+CPBS=\"ME\"\r")
            return {{20, storageReply}};
        if (command == "AT^CPBR=1\r") {
            if (!answersRead)
                return {};
            if (!readReply.empty())
                return {{20, readReply}};
            if (!entry.empty())
                return {{20, "\r\n" + entry + "\r\n\r\nOK\r\n"}};
            std::vector<ReplyPiece> empty = {{20, emptyEntryReply}};
            empty.insert(empty.end(), afterEmptyRead.begin(), afterEmptyRead.end());
            return empty;
        }
        if (std::regex_match(command, match, write)) {
            ++writes;
            if (writeReply.find("OK") != std::string::npos)
                entry = "^CPBR: 1,\"" + match[1].str() + "\",129,\"WMSN\",0";
            return {{20, writeReply}};
        }
        if (command == "AT+CCID\r")
            return {{20, Answer("+CCID: 89860312345678901234")}};
        return {{20, kOk}};
    }
};

ProbeFindings Probe(Mc323 &modem, std::vector<std::string> *commands = nullptr)
{
    ScriptedLine line(modem.Play());
    ProbeFindings findings;
    RunPortProbe(line, findings);
    if (commands)
        *commands = line.Commands();
    return findings;
}

int Count(const std::vector<std::string> &commands, const std::string &prefix)
{
    int n = 0;
    for (const std::string &c : commands)
        n += c.rfind(prefix, 0) == 0;
    return n;
}

TEST(PhonebookSerialTest, WrittenOnceIntoAnEmptyEntryThenReadBackUnchanged)
{
    Mc323 modem;
    std::vector<std::string> first;
    const ProbeFindings provisioned = Probe(modem, &first);

    EXPECT_EQ(provisioned.modelCode, PROBE_MODULE_MC323);
    EXPECT_TRUE(std::regex_match(provisioned.serialNumber, std::regex("[0-9]{15}")))
        << provisioned.serialNumber;
    EXPECT_EQ(modem.writes, 1);
    EXPECT_EQ(Count(first, "AT^RSSIREP=0\r"), 1);

    std::vector<std::string> second;
    const ProbeFindings again = Probe(modem, &second);
    EXPECT_EQ(again.serialNumber, provisioned.serialNumber);
    EXPECT_EQ(modem.writes, 1);
    EXPECT_EQ(Count(second, "AT^CPBW"), 0);
}

TEST(PhonebookSerialTest, TheWriteIsAnsweredBeforeTheEntryIsReadBack)
{
    Mc323 modem;
    std::vector<std::string> commands;
    Probe(modem, &commands);

    const auto write = std::find_if(commands.begin(), commands.end(), [](const std::string &c) {
        return c.rfind("AT^CPBW", 0) == 0;
    });
    ASSERT_NE(write, commands.end());
    const std::vector<std::string> around(write - 2, write + 2);
    EXPECT_EQ(around[0], "AT+CPBS=\"ME\"\r");
    EXPECT_EQ(around[1], "AT^CPBR=1\r");
    EXPECT_EQ(around[3], "AT^CPBR=1\r");
}

TEST(PhonebookSerialTest, AnEntryThatIsNotOursIsLeftAlone)
{
    const char *userEntries[] = {
        "^CPBR: 1,\"13800138000\",129,\"Mum\"",
        "^CPBR: 1,\"13800138000\",129,\"WMSN-old\"",
        "^CPBR: 1",
        "^CPBR: 1,",
        "^CPBR: 1,\"138",
    };
    for (const char *entry : userEntries) {
        SCOPED_TRACE(entry);
        Mc323 modem;
        modem.entry = entry;
        const ProbeFindings findings = Probe(modem);
        EXPECT_EQ(modem.writes, 0);
        EXPECT_EQ(modem.entry, entry);
        EXPECT_TRUE(findings.serialNumber.empty());
        EXPECT_EQ(findings.smsCardNumber, " 89860312345678901234");
    }
}

TEST(PhonebookSerialTest, AnEntryReportedAsNotFoundCountsAsEmpty)
{
    Mc323 modem;
    modem.emptyEntryReply = "\r\n+CME ERROR: 22\r\n";
    const ProbeFindings findings = Probe(modem);
    EXPECT_EQ(modem.writes, 1);
    EXPECT_EQ(findings.serialNumber.size(), 15u);
}

TEST(PhonebookSerialTest, NoClearAnswerMeansNothingIsWritten)
{
    Mc323 silentRead;
    silentRead.answersRead = false;
    EXPECT_TRUE(Probe(silentRead).serialNumber.empty());
    EXPECT_EQ(silentRead.writes, 0);

    Mc323 noStorage;
    noStorage.storageReply = "\r\n+CME ERROR: 3\r\n";
    EXPECT_TRUE(Probe(noStorage).serialNumber.empty());
    EXPECT_EQ(noStorage.writes, 0);
}

// Only "not found" says the entry is empty: any other refusal of the read,
// or an entry in the standard form, leaves the user's contact alone.
TEST(PhonebookSerialTest, ARefusedReadNeverLeadsToAWrite)
{
    const char *replies[] = {
        "\r\nERROR\r\n",
        "\r\n+CME ERROR: 14\r\n",
        "\r\n+CMS ERROR: 500\r\n",
        "\r\n+CPBR: 1,\"13800138000\",129,\"Mum\"\r\n\r\nOK\r\n",
    };
    for (const char *reply : replies) {
        SCOPED_TRACE(reply);
        Mc323 modem;
        modem.entry = "^CPBR: 1,\"13800138000\",129,\"Mum\"";
        modem.readReply = reply;
        std::vector<std::string> commands;
        const ProbeFindings findings = Probe(modem, &commands);
        EXPECT_EQ(Count(commands, "AT^CPBW"), 0);
        EXPECT_EQ(modem.entry, "^CPBR: 1,\"13800138000\",129,\"Mum\"");
        EXPECT_TRUE(findings.serialNumber.empty());
    }
}

// Our own entry whose read-back fails this time: no new number is written
// over it, so the device keeps its serial from scan to scan.
TEST(PhonebookSerialTest, OurEntryIsNeverRewrittenWhenItsReadFails)
{
    Mc323 modem;
    const std::string serial = Probe(modem).serialNumber;
    ASSERT_EQ(serial.size(), 15u);
    const std::string entry = modem.entry;
    modem.readReply = "\r\n+CME ERROR: 14\r\n";
    EXPECT_TRUE(Probe(modem).serialNumber.empty());
    EXPECT_EQ(modem.writes, 1);
    EXPECT_EQ(modem.entry, entry);
    modem.readReply.clear();
    EXPECT_EQ(Probe(modem).serialNumber, serial);
}

// An earlier reply that came after its exchange's bound shifts what every
// later reply seems to answer: an empty entry seen then is no proof, and
// nothing is written.
TEST(PhonebookSerialTest, AProbeOutOfStepWritesNothing)
{
    Mc323 modem;
    modem.serialReply = kOk;
    modem.serialDelayMs = 800;
    std::vector<std::string> commands;
    const ProbeFindings findings = Probe(modem, &commands);
    EXPECT_EQ(Count(commands, "AT^CPBW"), 0);
    EXPECT_EQ(modem.writes, 0);
    EXPECT_TRUE(findings.serialNumber.empty());
}

// A serial number query answered with something else than a plain final
// result (a device that starts streaming, a value cut short) says nothing
// about whether the module has a number of its own: the phonebook is not
// touched.
TEST(PhonebookSerialTest, AnUnclearSerialReplyLeavesThePhonebookAlone)
{
    const char *replies[] = {
        "\r\n$GPRMC,083559.00,A,4717.11437,N,00833.91522,E,0.004,77.52,091202,,,A*57\r\n\r\nOK\r\n",
        "\r\n80A1B2",
        "\r\nOK\r\n$GPRMC,083559.00,A,4717.11437,N\r\n",
    };
    for (const char *reply : replies) {
        SCOPED_TRACE(reply);
        Mc323 modem;
        modem.serialReply = reply;
        std::vector<std::string> commands;
        const ProbeFindings findings = Probe(modem, &commands);
        EXPECT_EQ(Count(commands, "AT+CPBS"), 0);
        EXPECT_EQ(modem.writes, 0);
        EXPECT_TRUE(findings.serialNumber.empty());
    }
}

// Silent at 9600, answering at 115200: a modem that answers at the speed in
// use is in step, whatever went unanswered at the other.
TEST(PhonebookSerialTest, AModuleFoundAtTheSecondSpeedGetsItsNumber)
{
    Mc323 modem;
    modem.baud = 115200;
    const ProbeFindings findings = Probe(modem);
    EXPECT_EQ(findings.baudText, "115200");
    EXPECT_EQ(modem.writes, 1);
    EXPECT_TRUE(std::regex_match(findings.serialNumber, std::regex("[0-9]{15}")))
        << findings.serialNumber;
}

// The answer to the ESC written before the first command at each speed is
// expected, not a final result too many: an empty entry 1 still gets its
// number, whenever within the probe's settle the answer comes.
TEST(PhonebookSerialTest, AnAnsweredCancelKeepsTheProbeInStep)
{
    for (long long delay : {0LL, 1LL, 10LL, static_cast<long long>(kProbeCancelSettleMs)}) {
        Mc323 modem;
        modem.cancelDelayMs = delay;
        const ProbeFindings findings = Probe(modem);
        EXPECT_EQ(modem.writes, 1) << "the ESC answered after " << delay << " ms";
        EXPECT_TRUE(std::regex_match(findings.serialNumber, std::regex("[0-9]{15}")))
            << findings.serialNumber;
    }
}

// A modem that answers one command twice: the extra OK makes every later
// reply seem to answer the command after its own, so the read of entry 1
// can take AT+CPBS's OK for an empty entry. Whichever command it follows,
// and however late it comes, a person's contact in entry 1 stays.
TEST(PhonebookSerialTest, AFinalResultTooManyNeverLeadsToAWrite)
{
    const std::string contact = "^CPBR: 1,\"13800138000\",129,\"Mum\",0";
    const char *commands[] = {"AT\r",       "ATE0\r",    "AT+CMEE=1\r", "ATI\r",
                              "AT+CGMI\r",  "AT+CGMM\r", "AT+CGSN\r",   "AT+CPBS=\"ME\"\r"};
    constexpr long long kLatestMs = 2000;
    constexpr long long kStepMs = 5;
    for (const char *after : commands) {
        for (long long delay = 0; delay <= kLatestMs; delay += kStepMs) {
            Mc323 modem;
            modem.entry = contact;
            modem.strayAfter = after;
            modem.strayDelayMs = delay;
            Probe(modem);
            ASSERT_EQ(modem.writes, 0) << "an OK too many " << delay << " ms after " << after;
            ASSERT_EQ(modem.entry, contact);
        }
    }
}

// The moments after an empty entry was read: a report the module sends of
// its own accord does not stop the write; anything else does, the modem's
// next reply above all.
TEST(PhonebookSerialTest, AnEmptyEntryIsWrittenOnlyWhenTheLineStaysQuiet)
{
    const struct {
        const char *name;
        std::vector<ReplyPiece> after;
        bool written;
    } cases[] = {
        {"Nothing", {}, true},
        {"SignalReports", {{60, "\r\n^RSSILVL: 60\r\n"}, {250, "\r\n^HRSSILVL: 40\r\n"}}, true},
        {"AnotherOk", {{120, kOk}}, false},
        {"AnError", {{120, "\r\n+CME ERROR: 22\r\n"}}, false},
        {"AnEntry", {{60, "\r\n^CPBR: 1,\"13800138000\",129,\"Mum\",0\r\n\r\nOK\r\n"}}, false},
        {"ALineStillArriving", {{300, "\r\n^CPB"}}, false},
        {"NoiseWithoutALineEnd", {{120, "\r\n\x7f\x7f"}}, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        Mc323 modem;
        modem.afterEmptyRead = c.after;
        const ProbeFindings findings = Probe(modem);
        EXPECT_EQ(modem.writes, c.written ? 1 : 0);
        EXPECT_EQ(findings.serialNumber.empty(), !c.written) << findings.serialNumber;
        // Whatever came, the card number is still the modem's own.
        EXPECT_EQ(findings.smsCardNumber, " 89860312345678901234");
    }
}

TEST(PhonebookSerialTest, ARefusedWriteGivesNoSerial)
{
    Mc323 modem;
    modem.writeReply = "\r\n+CME ERROR: 4\r\n";
    std::vector<std::string> commands;
    const ProbeFindings findings = Probe(modem, &commands);
    EXPECT_TRUE(findings.serialNumber.empty());
    EXPECT_EQ(Count(commands, "AT^CPBR=1\r"), 1);
    EXPECT_EQ(Count(commands, "AT^RSSIREP"), 0);
}

}  // namespace
