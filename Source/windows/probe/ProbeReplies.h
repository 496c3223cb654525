// Pure readers of the replies that the Windows probe gets. Each takes the
// whole reply of one command (see ProbeExchange) and never reads outside it:
// a reply cut short, in an odd form or hostile gives no value, never a crash.
#ifndef ZARVEX_PROBE_REPLIES_H
#define ZARVEX_PROBE_REPLIES_H

#include <string>
#include <vector>

// True once the reply holds its final result code on a line of its own: "OK"
// or "ERROR" (also before that line's end has come), or a "+CME ERROR" or
// "+CMS ERROR" line once it has ended, so that its number is whole.
bool HasFinalResult(const std::string &reply);

// The text after the colon of the first line that carries one of the tags
// with a colon after it, up to that line's end. A blank that follows the
// colon stays. False, and no value, when no such line exists or nothing but
// blanks follows the colon. Unsolicited reports on other lines are skipped.
bool ValueAfterTag(const std::string &reply, const std::vector<std::string> &tags,
                   std::string &value);

// SIM card number from the reply to AT+CCID, AT^ICCID? or AT+CXXCID: none
// when the reply reports an error.
bool SmsCardNumberFromReply(const std::string &reply, std::string &number);

// Signal text (the modem's raw "rssi,ber" with the blank before it) from the
// reply to AT+CSQ; an error report gives none.
bool SignalFromReply(const std::string &reply, std::string &signal);

// Serial number from the reply to AT+CGSN: only a reply that ended with OK
// counts; its value is the first line that is neither the command's echo nor
// an unsolicited "^" report. "" when there is none.
std::string SerialFromCgsnReply(const std::string &reply);

// The reply to AT+WMSN: whether it names a "Serial Number" at all (then
// AT+CGSN is not asked), and the value on the rest of that line after the
// one character that follows the words. A value whose line has not ended
// counts as none.
bool WmsnReplyHasSerial(const std::string &reply);
std::string SerialFromWmsnReply(const std::string &reply);

// Up to five characters after the first "." of an ATI3 reply, no further
// than the end of its line.
std::string ModelNameAfterDot(const std::string &reply);

// What phonebook entry 1 of the device holds, from the reply to AT^CPBR=1.
enum class PhonebookSlot {
    Empty,    // the modem plainly says there is none: a lone OK, or "not found"
    Ours,     // the probe's own entry: name "WMSN" and a number of digits
    Foreign,  // any other entry, or one in a form not understood: a user's
    Unknown,  // anything else (another error, no final result): nothing can be said
};
PhonebookSlot JudgePhonebookEntry(const std::string &reply, std::string &number);

// The command that stores `serial` as phonebook entry 1 under "WMSN".
std::string PhonebookWriteCommand(const std::string &serial);

#endif
