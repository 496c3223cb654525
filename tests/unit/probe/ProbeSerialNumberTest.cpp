// The Huawei MC323's serial number kept in its phonebook: written once into
// an empty entry 1 and read back, found again on the next probe without a
// second write, and never written over a user's entry or on an unclear
// answer.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <regex>

#include "ProbeSteps.h"
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
    int writes = 0;

    Responder Play()
    {
        return [this](const std::string &command, int) -> std::vector<ReplyPiece> {
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
                return {{20, entry.empty() ? emptyEntryReply : "\r\n" + entry + "\r\n\r\nOK\r\n"}};
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
        };
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
