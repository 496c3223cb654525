#include "FakeProfile.h"

#include <cstring>

namespace {
const char kOk[] = "\r\nOK\r\n";
const char kError[] = "\r\nERROR\r\n";

// Every answering module, GSM or CDMA.
const FakeCommand kBasicRows[] = {
    {"AT", FakeAction::Reply, kOk},
    {"ATE0", FakeAction::EchoOff, nullptr},
    {"ATE", FakeAction::EchoOff, nullptr},
    {"ATE1", FakeAction::EchoOn, nullptr},
    {"ATI", FakeAction::Identify, nullptr},
    {"AT+CGMI", FakeAction::Reply, "\r\n{CGMI}\r\n\r\nOK\r\n"},
    {"AT+CGMM", FakeAction::Reply, "\r\n{CGMM}\r\n\r\nOK\r\n"},
    {"AT+CMEE=", FakeAction::ErrorReports, nullptr},
    {"AT+CPMS=", FakeAction::SelectStore, nullptr},
    {"AT+CGSN", FakeAction::Reply, "\r\n{IMEI}\r\n\r\nOK\r\n"},
    {"AT+CCID", FakeAction::Reply, "\r\n+CCID: {ICCID}\r\n\r\nOK\r\n"},
    {"AT+CSQ", FakeAction::Reply, "\r\n+CSQ: {CSQ}\r\n\r\nOK\r\n"},
    {"AT+CPBS=", FakeAction::SelectPhonebook, nullptr},
    {"AT+CPBS?", FakeAction::PhonebookStore, nullptr},
};

// PDU-mode SMS of the GSM modules (3GPP TS 27.005).
const FakeCommand kGsmSmsRows[] = {
    {"AT+CSCA?", FakeAction::Reply, "\r\n+CSCA: \"{SMSC}\",145\r\n\r\nOK\r\n"},
    {"AT+CMGF=", FakeAction::MessageMode, nullptr},
    {"AT+CMGS=", FakeAction::Submit, nullptr},
    {"AT+CMGL=", FakeAction::ListPdu, nullptr},
    {"AT+CMGR=", FakeAction::ReadPdu, nullptr},
    {"AT+CMGD=?", FakeAction::ListIndices, nullptr},
    {"AT+CMGD=", FakeAction::Delete, nullptr},
};

// Huawei's phonebook commands, which also report the text's coding.
const FakeCommand kHuaweiRows[] = {
    {"AT^CPBR=", FakeAction::ReadPhonebook, nullptr},
    {"AT^CPBW=", FakeAction::WritePhonebook, nullptr},
};

// Wavecom: the card number in quotes and a product serial number of its own.
const FakeCommand kWavecomRows[] = {
    {"AT+CCID", FakeAction::Reply, "\r\n+CCID: \"{ICCID}\"\r\n\r\nOK\r\n"},
    {"AT+WMSN", FakeAction::Reply, "\r\nSerial Number {WMSN}\r\n\r\nOK\r\n"},
};

// Quectel reports the card number in quotes.
const FakeCommand kTarnelRows[] = {
    {"AT+CCID", FakeAction::Reply, "\r\n+CCID: \"{ICCID}\"\r\n\r\nOK\r\n"},
};

// Yuga answers the compatible-mode switch of its receive path.
const FakeCommand kVelkorNc5Rows[] = {
    {"AT+ATVER=", FakeAction::Reply, kOk},
};

// Huawei ME909s: the card number through ^ICCID, no +CCID, and the switch
// that silences its unsolicited reports.
const FakeCommand kVelkorMeRows[] = {
    {"AT^ICCID?", FakeAction::Reply, "\r\n^ICCID: {ICCID}\r\n\r\nOK\r\n"},
    {"AT+CCID", FakeAction::Reply, kError},
    {"AT^CURC=", FakeAction::Reply, kOk},
};

// Huawei MG301 has both card-number commands.
const FakeCommand kPimsorRows[] = {
    {"AT^ICCID?", FakeAction::Reply, "\r\n^ICCID: {ICCID}\r\n\r\nOK\r\n"},
};

// The Wavecom modules name themselves in ATI3: software version, a dot,
// the module, then build numbers and date.
const FakeCommand kOrvastRows[] = {
    {"ATI3", FakeAction::Reply, "\r\n651c09gg.Q2406B 1266500 082504 17:42\r\n\r\nOK\r\n"},
};
const FakeCommand kOrvastWismoqRows[] = {
    {"ATI3", FakeAction::Reply, "\r\n657e09gg.WISMOQ 2063428 040607 17:21\r\n\r\nOK\r\n"},
};
const FakeCommand kOrvastOtherRows[] = {
    {"ATI3", FakeAction::Reply, "\r\n741a07gg.WMP100 2131380 041009 16:44\r\n\r\nOK\r\n"},
};

// Huawei MC323, CDMA: text-mode messages through vendor commands.
const FakeCommand kSudrelRows[] = {
    {"AT^RSSIREP=", FakeAction::Reply, kOk},
    {"AT^HSMSSS=", FakeAction::Reply, kOk},
    {"AT^HCMGS=", FakeAction::CdmaSubmit, nullptr},
    {"AT^HCMGL=", FakeAction::CdmaList, nullptr},
    {"AT^HCMGR=", FakeAction::CdmaRead, nullptr},
    {"AT+CMGD=", FakeAction::Delete, nullptr},
};

// An MC323 that has no serial number to report: OK and no value.
const FakeCommand kSudrelNoSerialRows[] = {
    {"AT+CGSN", FakeAction::Reply, kOk},
};

// Siemens reads the card number with its own command only.
const FakeCommand kSiemensRows[] = {
    {"AT+CXXCID", FakeAction::Reply, "\r\n+CXXCID: {ICCID}\r\n\r\nOK\r\n"},
    {"AT+CCID", FakeAction::Reply, kError},
};

template <std::size_t N>
constexpr FakeCommandTable Table(const FakeCommand (&rows)[N])
{
    return {rows, N};
}
constexpr FakeCommandTable kNoRows = {nullptr, 0};

const char kWavecomAti[] = "\r\n WAVECOM MODEM\r\n\r\n MULTIBAND  900E  1800 \r\n\r\nOK\r\n";
const char kWavecomManufacturer[] = "WAVECOM MODEM";
const char kWavecomModel[] = "MULTIBAND  900E  1800";
const char kMc323Manufacturer[] = "HUAWEI TECHNOLOGIES CO., LTD";

const FakeProfile kProfiles[] = {
    {FakeModel::Tarnel,
     "\r\nQuectel_Ltd\r\nQuectel_M35\r\nRevision: M35FBR02A03\r\n\r\nOK\r\n", "Quectel_Ltd", "Quectel_M35",
     "862107034551201", "89860318245000112201", "24,99", "+8613800100500", "", true, true, false,
     {Table(kTarnelRows)}},
    {FakeModel::VelkorNc5,
     "\r\nManufacturer: Yuga Co.,Ltd.\r\nModel: CLM920_NC5\r\n"
     "Revision: CLM920_NC5-V1 [Jul 31 2017 14:44:25]\r\nIMEI: {IMEI}\r\n+GCAP: +CGSM\r\n"
     "EFS_SVN: cn_efs_20170731_2k\r\n\r\nOK\r\n",
     "Yuga Co.,Ltd.", "CLM920_NC5", "867223021887302", "89860117851002233402", "19,99", "+8613800200500", "",
     true, true, false, {Table(kVelkorNc5Rows)}},
    {FakeModel::VelkorMe,
     "\r\nManufacturer: Huawei Technologies Co., Ltd.\r\nModel: ME909s-821\r\n"
     "Revision: 11.617.05.00.00\r\nIMEI: {IMEI}\r\n+GCAP: +CGSM,+DS,+ES\r\n\r\nOK\r\n",
     "Huawei Technologies Co., Ltd.", "ME909s-821", "866715031234503", "98680021436587092103", "27,99",
     "+8613800755500", "", true, true, false, {Table(kVelkorMeRows), Table(kHuaweiRows)}},
    {FakeModel::Pimsor,
     "\r\nManufacture: HUAWEI\r\nModel: MG301\r\nRevision: 11.310.21.03.00\r\n"
     "IMEI: {IMEI}\r\n+GCAP: +CGSM\r\n\r\nOK\r\n",
     "HUAWEI", "MG301", "863912010045604", "89860012345678901204", "16,99", "+8613800571500", "", true, true,
     false, {Table(kPimsorRows), Table(kHuaweiRows)}},
    {FakeModel::Orvast, kWavecomAti, kWavecomManufacturer, kWavecomModel, "354043010203605",
     "89860045123409876505", "21,0", "+8613800210500", "A35040102036605", true, true, false,
     {Table(kOrvastRows), Table(kWavecomRows)}},
    {FakeModel::Sudrel,
     "\r\nManufacturer:HUAWEI TECHNOLOGIES CO., LTD\r\nModel:MC323-a\r\n"
     "Revision:12.102.29.00.00\r\nESN:{IMEI}\r\n\r\nOK\r\n",
     kMc323Manufacturer, "MC323-a", "80A1B2C6", "89860311802000567806", "18,99", "", "", true, false, true,
     {Table(kSudrelRows), Table(kHuaweiRows)}},
    {FakeModel::UnknownAti,
     "\r\nManufacturer: Telnix Systems\r\nModel: TX-220\r\nRevision: 1.0.4\r\n\r\nOK\r\n", "Telnix Systems",
     "TX-220", "359876540000107", "89860099990000000107", "12,99", "+8613800100500", "", true, true, false,
     {kNoRows}},
    {FakeModel::Silent, "", "", "", "", "", "", "", "", false, false, false, {kNoRows}},
    {FakeModel::OrvastWismoq, kWavecomAti, kWavecomManufacturer, kWavecomModel, "354043010203609",
     "89860045123409876509", "22,0", "+8613800210500", "A35040102036609", true, true, false,
     {Table(kOrvastWismoqRows), Table(kWavecomRows)}},
    {FakeModel::OrvastOther, kWavecomAti, kWavecomManufacturer, kWavecomModel, "354043010203610",
     "89860045123409876510", "23,0", "+8613800210500", "A35040102036610", true, true, false,
     {Table(kOrvastOtherRows), Table(kWavecomRows)}},
    {FakeModel::Siemens, "\r\nSIEMENS\r\nMC35i\r\nREVISION 02.00\r\n\r\nOK\r\n", "SIEMENS", "MC35i",
     "350123451234511", "89860077665544332211", "15,99", "+8613800100500", "", true, true, false,
     {Table(kSiemensRows)}},
    {FakeModel::SudrelNoSerial,
     "\r\nManufacturer:HUAWEI TECHNOLOGIES CO., LTD\r\nModel:MC323-a\r\nRevision:12.102.29.00.00\r\n"
     "\r\nOK\r\n",
     kMc323Manufacturer, "MC323-a", "", "89860311802000567812", "17,99", "", "", true, false, true,
     {Table(kSudrelNoSerialRows), Table(kSudrelRows), Table(kHuaweiRows)}},
};

const FakeCommand *FindIn(const FakeCommandTable &table, const char *command)
{
    for (std::size_t i = 0; i < table.count; ++i) {
        const char *row = table.rows[i].command;
        const std::size_t n = std::strlen(row);
        const bool takesArguments = n > 0 && row[n - 1] == '=';
        if (takesArguments ? std::strncmp(command, row, n) == 0 : std::strcmp(command, row) == 0)
            return &table.rows[i];
    }
    return nullptr;
}
}  // namespace

const FakeProfile &GetFakeProfile(FakeModel model)
{
    for (const FakeProfile &p : kProfiles)
        if (p.model == model)
            return p;
    return kProfiles[0];
}

const FakeCommand *FindFakeCommand(const FakeProfile &profile, const char *command)
{
    if (!profile.answers)
        return nullptr;
    for (const FakeCommandTable &own : profile.own)
        if (const FakeCommand *c = FindIn(own, command))
            return c;
    if (const FakeCommand *c = FindIn(Table(kBasicRows), command))
        return c;
    if (profile.gsmSms)
        return FindIn(Table(kGsmSmsRows), command);
    return nullptr;
}
