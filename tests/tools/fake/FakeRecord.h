// What the program did to a fake: every command line it sent and every
// message body it submitted, with the submitted messages decoded by the
// program's own codec so that a test asserts on destination, coding, text
// and concatenation, not on hex.
#ifndef ZARVEX_FAKE_RECORD_H
#define ZARVEX_FAKE_RECORD_H

#include <string>
#include <vector>

struct FakeCommandEvent {
    std::string text;  // as received, without the CR that ended it
    int baud = 0;      // line speed the program had set when it arrived
    bool answered = false;
};

struct FakeSubmission {
    bool cdma = false;     // AT^HCMGS text mode instead of AT+CMGS PDU mode
    std::string command;   // the command that opened the prompt
    std::string body;      // PDU hex, or the raw UCS2 octets as hex (CDMA)
    int baud = 0;
    bool accepted = false;
    std::string refusal;   // the error line when refused
};

struct DecodedSubmission {
    bool ok = false;         // the body could be read as the command said
    std::string error;       // why not
    int declaredLength = -1; // AT+CMGS=<n>
    int tpduLength = -1;     // the octets the body actually holds
    std::string smsc;
    std::string destination;
    int coding = -1;         // TP-DCS; 8 for the CDMA module's UCS2
    std::string text;        // UTF-8, without the concatenation header
    int concatRef = -1;      // -1 for a single message
    int concatTotal = 0;
    int concatSeq = 0;
};

struct FakeRecord {
    std::vector<FakeCommandEvent> commands;
    std::vector<FakeSubmission> submissions;

    std::vector<std::string> CommandTexts() const;
    // The commands that begin with `prefix`, in the order they came.
    std::vector<std::string> CommandsStartingWith(const std::string &prefix) const;
};

// Decodes with the program's codec. Uses its UCS2 conversion, which sets the
// process locale: call it on the thread that runs the codec, never on a
// fake's I/O thread.
DecodedSubmission DecodeSubmission(const FakeSubmission &submission);

// The CDMA module's parts of one long text, decoded in the order sent: part
// k of n ends in "(k/n)", n being how many parts there are. On success the
// text the parts join to without their markers; otherwise which part is
// wrong, and how.
struct JoinedParts {
    bool ok = false;
    std::string text;
    std::string error;
};
JoinedParts JoinCdmaParts(const std::vector<DecodedSubmission> &parts);

// One JSON object per line, written as events happen, so that a test can
// read the record while the fake still runs.
std::string CommandEventToJsonLine(const FakeCommandEvent &event);
std::string SubmissionToJsonLine(const FakeSubmission &submission);
// Lines that are not JSON (a torn last line) are skipped.
FakeRecord ParseRecordLines(const std::string &text);

#endif
