// Texts of the terminal settings library's error numbers.
#include "TermLibOffered.h"

#include <cerrno>
#include <cstdio>

#include "SysErrorText.h"
#include "TermLib.h"

namespace {

constexpr int TERM_MESSAGE_SIZE = 1024;
thread_local char termMessage[TERM_MESSAGE_SIZE];

const char *const termErrorMessages[TERM_ERRNO_COUNT] = {
    "No error",
    "Framework is uninitialized",
    "Framework is full",
    "Filedes not in the framework",
    "Filedes already in the framework",
    "Cannot install atexit handler",
    "Filedes is not a tty",
    "Cannot flush the device",
    "Cannot get the device attributes",
    "Cannot set the device attributes",
    "Invalid baud rate",
    "Cannot set the output speed",
    "Cannot set the input speed",
    "Cannot decode speed",
    "Invalid parity mode",
    "Invalid number of databits",
    "Invalid number of stopbits",
    "Invalid flowcontrol mode",
    "Cannot lower DTR",
    "Cannot raise DTR",
    "Cannot get mctl status",
    "Cannot drain the device",
    "Cannot send break sequence",
};

// Failures of a call on the device, whose system error tells the reason.
// Decoding a speed is the library's own work, so its message stands alone.
bool CarriesSystemText(int terrnum)
{
    switch (terrnum) {
    case TERM_EFLUSH:
    case TERM_EGETATTR:
    case TERM_ESETATTR:
    case TERM_ESETOSPEED:
    case TERM_ESETISPEED:
    case TERM_EDRAIN:
    case TERM_EBREAK: return true;
    default: return false;
    }
}

}  // namespace

const char *term_strerror(int terrnum, int sys_errno)
{
    if (terrnum < 0 || terrnum >= TERM_ERRNO_COUNT)
        return nullptr;
    if (CarriesSystemText(terrnum)) {
        std::snprintf(termMessage, sizeof termMessage, "%s: %s", termErrorMessages[terrnum],
                      SysErrorText(sys_errno).c_str());
    } else {
        std::snprintf(termMessage, sizeof termMessage, "%s", termErrorMessages[terrnum]);
    }
    return termMessage;
}

int term_perror(const char *prefix)
{
    const int sysErrno = errno;
    const char *text = term_strerror(term_errno, sysErrno);
    return std::fprintf(stderr, "%s %s\n", prefix ? prefix : "", text ? text : "");
}
