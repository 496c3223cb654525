// The interactive loop: a fresh scan and device table on every pass, the menu
// line, and one keystroke that picks what happens next.
#include "CheckManagerMenu.h"

#include <cstdio>
#include <iostream>

#include "CheckManager.h"
#include "PrintableText.h"
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

// Header cells and their widths in bytes; the last cell has no width.
struct HeaderCell {
    const char *text;
    int width;
};
const HeaderCell kHeaderCells[] = {
    {"端口号", 13}, {"波特率", 13}, {"AT标识", 18}, {"SMS卡号", 25}, {"信号强度", 15},
};
const char kHeaderLastCell[] = "设备序列号";

// Row cells: a value and its placeholder may have different widths, as the
// table has always been drawn.
const char kUnknown[] = "unknow";
constexpr int PORT_WIDTH = 10;
constexpr int BAUD_WIDTH = 10;
const char kPortUnusable[] = "端口不可用";
constexpr int PORT_UNUSABLE_WIDTH = 22;
const char kAtOk[] = "OK";
const char kNotAt[] = "不AT";
constexpr int AT_STATE_WIDTH = 16;
const char kNoCardNumber[] = "未读卡";
constexpr int NO_CARD_NUMBER_WIDTH = 26;
constexpr int CARD_NUMBER_WIDTH = 23;
const char kNoSignal[] = "无信号";
constexpr int NO_SIGNAL_WIDTH = 15;
constexpr int SIGNAL_WIDTH = 12;
const char kNoSerialNumber[] = "无效序列号";

// "/dev/ttyUSB0" is shown as ttyUSB0.
constexpr std::size_t DEVICE_DIR_LENGTH = 5;

void PrintRuler(char c)
{
    for (int i = 0; i < RULER_WIDTH; ++i)
        std::putchar(c);
    std::putchar('\n');
}

void PrintCell(const std::string &text, int width)
{
    std::printf("%-*s", width, text.c_str());
}

void PrintHeader()
{
    for (const HeaderCell &cell : kHeaderCells)
        PrintCell(cell.text, cell.width);
    std::printf("%s\n", kHeaderLastCell);
}

std::string PortName(const std::string &comPath)
{
    if (comPath.empty())
        return kUnknown;
    return comPath.size() > DEVICE_DIR_LENGTH ? comPath.substr(DEVICE_DIR_LENGTH) : std::string();
}

// Modems wrap their values in blanks and quotes; the row keeps them without.
void TrimRowValues(Win32::CommInfo &row)
{
    row.smsCardNumber = TrimAllChar(TrimAllChar(TrimAllChar(row.smsCardNumber, '"'), ' '), '"');
    row.signalStrength = TrimAllChar(TrimAllChar(row.signalStrength, '"'), ' ');
    row.serialNumber = TrimAllChar(TrimAllChar(row.serialNumber, '"'), ' ');
}

// A modem leaves a carriage return after the serial number; in the row's
// last cell it only ends the line, so it is left out rather than shown.
std::string SerialNumberCell(const std::string &serialNumber)
{
    if (!serialNumber.empty() && serialNumber.back() == '\r')
        return serialNumber.substr(0, serialNumber.size() - 1);
    return serialNumber;
}

// The values come from the modem: printed, they must not be able to steer
// the operator's terminal, nor end their row and start one of their own.
void PrintRow(Win32::CommInfo &row)
{
    PrintRuler('-');
    PrintCell(PortName(row.comPath), PORT_WIDTH);
    PrintCell(row.baudText.empty() ? kUnknown : row.baudText, BAUD_WIDTH);
    if (!row.isPortOk)
        PrintCell(kPortUnusable, PORT_UNUSABLE_WIDTH);
    else
        PrintCell(row.isAtOk ? kAtOk : kNotAt, AT_STATE_WIDTH);

    TrimRowValues(row);
    if (row.smsCardNumber.empty())
        PrintCell(kNoCardNumber, NO_CARD_NUMBER_WIDTH);
    else
        PrintCell(MakePrintableText(row.smsCardNumber, PrintableLayout::SingleLine),
                  CARD_NUMBER_WIDTH);
    if (row.signalStrength.empty())
        PrintCell(kNoSignal, NO_SIGNAL_WIDTH);
    else
        PrintCell(MakePrintableText(row.signalStrength, PrintableLayout::SingleLine), SIGNAL_WIDTH);
    const std::string serialNumber = SerialNumberCell(row.serialNumber);
    std::printf("%s\n", serialNumber.empty()
                            ? kNoSerialNumber
                            : MakePrintableText(serialNumber, PrintableLayout::SingleLine).c_str());
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

void PrintDeviceTable(std::vector<Win32::CommInfo> &rows, const std::string &scanTime)
{
    std::printf("\n\n");
    std::printf("%*s %s\n", TITLE_WIDTH, kTitle, GetCurTimeStr().c_str());
    PrintRuler('=');
    PrintHeader();
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
