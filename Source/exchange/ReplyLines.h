// The forms of the lines a modem sends, known by their text alone. Each
// takes one line as it came, with or without its line end.
#ifndef ZARVEX_REPLY_LINES_H
#define ZARVEX_REPLY_LINES_H

#include <string>

// A line that ends a command's reply: "OK", "ERROR", "+CME ERROR: <n>" or
// "+CMS ERROR: <n>".
bool IsFinalResultLine(const std::string &line);

// The report with which a CDMA module ends its reply to a message body:
// "^HCMGSS: <mr>" (sent) or "^HCMGSF: <err>" (failed). An OK may come before
// it, or none at all: the report is what closes the send.
bool IsSendReportLine(const std::string &line);

// A line after which the modem owes the command nothing more: a final
// result or a send report.
bool EndsCommandReply(const std::string &line);

// True for a line (without its line end; blanks, CR and LF around it do not
// count) that a modem sends of its own accord, in between or inside the
// replies to commands: a ring, an incoming message or status report, a
// change of registration, signal, mode or SIM state, a call's progress, a
// module's start-up notice. Such a line is never part of the value of a
// command this program sends. Case counts, as modems write these in capitals.
//
// Known by the whole line ("RING", "NO CARRIER", "Call Ready", ...) or by
// the tag it begins with ("+CMTI:", "+CREG:", "^RSSI:", ...). Final result
// codes, echoes and the value lines the program asks for ("+CCID:",
// "^ICCID:", "+CSQ:", "+CSCA:", "+CMGL:", "^HCMGR:", "^CPBR:", ...) are not
// reports. "+CMT:", "+CDS:", "+CBM:" and "^HCMT:" announce a message whose
// body follows on the next line: that line is not recognised by itself.
bool IsUnsolicitedReport(const std::string &line);

// The ">" with which a modem asks for a message body.
bool IsPromptLine(const std::string &line);

// The line is `command` as a modem with echo on repeats it: the same text,
// letters in either case, whatever blanks, line ends or closing Ctrl-Z stand
// around either. A command is echoed as it was written, but the readers know
// some commands by one spelling while the builds write them in another
// ("at+csq", "AT+CSQ"); no reply of a command is its own text in other
// letters. A command of nothing but those has no echo.
bool IsEchoOf(const std::string &line, const std::string &command);

#endif
