#include "WineKeeper.h"

#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <strings.h>
#include <sys/file.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <iterator>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

#include "ChildProcess.h"
#include "WinePrefix.h"

namespace {
constexpr int kTemplateLockWaitMs = 600000;
constexpr int kBootTimeoutMs = 300000;
constexpr int kServerSocketTimeoutMs = 15000;
constexpr int kServerStopTimeoutMs = 15000;
constexpr int kServerPollMs = 5;
constexpr int kListingTimeoutMs = 15000;
constexpr int kListingAttempts = 2;
constexpr int kListingRetryMs = 200;
constexpr int kToolTimeoutMs = 60000;
constexpr int kIdlePollMs = 1000;
constexpr char kTemplateDir[] = "template";
constexpr char kTemplateStamp[] = ".zarvex-wine-template";
constexpr char kSerialPortMap[] = "HKLM\\Hardware\\DeviceMap\\SerialComm";
// Services Wine starts at each boot that no test needs (network, event log,
// plug and play): on demand, they leave a restart a second shorter.
const std::vector<std::string> kServicesOnDemand = {"Eventlog", "NDIS", "nsiproxy", "PlugPlay"};
// What the keeper ignores, and its children must not.
constexpr int kIgnoredSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGPIPE};

bool Exists(const std::string &path)
{
    struct stat st{};
    return lstat(path.c_str(), &st) == 0;
}

bool WriteAll(int fd, const std::string &text)
{
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t w = write(fd, text.data() + done, text.size() - done);
        if (w < 0 && errno == EINTR)
            continue;
        if (w <= 0)
            return false;
        done += static_cast<std::size_t>(w);
    }
    return true;
}

// One line for the channel: no line break inside.
std::string OneLine(std::string text)
{
    std::replace(text.begin(), text.end(), '\n', ' ');
    std::replace(text.begin(), text.end(), '\r', ' ');
    return text;
}

// "com" and digits: the links Wine's mount manager makes in dosdevices.
bool IsComLinkName(const char *name)
{
    if (strncasecmp(name, "com", 3) != 0 || !name[3])
        return false;
    for (const char *p = name + 3; *p; ++p)
        if (!std::isdigit(static_cast<unsigned char>(*p)))
            return false;
    return true;
}

bool IsPidAlive(const std::string &digits)
{
    if (digits.empty() || digits.size() > 9 || digits.find_first_not_of("0123456789") != std::string::npos)
        return true;  // not ours to judge: left alone
    return kill(static_cast<pid_t>(std::stol(digits)), 0) == 0 || errno == EPERM;
}

class Keeper {
public:
    Keeper(const WineKeeperConfig &config, int channel) : m_config(config), m_channel(channel) {}

    [[noreturn]] void Run()
    {
        m_log = open(m_config.log.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_APPEND | O_CLOEXEC, 0644);
        if (m_log < 0)  // Wine's messages must not reach the test's output
            m_log = open("/dev/null", O_WRONLY | O_CLOEXEC);
        std::string error;
        long long templateMs = 0;
        long long copyMs = 0;
        if (!MakePrefix(&templateMs, &copyMs, &error)) {
            Reply("error " + error);
            Finish();
        }
        Reply("ready " + std::to_string(templateMs) + " " + std::to_string(copyMs));
        Serve();
    }

private:
    std::string Template() const { return m_config.root + "/" + kTemplateDir; }

    void Reply(const std::string &line) { WriteAll(m_channel, OneLine(line) + "\n"); }

    [[noreturn]] void Finish()
    {
        StopServer();
        RemoveTree(m_config.prefix);
        ReapOrphans();
        _exit(0);
    }

    // Requests until the channel closes.
    [[noreturn]] void Serve()
    {
        std::string pending;
        for (;;) {
            std::size_t nl;
            while ((nl = pending.find('\n')) != std::string::npos) {
                const std::string line = pending.substr(0, nl);
                pending.erase(0, nl + 1);
                std::istringstream words(line);
                std::string verb;
                int fresh = 0;
                std::size_t count = 0;
                if (!(words >> verb >> fresh >> count) || verb != "ports") {
                    Reply("error unknown request: " + line);
                    continue;
                }
                std::vector<WinePortMapping> ports;
                while (ports.size() < count) {
                    if ((nl = pending.find('\n')) == std::string::npos) {
                        if (!ReadMore(&pending))
                            Finish();
                        continue;
                    }
                    const std::string portLine = pending.substr(0, nl);
                    pending.erase(0, nl + 1);
                    const std::size_t space = portLine.find(' ');
                    ports.emplace_back(portLine.substr(0, space),
                                       space == std::string::npos ? "" : portLine.substr(space + 1));
                }
                bool restarted = false;
                std::string error;
                const long long start = MonotonicMs();
                if (MapPorts(ports, fresh != 0, &restarted, &error))
                    Reply("ok " + std::to_string(restarted ? 1 : 0) + " " + std::to_string(MonotonicMs() - start));
                else
                    Reply("error " + error);
            }
            pollfd p{m_channel, POLLIN, 0};
            const int r = poll(&p, 1, kIdlePollMs);
            ReapOrphans();
            if (r > 0 && !ReadMore(&pending))
                Finish();
        }
    }

    bool ReadMore(std::string *pending)
    {
        char buf[4096];
        for (;;) {
            const ssize_t r = read(m_channel, buf, sizeof buf);
            if (r < 0 && errno == EINTR)
                continue;
            if (r <= 0)
                return false;
            pending->append(buf, static_cast<std::size_t>(r));
            return true;
        }
    }

    std::vector<std::string> Environment(const std::string &prefix) const
    {
        std::vector<std::string> env = m_config.environment;
        env.push_back("WINEPREFIX=" + prefix);
        return env;
    }

    // A Wine process (or the server) in a process group of its own, its
    // standard output to `out` (the log when -1), its errors to the log.
    pid_t Spawn(const std::vector<std::string> &argv, const std::string &prefix, int out)
    {
        ChildLaunch launch;
        launch.argv = argv;
        launch.environment = Environment(prefix);
        launch.ownGroup = true;
        launch.defaultSignals.assign(std::begin(kIgnoredSignals), std::end(kIgnoredSignals));
        int null = open("/dev/null", O_RDONLY | O_CLOEXEC);
        launch.in = null;
        launch.out = out >= 0 ? out : m_log;
        launch.err = m_log;
        const pid_t pid = StartChild(launch);
        CloseChildFd(&null);
        return pid;
    }

    // Runs a Wine tool to its end (killed at the time-out), its standard
    // output into *out. Ends when the tool does: a process it left behind
    // may keep the pipe open.
    bool RunToEnd(const std::vector<std::string> &argv, const std::string &prefix, int timeoutMs,
                  std::string *out, int *status, std::string *error)
    {
        int pipeFds[2];
        if (pipe2(pipeFds, O_CLOEXEC) != 0) {
            *error = "pipe failed";
            return false;
        }
        const pid_t pid = Spawn(argv, prefix, pipeFds[1]);
        close(pipeFds[1]);
        if (pid < 0) {
            close(pipeFds[0]);
            *error = "fork failed";
            return false;
        }
        fcntl(pipeFds[0], F_SETFL, O_NONBLOCK);
        const long long deadline = MonotonicMs() + timeoutMs;
        bool ended = false;
        bool open = true;
        while (!ended) {
            pollfd p{pipeFds[0], POLLIN, 0};
            if (open)
                poll(&p, 1, 50);
            else
                usleep(20000);
            open = Drain(pipeFds[0], out) && open;
            ended = waitpid(pid, status, WNOHANG) == pid;
            if (!ended && MonotonicMs() >= deadline) {
                kill(-pid, SIGKILL);
                kill(pid, SIGKILL);
                waitpid(pid, status, 0);
                close(pipeFds[0]);
                *error = OneLine(argv.back()) + ": no end within " + std::to_string(timeoutMs) + " ms";
                return false;
            }
        }
        Drain(pipeFds[0], out);
        close(pipeFds[0]);
        return true;
    }

    // What can be read now; false at the end of the pipe.
    static bool Drain(int fd, std::string *out)
    {
        char buf[4096];
        for (;;) {
            const ssize_t r = read(fd, buf, sizeof buf);
            if (r > 0) {
                if (out)
                    out->append(buf, static_cast<std::size_t>(r));
                continue;
            }
            return r < 0 && (errno == EAGAIN || errno == EINTR);
        }
    }

    bool StartServer(const std::string &prefix, std::string *error)
    {
        // In the foreground, a child of this process: it is no session
        // leader, so the ptys it opens never become its controlling
        // terminal, and a fake's master closing sends it no SIGHUP.
        m_server = Spawn({m_config.server, "-f", "-p"}, prefix, -1);
        if (m_server < 0) {
            *error = "fork failed";
            return false;
        }
        const std::string socket = "/proc/" + std::to_string(m_server) + "/cwd/socket";
        const long long deadline = MonotonicMs() + kServerSocketTimeoutMs;
        while (MonotonicMs() < deadline) {
            int status = 0;
            if (waitpid(m_server, &status, WNOHANG) == m_server) {
                m_server = -1;
                *error = "the Wine server ended as it started (see " + m_config.log + ")";
                return false;
            }
            if (Exists(socket))
                return true;
            usleep(5000);
        }
        *error = "the Wine server opened no socket";
        StopServer();
        return false;
    }

    // A line of the keeper's own in the log, for a failure's reader.
    void Log(const std::string &text) const
    {
        if (m_log >= 0)
            WriteAll(m_log, "zarvex wine keeper: " + text + "\n");
    }

    // The server ends its clients and itself on SIGINT; whatever of Wine
    // is left among this process's children then goes too.
    void StopServer()
    {
        if (m_server <= 0)
            return;
        const long long start = MonotonicMs();
        kill(m_server, SIGINT);
        int status = 0;
        EndChild(m_server, kServerStopTimeoutMs, &status, kServerPollMs);
        m_server = -1;
        m_mapped.clear();
        KillLeftovers();
        Log("server stopped in " + std::to_string(MonotonicMs() - start) + " ms");
    }

    void KillLeftovers()
    {
        const std::string self = std::to_string(getpid());
        std::ifstream children("/proc/" + self + "/task/" + self + "/children");
        pid_t child;
        std::vector<pid_t> left;
        while (children >> child)
            left.push_back(child);
        for (pid_t pid : left)
            kill(pid, SIGKILL);
        for (pid_t pid : left) {
            int status = 0;
            waitpid(pid, &status, 0);
        }
        ReapOrphans();
    }

    // Wine's own processes (services, devices, the desktop) outlive the
    // tool that started them and are handed to this process.
    void ReapOrphans()
    {
        int status = 0;
        pid_t pid;
        while ((pid = waitpid(-1, &status, WNOHANG)) > 0)
            if (pid == m_server)
                m_server = -1;
    }

    // Prefixes and logs of test processes that are gone.
    void SweepLeftovers()
    {
        DIR *d = opendir(m_config.root.c_str());
        if (!d)
            return;
        std::vector<std::string> gone;
        while (dirent *e = readdir(d)) {
            const std::string name = e->d_name;
            for (const char *kind : {"prefix-", "template.new-", "wineserver-"}) {
                const std::string k = kind;
                if (name.compare(0, k.size(), k) != 0)
                    continue;
                std::string pid = name.substr(k.size());
                pid = pid.substr(0, pid.find('.'));
                if (!IsPidAlive(pid))
                    gone.push_back(m_config.root + "/" + name);
            }
        }
        closedir(d);
        for (const std::string &path : gone)
            RemoveTree(path);
    }

    // The template made when there is none for this Wine, then this
    // process's copy of it; under a lock, since the test binaries of a build
    // share the template.
    bool MakePrefix(long long *templateMs, long long *copyMs, std::string *error)
    {
        const std::string lockPath = m_config.root + "/template.lock";
        const int lock = open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        if (lock < 0) {
            *error = lockPath + ": " + std::strerror(errno);
            return false;
        }
        const long long deadline = MonotonicMs() + kTemplateLockWaitMs;
        while (flock(lock, LOCK_EX | LOCK_NB) != 0) {
            if (MonotonicMs() >= deadline) {
                close(lock);
                *error = "another test process holds " + lockPath;
                return false;
            }
            usleep(100000);
        }
        SweepLeftovers();
        std::string version, stamp;
        int status = 0;
        bool ok = RunToEnd({m_config.loader, "--version"}, "/nonexistent", kToolTimeoutMs, &version, &status, error);
        if (ok && !(ReadWholeFile(Template() + "/" + kTemplateStamp, &stamp) && stamp == version)) {
            const long long start = MonotonicMs();
            ok = MakeTemplate(version, error);
            *templateMs = MonotonicMs() - start;
        }
        const long long copyStart = MonotonicMs();
        if (ok && (!CopyPrefixTree(Template(), m_config.prefix, error) ||
                   unlink((m_config.prefix + "/" + kTemplateStamp).c_str()) != 0)) {
            *error = "prefix " + m_config.prefix + ": " + *error;
            ok = false;
        }
        *copyMs = MonotonicMs() - copyStart;
        flock(lock, LOCK_UN);
        close(lock);
        return ok;
    }

    // A prefix made by Wine's own first boot, inside this private /dev.
    bool MakeTemplate(const std::string &version, std::string *error)
    {
        RemoveTree(Template());
        const std::string build = m_config.root + "/template.new-" + std::to_string(getpid());
        RemoveTree(build);
        if (mkdir(build.c_str(), 0755) != 0) {
            *error = build + ": " + std::strerror(errno);
            return false;
        }
        if (!StartServer(build, error))
            return false;
        int status = 0;
        const bool booted = RunToEnd({m_config.loader, "wineboot", "-i"}, build, kBootTimeoutMs, nullptr, &status,
                                     error);
        StopServer();
        if (!booted || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            if (booted)
                *error = "wineboot -i failed (see " + m_config.log + ")";
            RemoveTree(build);
            return false;
        }
        std::string reg;
        if (!ReadWholeFile(build + "/system.reg", &reg) || !ReplaceFile(build + "/" + kTemplateStamp, version) ||
            rename(build.c_str(), Template().c_str()) != 0) {
            *error = "the new prefix is incomplete: " + build;
            RemoveTree(build);
            return false;
        }
        return true;
    }

    // The prefix's registry with these ports and no link of an earlier
    // mapping: the mount manager adds links, it does not take them away.
    bool WriteMapping(const std::vector<WinePortMapping> &ports, std::string *error)
    {
        const std::string &prefix = m_config.prefix;
        const std::string dosdevices = prefix + "/dosdevices";
        if (DIR *d = opendir(dosdevices.c_str())) {
            std::vector<std::string> stale;
            while (dirent *e = readdir(d))
                if (IsComLinkName(e->d_name))
                    stale.push_back(dosdevices + "/" + e->d_name);
            closedir(d);
            for (const std::string &s : stale)
                unlink(s.c_str());
        }
        std::string systemReg, userReg;
        if (!ReadWholeFile(Template() + "/system.reg", &systemReg) ||
            !ReadWholeFile(Template() + "/user.reg", &userReg) ||
            !ReplaceFile(prefix + "/system.reg", WithServicesOnDemand(WithWinePorts(systemReg, ports), kServicesOnDemand)) ||
            !ReplaceFile(prefix + "/user.reg", userReg)) {
            *error = "cannot write the registry of " + prefix;
            return false;
        }
        return true;
    }

    // The server started on the prefix, and its mount manager's listing of
    // the ports awaited: the first program after the start boots Wine's
    // services, the mount manager among them.
    bool StartAndAwaitListing(const std::vector<std::string> &names, std::string *error)
    {
        const long long start = MonotonicMs();
        if (!StartServer(m_config.prefix, error))
            return false;
        Log("server up in " + std::to_string(MonotonicMs() - start) + " ms");
        const long long deadline = MonotonicMs() + kListingTimeoutMs;
        for (;;) {
            std::string out;
            int status = 0;
            if (!RunToEnd({m_config.loader, "reg", "query", kSerialPortMap}, m_config.prefix, kToolTimeoutMs, &out,
                          &status, error))
                return false;
            std::vector<std::string> listed = ComNamesInRegQuery(out);
            std::sort(listed.begin(), listed.end());
            if (listed == names)
                break;
            if (MonotonicMs() >= deadline) {
                std::string text;
                for (const std::string &n : listed)
                    text += " " + n;
                *error = "Wine lists the ports" + (text.empty() ? " (none)" : text) + ", not the ones mapped";
                return false;
            }
            usleep(kListingRetryMs * 1000);
        }
        Log("ports listed " + std::to_string(MonotonicMs() - start) + " ms after the server's start");
        return true;
    }

    bool MapPorts(const std::vector<WinePortMapping> &ports, bool fresh, bool *restarted, std::string *error)
    {
        std::vector<std::string> names;
        for (const WinePortMapping &p : ports)
            names.push_back(p.first);
        std::sort(names.begin(), names.end());
        ReapOrphans();
        *restarted = false;
        if (!fresh && m_server > 0 && names == m_mapped)
            return true;
        *restarted = true;
        // Now and then, on a loaded machine, the services of a fresh server
        // never list the ports: the server is then started once more, on
        // the registry written anew.
        for (int attempt = 1;; ++attempt) {
            StopServer();
            if (!WriteMapping(ports, error))
                return false;
            if (StartAndAwaitListing(names, error))
                break;
            if (attempt == kListingAttempts)
                return false;
            Log(*error + "; the server starts again");
        }
        m_mapped = names;
        return true;
    }

    WineKeeperConfig m_config;
    int m_channel;
    int m_log = -1;
    pid_t m_server = -1;
    std::vector<std::string> m_mapped;  // sorted; empty while no server runs
};
}  // namespace

std::vector<std::string> ComNamesInRegQuery(const std::string &output)
{
    std::vector<std::string> names;
    std::istringstream lines(output);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream words(line);
        std::vector<std::string> w;
        std::string word;
        while (words >> word)
            w.push_back(word);
        if (w.size() >= 3 && w[w.size() - 2] == "REG_SZ")
            names.push_back(w.back());
    }
    return names;
}

void RunWineKeeper(const WineKeeperConfig &config, int channel)
{
    // Out of the test's process group, so that a signal meant for the
    // tests leaves the clean-up to run; Wine's daemons become its children.
    setpgid(0, 0);
    prctl(PR_SET_CHILD_SUBREAPER, 1);
    for (int sig : kIgnoredSignals)
        signal(sig, SIG_IGN);
    Keeper keeper(config, channel);
    keeper.Run();
}
