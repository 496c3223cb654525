#include "ScriptedModem.h"

#include <algorithm>
#include <memory>

#include "PromptCancel.h"

const char kOk[] = "\r\nOK\r\n";
const char kError[] = "\r\nERROR\r\n";

namespace {

constexpr long long kReplyDelayMs = 20;

}  // namespace

bool ScriptedLine::SetSpeed(int baudRate)
{
    m_speeds.push_back(baudRate);
    m_baud = baudRate;
    return !m_refuseSpeeds;
}

bool ScriptedLine::Write(const std::string &bytes)
{
    if (m_dropAfter >= 0 && static_cast<int>(m_commands.size()) >= m_dropAfter)
        return false;
    if (bytes == kCancelMessageBody)
        m_cancels.push_back(m_baud);
    else
        m_commands.push_back(bytes);
    // A modem answers its commands in turn: a reply never begins before the
    // one to the command ahead of it is out.
    const long long start = std::max(m_now, m_lastReplyAt);
    for (const ReplyPiece &piece : m_responder(bytes, m_baud)) {
        m_pending.emplace(start + piece.afterMs, piece.bytes);
        m_lastReplyAt = std::max(m_lastReplyAt, start + piece.afterMs);
    }
    return true;
}

bool ScriptedLine::ReadAvailable(std::string &out, std::size_t maxBytes)
{
    ++m_reads;
    if (m_dropAfter >= 0 && static_cast<int>(m_commands.size()) >= m_dropAfter)
        return false;
    if (m_babble) {
        out.append(maxBytes, 'x');
        return true;
    }
    while (maxBytes > 0 && !m_pending.empty() && m_pending.begin()->first <= m_now) {
        auto first = m_pending.begin();
        std::string bytes = first->second;
        const long long at = first->first;
        m_pending.erase(first);
        if (bytes.size() > maxBytes) {
            // The rest stays ahead of anything that arrives later.
            m_pending.emplace_hint(m_pending.begin(), at, bytes.substr(maxBytes));
            bytes.resize(maxBytes);
        }
        maxBytes -= bytes.size();
        out += bytes;
    }
    return true;
}

void ScriptedLine::Inject(long long atMs, const std::string &bytes)
{
    m_pending.emplace(atMs, bytes);
}

Responder TranscriptResponder(Transcript transcript)
{
    auto state = std::make_shared<Transcript>(std::move(transcript));
    auto used = std::make_shared<std::map<std::string, std::size_t>>();
    return [state, used](const std::string &command, int baud) -> std::vector<ReplyPiece> {
        if ((state->baud != 0 && baud != state->baud) || command == kCancelMessageBody)
            return {};
        const auto found = state->replies.find(command);
        if (found == state->replies.end() || found->second.empty())
            return {{kReplyDelayMs, kError}};
        std::size_t &turn = (*used)[command];
        const std::string &reply = found->second[std::min(turn, found->second.size() - 1)];
        ++turn;
        return {{kReplyDelayMs, reply}};
    };
}

std::string Answer(const std::string &text)
{
    return "\r\n" + text + "\r\n\r\nOK\r\n";
}

Transcript BasicModem(int baud)
{
    Transcript t;
    t.baud = baud;
    t.replies = {{"AT\r", {kOk}},
                 {"ATE0\r", {kOk}},
                 {"AT+CMEE=1\r", {kOk}},
                 {"ATI\r", {Answer("ACME X1")}},
                 {"AT+CGMI\r", {Answer("ACME")}},
                 {"ATI3\r", {kError}},
                 {"AT+CGSN\r", {Answer("352000111222333")}},
                 {"AT+CCID\r", {Answer("+CCID: 89860012345678901234")}},
                 {"AT+CSQ\r", {Answer("+CSQ: 17,99")}}};
    return t;
}
