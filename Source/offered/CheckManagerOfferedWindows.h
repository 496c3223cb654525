// The generic command runner of the Windows build: a command of the caller's
// written once and its reply judged, poll by poll, by a handler that asks
// one reply parser of the modem object (ComCmdHandlers.h). The runners of the
// flows run their rows of the runner table (CheckManagerRunners.h) the same
// way. Nothing in the program calls it: it lives in the application's offered
// library, which only its tests link.
#ifndef ZARVEX_CHECK_MANAGER_OFFERED_WINDOWS_H
#define ZARVEX_CHECK_MANAGER_OFFERED_WINDOWS_H

#include <string>

#include "ComCmdHandlers.h"

class CPhoneCardBase;
class CComPortBase;

// Writes `command` once, then hands the reply to `handler` until it answers
// COM_CMD_OK (true) or COM_CMD_ERROR (false), the line goes away (false),
// the reply outgrows its bound (false), or the time that `polls` polls of
// the Linux runners take has passed (false; CommandBudgets.h). Writes
// nothing and answers false when phone or port is null or the port is
// closed.
bool RunComCmd(CPhoneCardBase *phone, CComPortBase *port, std::string command,
               ComCmdHandler_t handler, int polls);

#endif
