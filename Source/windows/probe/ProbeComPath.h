// COM port names: their device paths and the order of the device rows.
#ifndef ZARVEX_PROBE_COM_PATH_H
#define ZARVEX_PROBE_COM_PATH_H

#include <string>
#include <vector>

// The device path of a COM name: "\\.\" in front, which every COM port needs
// from COM10 on. Any length.
std::string MakeComDevicePath(const std::string &comName);
// The same for every name of the list, in place.
void MakeComDevicePath(std::vector<std::string> &names);

// The number written after the first "COM" of a path or name: its leading
// digits, 0 when there are none or no "COM"; a number too large to hold
// stops at the largest one.
long ComNumberOfPath(const std::string &path);

// Row order: by COM number as an integer (COM2 before COM10), equal numbers
// by their text so the order never depends on the sort.
bool LessComPath(const std::string &left, const std::string &right);

#endif
