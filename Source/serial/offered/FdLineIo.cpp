// Output to a descriptor and a small line editor on a raw terminal.
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdarg>
#include <cstdio>

#include "TermSupport.h"

namespace {

constexpr int FD_PRINTF_SIZE = 256;
constexpr char KEY_CTRL_C = 3;
constexpr char KEY_BS = 8;
constexpr char KEY_DEL = 127;
constexpr char KEY_CR = '\r';
constexpr char BELL = 7;

bool IsPrintable(char c)
{
    return std::isprint(static_cast<unsigned char>(c)) != 0;
}

}  // namespace

int writen_ni(int fd, const void *data, int n)
{
    const char *p = static_cast<const char *>(data);
    int written = 0;
    while (written < n) {
        const ssize_t r = write(fd, p + written, static_cast<size_t>(n - written));
        if (r < 0 && errno == EINTR)
            continue;
        if (r <= 0)
            break;
        written += static_cast<int>(r);
    }
    return written;
}

int fd_printf(int fd, const char *format, ...)
{
    char buffer[FD_PRINTF_SIZE];
    va_list args;
    va_start(args, format);
    const int length = std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    if (length < 0)
        return -1;
    const int shown = length < FD_PRINTF_SIZE ? length : FD_PRINTF_SIZE - 1;
    return writen_ni(fd, buffer, shown);
}

int cput(int fd, char c)
{
    return writen_ni(fd, &c, 1);
}

int cdel(int fd)
{
    static const char erase[] = "\b \b";
    return writen_ni(fd, erase, sizeof erase - 1);
}

int xput(int fd, unsigned char c)
{
    return fd_printf(fd, "\\x%02x", c);
}

int xdel(int fd)
{
    static const char erase[] = "\b\b\b\b    \b\b\b\b";
    return writen_ni(fd, erase, sizeof erase - 1);
}

int fd_readline(int input_fd, int echo_fd, char *buffer, int size)
{
    if (!buffer || size <= 0) {
        errno = EINVAL;
        return -1;
    }
    int length = 0;
    for (;;) {
        char c;
        const ssize_t r = read(input_fd, &c, 1);
        if (r <= 0)
            return -1;
        if (c == KEY_CR) {
            buffer[length] = '\0';
            return length;
        }
        if (c == KEY_CTRL_C) {
            errno = EINTR;
            return -1;
        }
        if (c == KEY_BS || c == KEY_DEL) {
            if (length == 0) {
                cput(echo_fd, BELL);
                continue;
            }
            length--;
            if (IsPrintable(buffer[length]))
                cdel(echo_fd);
            else
                xdel(echo_fd);
            continue;
        }
        if (length >= size - 1) {
            cput(echo_fd, BELL);
            continue;
        }
        buffer[length++] = c;
        if (IsPrintable(c))
            cput(echo_fd, c);
        else
            xput(echo_fd, static_cast<unsigned char>(c));
    }
}
