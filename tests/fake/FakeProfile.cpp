#include "FakeProfile.h"

#include <cstring>

namespace {
const char kOk[] = "\r\nOK\r\n";

// Every answering module, GSM or CDMA.
const FakeCommand kBasicRows[] = {
    {"AT", FakeAction::Reply, kOk},
    {"ATE0", FakeAction::EchoOff, nullptr},
    {"ATE", FakeAction::EchoOff, nullptr},
    {"ATE1", FakeAction::EchoOn, nullptr},
    {"ATI", FakeAction::Identify, nullptr},
    {"AT+CMEE=", FakeAction::ErrorReports, nullptr},
    {"AT+CPMS=", FakeAction::SelectStore, nullptr},
    {"AT+CGSN", FakeAction::Reply, "\r\n{IMEI}\r\n\r\nOK\r\n"},
    {"AT+CCID", FakeAction::Reply, "\r\n+CCID: {ICCID}\r\n\r\nOK\r\n"},
    {"AT+CSQ", FakeAction::Reply, "\r\n+CSQ: {CSQ}\r\n\r\nOK\r\n"},
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
    {"AT+CCID", FakeAction::Reply, "\r\nERROR\r\n"},
    {"AT^CURC=", FakeAction::Reply, kOk},
};

// Wavecom quotes the card number too.
const FakeCommand kOrvastRows[] = {
    {"AT+CCID", FakeAction::Reply, "\r\n+CCID: \"{ICCID}\"\r\n\r\nOK\r\n"},
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

template <std::size_t N>
constexpr FakeCommandTable Table(const FakeCommand (&rows)[N])
{
    return {rows, N};
}
constexpr FakeCommandTable kNoRows = {nullptr, 0};

const FakeProfile kProfiles[] = {
    {FakeModel::Tarnel,
     "\r\nQuectel_Ltd\r\nQuectel_M35\r\nRevision: M35FBR02A03\r\n\r\nOK\r\n",
     "862107034551201", "89860318245000112201", "24,99", "+8613800100500", true, true, false,
     Table(kTarnelRows)},
    {FakeModel::VelkorNc5,
     "\r\nManufacturer: Yuga Co.,Ltd.\r\nModel: CLM920_NC5\r\n"
     "Revision: CLM920_NC5-V1 [Jul 31 2017 14:44:25]\r\nIMEI: {IMEI}\r\n+GCAP: +CGSM\r\n"
     "EFS_SVN: cn_efs_20170731_2k\r\n\r\nOK\r\n",
     "867223021887302", "89860117851002233402", "19,99", "+8613800200500", true, true, false,
     Table(kVelkorNc5Rows)},
    {FakeModel::VelkorMe,
     "\r\nManufacturer: Huawei Technologies Co., Ltd.\r\nModel: ME909s-821\r\n"
     "Revision: 11.617.05.00.00\r\nIMEI: {IMEI}\r\n+GCAP: +CGSM,+DS,+ES\r\n\r\nOK\r\n",
     "866715031234503", "98680021436587092103", "27,99", "+8613800755500", true, true, false,
     Table(kVelkorMeRows)},
    {FakeModel::Pimsor,
     "\r\nManufacture: HUAWEI\r\nModel: MG301\r\nRevision: 11.310.21.03.00\r\n"
     "IMEI: {IMEI}\r\n+GCAP: +CGSM\r\n\r\nOK\r\n",
     "863912010045604", "89860012345678901204", "16,99", "+8613800571500", true, true, false,
     kNoRows},
    {FakeModel::Orvast,
     "\r\n WAVECOM MODEM\r\n\r\n MULTIBAND  900E  1800 \r\n\r\nOK\r\n",
     "354043010203605", "89860045123409876505", "21,0", "+8613800210500", true, true, false,
     Table(kOrvastRows)},
    {FakeModel::Sudrel,
     "\r\nManufacturer:HUAWEI TECHNOLOGIES CO., LTD\r\nModel:MC323-a\r\n"
     "Revision:12.102.29.00.00\r\nESN:{IMEI}\r\n\r\nOK\r\n",
     "80A1B2C6", "89860311802000567806", "18,99", "", true, false, true, Table(kSudrelRows)},
    {FakeModel::UnknownAti,
     "\r\nManufacturer: Telnix Systems\r\nModel: TX-220\r\nRevision: 1.0.4\r\n\r\nOK\r\n",
     "359876540000107", "89860099990000000107", "12,99", "+8613800100500", true, true, false,
     kNoRows},
    {FakeModel::Silent, "", "", "", "", "", false, false, false, kNoRows},
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
    if (const FakeCommand *c = FindIn(profile.own, command))
        return c;
    if (const FakeCommand *c = FindIn(Table(kBasicRows), command))
        return c;
    if (profile.gsmSms)
        return FindIn(Table(kGsmSmsRows), command);
    return nullptr;
}
