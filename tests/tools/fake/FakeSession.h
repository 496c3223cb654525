// The modem's side of the AT dialogue, without any I/O: bytes in (with the
// line speed the program set), reply pieces out with their pauses, and the
// events for the record. One session is one modem from power-on.
#ifndef ZARVEX_FAKE_SESSION_H
#define ZARVEX_FAKE_SESSION_H

#include <string>
#include <vector>

#include "FakeConfig.h"
#include "FakeProfile.h"
#include "FakeRecord.h"

struct FakePiece {
    int delayMs = 0;  // pause before this piece, after the previous one
    std::string bytes;
};

struct FakeOutput {
    std::vector<FakePiece> pieces;
    bool dropLine = false;  // once the pieces are out, the device goes away
    bool phonebookChanged = false;
    std::vector<FakeCommandEvent> commands;
    std::vector<FakeSubmission> submissions;
};

class FakeSession {
public:
    explicit FakeSession(const FakeConfig &config);

    // Bytes the program wrote, and the speed its line was set to.
    FakeOutput Receive(const std::string &bytes, int baud);

    bool Answers(int baud) const;
    bool Dropped() const { return m_dropped; }
    // The flood fault has begun: the line is to send its text without end.
    bool Flooding() const { return m_flooding && !m_dropped; }
    const FakeConfig &Config() const { return m_config; }
    const std::vector<PhonebookEntry> &Phonebook() const { return m_phonebook; }

private:
    enum class Mode { Command, PduBody, CdmaBody };
    struct Stored {
        StoredMessage message;
        std::string pdu;  // GSM: SMS-centre information and TPDU in hex
    };

    void HandleLine(const std::string &line, int baud, FakeOutput &out);
    std::string Dispatch(const FakeCommand &row, const std::string &command, FakeOutput &out);
    void FinishPduBody(int baud, FakeOutput &out);
    void FinishCdmaBody(int baud, FakeOutput &out);
    void Reply(const std::string &text, FakeOutput &out, const FakeReplyFault *fault = nullptr) const;
    const FakeReplyFault *TakeReplyFault(const std::string &command);
    void CountCommand(FakeOutput &out);
    bool Hung() const;

    std::string Fill(const char *text) const;
    std::string GeneralError(int code) const;
    static std::string SmsError(int code);
    std::string SelectStore(const std::string &args);
    std::string ListPdu(const std::string &args);
    std::string ListIndices() const;
    std::string ReadPdu(const std::string &args);
    std::string Delete(const std::string &args);
    std::string CdmaList(const std::string &args);
    std::string CdmaRead(const std::string &args);
    std::string SelectPhonebook(const std::string &args);
    std::string PhonebookStore() const;
    std::string ReadPhonebook(const std::string &args) const;
    std::string WritePhonebook(const std::string &args, FakeOutput &out);
    std::vector<Stored *> InStore(const std::string &store);
    Stored *Find(const std::string &store, const std::string &indexText);
    int CountIn(const std::string &store) const;

    FakeConfig m_config;
    const FakeProfile &m_profile;
    std::vector<Stored> m_messages;
    bool m_echo;
    int m_errorReports = 0;  // AT+CMEE
    bool m_pduMode = true;   // AT+CMGF, 0 by default (TS 27.005)
    std::string m_store = "SM";
    Mode m_mode = Mode::Command;
    std::string m_line;
    std::string m_body;
    std::string m_bodyCommand;
    int m_commandsHandled = 0;
    int m_submissionsSeen = 0;
    int m_bodiesLeftOpen = 0;  // Ctrl-Zs lost so far (FakeFaults::bodiesLeftOpen)
    int m_messageReference = 0;
    bool m_dropped = false;
    bool m_flooding = false;
    std::vector<int> m_replyFaultUses;  // per fault of the config
    std::vector<PhonebookEntry> m_phonebook;
    std::string m_phonebookStore = "SM";  // AT+CPBS, the SIM's by default
};

// Upper case outside double quotes, blanks outside quotes dropped: the form
// in which modems compare command names (V.250).
std::string NormaliseCommand(const std::string &line);

#endif
