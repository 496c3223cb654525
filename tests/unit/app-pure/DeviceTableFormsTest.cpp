// The device table's header and rows in both builds' layouts. Chinese cells
// are padded by their bytes in the encoding this build holds its texts in, so
// they are written with Cell; every other cell is written out.
#include <gtest/gtest.h>

#include "CheckManagerDeviceTable.h"

namespace {

// A text padded with blanks to `width` bytes, as the table pads its cells.
std::string Cell(const std::string &text, std::size_t width)
{
    return text.size() < width ? text + std::string(width - text.size(), ' ') : text;
}

Win32::CommInfo Row(const char *path, const char *baud, bool portOk, bool atOk, const char *card,
                    const char *signal, const char *serial)
{
    Win32::CommInfo row;
    row.comPath = path;
    row.baudText = baud;
    row.isPortOk = portOk;
    row.isAtOk = atOk;
    row.smsCardNumber = card;
    row.signalStrength = signal;
    row.serialNumber = serial;
    return row;
}

TEST(DeviceTableForms, HeaderWidths)
{
    EXPECT_EQ(DeviceTableHeaderLine(kWindowsDeviceTableLayout),
              Cell("端口号", 10) + Cell("波特率", 10) + Cell("AT标识", 15) + Cell("SMS卡号", 25)
                  + Cell("信号强度", 10) + "设备序列号\n");
    EXPECT_EQ(DeviceTableHeaderLine(kLinuxDeviceTableLayout),
              Cell("端口号", 13) + Cell("波特率", 13) + Cell("AT标识", 18) + Cell("SMS卡号", 25)
                  + Cell("信号强度", 15) + "设备序列号\n");
}

// Only ports left out of the scan are worth a line: a scan that probed
// every listed port adds nothing under the table.
TEST(DeviceTableForms, UnprobedPortsLine)
{
    EXPECT_EQ(UnprobedPortsLine(0), "");
    EXPECT_EQ(UnprobedPortsLine(1), "另有 1 个端口未检测\n");
    EXPECT_EQ(UnprobedPortsLine(745), "另有 745 个端口未检测\n");
}

Win32::CommInfo BusyPortRow(const char *path)
{
    Win32::CommInfo row;
    row.comPath = path;
    return row;
}

// The program's own terminal, never opened, as the scan makes its row.
Win32::CommInfo OwnTerminalRow(const char *path)
{
    Win32::CommInfo row;
    row.comPath = path;
    row.isOwnTerminal = true;
    return row;
}

struct RowCase {
    const char *name;
    const DeviceTableLayout *layout;
    const PortNaming *naming;
    Win32::CommInfo row;
    std::string line;
};

void PrintTo(const RowCase &c, std::ostream *os)
{
    *os << c.name;
}

const std::string kNothingRead = Cell("未读卡", 25) + Cell("无信号", 10) + "无效序列号\n";

const RowCase kRowCases[] = {
    {"WindowsFullyRead", &kWindowsDeviceTableLayout, &kWindowsPortNaming,
     Row("\\\\.\\COM3", "9600", true, true, "89860318245000112201", "24,99", "862107034551201\r"),
     "COM3      9600      OK             89860318245000112201     24,99     862107034551201\n"},
    // A port that opened but did not answer AT.
    {"WindowsNotAt", &kWindowsDeviceTableLayout, &kWindowsPortNaming,
     Row("\\\\.\\COM4", "115200", true, false, "", "", ""),
     "COM4      115200    " + Cell("不AT", 15) + kNothingRead},
    {"WindowsPortUnusable", &kWindowsDeviceTableLayout, &kWindowsPortNaming,
     Row("\\\\.\\COM12", "9600", false, false, "", "", ""),
     "COM12     9600      " + Cell("端口不可用", 15) + kNothingRead},
    // A port held open by another program: the scan's row is as made, with
    // only its path, since the probe could not open it (no speed tried).
    {"WindowsPortBusy", &kWindowsDeviceTableLayout, &kWindowsPortNaming, BusyPortRow("\\\\.\\COM7"),
     "COM7      unknow    " + Cell("端口不可用", 15) + kNothingRead},
    {"WindowsEmptyPathAndSpeed", &kWindowsDeviceTableLayout, &kWindowsPortNaming,
     Row("", "", true, false, "", "", ""), "unknow    unknow    " + Cell("不AT", 15) + kNothingRead},
    {"WindowsLongValuesPushTheLine", &kWindowsDeviceTableLayout, &kWindowsPortNaming,
     Row("\\\\.\\COM5", "9600", true, true, "898600451234098765051234567890", "31,99,extra", "1"),
     "COM5      9600      OK             89860045123409876505123456789031,99,extra1\n"},
    {"WindowsHostileValues", &kWindowsDeviceTableLayout, &kWindowsPortNaming,
     Row("\\\\.\\COM6", "9600", true, true, "8986\x1b[2J", "24\n99", "\x1b]0;x\x07\r"),
     "COM6      9600      OK             8986\\x1b[2J              24\\n99    \\x1b]0;x\\x07\n"},
    // The Linux layout gives a placeholder and a value of one column widths
    // of their own.
    {"LinuxFullyRead", &kLinuxDeviceTableLayout, &kLinuxPortNaming,
     Row("/dev/ttyUSB0", "9600", true, true, "89860318245000112201", "24,99", "862107034551201\r"),
     "ttyUSB0   9600      OK              89860318245000112201   24,99       862107034551201\n"},
    {"LinuxPortUnusable", &kLinuxDeviceTableLayout, &kLinuxPortNaming,
     Row("/dev/ttyUSB3", "9600", false, true, "", "", ""),
     "ttyUSB3   9600      " + Cell("端口不可用", 22) + Cell("未读卡", 26) + Cell("无信号", 15)
         + "无效序列号\n"},
    {"LinuxNotAt", &kLinuxDeviceTableLayout, &kLinuxPortNaming,
     Row("/dev/ttyS0", "115200", true, false, "", "", ""),
     "ttyS0     115200    " + Cell("不AT", 16) + Cell("未读卡", 26) + Cell("无信号", 15)
         + "无效序列号\n"},
    {"LinuxOwnTerminal", &kLinuxDeviceTableLayout, &kLinuxPortNaming, OwnTerminalRow("/dev/ttyS0"),
     "ttyS0     unknow    " + Cell("本终端", 19) + Cell("未读卡", 26) + Cell("无信号", 15)
         + "无效序列号\n"},
};

class DeviceTableRowTest : public testing::TestWithParam<RowCase> {};

TEST_P(DeviceTableRowTest, Line)
{
    const RowCase &c = GetParam();
    EXPECT_EQ(DeviceTableRowLine(c.row, *c.layout, *c.naming), c.line);
}

INSTANTIATE_TEST_SUITE_P(DeviceTableForms, DeviceTableRowTest, testing::ValuesIn(kRowCases),
                         [](const testing::TestParamInfo<RowCase> &info) {
                             return std::string(info.param.name);
                         });

}  // namespace
