#include "CheckManagerDeviceTable.h"

#include "PrintableText.h"
#include "StringUtil.h"

// The own terminal's cell takes as many columns on screen as the header's
// AT cell: a Chinese character is three bytes wide in UTF-8 but two columns.
const DeviceTableLayout kLinuxDeviceTableLayout = {
    {13, 13, 18, 25, 15},
    10, 10,
    22, 16, 19,
    26, 23,
    15, 12,
};

const DeviceTableLayout kWindowsDeviceTableLayout = {
    {10, 10, 15, 25, 10},
    10, 10,
    15, 15, 15,
    25, 25,
    10, 10,
};

namespace {
const char *const kHeaderCells[] = {"端口号", "波特率", "AT标识", "SMS卡号", "信号强度"};
const char kHeaderLastCell[] = "设备序列号";
static_assert(sizeof kHeaderCells / sizeof kHeaderCells[0]
                  == sizeof DeviceTableLayout::headerWidths / sizeof(int),
              "one width per header cell");

const char kUnknown[] = "unknow";
const char kPortUnusable[] = "端口不可用";
const char kAtOk[] = "OK";
const char kNotAt[] = "不AT";
const char kOwnTerminal[] = "本终端";
const char kNoCardNumber[] = "未读卡";
const char kNoSignal[] = "无信号";
const char kNoSerialNumber[] = "无效序列号";
const char kUnprobedPortsLead[] = "另有 ";
const char kUnprobedPortsTail[] = " 个端口未检测";

// As printf's "%-*s" pads: up to the first NUL, then blanks to the width.
std::string Cell(const std::string &text, int width)
{
    std::string cell(text.c_str());
    if (width > 0 && cell.size() < static_cast<std::size_t>(width))
        cell.append(static_cast<std::size_t>(width) - cell.size(), ' ');
    return cell;
}

std::string ValueCell(const std::string &value)
{
    return MakePrintableText(value, PrintableLayout::SingleLine);
}

// A modem leaves a carriage return after the serial number; in the row's
// last cell it only ends the line, so it is left out rather than shown.
std::string SerialNumberCell(const std::string &serialNumber)
{
    if (!serialNumber.empty() && serialNumber.back() == '\r')
        return serialNumber.substr(0, serialNumber.size() - 1);
    return serialNumber;
}
}  // namespace

std::string DeviceTableHeaderLine(const DeviceTableLayout &layout)
{
    std::string line;
    for (std::size_t i = 0; i < sizeof kHeaderCells / sizeof kHeaderCells[0]; ++i)
        line += Cell(kHeaderCells[i], layout.headerWidths[i]);
    return line + kHeaderLastCell + "\n";
}

std::string DeviceTableRowLine(const Win32::CommInfo &row, const DeviceTableLayout &layout,
                               const PortNaming &naming)
{
    std::string line =
        Cell(row.comPath.empty() ? kUnknown : ShownPortName(naming, row.comPath), layout.portWidth);
    line += Cell(row.baudText.empty() ? kUnknown : row.baudText, layout.baudWidth);
    // A port never opened because it is the program's own terminal is
    // neither unusable nor silent: its row says what it is.
    if (row.isOwnTerminal)
        line += Cell(kOwnTerminal, layout.ownTerminalWidth);
    else if (!row.isPortOk)
        line += Cell(kPortUnusable, layout.portUnusableWidth);
    else
        line += Cell(row.isAtOk ? kAtOk : kNotAt, layout.atStateWidth);
    line += row.smsCardNumber.empty() ? Cell(kNoCardNumber, layout.noCardNumberWidth)
                                      : Cell(ValueCell(row.smsCardNumber), layout.cardNumberWidth);
    line += row.signalStrength.empty() ? Cell(kNoSignal, layout.noSignalWidth)
                                       : Cell(ValueCell(row.signalStrength), layout.signalWidth);
    const std::string serialNumber = SerialNumberCell(row.serialNumber);
    line += serialNumber.empty() ? std::string(kNoSerialNumber) : ValueCell(serialNumber);
    return line + "\n";
}

std::string UnprobedPortsLine(std::size_t count)
{
    if (count == 0)
        return std::string();
    return kUnprobedPortsLead + std::to_string(count) + kUnprobedPortsTail + "\n";
}

void TrimDeviceRowValues(Win32::CommInfo &row)
{
    row.smsCardNumber = TrimEach(row.smsCardNumber, {'"', ' ', '"'});
    row.signalStrength = TrimEach(row.signalStrength, {'"', ' '});
    row.serialNumber = TrimEach(row.serialNumber, {'"', ' '});
}
