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
};

struct FakeCommand {
    const char *command;  // upper case, no blanks, no CR
    FakeAction action;
    const char *reply;    // for Reply: {IMEI} {ICCID} {CSQ} {SMSC} are filled in
};

struct FakeCommandTable {
    const FakeCommand *rows;
    std::size_t count;
};

struct FakeProfile {
    FakeModel model;
    const char *identification;  // ATI reply as the module sends it; {IMEI} filled in
    const char *imei;            // defaults for FakeConfig's empty values
    const char *iccid;
    const char *csq;
    const char *smsc;
    bool answers;  // false: the silent port
    bool gsmSms;   // PDU-mode SMS commands of the GSM modules
    bool cdmaSms;  // text-mode vendor SMS commands of the CDMA module
    FakeCommandTable own;  // looked up first
};

const FakeProfile &GetFakeProfile(FakeModel model);

// Every row a fake of this model answers, in lookup order: the model's own
// rows, the shared basic rows, then the GSM SMS rows when it has them.
const FakeCommand *FindFakeCommand(const FakeProfile &profile, const char *command);

// Capacities reported by AT+CPMS.
constexpr int kFakeSimCapacity = 50;
constexpr int kFakeDeviceCapacity = 100;

// The CDMA module reports the outcome of a send over the air after its OK.
constexpr int kFakeCdmaSendReportMs = 200;

#endif
