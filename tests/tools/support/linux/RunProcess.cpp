#include "RunProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "ChildProcess.h"

ProcessResult RunProcess(const std::vector<std::string> &argv, const std::string &input, int timeoutMs)
{
    ProcessResult result;
    int inPipe[2], outPipe[2], errPipe[2];
    if (pipe2(inPipe, O_CLOEXEC) != 0 || pipe2(outPipe, O_CLOEXEC) != 0 || pipe2(errPipe, O_CLOEXEC) != 0)
        return result;

    ChildLaunch launch;
    launch.argv = argv;
    launch.searchPath = true;
    launch.in = inPipe[0];
    launch.out = outPipe[1];
    launch.err = errPipe[1];
    const pid_t pid = StartChild(launch);
    close(inPipe[0]);
    close(outPipe[1]);
    close(errPipe[1]);
    int inFd = inPipe[1], outFd = outPipe[0], errFd = errPipe[0];
    if (pid < 0) {
        CloseChildFd(&inFd);
        CloseChildFd(&outFd);
        CloseChildFd(&errFd);
        return result;
    }

    signal(SIGPIPE, SIG_IGN);
    if (!PumpPipes(&inFd, input, &outFd, &errFd, MonotonicMs() + timeoutMs, &result.out, &result.err)) {
        result.timedOut = true;
        kill(pid, SIGKILL);
    }
    CloseChildFd(&outFd);
    CloseChildFd(&errFd);
    int status = 0;
    waitpid(pid, &status, 0);
    if (WIFEXITED(status))
        result.exitStatus = WEXITSTATUS(status);
    else if (WIFSIGNALED(status))
        result.signal = WTERMSIG(status);
    return result;
}
