// Routines around the terminal settings library for a terminal program on a
// serial line: a command splitter with shell-like quoting, descriptor output
// and a line editor, Linux termios2 requests with free-form speeds, line-end
// and backspace maps, stepping through line settings, running an external
// command on the port, signal set-up and the option summary.
//
// Nothing in the program calls any of them: they live in the offered
// library, which only their tests link.
#ifndef ZARVEX_TERM_SUPPORT_H
#define ZARVEX_TERM_SUPPORT_H

#include <signal.h>
#include <termios.h>

// Words longer than this are cut (the rest of the word is dropped).
constexpr int SPLIT_WORD_MAX = 511;
// split_quoted's flags: words beyond the argv size dropped, a word cut.
constexpr int SPLIT_DROPPED = 0x01;
constexpr int SPLIT_TRUNCATED = 0x02;

// Splits text into words, stores a heap copy of each (free it) at
// argv[*argc] and advances *argc, never past argv_sz. -1 on a trailing
// backslash, an unclosed quote or a failed copy, else SPLIT_* flags.
int split_quoted(const char *text, int *argc, char **argv, int argv_sz);

// Writes all n bytes, past partial writes and EINTR; the count written.
int writen_ni(int fd, const void *data, int n);
int fd_printf(int fd, const char *format, ...) __attribute__((format(printf, 2, 3)));
int cput(int fd, char c);
int cdel(int fd);
int xput(int fd, unsigned char c);  // "\xNN"
int xdel(int fd);
// Reads one line ended by CR into buffer (terminated), echoing to echo_fd;
// the line length, or -1 (errno EINTR on Ctrl-C).
int fd_readline(int input_fd, int echo_fd, char *buffer, int size);

// Settings through the Linux termios2 requests, which carry any speed.
int tc2setattr(int fd, int when, const termios *settings);
int tc2getattr(int fd, termios *settings);
int cf2setispeed(termios *settings, int code);
int cf2getispeed(const termios *settings);
int cf2setospeed_custom(termios *settings, int speed);
int cf2setispeed_custom(termios *settings, int speed);

enum map_flag_e {
    M_CRLF = 0x01,
    M_CRCRLF = 0x02,
    M_IGNCR = 0x04,
    M_LFCR = 0x08,
    M_LFCRLF = 0x10,
    M_IGNLF = 0x20,
    M_DELBS = 0x40,
    M_BSDEL = 0x80,
};

struct map_name_t {
    const char *name;
    int flag;
    const char *description;
};

// Ended by a row without a name.
extern const map_name_t map_names[];

// Changes text (splits it in place); -1 for a name not in map_names.
int parse_map(char *text);
void print_map(int flags);
// Converts c by the map flags into out (room for 2 bytes); the byte count.
int do_map(char *out, int flags, char c);
void map_and_write(int fd, int flags, char c);

[[noreturn]] void fatal(const char *format, ...) __attribute__((format(printf, 1, 2)));
int read_filename();
int read_baud();

int baud_up(int baud);
int baud_down(int baud);
int flow_next(int mode);
int parity_next(int parity);
int bits_next(int bits);
int stopbits_next(int bits);

void show_status();
void show_keys();
void loop();
int do_command(unsigned char c);

// Set to 1 by the first deadly_handler call.
extern volatile sig_atomic_t sig_exit;

void establish_child_signal_handlers();
// Runs command with the extra arguments on the port (standard input and
// output become fd); its exit status, or -1.
int run_cmd(int fd, const char *command, const char *extra_args);
void deadly_handler(int signum);
void establish_signal_handlers();

constexpr int TTY_Q_SZ = 256;
void show_usage(const char *program_path);

#endif
