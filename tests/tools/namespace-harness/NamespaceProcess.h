// A program run as root in a private mount namespace whose /dev is a fresh
// tmpfs holding only null, zero, urandom, tty, ptmx, a private pts and the
// serial devices it is given (each bound to a fake's slave). The host's
// /dev is never touched. The program gets pipes, or a pty as its terminal
// (keystrokes in, screen out). Every run is bounded: at its deadline, or
// when this object goes, the program's whole process group is killed.
#ifndef ZARVEX_NAMESPACE_PROCESS_H
#define ZARVEX_NAMESPACE_PROCESS_H

#include <sys/types.h>

struct termios;
struct NamespaceChildPlan;

#include <string>
#include <utility>
#include <vector>

// /dev/<name> inside, bound to `source` (a slave path) outside. Names are
// ttyUSB<n>, ttyS0 or ttyS1.
struct NamespaceDevice {
    std::string name;
    std::string source;
};

// The private /dev of a process that stays in it (EnterPrivateDev): besides
// null, zero, urandom, tty, ptmx and a pts of its own, each named under /dev.
struct PrivateDevLayout {
    std::vector<NamespaceDevice> devices;
    std::vector<std::string> extraNodes;   // further host nodes bound in
    std::vector<std::string> tmpfsDirs;    // empty, writable by all
    std::vector<std::string> directories;  // empty, for the caller to fill
    std::vector<std::pair<std::string, std::string>> links;  // name, target
};

// Moves the calling process, which must be single-threaded and root, into a
// mount namespace of its own with that /dev, for good: what it starts from
// then on (StartHere) sees only that /dev, and the host's stays as it was.
bool EnterPrivateDev(const PrivateDevLayout &layout, std::string *error);

// This process's environment with each "NAME=VALUE" set and each "NAME"
// removed, in that order.
std::vector<std::string> EnvironmentWith(const std::vector<std::string> &changes);

// How a program started with StartHere differs from this process.
struct HereOptions {
    std::vector<std::string> environment;  // "NAME=VALUE" sets, "NAME" removes
    std::string workDir;                   // empty: this process's
};

// How the program's standard input and output are connected.
enum class NamespaceStdio {
    Pipes,    // captured; input written then closed
    Pty,      // a pty of its own as controlling terminal
    Inherit,  // this process's own (a person at the terminal)
};

struct NamespaceResult {
    int exitStatus = -1;  // exit code, or -1 when it did not exit normally
    int signal = 0;
    bool timedOut = false;
    std::string out;  // on a pty: everything written to the terminal
    std::string err;  // empty on a pty
};

class NamespaceProcess {
public:
    NamespaceProcess() = default;
    ~NamespaceProcess();
    NamespaceProcess(const NamespaceProcess &) = delete;
    NamespaceProcess &operator=(const NamespaceProcess &) = delete;

    // argv[0] is a path. `lifetimeMs` bounds the whole run.
    bool Start(const std::vector<NamespaceDevice> &devices, const std::vector<std::string> &argv,
               NamespaceStdio stdio, int lifetimeMs, std::string *error);
    // The same, but in the mount namespace this process is in (one it
    // entered with EnterPrivateDev), with the options' environment and
    // working directory.
    bool StartHere(const std::vector<std::string> &argv, const HereOptions &options, NamespaceStdio stdio,
                   int lifetimeMs, std::string *error);

    // Pipes: `input` goes to standard input, which is then closed.
    // Collects the output until the program ends or its lifetime is over.
    NamespaceResult Wait(const std::string &input = "");

    // Pty: keystrokes, and the terminal's output so far.
    bool SendKeys(const std::string &keys);
    // Reads the terminal until `text` has appeared after `from` (an offset
    // into Screen()) or timeoutMs passed.
    bool WaitForScreen(const std::string &text, int timeoutMs, std::size_t from = 0);
    const std::string &Screen() const { return m_screen; }
    // Pty or inherited terminal: waits until the program ends (bounded by
    // its lifetime); on a pty the result's out is the screen.
    NamespaceResult WaitExit(int timeoutMs);

    void Kill();  // the whole process group, then reaps it

    // Sends a signal to the program itself (not to its group).
    bool Signal(int signalNumber);
    // Pty: the settings of the program's terminal now, as the program would
    // read them with tcgetattr; false once the terminal is closed.
    bool TerminalSettings(termios *settings) const;
    // Waits until the program has ended, bounded by timeoutMs and its
    // lifetime, without reading its terminal: a pty stays open, so that the
    // settings the program left can still be read. Only for a program that
    // writes little meanwhile (a full terminal would hold it).
    bool WaitEnded(int timeoutMs);

private:
    bool Launch(NamespaceChildPlan &plan, const std::vector<std::string> &argv, NamespaceStdio stdio,
                int lifetimeMs, std::string *error);
    void Pump(int timeoutMs);
    void Reap(bool block);

    pid_t m_pid = -1;
    NamespaceStdio m_stdio = NamespaceStdio::Pipes;
    int m_master = -1;  // pty
    int m_in = -1, m_out = -1, m_err = -1;
    long long m_deadline = 0;
    std::string m_stage;
    std::string m_screen;
    NamespaceResult m_result;
    bool m_reaped = false;
};

// Validates a device name for the namespace's /dev.
bool IsSerialDeviceName(const std::string &name);

// Removes ANSI escape sequences (colours) from terminal text.
std::string StripAnsi(const std::string &text);

#endif
