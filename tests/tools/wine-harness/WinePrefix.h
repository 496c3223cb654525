// The files of a Wine prefix that the harness handles itself: the serial
// port mapping in the text of system.reg, the prefix copied from a template
// in a moment, and a tree removed.
#ifndef ZARVEX_WINE_PREFIX_H
#define ZARVEX_WINE_PREFIX_H

#include <string>
#include <utility>
#include <vector>

// A COM name and the Unix path Wine opens for it.
using WinePortMapping = std::pair<std::string, std::string>;

// The registry key Wine maps COM names to Unix devices under
// (HKLM\Software\Wine\Ports), as system.reg names it.
extern const char kWinePortsSection[];

// system.reg's text with the Ports key holding exactly these values (the key
// is added when the text has none). Every other key is left as it was.
std::string WithWinePorts(const std::string &systemReg, const std::vector<WinePortMapping> &ports);

// system.reg's text with each of these services (keys under
// System\CurrentControlSet\Services) started on demand rather than at
// Wine's boot. Services the text lacks are passed over.
std::string WithServicesOnDemand(const std::string &systemReg, const std::vector<std::string> &services);

// The value names of the Ports key in system.reg's text, in file order.
std::vector<WinePortMapping> WinePortsIn(const std::string &systemReg);

// A copy of the prefix `from` at `to` (which must not exist): directories
// made anew, symbolic links copied, large files (the DLLs, never written
// after the prefix is made) hard-linked, small ones copied, so that nothing
// a program or Wine writes in the copy reaches `from`.
bool CopyPrefixTree(const std::string &from, const std::string &to, std::string *error);

// Removes a tree without following symbolic links; true when it is gone.
bool RemoveTree(const std::string &path);

bool ReadWholeFile(const std::string &path, std::string *text);
// Written under another name first, then renamed over the path.
bool ReplaceFile(const std::string &path, const std::string &text);

#endif
