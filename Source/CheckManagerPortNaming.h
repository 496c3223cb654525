// How each build names its serial ports: the id a person types for a port,
// the name the port is shown by, the path of a typed id that matches no
// device, and the port dialogue's prompt. Both builds' forms live here so
// that the tests of either build check both; PlatformConstants.h picks the
// build's own as kPortNaming.
#ifndef ZARVEX_CHECK_MANAGER_PORT_NAMING_H
#define ZARVEX_CHECK_MANAGER_PORT_NAMING_H

#include <cstddef>
#include <string>

struct PortNaming {
    // A port's id is the text after the first occurrence of this mark in its
    // device path.
    const char *idMark;
    // A typed id that matches no device names this prefix and the id; the
    // flows never open such a path.
    const char *missingPortPathPrefix;
    // Characters at the start of a device path that the user is not shown.
    std::size_t hiddenPathPrefixLength;
    // Typed ids are digits only, and one piece that is not refuses the whole
    // answer.
    bool digitIdsOnly;
    const char *portPrompt;
};

// "/dev/ttyUSB3": id USB3, shown as ttyUSB3.
extern const PortNaming kLinuxPortNaming;
// "\\.\COM3": id 3, shown as COM3.
extern const PortNaming kWindowsPortNaming;

// The text after the first id mark in the path; "" when it holds none.
std::string PortIdIn(const PortNaming &naming, const std::string &comPath);

// The device path without its hidden prefix; "" for a path too short to hold
// more than that prefix.
std::string ShownPortName(const PortNaming &naming, const std::string &comPath);

// The device path that a typed id matching no device stands for.
std::string MissingPortPath(const PortNaming &naming, const std::string &id);

#endif
