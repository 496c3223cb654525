// The option summary of a terminal program built on this library.
#include <cstdio>
#include <cstring>

#include "TermSupport.h"

namespace {

const char *const OPTION_LINES[] = {
    "  --<b>aud <baudrate>",
    "  --<f>low x (=xon/xoff) | h (=hard) | n (=none)",
    "  --parit<y> o (=odd) | e (=even) | n (=none)",
    "  --<d>atabits 5 | 6 | 7 | 8",
    "  --sto<p>bits 1 | 2",
    "  --<e>scape <char>",
    "  --e<c>ho",
    "  --no<i>nit",
    "  --no<r>eset",
    "  --no<l>ock",
    "  --<s>end-cmd <command>",
    "  --recei<v>e-cmd <command>",
    "  --imap <map> (input mappings)",
    "  --omap <map> (output mappings)",
    "  --emap <map> (local-echo mappings)",
    "  --<h>elp",
};

// The order in which the summary lists the maps.
const char *const USAGE_MAP_ORDER[] = {"crlf", "crcrlf", "igncr", "lfcr",
                                       "lfcrlf", "ignlf", "bsdel", "delbs"};

const char *MapDescription(const char *name)
{
    for (const map_name_t *row = map_names; row->name; row++)
        if (std::strcmp(row->name, name) == 0)
            return row->description;
    return "";
}

}  // namespace

void show_usage(const char *program_path)
{
    const char *path = program_path ? program_path : "";
    const char *slash = std::strrchr(path, '/');
    const char *name = slash ? slash + 1 : path;

    std::printf("\nCompiled-in options:\n");
    std::printf("  TTY_Q_SZ is %d\n", TTY_Q_SZ);
    std::printf("\nUsage is: %s [options] <tty device>\n", name);
    std::printf("Options are:\n");
    for (const char *line : OPTION_LINES)
        std::printf("%s\n", line);
    std::printf("<map> is a comma-separated list of one or more of:\n");
    for (const char *map : USAGE_MAP_ORDER)
        std::printf("  %s : %s\n", map, MapDescription(map));
    std::printf("<?> indicates the equivalent short option.\n");
    std::printf("Short options are prefixed by \"-\" instead of by \"--\".\n");
}
