// The interactive loop: a fresh scan and device table on every pass, the menu
// line, and one keystroke that picks what happens next.
#include "CheckManagerMenu.h"

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

}  // namespace

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
    switch (ReadMenuKey()) {
    case KEY_VALUE_ENTER: return MENU_REDRAW;
    case KEY_VALUE_NUM_1: return MENU_SEND_SMS;
    case KEY_VALUE_NUM_2: return MENU_READ_SMS;
    case KEY_VALUE_CHAR_D: return MENU_DELETE_SMS;
    case KEY_VALUE_CHAR_Q: return MENU_QUIT;
    default:
        ReadMenuKey();
        return MENU_OTHER_KEY;
    }
}

void PrintDeviceTable(std::vector<Win32::CommInfo> &rows, const std::string &scanTime,
                      std::size_t unprobedPorts)
{
    std::printf("\n\n");
    std::printf("%*s %s\n", TITLE_WIDTH, kTitle, GetCurTimeStr().c_str());
    PrintRuler('=');
    std::fputs(DeviceTableHeaderLine(kDeviceTableLayout).c_str(), stdout);
    for (Win32::CommInfo &row : rows)
        PrintRow(row);
    PrintRuler('=');
    // Ports the scan did not probe have no row: without this line a modem
    // on one of them would seem not to be there at all.
    std::fputs(UnprobedPortsLine(unprobedPorts).c_str(), stdout);
    std::printf("\n");
    std::cout << '\t' << scanTime << std::endl;
}

void CCheckManager::PrintAllDevice()
{
    OnScanPort();
    PrintDeviceTable(m_commInfoVec, m_strScanTime, m_unprobedPortCount);
}
