// The standalone fake_modem: configured by a file, announces its slave
// paths, answers on them, writes its record, ends with its lifeline or its
// lifetime.
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
