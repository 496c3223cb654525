// The generic command runner of the Windows build, which nothing in the
// program calls: the runners of the flows run their rows of the runner table
// instead.
#include "CheckManagerOfferedWindows.h"

#include "CheckManagerPortLine.h"
#include "CommandBudgets.h"
#include "ComPortBase.h"

// Nothing in the program calls it.
bool RunComCmd(CPhoneCardBase *phone, CComPortBase *port, std::string command,
               ComCmdHandler_t handler, int polls)
{
    if (phone == nullptr || port == nullptr || !port->IsOpened())
        return false;
    const ReplyParse parse = [phone, &handler](const std::string &reply) {
        return handler(phone, reply);
    };
    PortLine line(*port);
    return RunPortCommand(line, RunnerClock(), command, parse,
                          RunnerBudget(polls, SHORT_REPLY_BOUND))
           == CommandEnd::Done;
}
