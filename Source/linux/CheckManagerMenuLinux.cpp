// The menu's key on a Linux terminal: raw mode for exactly one keystroke,
// and the terminal's settings put back even when a signal ends the program
// during that wait.
#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <cstdio>

#include "CheckManagerLinux.h"
#include "CheckManagerMenu.h"

namespace {

// While the menu waits for a key the terminal is raw. A signal that ends the
// program then (a hang-up, kill's SIGTERM; Ctrl-C itself is only a key in
// raw mode) would leave the user's shell without echo or line editing, so
// the settings are put back first and the signal then ends the program as
// it would have.
const int kEndingSignals[] = {SIGHUP, SIGINT, SIGQUIT, SIGTERM};
constexpr std::size_t kEndingSignalCount = sizeof kEndingSignals / sizeof kEndingSignals[0];

termios g_settingsBeforeKey;
volatile std::sig_atomic_t g_terminalRaw = 0;

// Async-signal-safe: tcsetattr and raise only. Installed with SA_RESETHAND,
// so the signal raised again takes its default action once this returns.
extern "C" void RestoreTerminalAndEnd(int signalNumber)
{
    if (g_terminalRaw != 0)
        tcsetattr(STDIN_FILENO, TCSANOW, &g_settingsBeforeKey);
    raise(signalNumber);
}

// Handlers for the wait for one key; whatever was there before returns
// afterwards. A signal ignored before (nohup) stays ignored.
class KeyWaitSignals {
public:
    explicit KeyWaitSignals(const termios &settings)
    {
        g_settingsBeforeKey = settings;
        // The settings must be complete before a handler may use them.
        std::atomic_signal_fence(std::memory_order_seq_cst);
        g_terminalRaw = 1;
        struct sigaction action {};
        action.sa_handler = RestoreTerminalAndEnd;
        action.sa_flags = SA_RESETHAND;
        sigemptyset(&action.sa_mask);
        for (int signalNumber : kEndingSignals)
            sigaddset(&action.sa_mask, signalNumber);
        for (std::size_t i = 0; i < kEndingSignalCount; ++i) {
            m_installed[i] = sigaction(kEndingSignals[i], nullptr, &m_previous[i]) == 0
                             && m_previous[i].sa_handler != SIG_IGN
                             && sigaction(kEndingSignals[i], &action, nullptr) == 0;
        }
    }
    ~KeyWaitSignals()
    {
        for (std::size_t i = 0; i < kEndingSignalCount; ++i)
            if (m_installed[i])
                sigaction(kEndingSignals[i], &m_previous[i], nullptr);
        g_terminalRaw = 0;
    }
    KeyWaitSignals(const KeyWaitSignals &) = delete;
    KeyWaitSignals &operator=(const KeyWaitSignals &) = delete;

private:
    struct sigaction m_previous[kEndingSignalCount] {};
    bool m_installed[kEndingSignalCount] {};
};

}  // namespace

bool IsInputTerminal()
{
    return isatty(STDIN_FILENO) != 0;
}

int getchLinux()
{
    termios saved {};
    if (tcgetattr(STDIN_FILENO, &saved) != 0)
        return -1;
    termios raw = saved;
    cfmakeraw(&raw);
    const KeyWaitSignals restoreOnSignal(saved);
    if (tcsetattr(STDIN_FILENO, TCSANOW, &raw) != 0)
        return -1;
    const int key = std::getchar();
    if (tcsetattr(STDIN_FILENO, TCSANOW, &saved) != 0)
        return -1;
    return key;
}

int ReadMenuKey()
{
    return getchLinux();
}
