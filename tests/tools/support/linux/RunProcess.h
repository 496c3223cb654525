// Runs a child process with a bounded wait and captures what it writes.
#ifndef ZARVEX_TEST_RUN_PROCESS_H
#define ZARVEX_TEST_RUN_PROCESS_H

#include <string>
#include <vector>

struct ProcessResult {
    int exitStatus = -1;   // exit code, or -1 when it did not exit normally
    int signal = 0;        // the signal that ended it, if any
    bool timedOut = false; // killed after the time limit
    std::string out;
    std::string err;
};

// argv[0] is looked up on PATH. `input` is written to the child's standard
// input, which is then closed. The child is killed after `timeoutMs`.
ProcessResult RunProcess(const std::vector<std::string> &argv, const std::string &input = "",
                         int timeoutMs = 30000);

#endif
