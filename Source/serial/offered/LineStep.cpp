// Stepping through line settings, and the prompts of a terminal program.
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "TermLib.h"
#include "TermLibOffered.h"
#include "TermSupport.h"

namespace {

constexpr int BAUD_INPUT_MAX = 8;

}  // namespace

int baud_up(int baud)
{
    return term_baud_up(baud);
}

int baud_down(int baud)
{
    const int lower = term_baud_down(baud);
    return lower == 0 ? baud : lower;
}

int flow_next(int mode)
{
    switch (mode) {
    case FC_NONE: return FC_RTSCTS;
    case FC_RTSCTS: return FC_XONXOFF;
    default: return FC_NONE;
    }
}

int parity_next(int parity)
{
    switch (parity) {
    case P_NONE: return P_EVEN;
    case P_EVEN: return P_ODD;
    default: return P_NONE;
    }
}

int bits_next(int bits)
{
    const int next = bits + 1;
    return next > 8 ? 5 : next;
}

int stopbits_next(int bits)
{
    const int next = bits + 1;
    return next > 2 ? 1 : next;
}

int read_filename()
{
    return 0;
}

int read_baud()
{
    for (;;) {
        char line[BAUD_INPUT_MAX + 1];
        fd_printf(STDOUT_FILENO, "\r\n*** baud: ");
        const int r = fd_readline(STDIN_FILENO, STDOUT_FILENO, line, sizeof line);
        fd_printf(STDOUT_FILENO, "\r\n");
        if (r < 0)
            return -1;
        char *end = nullptr;
        errno = 0;
        const long value = std::strtol(line, &end, 0);
        const bool whole = r > 0 && end && *end == '\0' && errno == 0;
        if (whole && value > 0 && value <= INT_MAX && term_baud_ok(static_cast<int>(value)))
            return static_cast<int>(value);
        fd_printf(STDOUT_FILENO, "*** Invalid baudrate!");
    }
}

void show_status()
{
}

void show_keys()
{
}

void loop()
{
}

int do_command(unsigned char)
{
    return 0;
}
