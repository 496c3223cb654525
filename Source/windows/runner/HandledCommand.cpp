#include "HandledCommand.h"

#include <algorithm>
#include <thread>

namespace {

class SteadyClock : public CommandClock {
public:
    Duration Now() override
    {
        return std::chrono::duration_cast<Duration>(
            std::chrono::steady_clock::now().time_since_epoch());
    }
    void Pause(Duration pause) override { std::this_thread::sleep_for(pause); }
};

}  // namespace

CommandClock &SteadyCommandClock()
{
    static SteadyClock clock;
    return clock;
}

CommandEnd RunHandledCommand(CPhoneCardBase *phone, CommandLine &line, CommandClock &clock,
                             const std::string &command, const ComCmdHandler_t &handler,
                             CommandClock::Duration budget)
{
    if (phone == nullptr || !line.IsOpened())
        return CommandEnd::NotRun;
    line.Write(command);
    const CommandClock::Duration deadline = clock.Now() + budget;
    if (budget.count() <= 0)
        return CommandEnd::OutOfTime;
    std::string reply;
    for (;;) {
        line.ReadAll(reply);
        // The parser sees the whole reply each time, never a piece of it.
        switch (handler(phone, reply)) {
        case COM_CMD_OK: return CommandEnd::Done;
        case COM_CMD_ERROR: return CommandEnd::Refused;
        default: break;
        }
        // A vanished device cannot answer: waiting out the budget (over a
        // minute for some commands) would only hold up the flow.
        if (line.IsLineGone())
            return CommandEnd::LineGone;
        const CommandClock::Duration left = deadline - clock.Now();
        if (left.count() <= 0)
            return CommandEnd::OutOfTime;
        clock.Pause(std::min(left, kCommandPollPause));
    }
}
