// What every model answers to the Windows program's probe, which ends its
// commands with a bare CR and tells module families apart by manufacturer,
// model and ATI3 replies, reads the serial number by family (AT+CGSN,
// AT+WMSN) and the card number with AT+CCID, AT^ICCID? or AT+CXXCID.
#include <gtest/gtest.h>

#include "FakeSession.h"

namespace {
std::string Joined(const FakeOutput &out)
{
    std::string s;
    for (const FakePiece &p : out.pieces)
        s += p.bytes;
    return s;
}

FakeConfig Quiet(FakeModel model)
{
    FakeConfig c;
    c.model = model;
    c.echo = false;
    return c;
}

const char kOk[] = "\r\nOK\r\n";
const char kError[] = "\r\nERROR\r\n";
const char kWavecomAti[] = "\r\n WAVECOM MODEM\r\n\r\n MULTIBAND  900E  1800 \r\n\r\nOK\r\n";
const char kWavecomCgmi[] = "\r\nWAVECOM MODEM\r\n\r\nOK\r\n";
const char kWavecomCgmm[] = "\r\nMULTIBAND  900E  1800\r\n\r\nOK\r\n";
const char kMc323Cgmi[] = "\r\nHUAWEI TECHNOLOGIES CO., LTD\r\n\r\nOK\r\n";

struct FamilyCase {
    const char *name;
    FakeModel model;
    const char *send;
    const char *expect;
};
void PrintTo(const FamilyCase &c, std::ostream *os) { *os << c.name; }

const FamilyCase kFamilyCases[] = {
    // Quectel M35: no Huawei maker, ATI3 refused, ATI without "SIEMENS":
    // nothing identifies it; its serial number is the IMEI.
    {"TarnelCgmi", FakeModel::Tarnel, "AT+CGMI\r", "\r\nQuectel_Ltd\r\n\r\nOK\r\n"},
    {"TarnelCgmm", FakeModel::Tarnel, "AT+CGMM\r", "\r\nQuectel_M35\r\n\r\nOK\r\n"},
    {"TarnelAti3", FakeModel::Tarnel, "ATI3\r", kError},
    {"TarnelWmsn", FakeModel::Tarnel, "AT+WMSN\r", kError},
    {"TarnelCgsn", FakeModel::Tarnel, "AT+CGSN\r", "\r\n862107034551201\r\n\r\nOK\r\n"},
    {"TarnelCcid", FakeModel::Tarnel, "AT+CCID\r", "\r\n+CCID: \"89860318245000112201\"\r\n\r\nOK\r\n"},

    // Yuga CLM920_NC5: likewise nothing identifies it.
    {"Nc5Cgmi", FakeModel::VelkorNc5, "AT+CGMI\r", "\r\nYuga Co.,Ltd.\r\n\r\nOK\r\n"},
    {"Nc5Cgmm", FakeModel::VelkorNc5, "AT+CGMM\r", "\r\nCLM920_NC5\r\n\r\nOK\r\n"},
    {"Nc5Ati3", FakeModel::VelkorNc5, "ATI3\r", kError},
    {"Nc5Wmsn", FakeModel::VelkorNc5, "AT+WMSN\r", kError},
    {"Nc5Cgsn", FakeModel::VelkorNc5, "AT+CGSN\r", "\r\n867223021887302\r\n\r\nOK\r\n"},
    {"Nc5Ccid", FakeModel::VelkorNc5, "AT+CCID\r", "\r\n+CCID: 89860117851002233402\r\n\r\nOK\r\n"},

    // Huawei ME909s-821: the maker in mixed case, the model named in full,
    // the card number through ^ICCID only.
    {"MeCgmi", FakeModel::VelkorMe, "AT+CGMI\r", "\r\nHuawei Technologies Co., Ltd.\r\n\r\nOK\r\n"},
    {"MeCgmm", FakeModel::VelkorMe, "AT+CGMM\r", "\r\nME909s-821\r\n\r\nOK\r\n"},
    {"MeCgsn", FakeModel::VelkorMe, "AT+CGSN\r", "\r\n866715031234503\r\n\r\nOK\r\n"},
    {"MeIccid", FakeModel::VelkorMe, "AT^ICCID?\r", "\r\n^ICCID: 98680021436587092103\r\n\r\nOK\r\n"},
    {"MeCcid", FakeModel::VelkorMe, "AT+CCID\r", kError},
    {"MeSignal", FakeModel::VelkorMe, "AT+CSQ\r", "\r\n+CSQ: 27,99\r\n\r\nOK\r\n"},

    // Huawei MG301: the maker in upper case.
    {"PimsorCgmi", FakeModel::Pimsor, "AT+CGMI\r", "\r\nHUAWEI\r\n\r\nOK\r\n"},
    {"PimsorCgmm", FakeModel::Pimsor, "AT+CGMM\r", "\r\nMG301\r\n\r\nOK\r\n"},
    {"PimsorCgsn", FakeModel::Pimsor, "AT+CGSN\r", "\r\n863912010045604\r\n\r\nOK\r\n"},
    {"PimsorIccid", FakeModel::Pimsor, "AT^ICCID?\r", "\r\n^ICCID: 89860012345678901204\r\n\r\nOK\r\n"},
    {"PimsorCcid", FakeModel::Pimsor, "AT+CCID\r", "\r\n+CCID: 89860012345678901204\r\n\r\nOK\r\n"},

    // Wavecom Q2406B, named in ATI3.
    {"OrvastCgmi", FakeModel::Orvast, "AT+CGMI\r", kWavecomCgmi},
    {"OrvastCgmm", FakeModel::Orvast, "AT+CGMM\r", kWavecomCgmm},
    {"OrvastAti3", FakeModel::Orvast, "ATI3\r", "\r\n651c09gg.Q2406B 1266500 082504 17:42\r\n\r\nOK\r\n"},
    {"OrvastCgsn", FakeModel::Orvast, "AT+CGSN\r", "\r\n354043010203605\r\n\r\nOK\r\n"},
    {"OrvastWmsn", FakeModel::Orvast, "AT+WMSN\r", "\r\nSerial Number A35040102036605\r\n\r\nOK\r\n"},
    {"OrvastCcid", FakeModel::Orvast, "AT+CCID\r", "\r\n+CCID: \"89860045123409876505\"\r\n\r\nOK\r\n"},

    // Wavecom WISMO Quik.
    {"WismoqAti", FakeModel::OrvastWismoq, "ATI\r", kWavecomAti},
    {"WismoqCgmi", FakeModel::OrvastWismoq, "AT+CGMI\r", kWavecomCgmi},
    {"WismoqCgmm", FakeModel::OrvastWismoq, "AT+CGMM\r", kWavecomCgmm},
    {"WismoqAti3", FakeModel::OrvastWismoq, "ATI3\r", "\r\n657e09gg.WISMOQ 2063428 040607 17:21\r\n\r\nOK\r\n"},
    {"WismoqCgsn", FakeModel::OrvastWismoq, "AT+CGSN\r", "\r\n354043010203609\r\n\r\nOK\r\n"},
    {"WismoqWmsn", FakeModel::OrvastWismoq, "AT+WMSN\r", "\r\nSerial Number A35040102036609\r\n\r\nOK\r\n"},
    {"WismoqCcid", FakeModel::OrvastWismoq, "AT+CCID\r", "\r\n+CCID: \"89860045123409876509\"\r\n\r\nOK\r\n"},

    // A Wavecom module that ATI3 names by a dotted version and a name the
    // probe does not know; its serial number comes from AT+WMSN.
    {"OtherAti", FakeModel::OrvastOther, "ATI\r", kWavecomAti},
    {"OtherCgmi", FakeModel::OrvastOther, "AT+CGMI\r", kWavecomCgmi},
    {"OtherCgmm", FakeModel::OrvastOther, "AT+CGMM\r", kWavecomCgmm},
    {"OtherAti3", FakeModel::OrvastOther, "ATI3\r", "\r\n741a07gg.WMP100 2131380 041009 16:44\r\n\r\nOK\r\n"},
    {"OtherWmsn", FakeModel::OrvastOther, "AT+WMSN\r", "\r\nSerial Number A35040102036610\r\n\r\nOK\r\n"},
    {"OtherCgsn", FakeModel::OrvastOther, "AT+CGSN\r", "\r\n354043010203610\r\n\r\nOK\r\n"},
    {"OtherCcid", FakeModel::OrvastOther, "AT+CCID\r", "\r\n+CCID: \"89860045123409876510\"\r\n\r\nOK\r\n"},

    // Huawei MC323 (CDMA) with an ESN of its own.
    {"SudrelCgmi", FakeModel::Sudrel, "AT+CGMI\r", kMc323Cgmi},
    {"SudrelCgmm", FakeModel::Sudrel, "AT+CGMM\r", "\r\nMC323-a\r\n\r\nOK\r\n"},
    {"SudrelCgsn", FakeModel::Sudrel, "AT+CGSN\r", "\r\n80A1B2C6\r\n\r\nOK\r\n"},
    {"SudrelCcid", FakeModel::Sudrel, "AT+CCID\r", "\r\n+CCID: 89860311802000567806\r\n\r\nOK\r\n"},
    {"SudrelRssiReports", FakeModel::Sudrel, "AT^RSSIREP=0\r", kOk},

    // Huawei MC323 without a serial number: AT+CGSN brings OK and nothing.
    {"NoSerialAti", FakeModel::SudrelNoSerial, "ATI\r",
     "\r\nManufacturer:HUAWEI TECHNOLOGIES CO., LTD\r\nModel:MC323-a\r\nRevision:12.102.29.00.00\r\n\r\nOK\r\n"},
    {"NoSerialCgmi", FakeModel::SudrelNoSerial, "AT+CGMI\r", kMc323Cgmi},
    {"NoSerialCgmm", FakeModel::SudrelNoSerial, "AT+CGMM\r", "\r\nMC323-a\r\n\r\nOK\r\n"},
    {"NoSerialCgsn", FakeModel::SudrelNoSerial, "AT+CGSN\r", kOk},
    {"NoSerialCcid", FakeModel::SudrelNoSerial, "AT+CCID\r", "\r\n+CCID: 89860311802000567812\r\n\r\nOK\r\n"},
    {"NoSerialRssiReports", FakeModel::SudrelNoSerial, "AT^RSSIREP=0\r", kOk},
    {"NoSerialSignal", FakeModel::SudrelNoSerial, "AT+CSQ\r", "\r\n+CSQ: 17,99\r\n\r\nOK\r\n"},

    // Siemens: named by ATI only (ATI3 refused), the card number through
    // AT+CXXCID and not AT+CCID.
    {"SiemensAti", FakeModel::Siemens, "ATI\r", "\r\nSIEMENS\r\nMC35i\r\nREVISION 02.00\r\n\r\nOK\r\n"},
    {"SiemensCgmi", FakeModel::Siemens, "AT+CGMI\r", "\r\nSIEMENS\r\n\r\nOK\r\n"},
    {"SiemensCgmm", FakeModel::Siemens, "AT+CGMM\r", "\r\nMC35i\r\n\r\nOK\r\n"},
    {"SiemensAti3", FakeModel::Siemens, "ATI3\r", kError},
    {"SiemensCgsn", FakeModel::Siemens, "AT+CGSN\r", "\r\n350123451234511\r\n\r\nOK\r\n"},
    {"SiemensCxxcid", FakeModel::Siemens, "AT+CXXCID\r", "\r\n+CXXCID: 89860077665544332211\r\n\r\nOK\r\n"},
    {"SiemensCcid", FakeModel::Siemens, "AT+CCID\r", kError},
    {"SiemensSignal", FakeModel::Siemens, "AT+CSQ\r", "\r\n+CSQ: 15,99\r\n\r\nOK\r\n"},

    // A module that names nothing the probe knows.
    {"UnknownCgmi", FakeModel::UnknownAti, "AT+CGMI\r", "\r\nTelnix Systems\r\n\r\nOK\r\n"},
    {"UnknownCgmm", FakeModel::UnknownAti, "AT+CGMM\r", "\r\nTX-220\r\n\r\nOK\r\n"},
    {"UnknownAti3", FakeModel::UnknownAti, "ATI3\r", kError},
    {"UnknownWmsn", FakeModel::UnknownAti, "AT+WMSN\r", kError},
    {"UnknownCgsn", FakeModel::UnknownAti, "AT+CGSN\r", "\r\n359876540000107\r\n\r\nOK\r\n"},
    {"UnknownCxxcid", FakeModel::UnknownAti, "AT+CXXCID\r", kError},

    {"SilentCgmi", FakeModel::Silent, "AT+CGMI\r", ""},
};

class FakeFamilyReplyTest : public testing::TestWithParam<FamilyCase> {};

TEST_P(FakeFamilyReplyTest, AnswersAsTheModuleDoes)
{
    FakeSession s(Quiet(GetParam().model));
    EXPECT_EQ(Joined(s.Receive(GetParam().send, 9600)), GetParam().expect);
}

INSTANTIATE_TEST_SUITE_P(Families, FakeFamilyReplyTest, testing::ValuesIn(kFamilyCases),
                         [](const testing::TestParamInfo<FamilyCase> &i) { return i.param.name; });

TEST(FakeFamilyTest, ConfiguredProductSerialReplacesTheDefault)
{
    FakeConfig c = Quiet(FakeModel::OrvastOther);
    c.productSerial = "B99";
    FakeSession s(c);
    EXPECT_EQ(Joined(s.Receive("AT+WMSN\r", 9600)), "\r\nSerial Number B99\r\n\r\nOK\r\n");
}

// The probe's opening with the echo still on: each command ends at its CR
// alone, its echo comes back with that CR, and the record holds the
// commands as sent.
TEST(FakeFamilyTest, CarriageReturnAloneEndsEachCommand)
{
    FakeConfig c;
    c.model = FakeModel::Pimsor;
    FakeSession s(c);
    EXPECT_EQ(Joined(s.Receive("AT\r", 9600)), "AT\r\r\nOK\r\n");
    EXPECT_EQ(Joined(s.Receive("ATE0\r", 9600)), "ATE0\r\r\nOK\r\n");
    EXPECT_EQ(Joined(s.Receive("AT+CMEE=1\r", 9600)), "\r\nOK\r\n");
    EXPECT_EQ(Joined(s.Receive("AT^CPBR=0\r", 9600)), "\r\n+CME ERROR: 21\r\n");
    const FakeOutput both = s.Receive("ATI\rAT+CGMI\r", 9600);
    ASSERT_EQ(both.commands.size(), 2u);
    EXPECT_EQ(both.commands[0].text, "ATI");
    EXPECT_EQ(both.commands[1].text, "AT+CGMI");
    EXPECT_EQ(Joined(both),
              "\r\nManufacture: HUAWEI\r\nModel: MG301\r\nRevision: 11.310.21.03.00\r\n"
              "IMEI: 863912010045604\r\n+GCAP: +CGSM\r\n\r\nOK\r\n"
              "\r\nHUAWEI\r\n\r\nOK\r\n");
    // Quoted arguments are recorded as they were written.
    const FakeOutput book = s.Receive("AT+CPBS=\"ME\"\rAT^CPBW=1,\"1\",129,\"WMSN\"\r", 9600);
    ASSERT_EQ(book.commands.size(), 2u);
    EXPECT_EQ(book.commands[0].text, "AT+CPBS=\"ME\"");
    EXPECT_EQ(book.commands[1].text, "AT^CPBW=1,\"1\",129,\"WMSN\"");
}

// A CR and, a moment later, the LF of a CR LF: still one command.
TEST(FakeFamilyTest, LineFeedAfterTheCarriageReturnIsNoCommand)
{
    FakeSession s(Quiet(FakeModel::Siemens));
    const FakeOutput first = s.Receive("AT+CXXCID\r", 9600);
    EXPECT_EQ(Joined(first), "\r\n+CXXCID: 89860077665544332211\r\n\r\nOK\r\n");
    const FakeOutput rest = s.Receive("\n", 9600);
    EXPECT_TRUE(rest.pieces.empty());
    EXPECT_TRUE(rest.commands.empty());
}
}  // namespace
