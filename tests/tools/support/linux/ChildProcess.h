// The one place the test tools start child processes: fork and exec with
// the child's standard streams, session, process group and environment
// chosen up front, bounded waits for its end, and the collection of what it
// writes to pipes.
#ifndef ZARVEX_TEST_CHILD_PROCESS_H
#define ZARVEX_TEST_CHILD_PROCESS_H

#include <sys/types.h>

#include <string>
#include <vector>

// A monotonic clock in milliseconds, for deadlines.
long long MonotonicMs();

// How the child differs from this process. Everything is prepared before
// the fork: between fork and exec the child of a threaded parent may only
// make system calls.
struct ChildLaunch {
    std::vector<std::string> argv;  // argv[0] a path, or a name on PATH with searchPath
    bool searchPath = false;
    std::vector<std::string> environment;  // the child's whole environment; empty: this process's
    std::string workDir;                   // empty: this process's
    int in = -1, out = -1, err = -1;       // become 0, 1 and 2; -1 keeps this process's
    int terminal = -1;  // a pty slave: 0, 1 and 2, as controlling terminal of a new session
    bool ownGroup = false;       // a process group of its own (implied by terminal)
    bool dieWithParent = false;  // killed when this process ends; never started if it already has
    std::vector<int> defaultSignals;  // set back to their default action
    // Runs in the child once its streams are set, before exec: only system
    // calls. Returns the step that failed, or null.
    const char *(*prepare)(const void *context) = nullptr;
    const void *context = nullptr;
    int report = -1;          // a failed step is written here as "<step>: errno <n>"
    int failureStatus = 127;  // the child's exit status when a step or exec fails
};

// The child's pid, or -1 when fork failed (errno tells why).
pid_t StartChild(const ChildLaunch &launch);

// Polls every pollMs, up to timeoutMs, for the child's end: its pid (and
// *status) once it ended, 0 while it still runs, -1 when it is not a child.
pid_t WaitForChild(pid_t pid, int timeoutMs, int *status, int pollMs);

// Waits as WaitForChild does; a child still running then is killed and
// reaped. True when it ended by itself.
bool EndChild(pid_t pid, int timeoutMs, int *status, int pollMs);

// Writes `input` to *in (closed once written, or at once when empty) and
// reads *out and *err into outText and errText until both end (each closed
// at its end) or the deadline passes. *in is closed on return; false when
// the deadline came first.
bool PumpPipes(int *in, const std::string &input, int *out, int *err, long long deadline, std::string *outText,
               std::string *errText);

// Closes fd unless it is -1, and sets it to -1.
void CloseChildFd(int *fd);

#endif
