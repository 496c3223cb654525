// The command runners as one table, the same in both builds: for each runner
// the port check that lets it write, the command the model object builds (or
// the text its caller gives), the parser that judges the reply, how many
// polls the reply may take and what ends it. Each build turns a count of
// polls into its own form of budget (RunnerBudget) and runs the row on the
// port's line; a test runs it on a line and a clock of its own.
#ifndef ZARVEX_CHECK_MANAGER_RUNNERS_H
#define ZARVEX_CHECK_MANAGER_RUNNERS_H

#include <optional>
#include <string>

#include "CheckManagerPortLine.h"
#include "CommandLoop.h"
#include "PhoneCardDefine.h"
#include "ReadBound.h"

class CComPortBase;
class CPhoneCardBase;

// How a runner makes sure it may write. Runners that start a conversation
// open a closed port; the others refuse one, since a port that closed under
// them lost whatever state the earlier commands set up.
enum class PortGuard { Open, IsOpened };

using CommandBuilder = std::string (CPhoneCardBase::*)();
using ReplyParser = COM_CMD_OPERATE_RESULT_t (CPhoneCardBase::*)(std::string);

// The runners of CCheckManager, RunComCmd followed by these names.
enum class Runner {
    InitPhone,
    DelAllSms,
    QuerySMSC,
    AT,
    ATI,
    GetSerialNumber,
    SendPduContext,
    SendPduLen,
    ReadAllSmsToPhone,
    SetRecvSmsCompatibleMode,
    SetPduMode,
    GetSmsCardNumber,
    ReadME_Sms,
    ReadSM_Sms,
    GetSignalStrength,
};

struct RunnerRow {
    Runner runner;
    PortGuard guard;
    // None: the caller gives the text, a part of a message or each of the
    // initialisation commands (which the model object gives as a list).
    CommandBuilder builder;
    ReplyParser parser;
    // How long the reply may take, in polls of a Linux runner.
    int polls;
    ReadBound bound;
    ReplyEnd end;
    // Waited after each poll without a verdict, beyond the runners' pause.
    CommandClock::Duration extraPause;
};

const RunnerRow &RunnerRowOf(Runner runner);

// Writes the row's command (the one its builder makes of `phone`, or `text`)
// on `line` and judges the reply with the row's parser within the row's
// budget, pausing on `clock`.
CommandEnd RunRunnerRow(const RunnerRow &row, CPhoneCardBase &phone, SerialLine &line,
                        CommandClock &clock, const std::string &text = std::string());

// Whether the initialisation sequence ends before its next command, after
// `last` ended the one before (none before the first). Each build has its
// own rule: Linux ends it at a refusal, Windows sends every command while
// the line can still answer.
bool InitSequenceEnds(const CComPortBase &port, const std::optional<CommandEnd> &last);

// A runner as the check manager runs it: nothing is written without a modem
// object, a port, and a port that passes the row's guard (false); else the
// row runs on the port's line. True when the parser found the reply done.
bool RunRunner(Runner runner, CPhoneCardBase *phone, CComPortBase *port,
               const std::string &text = std::string(), CommandClock &clock = RunnerClock());

#endif
