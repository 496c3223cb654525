// The phonebook in which the Windows program keeps a serial number for a
// module without one: Huawei's ^CPBR/^CPBW on the store chosen with
// AT+CPBS, entries preset by the test, kept for as long as the fake lives
// (across the program's opens) and, through its file, across fakes.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include <gtest/gtest.h>

#include "FakeLine.h"
#include "FakePool.h"
#include "FakeSession.h"

namespace {
std::string Say(FakeSession &s, const std::string &bytes)
{
    std::string joined;
    for (const FakePiece &p : s.Receive(bytes, 9600).pieces)
        joined += p.bytes;
    return joined;
}

FakeConfig Quiet(FakeModel model = FakeModel::SudrelNoSerial)
{
    FakeConfig c;
    c.model = model;
    c.echo = false;
    return c;
}

PhonebookEntry Entry(const char *store, int index, const char *number, int type, const char *text, int coding = 0)
{
    PhonebookEntry e;
    e.store = store;
    e.index = index;
    e.number = number;
    e.type = type;
    e.text = text;
    e.coding = coding;
    return e;
}

// The probe's read: the store chosen and entry 1 asked for in one go, both
// replies arriving together.
const char kSelectAndRead[] = "AT+CPBS=\"ME\"\rAT^CPBR=1\r";

struct PresetCase {
    const char *name;
    std::vector<PhonebookEntry> preset;
    const char *reply;  // to kSelectAndRead
};
void PrintTo(const PresetCase &c, std::ostream *os) { *os << c.name; }

class FakePhonebookPresetTest : public testing::TestWithParam<PresetCase> {};

TEST_P(FakePhonebookPresetTest, EntryOneReadsAsPreset)
{
    FakeConfig c = Quiet();
    c.phonebook = GetParam().preset;
    FakeSession s(c);
    EXPECT_EQ(Say(s, kSelectAndRead), GetParam().reply);
}

INSTANTIATE_TEST_SUITE_P(
    Presets, FakePhonebookPresetTest,
    testing::Values(
        PresetCase{"Empty", {}, "\r\nOK\r\n\r\nOK\r\n"},
        PresetCase{"Wmsn", {WmsnPhonebookEntry("357294061538720")},
                   "\r\nOK\r\n\r\n^CPBR: 1,\"357294061538720\",129,\"WMSN\",0\r\n\r\nOK\r\n"},
        PresetCase{"UsersOwn", {Entry("ME", 1, "+8613912345678", 145, "Office")},
                   "\r\nOK\r\n\r\n^CPBR: 1,\"+8613912345678\",145,\"Office\",0\r\n\r\nOK\r\n"},
        PresetCase{"UsersOwnInUcs2", {Entry("ME", 1, "10086", 129, "5BB66237", 1)},
                   "\r\nOK\r\n\r\n^CPBR: 1,\"10086\",129,\"5BB66237\",1\r\n\r\nOK\r\n"},
        // Another location, or entry 1 of the SIM's phonebook, is not entry 1
        // of the device's.
        PresetCase{"OnlyElsewhere", {Entry("ME", 2, "10086", 129, "WMSN"), Entry("SM", 1, "10010", 129, "WMSN")},
                   "\r\nOK\r\n\r\nOK\r\n"}),
    [](const testing::TestParamInfo<PresetCase> &i) { return i.param.name; });

// Provisioning as the probe does it: write, then read back what was written.
TEST(FakePhonebookTest, WrittenEntryReadsBack)
{
    FakeSession s(Quiet());
    Say(s, "AT+CPBS=\"ME\"\r");
    const FakeOutput write = s.Receive("AT^CPBW=1,\"135790246813579\",129,\"WMSN\"\rAT^CPBR=1\r", 9600);
    std::string joined;
    for (const FakePiece &p : write.pieces)
        joined += p.bytes;
    EXPECT_EQ(joined, "\r\nOK\r\n\r\n^CPBR: 1,\"135790246813579\",129,\"WMSN\",0\r\n\r\nOK\r\n");
    EXPECT_TRUE(write.phonebookChanged);
    ASSERT_EQ(s.Phonebook().size(), 1u);
    const PhonebookEntry &e = s.Phonebook()[0];
    EXPECT_EQ(e.store, "ME");
    EXPECT_EQ(e.index, 1);
    EXPECT_EQ(e.number, "135790246813579");
    EXPECT_EQ(e.type, 129);
    EXPECT_EQ(e.text, "WMSN");
    EXPECT_FALSE(s.Receive("AT^CPBR=1\r", 9600).phonebookChanged);
}

TEST(FakePhonebookTest, WriteReplacesDeletesAndFindsAFreeLocation)
{
    FakeConfig c = Quiet(FakeModel::Pimsor);
    c.phonebook = {Entry("ME", 1, "13800138000", 129, "Home"), Entry("ME", 2, "10086", 129, "")};
    FakeSession s(c);
    Say(s, "AT+CPBS=\"ME\"\r");
    // A user's entry is overwritten like any other; the type follows the
    // number when it is left out.
    EXPECT_EQ(Say(s, "AT^CPBW=1,\"+8613800138000\"\r"), "\r\nOK\r\n");
    EXPECT_EQ(Say(s, "AT^CPBR=1\r"), "\r\n^CPBR: 1,\"+8613800138000\",145,\"\",0\r\n\r\nOK\r\n");
    EXPECT_EQ(Say(s, "AT^CPBW=,\"10010\",129,\"Unicom\"\r"), "\r\nOK\r\n");
    EXPECT_EQ(Say(s, "AT^CPBW=2\r"), "\r\nOK\r\n");
    EXPECT_EQ(Say(s, "AT^CPBR=1,5\r"),
              "\r\n^CPBR: 1,\"+8613800138000\",145,\"\",0\r\n^CPBR: 3,\"10010\",129,\"Unicom\",0\r\n\r\nOK\r\n");
    EXPECT_EQ(Say(s, "AT+CPBS?\r"), "\r\n+CPBS: \"ME\",2,250\r\n\r\nOK\r\n");
}

// Without AT+CPBS the SIM's phonebook is the one in use: a write meant for
// the device that forgot to choose it lands there.
TEST(FakePhonebookTest, StoresAreSeparateAndTheSimsIsTheDefault)
{
    FakeSession s(Quiet());
    EXPECT_EQ(Say(s, "AT+CPBS?\r"), "\r\n+CPBS: \"SM\",0,250\r\n\r\nOK\r\n");
    EXPECT_EQ(Say(s, "AT^CPBW=1,\"111\",129,\"WMSN\"\r"), "\r\nOK\r\n");
    EXPECT_EQ(Say(s, kSelectAndRead), "\r\nOK\r\n\r\nOK\r\n");
    ASSERT_EQ(s.Phonebook().size(), 1u);
    EXPECT_EQ(s.Phonebook()[0].store, "SM");
}

struct RefusalCase {
    const char *name;
    const char *send;
    const char *reply;  // numeric error reports on
};
void PrintTo(const RefusalCase &c, std::ostream *os) { *os << c.name; }

class FakePhonebookRefusalTest : public testing::TestWithParam<RefusalCase> {};

TEST_P(FakePhonebookRefusalTest, RefusesAndKeepsTheEntries)
{
    FakeConfig c = Quiet();
    c.phonebook = {WmsnPhonebookEntry("123456789012345")};
    FakeSession s(c);
    Say(s, "AT+CMEE=1\rAT+CPBS=\"ME\"\r");
    const FakeOutput out = s.Receive(GetParam().send, 9600);
    std::string joined;
    for (const FakePiece &p : out.pieces)
        joined += p.bytes;
    EXPECT_EQ(joined, GetParam().reply);
    EXPECT_FALSE(out.phonebookChanged);
    ASSERT_EQ(s.Phonebook().size(), 1u);
    EXPECT_EQ(s.Phonebook()[0].number, "123456789012345");
}

INSTANTIATE_TEST_SUITE_P(
    Commands, FakePhonebookRefusalTest,
    testing::Values(RefusalCase{"ReadIndexZero", "AT^CPBR=0\r", "\r\n+CME ERROR: 21\r\n"},
                    RefusalCase{"ReadPastTheEnd", "AT^CPBR=251\r", "\r\n+CME ERROR: 21\r\n"},
                    RefusalCase{"ReadRangeBackwards", "AT^CPBR=3,1\r", "\r\n+CME ERROR: 21\r\n"},
                    RefusalCase{"ReadWithoutIndex", "AT^CPBR=\r", "\r\n+CME ERROR: 50\r\n"},
                    RefusalCase{"ReadTestForm", "AT^CPBR=?\r", "\r\n+CME ERROR: 50\r\n"},
                    RefusalCase{"WriteIndexZero", "AT^CPBW=0,\"1\",129,\"WMSN\"\r", "\r\n+CME ERROR: 21\r\n"},
                    RefusalCase{"NumberTooLong", "AT^CPBW=1,\"12345678901234567890123456789012345678901\"\r",
                                "\r\n+CME ERROR: 26\r\n"},
                    RefusalCase{"NumberNotDialable", "AT^CPBW=1,\"12a\"\r", "\r\n+CME ERROR: 27\r\n"},
                    RefusalCase{"NumberUnquoted", "AT^CPBW=1,123,129,\"WMSN\"\r", "\r\n+CME ERROR: 50\r\n"},
                    RefusalCase{"QuoteLeftOpen", "AT^CPBW=1,\"123\r", "\r\n+CME ERROR: 50\r\n"},
                    RefusalCase{"TextAfterAString", "AT^CPBW=1,\"123\"4\r", "\r\n+CME ERROR: 50\r\n"},
                    RefusalCase{"TypeTooLarge", "AT^CPBW=1,\"123\",300,\"WMSN\"\r", "\r\n+CME ERROR: 50\r\n"},
                    RefusalCase{"TextTooLong", "AT^CPBW=1,\"123\",129,\"0123456789012345678901234567890\"\r",
                                "\r\n+CME ERROR: 24\r\n"},
                    RefusalCase{"UnknownCoding", "AT^CPBW=1,\"123\",129,\"WMSN\",2\r", "\r\n+CME ERROR: 50\r\n"},
                    RefusalCase{"TooManyFields", "AT^CPBW=1,\"123\",129,\"WMSN\",0,1\r", "\r\n+CME ERROR: 50\r\n"},
                    RefusalCase{"UnknownStore", "AT+CPBS=\"XX\"\r", "\r\n+CME ERROR: 50\r\n"}),
    [](const testing::TestParamInfo<RefusalCase> &i) { return i.param.name; });

TEST(FakePhonebookTest, NoFreeLocationIsMemoryFull)
{
    FakeConfig c = Quiet();
    for (int i = 1; i <= kFakePhonebookCapacity; ++i)
        c.phonebook.push_back(Entry("SM", i, "1", 129, ""));
    FakeSession s(c);
    EXPECT_EQ(Say(s, "AT+CMEE=1\rAT^CPBW=,\"2\"\r"), "\r\nOK\r\n\r\n+CME ERROR: 20\r\n");
}

// Only Huawei modules have ^CPBR and ^CPBW.
TEST(FakePhonebookTest, OtherMakersRefuseTheHuaweiCommands)
{
    for (FakeModel m : {FakeModel::Tarnel, FakeModel::Orvast, FakeModel::Siemens, FakeModel::UnknownAti}) {
        FakeSession s(Quiet(m));
        EXPECT_EQ(Say(s, kSelectAndRead), "\r\nOK\r\n\r\nERROR\r\n") << static_cast<int>(m);
    }
}

// Several runs of the program against one fake: the entry written by the
// first is there for the second, whatever the program did to the line.
TEST(FakePhonebookTest, EntryOutlivesTheProgramsOpens)
{
    FakeModem fake(Quiet());
    ASSERT_TRUE(fake.Ok()) << fake.Error();
    FakeLine line;
    ASSERT_TRUE(line.Open(fake.SlavePath(), 9600));
    EXPECT_EQ(line.Ask("AT+CPBS=\"ME\"\r"), "\r\nOK\r\n");
    EXPECT_EQ(line.Ask("AT^CPBW=1,\"246813579024681\",129,\"WMSN\"\r"), "\r\nOK\r\n");
    line.Close();
    ASSERT_TRUE(line.Open(fake.SlavePath(), 115200));
    EXPECT_EQ(line.Ask("AT^CPBR=1\r"), "\r\n^CPBR: 1,\"246813579024681\",129,\"WMSN\",0\r\n\r\nOK\r\n");
    const std::vector<PhonebookEntry> book = fake.Phonebook();
    ASSERT_EQ(book.size(), 1u);
    EXPECT_EQ(book[0].number, "246813579024681");
}

class PhonebookFileTest : public testing::Test {
protected:
    void SetUp() override
    {
        char dir[] = "/tmp/zarvex-phonebook.XXXXXX";
        ASSERT_NE(mkdtemp(dir), nullptr);
        m_dir = dir;
        m_path = m_dir + "/book.json";
    }
    void TearDown() override
    {
        std::remove(m_path.c_str());
        rmdir(m_dir.c_str());
    }
    std::string m_dir;
    std::string m_path;
};

// The standalone fake's way: the file holds the entries between fakes; a
// file that is there wins over the preset.
TEST_F(PhonebookFileTest, FileCarriesTheEntriesToTheNextFake)
{
    std::string error;
    FakeConfig c = Quiet();
    c.phonebookFile = m_path;
    c.phonebook = {Entry("ME", 1, "10086", 129, "Operator")};
    {
        FakePool pool;
        ASSERT_EQ(pool.Add(c, &error), 0) << error;
        std::vector<PhonebookEntry> onDisk;
        bool exists = false;
        ASSERT_TRUE(ReadPhonebookFile(m_path, &onDisk, &exists, &error)) << error;
        ASSERT_EQ(onDisk.size(), 1u);  // the preset, written at start
        EXPECT_EQ(onDisk[0].text, "Operator");
        ASSERT_TRUE(pool.Start(&error)) << error;
        FakeLine line;
        ASSERT_TRUE(line.Open(pool.SlavePath(0), 9600));
        EXPECT_EQ(line.Ask("AT+CPBS=\"ME\"\r"), "\r\nOK\r\n");
        EXPECT_EQ(line.Ask("AT^CPBW=1,\"975318642097531\",129,\"WMSN\"\r"), "\r\nOK\r\n");
        pool.Stop();
    }
    std::vector<PhonebookEntry> onDisk;
    bool exists = false;
    ASSERT_TRUE(ReadPhonebookFile(m_path, &onDisk, &exists, &error)) << error;
    ASSERT_EQ(onDisk.size(), 1u);
    EXPECT_EQ(onDisk[0].number, "975318642097531");
    EXPECT_EQ(onDisk[0].text, "WMSN");

    FakePool next;
    ASSERT_EQ(next.Add(c, &error), 0) << error;
    ASSERT_EQ(next.Phonebook(0).size(), 1u);
    EXPECT_EQ(next.Phonebook(0)[0].number, "975318642097531");
}

TEST_F(PhonebookFileTest, UnreadableFileIsRefused)
{
    FILE *f = std::fopen(m_path.c_str(), "w");
    ASSERT_NE(f, nullptr);
    std::fputs("{\"phonebook\": [{\"index\": 0}]}", f);
    std::fclose(f);
    FakeConfig c = Quiet();
    c.phonebookFile = m_path;
    FakePool pool;
    std::string error;
    EXPECT_EQ(pool.Add(c, &error), -1);
    EXPECT_NE(error.find(m_path), std::string::npos) << error;
    EXPECT_NE(error.find("index"), std::string::npos) << error;
}
}  // namespace
