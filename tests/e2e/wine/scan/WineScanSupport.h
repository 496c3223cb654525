// What the Windows program's scan tests share: a row of the device table as
// the program prints it, and the phonebook write that a serial number of the
// probe's making takes.
#ifndef ZARVEX_WINE_SCAN_SUPPORT_H
#define ZARVEX_WINE_SCAN_SUPPORT_H

#include <string>

#include <gtest/gtest.h>

#include "HostileBehaviours.h"
#include "WineHarness.h"
#include "WineText.h"

namespace wine_scan {

// The table's widths in bytes of the console's code page (GBK).
constexpr int kPortWidth = 10;
constexpr int kBaudWidth = 10;
constexpr int kAtWidth = 15;
constexpr int kCardWidth = 25;
constexpr int kSignalWidth = 10;

// The command that writes a phonebook entry; the probe's serial number of
// its own making goes into entry 1 with it.
const char kWriteEntry[] = "AT^CPBW";

inline std::string Gbk(const std::string &utf8)
{
    std::string gbk;
    EXPECT_TRUE(Utf8ToGbk(utf8, &gbk)) << utf8;
    return gbk;
}

// A cell: the text in GBK, filled with blanks to its column's width.
inline std::string Cell(const std::string &utf8, int width)
{
    std::string cell = Gbk(utf8);
    if (cell.size() < static_cast<std::size_t>(width))
        cell.append(static_cast<std::size_t>(width) - cell.size(), ' ');
    return cell;
}

// What a row shows; empty values show their placeholders.
struct RowValues {
    std::string baud;
    const char *atState;
    std::string card;
    std::string signal;
    std::string serial;
};

// The row of the port COM<com> as printed (GBK), without its line end.
inline std::string RowLine(int com, const RowValues &v)
{
    return Cell(WineHarness::ComName(com), kPortWidth) + Cell(v.baud, kBaudWidth) + Cell(v.atState, kAtWidth) +
           Cell(v.card.empty() ? hostile::kNoCard : v.card, kCardWidth) +
           Cell(v.signal.empty() ? hostile::kNoSignal : v.signal, kSignalWidth) +
           Gbk(v.serial.empty() ? hostile::kNoSerial : v.serial);
}

}  // namespace wine_scan

#endif
