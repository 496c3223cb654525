// The reply to one command, told apart from everything else the line brings
// while it is awaited: the rest of earlier commands' replies (the final
// results the line still owes, see LineAccount), what was pending before the
// write, the command's own echo and unsolicited reports. What is left is
// what the command's parser sees.
#ifndef ZARVEX_COMMAND_REPLY_H
#define ZARVEX_COMMAND_REPLY_H

#include <cstddef>
#include <string>

#include "LineAccount.h"

// What ends a command's reply.
enum class ReplyEnd {
    FinalResult,  // "OK", "ERROR", "+CME ERROR", "+CMS ERROR", a send report
    Prompt,       // the ">" that asks for a message body, or a final error
};

// Whether unsolicited report lines are left out of the reply. A fetched
// message whose text stands on lines of its own as it was written keeps
// every line: a line of its text may look like a report.
enum class ReplyLines { WithoutReports, AsSent };

class CommandReply {
public:
    // `command` is the text about to be written; `account` is the line's and
    // is brought up to date by Finish.
    CommandReply(LineAccount &account, const std::string &command,
                 ReplyEnd end = ReplyEnd::FinalResult, ReplyLines lines = ReplyLines::WithoutReports);

    // What was already waiting before the write: the rest of earlier replies
    // settles what the line owes, anything else is nobody's reply.
    void TakePending(const std::string &bytes);
    // What arrived after the write.
    void Take(const std::string &bytes);

    // The reply so far: its complete lines, then the line still arriving.
    const std::string &Text() const { return m_text; }
    // The reply holds what ends it.
    bool HasEnd() const { return m_hasEnd; }
    // Still taking the rest of earlier commands' replies.
    bool IsSettling() const { return m_settling; }

    // The command is over (whatever its verdict): the line owes its final
    // result if it has not come, until `owedUntilMs`. One that was waited
    // for as long as any reply may be late (mayStillCome false) is owed
    // nothing more, and neither is any command before it.
    void Finish(bool answered, bool mayStillCome = true, long long owedUntilMs = 0);

private:
    void Settle(std::string &bytes, bool beforeWrite);
    void NoteStrayFinals(const std::string &lines);
    void Keep(const std::string &bytes);
    void KeepLine(const std::string &line);
    void UpdateText();

    LineAccount &m_account;
    std::string m_command;
    ReplyEnd m_end;
    ReplyLines m_lines;

    int m_owed;
    std::string m_settlingText;  // earlier traffic not yet a whole line
    bool m_settling;

    std::string m_kept;  // the reply's whole lines
    std::string m_open;  // the reply's line still arriving
    bool m_echoChecked = false;
    bool m_hasEnd = false;
    std::string m_text;
};

#endif
