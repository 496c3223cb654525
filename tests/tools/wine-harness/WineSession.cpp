#include "WineSession.h"

#include <dirent.h>
#include <locale.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include "ChildProcess.h"
#include "WineKeeper.h"

#ifndef ZARVEX_WINE_ROOT
#error "ZARVEX_WINE_ROOT: the folder in the build tree for Wine prefixes"
#endif

const char WineSession::kPortLinkDir[] = "/dev/wine-com";

namespace {
constexpr char kPortLinkDirName[] = "wine-com";
// Making the build's template takes Wine's whole first boot, and another
// test binary may be making it already.
constexpr int kReadyTimeoutMs = 900000;
constexpr int kMapTimeoutMs = 180000;
constexpr int kKeeperEndTimeoutMs = 30000;
constexpr int kKeeperPollMs = 20;
constexpr char kWineLocale[] = "zh_CN.UTF-8";

bool IsExecutable(const std::string &path)
{
    struct stat st{};
    return !path.empty() && stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(path.c_str(), X_OK) == 0;
}

// The first of `candidates` that exists, else `name` on the PATH.
std::string FindProgram(const std::vector<std::string> &candidates, const std::string &name)
{
    for (const std::string &c : candidates)
        if (IsExecutable(c))
            return c;
    const char *path = std::getenv("PATH");
    std::istringstream dirs(path ? path : "");
    std::string dir;
    while (std::getline(dirs, dir, ':'))
        if (IsExecutable(dir + "/" + name))
            return dir + "/" + name;
    return "";
}

bool MakeDirectories(const std::string &path)
{
    for (std::size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
        const std::string part = path.substr(0, slash);
        if (mkdir(part.c_str(), 0755) != 0 && errno != EEXIST)
            return false;
        if (slash == std::string::npos)
            return true;
    }
}

// The names under /dev that Wine would take for serial ports.
std::vector<std::string> SerialDevicesInDev()
{
    std::vector<std::string> found;
    if (DIR *d = opendir("/dev")) {
        while (dirent *e = readdir(d)) {
            const std::string name = e->d_name;
            for (const char *prefix : {"ttyS", "ttyUSB", "ttyACM"})
                if (name.compare(0, std::strlen(prefix), prefix) == 0)
                    found.push_back(name);
        }
        closedir(d);
    }
    return found;
}

bool SingleThreaded()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.compare(0, 8, "Threads:") == 0)
            return std::atoi(line.c_str() + 8) == 1;
    return false;
}
}  // namespace

WineSession &WineSession::Instance()
{
    static WineSession session;
    return session;
}

WineSession::~WineSession()
{
    if (m_channel >= 0)
        close(m_channel);  // the keeper stops the server and removes the prefix
    if (m_keeper > 0) {
        int status = 0;
        WaitForChild(m_keeper, kKeeperEndTimeoutMs, &status, kKeeperPollMs);
    }
}

bool WineSession::Open(std::string *error)
{
    if (!m_tried) {
        m_tried = true;
        const long long start = MonotonicMs();
        if (!OpenOnce(&m_openError) && m_openError.empty())
            m_openError = "Wine could not be set up";
        m_timings.openMs = MonotonicMs() - start;
    }
    if (!m_openError.empty())
        *error = m_openError;
    return m_openError.empty();
}

bool WineSession::OpenOnce(std::string *error)
{
    if (geteuid() != 0) {
        *error = "the Wine harness needs root (a private mount namespace)";
        return false;
    }
    m_loader = FindProgram({"/usr/lib/wine/wine64"}, "wine64");
    m_server = FindProgram({"/usr/lib/wine/wineserver64", "/usr/lib/wine/wineserver"}, "wineserver");
    if (m_loader.empty() || m_server.empty()) {
        *error = "Wine is not installed (scripts/install-deps --windows)";
        return false;
    }
    if (locale_t chinese = newlocale(LC_ALL_MASK, kWineLocale, nullptr)) {
        freelocale(chinese);
    } else {
        *error = std::string("the locale ") + kWineLocale + " is not generated (scripts/install-deps --windows)";
        return false;
    }
    const char *root = std::getenv("ZARVEX_WINE_ROOT");
    m_root = root && *root ? root : ZARVEX_WINE_ROOT;
    if (!MakeDirectories(m_root)) {
        *error = m_root + ": " + std::strerror(errno);
        return false;
    }
    if (!SingleThreaded()) {
        *error = "the Wine harness must be opened before the test process starts a thread "
                 "(start a WineHarness before any in-process fake)";
        return false;
    }

    PrivateDevLayout layout;
    layout.extraNodes = {"full", "random"};
    layout.tmpfsDirs = {"shm"};
    layout.directories = {kPortLinkDirName};
    layout.links = {{"fd", "/proc/self/fd"},
                    {"stdin", "/proc/self/fd/0"},
                    {"stdout", "/proc/self/fd/1"},
                    {"stderr", "/proc/self/fd/2"}};
    if (!EnterPrivateDev(layout, error)) {
        *error = "private /dev: " + *error;
        return false;
    }
    const std::vector<std::string> serial = SerialDevicesInDev();
    if (!serial.empty()) {
        *error = "a serial device in the private /dev: " + serial.front();
        return false;
    }

    const std::string pid = std::to_string(getpid());
    m_prefix = m_root + "/prefix-" + pid;
    m_log = m_root + "/wineserver-" + pid + ".log";
    // No display, no Mono or Gecko installers, no desktop menus, the
    // Chinese locale (ANSI code page 936), and this build's loader and
    // server for every start.
    m_wineEnvironment = {"WINEDEBUG=-all",     "WINEDLLOVERRIDES=mscoree=;mshtml=;winemenubuilder.exe=d", std::string("LANG=") + kWineLocale,
                         "LC_ALL",             "LC_CTYPE",
                         "LC_MESSAGES",        "LANGUAGE",
                         "DISPLAY",            "WAYLAND_DISPLAY",
                         "WINELOADER=" + m_loader, "WINESERVER=" + m_server,
                         "WINEPREFIX"};
    WineKeeperConfig config;
    config.root = m_root;
    config.prefix = m_prefix;
    config.log = m_log;
    config.loader = m_loader;
    config.server = m_server;
    config.environment = EnvironmentWith(m_wineEnvironment);

    int channel[2];
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, channel) != 0) {
        *error = std::string("socketpair: ") + std::strerror(errno);
        return false;
    }
    m_keeper = fork();
    if (m_keeper == 0) {
        close(channel[0]);
        RunWineKeeper(config, channel[1]);
    }
    close(channel[1]);
    m_channel = channel[0];
    if (m_keeper < 0) {
        *error = std::string("fork: ") + std::strerror(errno);
        return false;
    }
    std::string reply;
    if (!Request("", kReadyTimeoutMs, &reply, error))
        return false;
    std::istringstream words(reply);
    std::string word;
    if (!(words >> word >> m_timings.templateMs >> m_timings.prefixCopyMs) || word != "ready") {
        *error = "Wine prefix: " + reply;
        return false;
    }
    return true;
}

bool WineSession::Request(const std::string &request, int timeoutMs, std::string *reply, std::string *error)
{
    if (!request.empty()) {
        std::size_t done = 0;
        while (done < request.size()) {
            const ssize_t w = send(m_channel, request.data() + done, request.size() - done, MSG_NOSIGNAL);
            if (w <= 0 && errno != EINTR) {
                *error = "the Wine keeper is gone";
                return false;
            }
            if (w > 0)
                done += static_cast<std::size_t>(w);
        }
    }
    const long long deadline = MonotonicMs() + timeoutMs;
    std::size_t nl;
    while ((nl = m_pending.find('\n')) == std::string::npos) {
        const long long left = deadline - MonotonicMs();
        if (left <= 0) {
            *error = "the Wine keeper did not answer within " + std::to_string(timeoutMs) + " ms";
            return false;
        }
        pollfd p{m_channel, POLLIN, 0};
        if (poll(&p, 1, static_cast<int>(left)) <= 0)
            continue;
        char buf[4096];
        const ssize_t r = read(m_channel, buf, sizeof buf);
        if (r == 0 || (r < 0 && errno != EINTR)) {
            *error = "the Wine keeper ended (see " + m_log + ")";
            return false;
        }
        if (r > 0)
            m_pending.append(buf, static_cast<std::size_t>(r));
    }
    *reply = m_pending.substr(0, nl);
    m_pending.erase(0, nl + 1);
    if (reply->compare(0, 6, "error ") == 0) {
        *error = reply->substr(6);
        return false;
    }
    return true;
}

bool WineSession::MapPorts(const std::vector<WinePortMapping> &ports, bool fresh, std::string *error)
{
    if (!Open(error))
        return false;
    // The keeper knows the names it mapped, not those listed besides them.
    fresh = fresh || m_unmappedListed;
    std::string request = "ports " + std::string(fresh ? "1" : "0") + " " + std::to_string(ports.size()) + "\n";
    for (const WinePortMapping &p : ports) {
        if (p.first.find_first_of(" \n") != std::string::npos || p.second.find('\n') != std::string::npos) {
            *error = "not a port mapping: " + p.first + " " + p.second;
            return false;
        }
        request += p.first + " " + p.second + "\n";
    }
    std::string reply;
    if (!Request(request, kMapTimeoutMs, &reply, error))
        return false;
    std::istringstream words(reply);
    std::string ok;
    int restarted = 0;
    words >> ok >> restarted >> m_timings.lastMapMs;
    m_unmappedListed = false;
    m_timings.lastMapRestarted = restarted != 0;
    m_timings.serverStarts += restarted;
    return true;
}

bool WineSession::ListUnmappedComNames(const std::vector<std::string> &comNames, std::string *error)
{
    if (!Open(error))
        return false;
    // Wine keeps a key's values in the order of their names: these come
    // after its own \Device\Serial<n>.
    std::string reg = "Windows Registry Editor Version 5.00\r\n\r\n"
                      "[HKEY_LOCAL_MACHINE\\Hardware\\DeviceMap\\SerialComm]\r\n";
    for (std::size_t i = 0; i < comNames.size(); ++i) {
        // Zero-padded, so that they are listed in the order given.
        std::string number = std::to_string(i);
        number.insert(0, number.size() < 6 ? 6 - number.size() : 0, '0');
        reg += "\"\\\\Device\\\\ZarvexUnmapped" + number + "\"=\"" + comNames[i] + "\"\r\n";
    }
    const std::string file = "zarvex-unmapped-ports.reg";
    const std::string path = m_prefix + "/drive_c/" + file;
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << reg;
        if (!out.flush()) {
            *error = "cannot write " + path;
            return false;
        }
    }
    m_unmappedListed = true;
    NamespaceProcess p;
    if (!p.StartHere(ProgramArgv("reg", {"import", "C:\\" + file}), ProgramOptions({}, ""), NamespaceStdio::Pipes,
                     kMapTimeoutMs, error))
        return false;
    const NamespaceResult r = p.Wait();
    std::remove(path.c_str());
    if (r.exitStatus != 0) {
        *error = "reg import: " + r.out + r.err;
        return false;
    }
    return true;
}

std::vector<std::string> WineSession::ProgramArgv(const std::string &program,
                                                  const std::vector<std::string> &args) const
{
    std::vector<std::string> argv = {m_loader, program};
    argv.insert(argv.end(), args.begin(), args.end());
    return argv;
}

HereOptions WineSession::ProgramOptions(const std::vector<std::string> &environment, const std::string &workDir) const
{
    HereOptions options;
    options.environment = m_wineEnvironment;
    options.environment.push_back("WINEPREFIX=" + m_prefix);
    options.environment.insert(options.environment.end(), environment.begin(), environment.end());
    options.workDir = workDir;
    return options;
}
