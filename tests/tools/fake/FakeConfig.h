// What one fake modem is: its model, the speeds it answers at, the values it
// reports, the faults it plays and the messages it stores. The same record
// configures an in-process fake and the standalone fake_modem (as JSON).
#ifndef ZARVEX_FAKE_CONFIG_H
#define ZARVEX_FAKE_CONFIG_H

#include <cstddef>
#include <string>
#include <vector>

// After the module, the family the Windows probe finds in it.
enum class FakeModel {
    Tarnel,      // Quectel M35; nothing identified, serial by AT+CGSN
    VelkorNc5,   // Yuga CLM920_NC5: index list and one-by-one fetches; nothing identified
    VelkorMe,    // Huawei ME909s-821: ^ICCID?, ^CURC; maker "Huawei" in mixed case
    Pimsor,      // Huawei MG301; maker "HUAWEI"
    Orvast,      // Wavecom Q2406B
    Sudrel,      // Huawei MC323, CDMA: text mode with vendor commands; has an ESN
    UnknownAti,  // answers AT, but its identification names no known module
    Silent,      // a port with nothing behind it: reads, never answers
    // Further modules that only the Windows probe tells apart; the Linux
    // program sees them as one of the models above or as unknown.
    OrvastWismoq,    // Wavecom WISMO Quik: "WISMOQ" in its ATI3 reply
    OrvastOther,     // Wavecom whose ATI3 names a module by a dotted version only
    Siemens,         // "SIEMENS" to ATI; card number through AT+CXXCID
    SudrelNoSerial,  // Huawei MC323 without a serial number of its own
};

// The line speeds at which a fake answers; at any other speed it stays silent,
// as a modem does when the line is set to the wrong rate.
enum class FakeBaud { Any, Only9600, Only115200 };

// An error reply to play for every command that begins with `command`
// (compared after the fake's normalisation: upper case, blanks dropped).
struct FakeCommandError {
    std::string command;
    std::string reply = "ERROR";  // the line, without its CR LF
};

// A reply shaped on the way out, for every command that begins with
// `command` (normalised as above). The command still takes effect.
struct FakeReplyFault {
    std::string command;
    std::string reply;        // non-empty: these exact bytes instead of the reply
    int splitAt = -1;         // >= 0: the reply pauses after this many bytes
                              // (past its end: after the whole reply)
    std::string splitBefore;  // non-empty: instead, it pauses right before
                              // the first such text (none: at its end)
    int pauseMs = 0;          // for this long,
    std::string insert;       // then this arrives before the rest (an
                              // unsolicited report); with neither split it
                              // comes right before the reply
    int times = 0;            // > 0: only the first N such commands
};

struct FakeFaults {
    int replyDelayMs = 0;       // pause before every reply (echo is immediate)
    int chunkBytes = 0;         // > 0: replies go out in pieces of this size
    int chunkGapMs = 0;         // pause between those pieces
    int failSubmissions = 0;    // the first K message bodies are refused
    int failCode = 500;         // with "+CMS ERROR: <code>" (CDMA: ^HCMGSF)
    std::vector<FakeCommandError> errorCommands;
    std::vector<std::string> silentCommands;  // received, never answered
    int dropAfterCommands = 0;  // > 0: the line goes away after N commands
    // > 0: after N commands the modem hangs: it stays on the line, hears
    // everything and answers nothing, not even an echo.
    int silentAfterCommands = 0;
    // ATE0 is answered OK, yet every command goes on being echoed.
    bool ignoresEchoOff = false;
    // CDMA: a message body is answered by its ^HCMGSS (or ^HCMGSF) report
    // alone, with no OK before it.
    bool cdmaReportWithoutOk = false;
    // The modem waits at its ">" prompt from power-on, as a run that ended
    // there left it: all it hears at its speed is message text, answered
    // with nothing but its echo, until an ESC gives the message up (answered
    // OK) or a Ctrl-Z sends it.
    bool leftAtPrompt = false;
    // > 0: the Ctrl-Z of the first N message bodies is lost on the line, so
    // the modem stays at its prompt as above, the body unanswered.
    int bodiesLeftOpen = 0;
    std::vector<FakeReplyFault> replyFaults;  // the first that matches applies
    // Non-empty: once floodAfterCommands commands have arrived (0: from the
    // start) the fake sends this text again and again, floodGapMs apart,
    // and never falls silent; replies still go out in between.
    std::string floodText;
    int floodAfterCommands = 0;
    int floodGapMs = 0;
};

// One phonebook location (3GPP TS 27.007 +CPBR/+CPBW, here as the Huawei
// ^CPBR/^CPBW with the text's coding).
struct PhonebookEntry {
    std::string store = "ME";  // "ME" (device) or "SM" (SIM)
    int index = 1;
    std::string number;
    int type = 129;            // 129 national/unknown, 145 international
    std::string text;          // the name as the modem reports it
    int coding = 0;            // 0 the text as it stands, 1 UCS2 in hex
};

// One stored message. With `pdu` empty, a GSM fake builds the SMS-DELIVER
// (or, for status 2 and 3, SMS-SUBMIT) from the fields; the CDMA fake always
// plays the fields.
struct StoredMessage {
    std::string store = "SM";  // "SM" (SIM) or "ME" (device)
    int index = 0;
    int stat = 1;              // 0 unread, 1 read, 2 unsent, 3 sent
    std::string pdu;           // hex, SMS-centre information first
    std::string sender = "+8613800138000";
    std::string time = "190801120504";  // YYMMDDhhmmss of the SC time stamp
    std::string text;          // UTF-8
    std::string coding = "ucs2";  // "ucs2" or "7bit"
    int concatRef = -1;        // >= 0: one part of a concatenated message
    int concatTotal = 0;
    int concatSeq = 0;
    // Noise cost it its PDU line: a listing or a fetch in PDU mode gives its
    // header alone.
    bool pduLineLost = false;
};

struct FakeConfig {
    FakeModel model = FakeModel::Tarnel;
    FakeBaud baud = FakeBaud::Any;
    bool echo = true;  // echo until ATE0, as modems start
    // The modem sits behind a USB serial bridge without flow control (CH340,
    // PL2303, FT232): its bytes reach the port at the line's speed, 10 bits
    // a byte, in packets of kFakeBridgePacketBytes; a packet's bytes that
    // would leave more than kFakeBridgeUnreadLimit bytes unread at the port
    // are lost, as the bridge's buffer overflows.
    bool uartBridge = false;
    // Empty values take the model's defaults (FakeProfile).
    std::string imei;
    std::string iccid;
    std::string csq;   // "rssi,ber"
    std::string smsc;  // as +CSCA reports it
    std::string productSerial;  // AT+WMSN of the Wavecom modules
    FakeFaults faults;
    std::vector<StoredMessage> messages;
    std::vector<PhonebookEntry> phonebook;  // the entries at power-on
    std::string record;  // standalone: file that receives the record
    // Standalone: the phonebook's state file. Read at start when it exists
    // (it then replaces `phonebook`), written at start when it does not, and
    // rewritten after every change, so that the entries outlive the fake.
    std::string phonebookFile;
};

constexpr int kFakeBridgePacketBytes = 64;
constexpr int kFakeBridgeUnreadLimit = 4096;

// What a phonebook holds: locations 1 to kFakePhonebookCapacity in each
// store, numbers and texts up to these lengths.
constexpr int kFakePhonebookCapacity = 250;
constexpr std::size_t kFakePhonebookNumberMax = 40;
constexpr std::size_t kFakePhonebookTextMax = 30;

// Entry 1 of the device phonebook as the Windows program provisions it.
PhonebookEntry WmsnPhonebookEntry(const std::string &serial);
// The location, or null.
const PhonebookEntry *FindPhonebookEntry(const std::vector<PhonebookEntry> &entries,
                                         const std::string &store, int index);

const char *FakeModelName(FakeModel model);
bool FakeModelFromName(const std::string &name, FakeModel *model);
const char *FakeBaudName(FakeBaud baud);
bool FakeBaudFromName(const std::string &name, FakeBaud *baud);

// JSON form: {"fakes": [ {...}, ... ]}. Unknown keys are refused so that a
// misspelt fault does not pass silently.
std::string FakeConfigsToJson(const std::vector<FakeConfig> &configs);
bool FakeConfigsFromJson(const std::string &json, std::vector<FakeConfig> *configs,
                         std::string *error);

// The phonebook's state file: {"phonebook": [ {...}, ... ]}.
std::string PhonebookToJson(const std::vector<PhonebookEntry> &entries);
bool PhonebookFromJson(const std::string &json, std::vector<PhonebookEntry> *entries, std::string *error);

#endif
