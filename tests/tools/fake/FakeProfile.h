// The modem models as plain data: for each model its identification reply,
// its default values and its table of command -> reply. A model's quirks
// are the rows of its own table; what every module answers alike is in the
// shared tables.
#ifndef ZARVEX_FAKE_PROFILE_H
#define ZARVEX_FAKE_PROFILE_H

#include <cstddef>

#include "FakeConfig.h"

// What a row does beyond sending its reply text. Rows whose command ends in
// '=' take arguments: they match every command that begins with that text.
enum class FakeAction {
    Reply,         // the row's reply, placeholders filled in
    Identify,      // the profile's identification reply
    EchoOff,       // ATE0
    EchoOn,        // ATE1
    ErrorReports,  // AT+CMEE=<n>
    SelectStore,   // AT+CPMS="SM" / "ME"
    MessageMode,   // AT+CMGF=<0|1>
    Submit,        // AT+CMGS=<n>: prompt, then a PDU ended by Ctrl-Z
    ListPdu,       // AT+CMGL=<stat>
    ListIndices,   // AT+CMGD=?
    ReadPdu,       // AT+CMGR=<index>
    Delete,        // AT+CMGD=<index>[,<flag>]
    CdmaSubmit,    // AT^HCMGS="<number>": prompt, then UCS2 ended by 00 1A
    CdmaList,      // AT^HCMGL=<stat>
    CdmaRead,      // AT^HCMGR=<index>
    SelectPhonebook,  // AT+CPBS="ME" / "SM"
    PhonebookStore,   // AT+CPBS?
    ReadPhonebook,    // AT^CPBR=<index>[,<index>]
    WritePhonebook,   // AT^CPBW=<index>[,"<number>"[,<type>[,"<text>"[,<coding>]]]]
};

struct FakeCommand {
    const char *command;  // upper case, no blanks, no CR
    FakeAction action;
    const char *reply;    // for Reply: {IMEI} {ICCID} {CSQ} {SMSC} {CGMI} {CGMM}
                          // {WMSN} are filled in
};

struct FakeCommandTable {
    const FakeCommand *rows;
    std::size_t count;
};

constexpr int kFakeOwnTables = 3;

struct FakeProfile {
    FakeModel model;
    const char *identification;  // ATI reply as the module sends it; {IMEI} filled in
    const char *manufacturer;    // AT+CGMI
    const char *modelId;         // AT+CGMM
    const char *imei;            // defaults for FakeConfig's empty values
    const char *iccid;
    const char *csq;
    const char *smsc;
    const char *productSerial;   // AT+WMSN, where the maker has it
    bool answers;  // false: the silent port
    bool gsmSms;   // PDU-mode SMS commands of the GSM modules
    bool cdmaSms;  // text-mode vendor SMS commands of the CDMA module
    // Looked up first, in this order: the model's quirks, then what it
    // shares with its maker's other modules.
    FakeCommandTable own[kFakeOwnTables];
};

const FakeProfile &GetFakeProfile(FakeModel model);

// Every row a fake of this model answers, in lookup order: the model's own
// tables, the shared basic rows, then the GSM SMS rows when it has them.
const FakeCommand *FindFakeCommand(const FakeProfile &profile, const char *command);

// Capacities reported by AT+CPMS.
constexpr int kFakeSimCapacity = 50;
constexpr int kFakeDeviceCapacity = 100;

// The CDMA module reports the outcome of a send over the air after its OK.
constexpr int kFakeCdmaSendReportMs = 200;

#endif
