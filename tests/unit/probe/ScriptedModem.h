// A modem played from a script over a probe line with a clock of its own:
// the probe's waits cost no real time, and every reply arrives exactly when
// the script says, in the pieces it says.
#ifndef ZARVEX_TEST_SCRIPTED_MODEM_H
#define ZARVEX_TEST_SCRIPTED_MODEM_H

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "ProbeLine.h"

// Bytes that arrive `afterMs` after the command that caused them, or after
// the reply ahead of them when that comes later.
struct ReplyPiece {
    long long afterMs;
    std::string bytes;
};

// The pieces a command gets at the line's current speed (none: silence).
using Responder = std::function<std::vector<ReplyPiece>(const std::string &command, int baud)>;

class ScriptedLine : public CProbeLine {
public:
    explicit ScriptedLine(Responder responder) : m_responder(std::move(responder)) {}

    bool SetSpeed(int baudRate) override;
    bool Write(const std::string &bytes) override;
    bool ReadAvailable(std::string &out, std::size_t maxBytes) override;
    void Pause(int milliseconds) override { m_now += milliseconds; }
    long long NowMilliseconds() override { return m_now; }

    // Bytes that arrive at a time of the line's clock, asked for by nobody.
    void Inject(long long atMs, const std::string &bytes);
    // The line goes away once this many commands have been written.
    void DropAfterCommands(int count) { m_dropAfter = count; }
    // Every look at the line finds as much as it may take: a device that
    // never goes quiet.
    void Babble() { m_babble = true; }
    void RefuseSpeeds() { m_refuseSpeeds = true; }

    // What was written, but for the lone ESCs that give up a message body:
    // those are no command, and Cancels() gives the speed each came at.
    const std::vector<std::string> &Commands() const { return m_commands; }
    const std::vector<int> &Cancels() const { return m_cancels; }
    const std::vector<int> &Speeds() const { return m_speeds; }
    long long Now() const { return m_now; }
    int Reads() const { return m_reads; }

private:
    Responder m_responder;
    std::multimap<long long, std::string> m_pending;
    std::vector<std::string> m_commands;
    std::vector<int> m_cancels;
    std::vector<int> m_speeds;
    long long m_now = 0;
    long long m_lastReplyAt = 0;
    int m_baud = 0;
    int m_reads = 0;
    int m_dropAfter = -1;
    bool m_babble = false;
    bool m_refuseSpeeds = false;
};

// A modem answering from a transcript: each command gets its replies in
// turn (the last one again once they are used up), each as one piece 20 ms
// after the command; a command the transcript does not know gets ERROR. It
// answers only at `baud` (0: at every speed) and is silent otherwise. It is
// at no prompt: a lone ESC gets nothing.
struct Transcript {
    std::map<std::string, std::vector<std::string>> replies;
    int baud = 0;
};
Responder TranscriptResponder(Transcript transcript);

// A module of no known make that answers every step of the probe: serial
// number 352000111222333, SIM card 89860012345678901234, signal 17,99.
Transcript BasicModem(int baud);

// "\r\n<text>\r\n\r\nOK\r\n": a value as a modem with echo off gives it.
std::string Answer(const std::string &text);
extern const char kOk[];     // "\r\nOK\r\n"
extern const char kError[];  // "\r\nERROR\r\n"

#endif
