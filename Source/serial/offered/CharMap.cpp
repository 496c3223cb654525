// Line-end and backspace conversion maps.
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "SysErrorText.h"
#include "TermSupport.h"

namespace {

constexpr char CH_CR = '\r';
constexpr char CH_LF = '\n';
constexpr char CH_BS = '\b';
constexpr char CH_DEL = 127;
const char *const MAP_SEPARATORS = ", \t";

}  // namespace

const map_name_t map_names[] = {
    {"crlf", M_CRLF, "map CR --> LF"},
    {"crcrlf", M_CRCRLF, "map CR --> CR + LF"},
    {"igncr", M_IGNCR, "ignore CR"},
    {"lfcr", M_LFCR, "map LF --> CR"},
    {"lfcrlf", M_LFCRLF, "map LF --> CR + LF"},
    {"ignlf", M_IGNLF, "ignore LF"},
    {"delbs", M_DELBS, "map DEL --> BS"},
    {"bsdel", M_BSDEL, "map BS --> DEL"},
    {nullptr, 0, nullptr},
};

int parse_map(char *text)
{
    int flags = 0;
    char *rest = nullptr;
    for (char *name = strtok_r(text, MAP_SEPARATORS, &rest); name;
         name = strtok_r(nullptr, MAP_SEPARATORS, &rest)) {
        const map_name_t *row = map_names;
        while (row->name && std::strcmp(row->name, name) != 0)
            row++;
        if (!row->name)
            return -1;
        flags |= row->flag;
    }
    return flags;
}

void print_map(int flags)
{
    for (const map_name_t *row = map_names; row->name; row++)
        if (flags & row->flag)
            std::printf("%s,", row->name);
    std::printf("\n");
}

int do_map(char *out, int flags, char c)
{
    switch (c) {
    case CH_CR:
        if (flags & M_CRLF) {
            out[0] = CH_LF;
            return 1;
        }
        if (flags & M_CRCRLF) {
            out[0] = CH_CR;
            out[1] = CH_LF;
            return 2;
        }
        if (flags & M_IGNCR)
            return 0;
        break;
    case CH_LF:
        if (flags & M_LFCR) {
            out[0] = CH_CR;
            return 1;
        }
        if (flags & M_LFCRLF) {
            out[0] = CH_CR;
            out[1] = CH_LF;
            return 2;
        }
        if (flags & M_IGNLF)
            return 0;
        break;
    case CH_BS:
        if (flags & M_BSDEL) {
            out[0] = CH_DEL;
            return 1;
        }
        break;
    case CH_DEL:
        if (flags & M_DELBS) {
            out[0] = CH_BS;
            return 1;
        }
        break;
    default: break;
    }
    out[0] = c;
    return 1;
}

void map_and_write(int fd, int flags, char c)
{
    char mapped[2];
    const int n = do_map(mapped, flags, c);
    if (n > 0 && writen_ni(fd, mapped, n) < n)
        fatal("write to stdout failed: %s", SysErrorText(errno).c_str());
}
