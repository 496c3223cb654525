#include "ProbeComPath.h"

#include <climits>

namespace {

constexpr char kDevicePathPrefix[] = "\\\\.\\";
constexpr char kComMarker[] = "COM";

}  // namespace

std::string MakeComDevicePath(const std::string &comName)
{
    return kDevicePathPrefix + comName;
}

void MakeComDevicePath(std::vector<std::string> &names)
{
    for (std::string &name : names)
        name = MakeComDevicePath(name);
}

long ComNumberOfPath(const std::string &path)
{
    const std::size_t marker = path.find(kComMarker);
    if (marker == std::string::npos)
        return 0;
    long number = 0;
    for (std::size_t i = marker + sizeof kComMarker - 1; i < path.size(); ++i) {
        const char c = path[i];
        if (c < '0' || c > '9')
            break;
        const int digit = c - '0';
        if (number > (LONG_MAX - digit) / 10)
            return LONG_MAX;
        number = number * 10 + digit;
    }
    return number;
}

bool LessComPath(const std::string &left, const std::string &right)
{
    const long leftNumber = ComNumberOfPath(left);
    const long rightNumber = ComNumberOfPath(right);
    if (leftNumber != rightNumber)
        return leftNumber < rightNumber;
    return left < right;
}
