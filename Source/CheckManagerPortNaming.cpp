#include "CheckManagerPortNaming.h"

const PortNaming kLinuxPortNaming = {
    "tty",
    "/dev/tty",
    5,  // "/dev/"
    false,
    "请输入设备端口号(例:选择/dev/ttyUSB0,请输入USB0):",
};

// "\\.\" opens COM ports above COM9 too, so every path carries it.
const PortNaming kWindowsPortNaming = {
    "COM",
    "\\\\.\\COM",
    4,  // "\\.\"
    true,
    "请输入设备端口号(例:选择COM3,请输入3):",
};

std::string PortIdIn(const PortNaming &naming, const std::string &comPath)
{
    const std::string mark = naming.idMark;
    const std::string::size_type at = comPath.find(mark);
    if (at == std::string::npos)
        return std::string();
    return comPath.substr(at + mark.size());
}

std::string ShownPortName(const PortNaming &naming, const std::string &comPath)
{
    const std::size_t hidden = naming.hiddenPathPrefixLength;
    return comPath.size() > hidden ? comPath.substr(hidden) : std::string();
}

std::string MissingPortPath(const PortNaming &naming, const std::string &id)
{
    return naming.missingPortPathPrefix + id;
}
