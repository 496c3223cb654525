#include "RunProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {
long long NowMs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec * 1000LL + ts.tv_nsec / 1000000;
}

void CloseFd(int &fd)
{
    if (fd >= 0)
        close(fd);
    fd = -1;
}
}  // namespace

ProcessResult RunProcess(const std::vector<std::string> &argv, const std::string &input, int timeoutMs)
{
    ProcessResult result;
    int inPipe[2], outPipe[2], errPipe[2];
    if (pipe2(inPipe, O_CLOEXEC) != 0 || pipe2(outPipe, O_CLOEXEC) != 0 || pipe2(errPipe, O_CLOEXEC) != 0)
        return result;

    std::vector<char *> args;
    for (const std::string &a : argv)
        args.push_back(const_cast<char *>(a.c_str()));
    args.push_back(nullptr);

    pid_t pid = fork();
    if (pid == 0) {
        dup2(inPipe[0], 0);
        dup2(outPipe[1], 1);
        dup2(errPipe[1], 2);
        execvp(args[0], args.data());
        _exit(127);
    }
    close(inPipe[0]);
    close(outPipe[1]);
    close(errPipe[1]);
    int inFd = inPipe[1], outFd = outPipe[0], errFd = errPipe[0];
    if (pid < 0) {
        CloseFd(inFd);
        CloseFd(outFd);
        CloseFd(errFd);
        return result;
    }

    signal(SIGPIPE, SIG_IGN);
    std::size_t written = 0;
    if (input.empty())
        CloseFd(inFd);
    const long long deadline = NowMs() + timeoutMs;
    while (outFd >= 0 || errFd >= 0) {
        long long left = deadline - NowMs();
        if (left <= 0) {
            result.timedOut = true;
            kill(pid, SIGKILL);
            break;
        }
        pollfd fds[3];
        int n = 0;
        if (outFd >= 0) fds[n++] = {outFd, POLLIN, 0};
        if (errFd >= 0) fds[n++] = {errFd, POLLIN, 0};
        if (inFd >= 0) fds[n++] = {inFd, POLLOUT, 0};
        if (poll(fds, n, static_cast<int>(left > 100 ? 100 : left)) < 0 && errno != EINTR)
            break;
        for (int i = 0; i < n; ++i) {
            if (!fds[i].revents)
                continue;
            if (fds[i].fd == inFd) {
                ssize_t w = write(inFd, input.data() + written, input.size() - written);
                if (w > 0)
                    written += static_cast<std::size_t>(w);
                if (w < 0 || written == input.size())
                    CloseFd(inFd);
                continue;
            }
            char buf[4096];
            ssize_t r = read(fds[i].fd, buf, sizeof buf);
            if (r > 0) {
                (fds[i].fd == outFd ? result.out : result.err).append(buf, static_cast<std::size_t>(r));
            } else if (r == 0 || errno != EINTR) {
                CloseFd(fds[i].fd == outFd ? outFd : errFd);
            }
        }
    }
    CloseFd(inFd);
    CloseFd(outFd);
    CloseFd(errFd);
    int status = 0;
    waitpid(pid, &status, 0);
    if (WIFEXITED(status))
        result.exitStatus = WEXITSTATUS(status);
    else if (WIFSIGNALED(status))
        result.signal = WTERMSIG(status);
    return result;
}
