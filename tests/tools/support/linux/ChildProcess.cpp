#include "ChildProcess.h"

#include <poll.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>

namespace {
// The child's argument and environment arrays, pointing into copies made
// before the fork.
struct ExecArrays {
    std::vector<std::string> argStore;
    std::vector<std::string> envStore;
    std::vector<char *> argv;
    std::vector<char *> envp;  // empty: this process's environment
};

void FillArrays(const ChildLaunch &launch, ExecArrays *arrays)
{
    arrays->argStore = launch.argv;
    for (std::string &a : arrays->argStore)
        arrays->argv.push_back(&a[0]);
    arrays->argv.push_back(nullptr);
    if (launch.environment.empty())
        return;
    arrays->envStore = launch.environment;
    for (std::string &e : arrays->envStore)
        arrays->envp.push_back(&e[0]);
    arrays->envp.push_back(nullptr);
}

// Reports the failed step and errno, then leaves; only system calls.
[[noreturn]] void ChildFail(const ChildLaunch &launch, const char *step)
{
    if (launch.report >= 0) {
        const int e = errno;
        char msg[256];
        std::size_t n = 0;
        for (const char *p = step; *p && n < 200; ++p)
            msg[n++] = *p;
        for (const char *p = ": errno "; *p; ++p)
            msg[n++] = *p;
        char digits[12];
        int d = 0;
        int v = e;
        do {
            digits[d++] = static_cast<char>('0' + v % 10);
            v /= 10;
        } while (v && d < 11);
        while (d)
            msg[n++] = digits[--d];
        [[maybe_unused]] ssize_t w = write(launch.report, msg, n);
    }
    _exit(launch.failureStatus);
}

[[noreturn]] void RunChild(const ChildLaunch &launch, const ExecArrays &arrays, pid_t parent)
{
    if (launch.dieWithParent) {
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != parent)
            _exit(launch.failureStatus);
    }
    if (launch.terminal >= 0) {
        if (setsid() < 0)
            ChildFail(launch, "setsid");
        if (ioctl(launch.terminal, TIOCSCTTY, 0) != 0)
            ChildFail(launch, "TIOCSCTTY");
        dup2(launch.terminal, 0);
        dup2(launch.terminal, 1);
        dup2(launch.terminal, 2);
    } else {
        if (launch.ownGroup)
            setpgid(0, 0);
        if (launch.in >= 0)
            dup2(launch.in, 0);
        if (launch.out >= 0)
            dup2(launch.out, 1);
        if (launch.err >= 0)
            dup2(launch.err, 2);
    }
    for (int sig : launch.defaultSignals)
        signal(sig, SIG_DFL);
    if (launch.prepare) {
        if (const char *step = launch.prepare(launch.context))
            ChildFail(launch, step);
    }
    if (!launch.workDir.empty() && chdir(launch.workDir.c_str()) != 0)
        ChildFail(launch, "chdir");
    if (launch.searchPath && arrays.envp.empty())
        execvp(arrays.argv[0], arrays.argv.data());
    else if (launch.searchPath)
        execvpe(arrays.argv[0], arrays.argv.data(), arrays.envp.data());
    else if (arrays.envp.empty())
        execv(arrays.argv[0], arrays.argv.data());
    else
        execve(arrays.argv[0], arrays.argv.data(), arrays.envp.data());
    ChildFail(launch, "execv");
}
}  // namespace

long long MonotonicMs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec * 1000LL + ts.tv_nsec / 1000000;
}

void CloseChildFd(int *fd)
{
    if (*fd >= 0)
        close(*fd);
    *fd = -1;
}

pid_t StartChild(const ChildLaunch &launch)
{
    if (launch.argv.empty()) {
        errno = EINVAL;
        return -1;
    }
    ExecArrays arrays;
    FillArrays(launch, &arrays);
    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid == 0)
        RunChild(launch, arrays, parent);
    return pid;
}

pid_t WaitForChild(pid_t pid, int timeoutMs, int *status, int pollMs)
{
    const long long deadline = MonotonicMs() + timeoutMs;
    pid_t ended = 0;
    while ((ended = waitpid(pid, status, WNOHANG)) == 0 && MonotonicMs() < deadline)
        usleep(static_cast<useconds_t>(pollMs) * 1000);
    return ended;
}

bool EndChild(pid_t pid, int timeoutMs, int *status, int pollMs)
{
    const pid_t ended = WaitForChild(pid, timeoutMs, status, pollMs);
    if (ended == 0) {
        kill(pid, SIGKILL);
        waitpid(pid, status, 0);
        return false;
    }
    return ended == pid;
}

bool PumpPipes(int *in, const std::string &input, int *out, int *err, long long deadline, std::string *outText,
               std::string *errText)
{
    std::size_t written = 0;
    if (input.empty())
        CloseChildFd(in);
    bool inTime = true;
    while (*out >= 0 || *err >= 0) {
        const long long left = deadline - MonotonicMs();
        if (left <= 0) {
            inTime = false;
            break;
        }
        pollfd fds[3];
        int n = 0;
        if (*out >= 0) fds[n++] = {*out, POLLIN, 0};
        if (*err >= 0) fds[n++] = {*err, POLLIN, 0};
        if (*in >= 0) fds[n++] = {*in, POLLOUT, 0};
        if (poll(fds, static_cast<nfds_t>(n), static_cast<int>(left > 100 ? 100 : left)) < 0 && errno != EINTR)
            break;
        for (int i = 0; i < n; ++i) {
            if (!fds[i].revents)
                continue;
            if (fds[i].fd == *in) {
                const ssize_t w = write(*in, input.data() + written, input.size() - written);
                if (w > 0)
                    written += static_cast<std::size_t>(w);
                if (w < 0 || written == input.size())
                    CloseChildFd(in);
                continue;
            }
            char buf[4096];
            const ssize_t r = read(fds[i].fd, buf, sizeof buf);
            if (r > 0)
                (fds[i].fd == *out ? outText : errText)->append(buf, static_cast<std::size_t>(r));
            else if (r == 0 || errno != EINTR)
                CloseChildFd(fds[i].fd == *out ? out : err);
        }
    }
    CloseChildFd(in);
    return inTime;
}
