#include "OwnTerminal.h"

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace {

const char kOwnStatusPath[] = "/proc/self/stat";
// The status line is one short line; a longer one is not of its form.
constexpr std::size_t kStatusLineMax = 4096;
// Fields after the command name: state, parent, process group, session, then
// the controlling terminal.
constexpr int kTerminalField = 5;
const int kStandardStreams[] = {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO};

// The terminal's number as the status line writes it: the minor number's low
// eight bits, then twelve bits of major number, then the minor's other bits.
constexpr std::uint32_t kMinorLowMask = 0xff;
constexpr int kMajorShift = 8;
constexpr std::uint32_t kMajorMask = 0xfff;
constexpr int kMinorHighShift = 12;
constexpr std::uint32_t kMinorHighMask = 0xfff00;

bool IsDecimal(const std::string &text)
{
    const std::size_t digits = !text.empty() && text[0] == '-' ? 1 : 0;
    if (text.size() == digits)
        return false;
    for (std::size_t i = digits; i < text.size(); ++i)
        if (text[i] < '0' || text[i] > '9')
            return false;
    return true;
}

bool ControllingTerminal(dev_t *device)
{
    FILE *status = std::fopen(kOwnStatusPath, "r");
    if (status == nullptr)
        return false;
    char line[kStatusLineMax];
    const bool read = std::fgets(line, sizeof line, status) != nullptr;
    std::fclose(status);
    return read && ControllingTerminalOfStatus(line, device);
}

// Only a terminal counts: a stream on a file, a pipe or the null device
// names no line the scan could meet.
bool TerminalOfStream(int fd, dev_t *device)
{
    struct stat st {};
    if (isatty(fd) == 0 || fstat(fd, &st) != 0 || !S_ISCHR(st.st_mode))
        return false;
    *device = st.st_rdev;
    return true;
}

}  // namespace

bool ControllingTerminalOfStatus(const std::string &statusLine, dev_t *device)
{
    // The command name may itself hold blanks and parentheses: it ends at
    // the last closing one.
    const std::size_t nameEnd = statusLine.rfind(')');
    if (nameEnd == std::string::npos)
        return false;
    std::istringstream fields(statusLine.substr(nameEnd + 1));
    std::string field;
    for (int i = 0; i < kTerminalField; ++i)
        if (!(fields >> field))
            return false;
    if (!IsDecimal(field))
        return false;
    // Written as a signed int: a large minor number may make it negative.
    const long long value = std::strtoll(field.c_str(), nullptr, 10);
    if (value < INT32_MIN || value > INT32_MAX || value == 0)
        return false;
    const std::uint32_t encoded = static_cast<std::uint32_t>(static_cast<std::int32_t>(value));
    const unsigned major = (encoded >> kMajorShift) & kMajorMask;
    const unsigned minor = (encoded & kMinorLowMask) | ((encoded >> kMinorHighShift) & kMinorHighMask);
    *device = makedev(major, minor);
    return true;
}

bool IsOwnTerminal(const char *path)
{
    struct stat st {};
    if (path == nullptr || stat(path, &st) != 0 || !S_ISCHR(st.st_mode))
        return false;
    dev_t own = 0;
    for (int fd : kStandardStreams)
        if (TerminalOfStream(fd, &own) && own == st.st_rdev)
            return true;
    // Last, as it takes a descriptor, of which a scan of many ports may have
    // none to spare.
    return ControllingTerminal(&own) && own == st.st_rdev;
}
