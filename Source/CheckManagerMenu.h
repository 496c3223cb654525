// The device table without the scan that precedes it on screen, so that
// rows a scan never yields can be drawn too; and what the menu and the
// dialogues need to know of the console they read from.
#ifndef ZARVEX_CHECK_MANAGER_MENU_H
#define ZARVEX_CHECK_MANAGER_MENU_H

#include <cstddef>
#include <string>
#include <vector>

#include "DeviceRecords.h"

// Draws the title, the rows, the count of ports not probed when there are
// any, and the scan-time line on standard output. The rows keep their SIM
// card number, signal and serial number trimmed of the blanks and quotes
// that modems wrap them in.
void PrintDeviceTable(std::vector<Win32::CommInfo> &rows, const std::string &scanTime,
                      std::size_t unprobedPorts = 0);

// True while standard input is a terminal (on Windows, a console's input),
// that is, a person can still type at it: false for a pipe, a file, the null
// device, a closed input or a terminal that hung up.
bool IsInputTerminal();

// One keystroke of the menu, without echo and without waiting for a line
// end; -1 when no key can be read. Each build reads it its own way.
int ReadMenuKey();

#endif
