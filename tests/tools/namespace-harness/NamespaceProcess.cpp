#include "NamespaceProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <sched.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <iterator>
#include <cstring>

#include "ChildProcess.h"

namespace {
// The nodes every program may need, bound from the host's own.
const char *const kBasicNodes[] = {"null", "zero", "urandom", "tty"};
constexpr unsigned short kScreenRows = 40;
constexpr unsigned short kScreenColumns = 132;
constexpr int kSetupTimeoutMs = 10000;
constexpr int kChildSetupFailed = 126;

}  // namespace

// The private /dev the child mounts, prepared before fork: between fork and
// exec the child of a threaded parent may only make system calls.
struct NamespaceChildPlan {
    bool ownNamespace = true;  // false: the program stays in the caller's
    std::string stage;
    std::vector<std::string> files;    // created, then bound over
    std::vector<std::string> sources;  // one per file
    std::string pts;
    std::string ptmx;
    std::vector<std::string> tmpfsDirs;
    std::vector<std::string> directories;
    std::vector<std::string> links;        // created as symbolic links
    std::vector<std::string> linkTargets;  // one per link
    std::vector<std::string> environment;  // empty: this process's
    std::string workDir;                   // empty: this process's
};

namespace {
using ChildPlan = NamespaceChildPlan;

// Moves the calling process into a mount namespace of its own whose /dev is
// the plan's. Only system calls, so that a child of a threaded parent may
// call it between fork and exec. Returns the step that failed, or null.
const char *MountPrivateDev(const ChildPlan &plan)
{
    if (unshare(CLONE_NEWNS) != 0)
        return "unshare(CLONE_NEWNS)";
    // Nothing mounted from here on propagates back to the host.
    if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
        return "mount --make-rprivate /";
    if (mount("tmpfs", plan.stage.c_str(), "tmpfs", MS_NOSUID, "mode=0755,size=64k") != 0)
        return "mount tmpfs";
    for (std::size_t i = 0; i < plan.files.size(); ++i) {
        const int fd = open(plan.files[i].c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0600);
        if (fd < 0)
            return "create mount point";
        close(fd);
        if (mount(plan.sources[i].c_str(), plan.files[i].c_str(), nullptr, MS_BIND, nullptr) != 0)
            return "bind device";
    }
    if (mkdir(plan.pts.c_str(), 0755) != 0)
        return "mkdir pts";
    if (mount("devpts", plan.pts.c_str(), "devpts", MS_NOSUID | MS_NOEXEC, "newinstance,ptmxmode=0666,mode=0620") != 0)
        return "mount devpts";
    if (symlink("pts/ptmx", plan.ptmx.c_str()) != 0)
        return "symlink ptmx";
    for (const std::string &dir : plan.tmpfsDirs)
        if (mkdir(dir.c_str(), 0755) != 0 || mount("tmpfs", dir.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, "mode=1777") != 0)
            return "mount tmpfs directory";
    for (const std::string &dir : plan.directories)
        if (mkdir(dir.c_str(), 0755) != 0)
            return "mkdir";
    for (std::size_t i = 0; i < plan.links.size(); ++i)
        if (symlink(plan.linkTargets[i].c_str(), plan.links[i].c_str()) != 0)
            return "symlink";
    if (mount(plan.stage.c_str(), "/dev", nullptr, MS_MOVE, nullptr) != 0)
        return "mount --move /dev";
    return nullptr;
}

// The child's step before exec when it gets a namespace of its own.
const char *MountPlannedDev(const void *plan)
{
    return MountPrivateDev(*static_cast<const ChildPlan *>(plan));
}

// A single name inside the namespace's /dev: no path, nothing hidden.
bool IsPlainName(const std::string &name)
{
    return !name.empty() && name[0] != '.' && name.find('/') == std::string::npos;
}

bool MakeStage(std::string *stage, std::string *error)
{
    char dir[] = "/tmp/zarvex-dev.XXXXXX";
    if (!mkdtemp(dir)) {
        *error = std::string("mkdtemp: ") + std::strerror(errno);
        return false;
    }
    *stage = dir;
    return true;
}

bool PlanPrivateDev(const std::string &stage, const PrivateDevLayout &layout, ChildPlan *plan, std::string *error)
{
    plan->stage = stage;
    std::vector<std::string> nodes(std::begin(kBasicNodes), std::end(kBasicNodes));
    nodes.insert(nodes.end(), layout.extraNodes.begin(), layout.extraNodes.end());
    for (const std::string &node : nodes) {
        if (!IsPlainName(node)) {
            *error = "not a node name: " + node;
            return false;
        }
        plan->files.push_back(stage + "/" + node);
        plan->sources.push_back("/dev/" + node);
    }
    for (const NamespaceDevice &d : layout.devices) {
        if (!IsSerialDeviceName(d.name)) {
            *error = "not a serial device name: " + d.name;
            return false;
        }
        struct stat st{};
        if (stat(d.source.c_str(), &st) != 0 || !S_ISCHR(st.st_mode)) {
            *error = "not a character device: " + d.source;
            return false;
        }
        plan->files.push_back(stage + "/" + d.name);
        plan->sources.push_back(d.source);
    }
    plan->pts = stage + "/pts";
    plan->ptmx = stage + "/ptmx";
    for (const std::string &dir : layout.tmpfsDirs)
        plan->tmpfsDirs.push_back(stage + "/" + dir);
    for (const std::string &dir : layout.directories)
        plan->directories.push_back(stage + "/" + dir);
    for (const auto &link : layout.links) {
        plan->links.push_back(stage + "/" + link.first);
        plan->linkTargets.push_back(link.second);
    }
    for (const std::string &name : layout.tmpfsDirs)
        if (!IsPlainName(name)) {
            *error = "not a directory name: " + name;
            return false;
        }
    for (const std::string &name : layout.directories)
        if (!IsPlainName(name)) {
            *error = "not a directory name: " + name;
            return false;
        }
    for (const auto &link : layout.links)
        if (!IsPlainName(link.first)) {
            *error = "not a link name: " + link.first;
            return false;
        }
    return true;
}

}  // namespace

std::vector<std::string> EnvironmentWith(const std::vector<std::string> &changes)
{
    std::vector<std::string> env;
    for (char **e = environ; e && *e; ++e)
        env.push_back(*e);
    for (const std::string &change : changes) {
        const std::size_t eq = change.find('=');
        const std::string prefix = change.substr(0, eq) + "=";
        env.erase(std::remove_if(env.begin(), env.end(),
                                 [&](const std::string &e) { return e.compare(0, prefix.size(), prefix) == 0; }),
                  env.end());
        if (eq != std::string::npos)
            env.push_back(change);
    }
    return env;
}

bool EnterPrivateDev(const PrivateDevLayout &layout, std::string *error)
{
    std::string stage;
    if (!MakeStage(&stage, error))
        return false;
    ChildPlan plan;
    bool ok = PlanPrivateDev(stage, layout, &plan, error);
    if (ok) {
        if (const char *step = MountPrivateDev(plan)) {
            *error = std::string(step) + ": " + std::strerror(errno);
            ok = false;
        }
    }
    // Empty once /dev has moved away from it; it is in the host's /tmp.
    rmdir(stage.c_str());
    return ok;
}

bool IsSerialDeviceName(const std::string &name)
{
    if (name == "ttyS0" || name == "ttyS1")
        return true;
    const std::string prefix = "ttyUSB";
    if (name.compare(0, prefix.size(), prefix) != 0 || name.size() == prefix.size() || name.size() > prefix.size() + 3)
        return false;
    for (std::size_t i = prefix.size(); i < name.size(); ++i)
        if (name[i] < '0' || name[i] > '9')
            return false;
    return true;
}

std::string StripAnsi(const std::string &text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\033' && i + 1 < text.size() && text[i + 1] == '[') {
            i += 2;
            while (i < text.size() && !(text[i] >= '@' && text[i] <= '~'))
                ++i;
            continue;
        }
        out.push_back(text[i]);
    }
    return out;
}

NamespaceProcess::~NamespaceProcess()
{
    Kill();
    CloseChildFd(&m_master);
    CloseChildFd(&m_in);
    CloseChildFd(&m_out);
    CloseChildFd(&m_err);
    if (!m_stage.empty())
        rmdir(m_stage.c_str());
}

bool NamespaceProcess::Start(const std::vector<NamespaceDevice> &devices, const std::vector<std::string> &argv,
                             NamespaceStdio stdio, int lifetimeMs, std::string *error)
{
    if (m_pid > 0 || argv.empty()) {
        *error = m_pid > 0 ? "already started" : "no program";
        return false;
    }
    if (!MakeStage(&m_stage, error))
        return false;
    PrivateDevLayout layout;
    layout.devices = devices;
    ChildPlan plan;
    if (!PlanPrivateDev(m_stage, layout, &plan, error))
        return false;
    return Launch(plan, argv, stdio, lifetimeMs, error);
}

bool NamespaceProcess::StartHere(const std::vector<std::string> &argv, const HereOptions &options,
                                 NamespaceStdio stdio, int lifetimeMs, std::string *error)
{
    if (m_pid > 0 || argv.empty()) {
        *error = m_pid > 0 ? "already started" : "no program";
        return false;
    }
    ChildPlan plan;
    plan.ownNamespace = false;
    plan.workDir = options.workDir;
    if (!options.environment.empty())
        plan.environment = EnvironmentWith(options.environment);
    return Launch(plan, argv, stdio, lifetimeMs, error);
}

bool NamespaceProcess::Launch(NamespaceChildPlan &plan, const std::vector<std::string> &argv, NamespaceStdio stdio,
                              int lifetimeMs, std::string *error)
{
    m_stdio = stdio;
    ChildLaunch launch;
    launch.argv = argv;
    launch.environment = plan.environment;
    launch.workDir = plan.workDir;
    launch.dieWithParent = true;
    launch.failureStatus = kChildSetupFailed;
    if (plan.ownNamespace) {
        launch.prepare = MountPlannedDev;
        launch.context = &plan;
    }

    int report[2];
    if (pipe2(report, O_CLOEXEC) != 0) {
        *error = "pipe failed";
        return false;
    }
    launch.report = report[1];
    int in[2] = {-1, -1}, out[2] = {-1, -1}, err[2] = {-1, -1};
    if (stdio == NamespaceStdio::Pty) {
        m_master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        char name[128];
        if (m_master < 0 || grantpt(m_master) != 0 || unlockpt(m_master) != 0 ||
            ptsname_r(m_master, name, sizeof name) != 0) {
            *error = "no pty for the terminal";
            CloseChildFd(&report[0]);
            CloseChildFd(&report[1]);
            return false;
        }
        winsize ws{kScreenRows, kScreenColumns, 0, 0};
        ioctl(m_master, TIOCSWINSZ, &ws);
        // Without its slave the child would keep this process's terminal.
        launch.terminal = open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (launch.terminal < 0) {
            *error = "no pty for the terminal";
            CloseChildFd(&report[0]);
            CloseChildFd(&report[1]);
            return false;
        }
        fcntl(m_master, F_SETFL, fcntl(m_master, F_GETFL) | O_NONBLOCK);
    } else if (stdio == NamespaceStdio::Inherit) {
        // The program stays in this process group: the terminal's foreground.
    } else if (pipe2(in, O_CLOEXEC) != 0 || pipe2(out, O_CLOEXEC) != 0 || pipe2(err, O_CLOEXEC) != 0) {
        *error = "pipe failed";
        return false;
    } else {
        launch.ownGroup = true;
        launch.in = in[0];
        launch.out = out[1];
        launch.err = err[1];
    }

    m_pid = StartChild(launch);
    const int forkErrno = errno;
    CloseChildFd(&report[1]);
    CloseChildFd(&launch.terminal);
    CloseChildFd(&in[0]);
    CloseChildFd(&out[1]);
    CloseChildFd(&err[1]);
    m_in = in[1];
    m_out = out[0];
    m_err = err[0];
    if (m_pid < 0) {
        CloseChildFd(&report[0]);
        *error = std::string("fork: ") + std::strerror(forkErrno);
        return false;
    }
    m_deadline = MonotonicMs() + lifetimeMs;

    // The report pipe closes on exec; anything in it is a set-up failure.
    std::string failure;
    const long long setupDeadline = MonotonicMs() + kSetupTimeoutMs;
    for (;;) {
        const long long left = setupDeadline - MonotonicMs();
        pollfd p{report[0], POLLIN, 0};
        if (left <= 0) {
            failure = "namespace set-up did not finish";
            break;
        }
        if (poll(&p, 1, static_cast<int>(left)) <= 0)
            continue;
        char buf[256];
        const ssize_t r = read(report[0], buf, sizeof buf);
        if (r <= 0)
            break;
        failure.append(buf, static_cast<std::size_t>(r));
    }
    CloseChildFd(&report[0]);
    if (!failure.empty()) {
        *error = "namespace set-up failed: " + failure;
        Kill();
        return false;
    }
    return true;
}

void NamespaceProcess::Reap(bool block)
{
    if (m_pid <= 0 || m_reaped)
        return;
    int status = 0;
    if (!block) {
        // Look without reaping: while the leader is a zombie its process
        // group id cannot be taken by anyone else, so sweeping it is safe.
        siginfo_t info{};
        if (waitid(P_PID, static_cast<id_t>(m_pid), &info, WEXITED | WNOHANG | WNOWAIT) != 0 || info.si_pid == 0)
            return;
    }
    if (m_stdio != NamespaceStdio::Inherit)
        kill(-m_pid, SIGKILL);  // whatever the program left behind in its group
    if (waitpid(m_pid, &status, 0) != m_pid)
        return;
    m_reaped = true;
    if (WIFEXITED(status))
        m_result.exitStatus = WEXITSTATUS(status);
    else if (WIFSIGNALED(status))
        m_result.signal = WTERMSIG(status);
}

void NamespaceProcess::Kill()
{
    if (m_pid <= 0 || m_reaped)
        return;
    if (m_stdio != NamespaceStdio::Inherit)
        kill(-m_pid, SIGKILL);
    kill(m_pid, SIGKILL);
    Reap(true);
}

NamespaceResult NamespaceProcess::Wait(const std::string &input)
{
    if (!PumpPipes(&m_in, input, &m_out, &m_err, m_deadline, &m_result.out, &m_result.err))
        m_result.timedOut = true;
    while (!m_result.timedOut && !m_reaped && MonotonicMs() < m_deadline) {
        Reap(false);
        if (!m_reaped)
            usleep(5000);
    }
    if (!m_reaped) {
        m_result.timedOut = m_result.timedOut || MonotonicMs() >= m_deadline;
        Kill();
    }
    return m_result;
}

void NamespaceProcess::Pump(int timeoutMs)
{
    if (m_master < 0)
        return;
    pollfd p{m_master, POLLIN, 0};
    if (poll(&p, 1, timeoutMs) <= 0)
        return;
    char buf[4096];
    for (;;) {
        const ssize_t r = read(m_master, buf, sizeof buf);
        if (r > 0) {
            m_screen.append(buf, static_cast<std::size_t>(r));
            continue;
        }
        if (r < 0 && errno == EINTR)
            continue;
        if (r == 0 || errno != EAGAIN)
            CloseChildFd(&m_master);  // the terminal's last user is gone
        return;
    }
}

bool NamespaceProcess::SendKeys(const std::string &keys)
{
    if (m_master < 0)
        return false;
    std::size_t done = 0;
    while (done < keys.size() && MonotonicMs() < m_deadline) {
        const ssize_t w = write(m_master, keys.data() + done, keys.size() - done);
        if (w > 0)
            done += static_cast<std::size_t>(w);
        else if (w < 0 && errno != EAGAIN && errno != EINTR)
            return false;
        else
            Pump(10);
    }
    return done == keys.size();
}

bool NamespaceProcess::WaitForScreen(const std::string &text, int timeoutMs, std::size_t from)
{
    const long long deadline = std::min(MonotonicMs() + timeoutMs, m_deadline);
    for (;;) {
        if (m_screen.size() > from && m_screen.find(text, from) != std::string::npos)
            return true;
        const long long left = deadline - MonotonicMs();
        if (left <= 0 || m_master < 0)
            return false;
        Pump(static_cast<int>(left > 50 ? 50 : left));
    }
}

bool NamespaceProcess::Signal(int signalNumber)
{
    return m_pid > 0 && !m_reaped && kill(m_pid, signalNumber) == 0;
}

bool NamespaceProcess::TerminalSettings(termios *settings) const
{
    // A pty master reports its slave's settings.
    return m_master >= 0 && tcgetattr(m_master, settings) == 0;
}

bool NamespaceProcess::WaitEnded(int timeoutMs)
{
    const long long deadline = std::min(MonotonicMs() + timeoutMs, m_deadline);
    while (!m_reaped && MonotonicMs() < deadline) {
        Reap(false);
        if (!m_reaped)
            usleep(20000);
    }
    return m_reaped;
}

NamespaceResult NamespaceProcess::WaitExit(int timeoutMs)
{
    const long long deadline = std::min(MonotonicMs() + timeoutMs, m_deadline);
    while (!m_reaped && MonotonicMs() < deadline) {
        if (m_master >= 0)
            Pump(20);
        else
            usleep(20000);
        Reap(false);
    }
    if (!m_reaped) {
        m_result.timedOut = true;
        Kill();
    }
    Pump(0);
    m_result.out = m_screen;
    return m_result;
}
