// Running an external command on the port, signal set-up, and the fatal exit.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>

#include "SysErrorText.h"
#include "TermLib.h"
#include "TermLibOffered.h"
#include "TermSupport.h"

volatile sig_atomic_t sig_exit = 0;

namespace {

constexpr int RUN_CMD_MAX_WORDS = 32;
constexpr int CHILD_FAILURE_STATUS = 126;
constexpr int FATAL_MESSAGE_SIZE = 256;
constexpr unsigned FATAL_PAUSE_SECONDS = 1;

void SetHandler(int signum, void (*handler)(int))
{
    struct sigaction action = {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    sigaction(signum, &action, nullptr);
}

[[noreturn]] void ChildFails(const char *message)
{
    std::fputs(message, stderr);
    _exit(CHILD_FAILURE_STATUS);
}

// The child: the port becomes its standard input and output, then the
// command replaces it. It never returns; _exit keeps the parent's exit
// handlers (the restore of the line settings) out of the child.
[[noreturn]] void RunChild(int fd, const char *command, const char *extraArgs,
                           const sigset_t &previousMask)
{
    term_remove(STDIN_FILENO);
    term_erase(fd);
    const int flags = fcntl(fd, F_GETFL);
    if (flags >= 0)
        fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    close(STDIN_FILENO);
    close(STDOUT_FILENO);
    dup2(fd, STDIN_FILENO);
    dup2(fd, STDOUT_FILENO);

    char *words[RUN_CMD_MAX_WORDS + 1] = {nullptr};
    int count = 0;
    if (split_quoted(command, &count, words, RUN_CMD_MAX_WORDS) < 0)
        ChildFails("Cannot parse command\n");
    if (split_quoted(extraArgs, &count, words, RUN_CMD_MAX_WORDS) < 0)
        ChildFails("Cannot parse extra args\n");
    if (count == 0)
        ChildFails("No command given\n");
    words[count] = nullptr;

    std::fprintf(stderr, "$ %s %s\n", command, extraArgs);
    establish_child_signal_handlers();
    sigprocmask(SIG_SETMASK, &previousMask, nullptr);
    execvp(words[0], words);
    std::fprintf(stderr, "exec: %s\n", SysErrorText(errno).c_str());
    _exit(CHILD_FAILURE_STATUS);
}

}  // namespace

void establish_child_signal_handlers()
{
    SetHandler(SIGINT, SIG_DFL);
    SetHandler(SIGTERM, SIG_DFL);
}

int run_cmd(int fd, const char *command, const char *extra_args)
{
    if (!command)
        command = "";
    if (!extra_args)
        extra_args = "";
    sigset_t blockTerm, previousMask;
    sigemptyset(&blockTerm);
    sigaddset(&blockTerm, SIGTERM);
    sigprocmask(SIG_BLOCK, &blockTerm, &previousMask);

    const pid_t pid = fork();
    if (pid < 0) {
        const int failure = errno;
        sigprocmask(SIG_SETMASK, &previousMask, nullptr);
        fd_printf(STDOUT_FILENO, "*** cannot fork: %s ***\r\n", SysErrorText(failure).c_str());
        return -1;
    }
    if (pid == 0)
        RunChild(fd, command, extra_args, previousMask);

    sigprocmask(SIG_SETMASK, &previousMask, nullptr);
    int status = 0;
    pid_t waited;
    do {
        waited = waitpid(pid, &status, 0);
    } while (waited < 0 && errno == EINTR);
    term_apply(STDIN_FILENO, 0);

    if (waited == pid && WIFEXITED(status)) {
        fd_printf(STDOUT_FILENO, "\r\n*** exit status: %d ***\r\n", WEXITSTATUS(status));
        return WEXITSTATUS(status);
    }
    if (waited == pid && WIFSIGNALED(status))
        fd_printf(STDOUT_FILENO, "\r\n*** killed by signal: %d ***\r\n", WTERMSIG(status));
    else
        fd_printf(STDOUT_FILENO, "\r\n*** abnormal termination: 0x%x ***\r\n",
                  static_cast<unsigned>(status));
    return -1;
}

void deadly_handler(int)
{
    if (sig_exit)
        return;
    sig_exit = 1;
    kill(0, SIGTERM);
}

void establish_signal_handlers()
{
    SetHandler(SIGTERM, deadly_handler);
    SetHandler(SIGINT, SIG_IGN);
    SetHandler(SIGHUP, SIG_IGN);
    SetHandler(SIGQUIT, SIG_IGN);
    SetHandler(SIGALRM, SIG_IGN);
    SetHandler(SIGUSR1, SIG_IGN);
    SetHandler(SIGUSR2, SIG_IGN);
    SetHandler(SIGPIPE, SIG_IGN);
}

void fatal(const char *format, ...)
{
    // Formatted as the callers expect, though nothing shows it: the terminal
    // may be in any state by now.
    char message[FATAL_MESSAGE_SIZE];
    va_list args;
    va_start(args, format);
    std::vsnprintf(message, sizeof message, format, args);
    va_end(args);
    sleep(FATAL_PAUSE_SECONDS);
    std::exit(1);
}
