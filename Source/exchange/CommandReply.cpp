#include "CommandReply.h"

#include "ReplyLines.h"
#include "StringUtil.h"

namespace {
constexpr char kLineEnd = '\n';
}  // namespace

CommandReply::CommandReply(LineAccount &account, const std::string &command, ReplyEnd end,
                           ReplyLines lines)
    : m_account(account),
      m_command(command),
      m_end(end),
      m_lines(lines),
      m_owed(account.owedFinals),
      m_settlingText(account.unfinishedLine),
      // A line from before the write still arriving is settled first.
      m_settling(m_owed > 0 || !m_settlingText.empty())
{
}

void CommandReply::TakePending(const std::string &bytes)
{
    std::string rest = bytes;
    Settle(rest, true);
}

void CommandReply::Take(const std::string &bytes)
{
    std::string rest = bytes;
    Settle(rest, false);
    Keep(rest);
}

// Takes from `bytes` what belongs to earlier commands and leaves the rest.
void CommandReply::Settle(std::string &bytes, bool beforeWrite)
{
    if (m_settling) {
        m_settlingText += bytes;
        bytes.clear();
        std::size_t end;
        while (m_settling && (end = m_settlingText.find(kLineEnd)) != std::string::npos) {
            const std::string line = m_settlingText.substr(0, end);
            m_settlingText.erase(0, end + 1);
            if (EndsCommandReply(line)) {
                m_account.answered = true;
                if (m_owed > 0)
                    --m_owed;
                else
                    m_account.strayFinal = true;
            }
            m_settling = m_owed > 0;
        }
        if (m_settling)
            return;
        bytes.swap(m_settlingText);
    }
    if (!beforeWrite)
        return;
    // Nothing is owed any more, and no command is waiting: whole lines are
    // dropped, and a line still arriving is dropped once it is complete.
    const std::size_t lastEnd = bytes.rfind(kLineEnd);
    if (lastEnd != std::string::npos)
        NoteStrayFinals(bytes.substr(0, lastEnd + 1));
    m_settlingText = lastEnd == std::string::npos ? bytes : bytes.substr(lastEnd + 1);
    m_settling = !m_settlingText.empty();
}

void CommandReply::NoteStrayFinals(const std::string &lines)
{
    std::size_t start = 0;
    for (std::size_t end; (end = lines.find(kLineEnd, start)) != std::string::npos; start = end + 1)
        if (EndsCommandReply(lines.substr(start, end - start)))
            m_account.strayFinal = true;
}

void CommandReply::Keep(const std::string &bytes)
{
    m_open += bytes;
    std::size_t end;
    while ((end = m_open.find(kLineEnd)) != std::string::npos) {
        const std::string line = m_open.substr(0, end + 1);
        m_open.erase(0, end + 1);
        KeepLine(line);
    }
    if (m_end == ReplyEnd::Prompt && IsPromptLine(m_open))
        m_hasEnd = true;
    UpdateText();
}

void CommandReply::KeepLine(const std::string &line)
{
    const std::string text = TrimLineBlanks(line);
    const bool report = IsUnsolicitedReport(text);
    if (report && m_lines == ReplyLines::WithoutReports)
        return;
    // The first line that says anything may be the command coming back.
    if (!m_echoChecked && !text.empty() && !report) {
        m_echoChecked = true;
        if (IsEchoOf(text, m_command))
            return;
    }
    // A message's own text may read like a send report; only a final
    // result ends a fetch.
    const bool ends = m_lines == ReplyLines::AsSent ? IsFinalResultLine(text) : EndsCommandReply(text);
    if (ends) {
        m_account.answered = true;
        m_hasEnd = true;
    } else if (m_end == ReplyEnd::Prompt && IsPromptLine(text)) {
        m_hasEnd = true;
    }
    m_kept += line;
}

void CommandReply::UpdateText()
{
    m_text = m_kept + m_open;
}

void CommandReply::Finish(bool answered, bool mayStillCome, long long owedUntilMs)
{
    m_account.lastUnanswered = !answered;
    m_account.owedUntilMs = owedUntilMs;
    if (!mayStillCome && (m_settling || !m_hasEnd)) {
        m_account.owedFinals = 0;
        m_account.unfinishedLine = m_settling ? m_settlingText : m_open;
        return;
    }
    if (m_settling) {
        // Earlier replies were still coming in: this one is owed as well.
        m_account.owedFinals = m_owed + 1;
        m_account.unfinishedLine = m_settlingText;
        return;
    }
    if (!m_hasEnd) {
        m_account.owedFinals = 1;
        m_account.unfinishedLine = m_open;
        return;
    }
    m_account.owedFinals = 0;
    // After a prompt the line still arriving is the prompt itself.
    m_account.unfinishedLine = m_end == ReplyEnd::Prompt ? std::string() : m_open;
}
