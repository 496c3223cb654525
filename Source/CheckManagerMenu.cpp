// The interactive loop: a fresh scan and device table on every pass, the menu
// line, and one raw keystroke that picks what happens next.
#include "CheckManagerMenu.h"

#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <cstdio>
#include <iostream>

#include "CheckManager.h"
#include "CheckManagerDeviceTable.h"
#include "PlatformConstants.h"
#include "StringUtil.h"

namespace {

// What PrintBaseMenu answers for each key.
enum MenuResult {
    MENU_OTHER_KEY = 0,
    MENU_REDRAW = 1,
    MENU_SEND_SMS = 4,
    MENU_READ_SMS = 7,
    MENU_DELETE_SMS = 8,
    MENU_QUIT = 10,
};

const char kMenuLine[] = "回车键刷新 1发送短信 2接收短信 q退出";

const char kTitle[] = "Korvane短信设备检测 V1.6 ";
constexpr int TITLE_WIDTH = 45;
constexpr int RULER_WIDTH = 90;

void PrintRuler(char c)
{
    for (int i = 0; i < RULER_WIDTH; ++i)
        std::putchar(c);
    std::putchar('\n');
}

// The values come from the modem: printed, they must not be able to steer
// the operator's terminal, nor end their row and start one of their own.
void PrintRow(Win32::CommInfo &row)
{
    PrintRuler('-');
    TrimDeviceRowValues(row);
    std::fputs(DeviceTableRowLine(row, kDeviceTableLayout, kPortNaming).c_str(), stdout);
}

// No key can come any more: standard input is not a terminal, or it has
// ended (a terminal that hung up). Rescanning for keys that never arrive
// would keep the ports busy without end.
bool IsKeyInputGone()
{
    return !IsInputTerminal() || std::feof(stdin) != 0 || std::ferror(stdin) != 0;
}

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

void CCheckManager::Start()
{
    int result = MENU_OTHER_KEY;
    do {
        result = PrintBaseMenu();
        switch (result) {
        case MENU_SEND_SMS: OnSendPDUSms(); break;
        case MENU_READ_SMS: OnReadAllSms(); break;
        case MENU_DELETE_SMS: OnDelAllSms(); break;
        default: break;
        }
    } while (result != MENU_QUIT && !IsKeyInputGone());
}

int CCheckManager::PrintBaseMenu()
{
    PrintAllDevice();
    std::cout << kMenuLine << std::endl;
    switch (getchLinux()) {
    case KEY_VALUE_ENTER: return MENU_REDRAW;
    case KEY_VALUE_NUM_1: return MENU_SEND_SMS;
    case KEY_VALUE_NUM_2: return MENU_READ_SMS;
    case KEY_VALUE_CHAR_D: return MENU_DELETE_SMS;
    case KEY_VALUE_CHAR_Q: return MENU_QUIT;
    default:
        getchLinux();
        return MENU_OTHER_KEY;
    }
}

void PrintDeviceTable(std::vector<Win32::CommInfo> &rows, const std::string &scanTime)
{
    std::printf("\n\n");
    std::printf("%*s %s\n", TITLE_WIDTH, kTitle, GetCurTimeStr().c_str());
    PrintRuler('=');
    std::fputs(DeviceTableHeaderLine(kDeviceTableLayout).c_str(), stdout);
    for (Win32::CommInfo &row : rows)
        PrintRow(row);
    PrintRuler('=');
    std::printf("\n");
    std::cout << '\t' << scanTime << std::endl;
}

void CCheckManager::PrintAllDevice()
{
    OnScanPort();
    PrintDeviceTable(m_commInfoVec, m_strScanTime);
}
