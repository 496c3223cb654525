// Pure readers of the replies that the Windows probe gets. Each takes the
// whole reply of one command (see ProbeExchange) and never reads outside it:
// a reply cut short, in an odd form or hostile gives no value, never a crash.
#ifndef ZARVEX_PROBE_REPLIES_H
#define ZARVEX_PROBE_REPLIES_H

#include <string>

#include "QueryReply.h"

// True once the reply holds its final result code on a line of its own: "OK"
// or "ERROR" (also before that line's end has come), or a "+CME ERROR" or
// "+CMS ERROR" line once it has ended, so that its number is whole.
bool HasFinalResult(const std::string &reply);

// The value readers below take a value only from a whole line of their
// command's own form (a bare serial number only before the reply's OK), and
// only when the value has its own shape (QueryReply.h, ReplyValues.h): a line
// cut short or an unsolicited report is never a value, and another command's
// text or noise is none unless it has the value's very form.

// The value of the command's tagged line ("+CSQ: 20,99"), with the blank
// that followed the colon kept and double quotes around the value dropped.
// False, and no value, when there is none of the form's shape.
bool ValueAfterTag(const std::string &reply, const QueryForm &form, std::string &value);

// The commands that read a SIM card number, each with its reply's tag.
enum class CardNumberQuery {
    Ccid,           // AT+CCID, "+CCID:"
    HuaweiIccid,    // AT^ICCID?, "^ICCID:"
    SiemensCxxcid,  // AT+CXXCID, "+CXXCID:"
};
const char *CardNumberCommand(CardNumberQuery query);

// SIM card number from the reply to that command, with the blank after the
// colon: 19 or 20 digits or hexadecimal letters. A Huawei module that
// answers in the card's stored order gets the number as printed on the card.
bool SmsCardNumberFromReply(CardNumberQuery query, const std::string &reply, std::string &number);

// Signal text (the modem's raw "rssi,ber" with the blank before it) from the
// reply to AT+CSQ; an error report gives none.
bool SignalFromReply(const std::string &reply, std::string &signal);

// Serial number from the reply to AT+CGSN: the one line before the OK, one
// word of letters and digits. "" when there is none.
std::string SerialFromCgsnReply(const std::string &reply);

// True when the reply to AT+CGSN plainly holds no serial number: its one
// line of substance is a whole final result, past the echo and reports the
// modem sent of its own accord. A reply with any other line in it (a value
// cut short, text of no form this reply has) tells nothing either way.
bool CgsnReplyHasNoSerial(const std::string &reply);

// The reply to AT+WMSN: whether it names a "Serial Number" at all (then
// AT+CGSN is not asked), and the value on the rest of the line that begins
// with the words, after the one character that follows them.
bool WmsnReplyHasSerial(const std::string &reply);
std::string SerialFromWmsnReply(const std::string &reply);

// Up to five characters after the first "." of the first whole line of an
// ATI3 reply that has one, no further than the first character that is not
// a printable one.
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
