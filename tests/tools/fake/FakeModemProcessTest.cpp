// The standalone fake_modem: configured by a file, announces its slave
// paths, answers on them, writes its record, ends with its lifeline or its
// lifetime.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include <gtest/gtest.h>

#include "FakeLine.h"
#include "FakeModemProcess.h"

namespace {
const char kFakeModem[] = FAKE_MODEM_BINARY;

TEST(FakeModemProcessTest, ServesTheFakesOfItsConfigFile)
{
    FakeConfig tarnel;
    tarnel.echo = false;
    FakeConfig sudrel;
    sudrel.model = FakeModel::Sudrel;
    sudrel.baud = FakeBaud::Only9600;
    FakeModemProcess p(kFakeModem);
    std::string error;
    ASSERT_TRUE(p.Start({tarnel, sudrel}, 30, &error)) << error;
    ASSERT_EQ(p.Size(), 2u);

    FakeLine line;
    ASSERT_TRUE(line.Open(p.SlavePath(0), 115200));
    EXPECT_EQ(line.Ask("ATI\r\n"), "\r\nQuectel_Ltd\r\nQuectel_M35\r\nRevision: M35FBR02A03\r\n\r\nOK\r\n");
    EXPECT_EQ(line.Ask("AT+CMGS=13\r", 300), "\r\n> ");
    EXPECT_EQ(line.Ask("0491214365110005818967F50008AA020041\x1A"), "\r\n+CMGS: 0\r\n\r\nOK\r\n");
    FakeLine cdma;
    ASSERT_TRUE(cdma.Open(p.SlavePath(1), 9600));
    EXPECT_EQ(cdma.Ask("AT\r\n"), "AT\r\r\nOK\r\n");

    EXPECT_TRUE(p.Stop());
    const FakeRecord r = p.Record(0);
    EXPECT_EQ(r.CommandTexts(), (std::vector<std::string>{"ATI", "AT+CMGS=13"}));
    ASSERT_EQ(r.submissions.size(), 1u);
    EXPECT_TRUE(r.submissions[0].accepted);
    EXPECT_EQ(r.submissions[0].baud, 115200);
    EXPECT_EQ(p.Record(1).CommandTexts(), std::vector<std::string>{"AT"});
}

// A test that restarts the standalone fake between the program's runs: the
// entry written in one run is what the next fake's phonebook starts with.
TEST(FakeModemProcessTest, PhonebookPresetAndKeptThroughItsFile)
{
    char dir[] = "/tmp/zarvex-book.XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    const std::string book = std::string(dir) + "/book.json";
    FakeConfig c;
    c.model = FakeModel::SudrelNoSerial;
    c.echo = false;
    c.phonebookFile = book;
    PhonebookEntry user;
    user.number = "13912345678";
    user.text = "Mum";
    c.phonebook = {user};
    std::string error;
    {
        FakeModemProcess p(kFakeModem);
        ASSERT_TRUE(p.Start({c}, 30, &error)) << error;
        ASSERT_EQ(p.Phonebook(0).size(), 1u);
        EXPECT_EQ(p.Phonebook(0)[0].text, "Mum");
        FakeLine line;
        ASSERT_TRUE(line.Open(p.SlavePath(0), 9600));
        EXPECT_EQ(line.Ask("AT+CPBS=\"ME\"\r"), "\r\nOK\r\n");
        EXPECT_EQ(line.Ask("AT^CPBR=1\r"), "\r\n^CPBR: 1,\"13912345678\",129,\"Mum\",0\r\n\r\nOK\r\n");
        EXPECT_EQ(line.Ask("AT^CPBW=1,\"864209753186420\",129,\"WMSN\"\r"), "\r\nOK\r\n");
        EXPECT_TRUE(p.Stop());
        ASSERT_EQ(p.Phonebook(0).size(), 1u);
        EXPECT_EQ(p.Phonebook(0)[0].number, "864209753186420");
    }
    {
        FakeModemProcess p(kFakeModem);
        ASSERT_TRUE(p.Start({c}, 30, &error)) << error;
        FakeLine line;
        ASSERT_TRUE(line.Open(p.SlavePath(0), 9600));
        EXPECT_EQ(line.Ask("AT+CPBS=\"ME\"\r"), "\r\nOK\r\n");
        EXPECT_EQ(line.Ask("AT^CPBR=1\r"), "\r\n^CPBR: 1,\"864209753186420\",129,\"WMSN\",0\r\n\r\nOK\r\n");
        EXPECT_TRUE(p.Stop());
    }
    EXPECT_EQ(std::remove(book.c_str()), 0);
    EXPECT_EQ(rmdir(dir), 0);
}

TEST(FakeModemProcessTest, EndsWhenItsLifetimeIsOver)
{
    FakeModemProcess p(kFakeModem);
    std::string error;
    ASSERT_TRUE(p.Start({FakeConfig()}, 1, &error)) << error;
    EXPECT_TRUE(p.EndsWithin(4000));
}

TEST(FakeModemProcessTest, RefusesABadConfig)
{
    FakeConfig c;
    c.messages.push_back(StoredMessage());
    c.messages[0].coding = "8bit";  // refused by the reader, not by the writer
    FakeModemProcess p(kFakeModem);
    std::string error;
    EXPECT_FALSE(p.Start({c}, 5, &error));
    EXPECT_NE(error.find("ended before it was ready"), std::string::npos) << error;
}
}  // namespace
