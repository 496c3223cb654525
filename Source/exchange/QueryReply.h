// Reading the reply to one query command (AT+CGSN, AT+CCID, AT+CSQ, ...) for
// its value, the same way in both builds, by the forms of QueryForms.h.
//
// A value is taken only from a whole line of the command's own form, one
// whose line end has come: a line cut short, a report the modem sent of its
// own accord (IsUnsolicitedReport, skipped wherever it stands) and the lines
// before the command's echo (late answers to earlier commands) are never a
// value. The reply is taken to begin at a line's start, as the command loop
// hands it (CommandReply): from the write on, without what earlier commands
// still owed, the echo and the reports perhaps already left out.
//
// The reader is pure and may be handed a reply that is still growing: it
// answers Pending until the text is decisive, and then the same verdict for
// every longer text.
#ifndef ZARVEX_QUERY_REPLY_H
#define ZARVEX_QUERY_REPLY_H

#include <cstddef>
#include <string>

enum class QueryOutcome {
    Pending,  // nothing decisive yet
    Value,    // a well-formed value of the command's form
    NoValue,  // the reply ended without one, or its value has the wrong form
    Refused,  // an error report ("ERROR", "+CME ERROR: <n>", ...) ended it
};

// What an OK means when no line of the command's form has come before it.
enum class EarlyOk {
    EndsTheReply,  // the command was answered without a value
    IsLate,        // an earlier command's final result: read on
};

struct QueryForm {
    const char *echo;  // the command as a modem with echo on repeats it; any case
    // What the value line begins with ("+CCID:"); null: the whole line is
    // the value, which then counts only once OK has followed it and only
    // when it is the one line before that OK.
    const char *tag;
    std::size_t separatorAfterTag;  // characters after the tag, whatever they are
    bool (*isValue)(const std::string &value);
    bool valueNeedsOk;  // a tagged value counts once OK has followed it
    EarlyOk earlyOk;
};

// When the reader is handed the reply.
enum class ReplyRead {
    // At every poll while it still grows (the command runners): the form's
    // own rules for an OK apply.
    WhileArriving,
    // Once the command's exchange is over (the Windows probe): an OK before
    // any value line can only be an earlier command's late one, and a whole
    // tagged line is the value even when its OK came too late for the
    // exchange.
    OnceOver,
};

struct QueryReading {
    QueryOutcome outcome = QueryOutcome::Pending;
    // For Value: the value without the blanks and the double quotes around it.
    std::string value;
    bool blankBeforeValue = false;  // for Value: a blank followed the tag
    bool errorLineEnded = false;    // for Refused: the report's line end has come
};

QueryReading ReadQueryReply(const std::string &reply, const QueryForm &form,
                            ReplyRead read = ReplyRead::WhileArriving);

#endif
