#include "WineHarness.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#ifndef FAKE_MODEM_BINARY
#error "FAKE_MODEM_BINARY: the standalone fakes"
#endif

namespace {
constexpr int kMaxComNumber = 255;
// Where a dangling port's link leads.
constexpr char kNowhere[] = "/dev/wine-com-gone/";
constexpr int kFakeLifetimeSeconds = 1800;
constexpr int kTerminalPollMs = 50;

void RemovePortLinks()
{
    const std::string dir = WineSession::kPortLinkDir;
    if (DIR *d = opendir(dir.c_str())) {
        std::vector<std::string> names;
        while (dirent *e = readdir(d))
            if (e->d_name[0] != '.')
                names.push_back(dir + "/" + e->d_name);
        closedir(d);
        for (const std::string &n : names)
            unlink(n.c_str());
    }
}
}  // namespace

WineHarness::WineHarness(WineFakeHost host) : m_host(host) {}

WineHarness::~WineHarness()
{
    m_terminals.clear();  // each kills its program's group and reaps it
    StopFakes();
    if (m_started)
        RemovePortLinks();
}

std::string WineHarness::ComName(int com)
{
    return "COM" + std::to_string(com);
}

WineHarness &WineHarness::Add(int com, Port port)
{
    if (m_started)
        m_addError = "ports are added before Start";
    else if (com < 1 || com > kMaxComNumber)
        m_addError = "no such COM number: " + std::to_string(com);
    else if (!m_ports.emplace(com, std::move(port)).second)
        m_addError = ComName(com) + " added twice";
    return *this;
}

WineHarness &WineHarness::AddFake(int com, const FakeConfig &config)
{
    return Add(com, {PortKind::Fake, config, "", -1});
}

WineHarness &WineHarness::AddMissingPort(int com)
{
    return Add(com, {PortKind::Missing, {}, "", -1});
}

WineHarness &WineHarness::AddDanglingPort(int com)
{
    return Add(com, {PortKind::Dangling, {}, "", -1});
}

WineHarness &WineHarness::AddDevicePort(int com, const std::string &unixPath)
{
    return Add(com, {PortKind::Device, {}, unixPath, -1});
}

WineHarness &WineHarness::FreshServer()
{
    m_fresh = true;
    return *this;
}

std::string WineHarness::LinkPath(int com) const
{
    return std::string(WineSession::kPortLinkDir) + "/" + ComName(com);
}

bool WineHarness::StartFakes(std::string *error)
{
    std::vector<FakeConfig> configs;
    for (auto &entry : m_ports)
        if (entry.second.kind == PortKind::Fake) {
            entry.second.fake = static_cast<int>(configs.size());
            configs.push_back(entry.second.config);
        }
    if (m_host == WineFakeHost::Standalone) {
        m_process = std::make_unique<FakeModemProcess>(FAKE_MODEM_BINARY);
        return m_process->Start(configs, kFakeLifetimeSeconds, error);
    }
    m_pool = std::make_unique<FakePool>();
    for (const FakeConfig &c : configs)
        if (m_pool->Add(c, error) < 0)
            return false;
    return m_pool->Start(error);
}

bool WineHarness::Start(std::string *error)
{
    if (!m_addError.empty()) {
        *error = m_addError;
        return false;
    }
    if (m_started) {
        *error = "started already";
        return false;
    }
    // The namespace first: the in-process fakes bring a thread.
    if (!WineSession::Instance().Open(error))
        return false;
    m_started = true;
    if (!StartFakes(error))
        return false;
    RemovePortLinks();
    std::vector<WinePortMapping> mapping;
    for (const auto &entry : m_ports) {
        const int com = entry.first;
        const Port &p = entry.second;
        std::string target;
        if (p.kind == PortKind::Fake)
            target = SlavePath(com);
        else if (p.kind == PortKind::Dangling)
            target = kNowhere + ComName(com);
        else if (p.kind == PortKind::Device)
            target = p.device;
        if (!target.empty() && symlink(target.c_str(), LinkPath(com).c_str()) != 0) {
            *error = "cannot link " + LinkPath(com) + " to " + target;
            return false;
        }
        mapping.emplace_back(ComName(com), LinkPath(com));
    }
    m_ready = WineSession::Instance().MapPorts(mapping, m_fresh, error);
    return m_ready;
}

bool WineHarness::ListUnmappedComNames(const std::vector<std::string> &comNames, std::string *error)
{
    if (!m_ready) {
        *error = "the harness has not started";
        return false;
    }
    return WineSession::Instance().ListUnmappedComNames(comNames, error);
}

NamespaceResult WineHarness::Run(const std::string &program, const std::vector<std::string> &args,
                                 const WineRunOptions &options)
{
    NamespaceResult result;
    if (!m_ready || access(program.c_str(), R_OK) != 0) {
        result.err = m_ready ? "no such program: " + program : "the harness has not started";
        return result;
    }
    WineSession &session = WineSession::Instance();
    NamespaceProcess p;
    if (!p.StartHere(session.ProgramArgv(program, args), session.ProgramOptions(options.environment, options.workDir),
                     NamespaceStdio::Pipes, options.timeoutMs, &result.err))
        return result;
    return p.Wait(options.input);
}

NamespaceProcess *WineHarness::StartOnTerminal(const std::string &program, const std::vector<std::string> &args,
                                               const WineRunOptions &options, std::string *error)
{
    if (!m_ready || access(program.c_str(), R_OK) != 0) {
        *error = m_ready ? "no such program: " + program : "the harness has not started";
        return nullptr;
    }
    WineSession &session = WineSession::Instance();
    auto p = std::make_unique<NamespaceProcess>();
    if (!p->StartHere(session.ProgramArgv(program, args), session.ProgramOptions(options.environment, options.workDir),
                      NamespaceStdio::Pty, options.timeoutMs, error))
        return nullptr;
    m_terminals.push_back(std::move(p));
    return m_terminals.back().get();
}

FakeRecord WineHarness::Record(int com) const
{
    const auto it = m_ports.find(com);
    if (it == m_ports.end() || it->second.fake < 0)
        return {};
    const std::size_t i = static_cast<std::size_t>(it->second.fake);
    if (i < m_finalRecords.size())
        return m_finalRecords[i];
    if (m_pool)
        return m_pool->Record(i);
    return m_process ? m_process->Record(i) : FakeRecord{};
}

std::vector<PhonebookEntry> WineHarness::Phonebook(int com) const
{
    const auto it = m_ports.find(com);
    if (it == m_ports.end() || it->second.fake < 0)
        return {};
    const std::size_t i = static_cast<std::size_t>(it->second.fake);
    if (i < m_finalPhonebooks.size())
        return m_finalPhonebooks[i];
    if (m_pool)
        return m_pool->Phonebook(i);
    return m_process ? m_process->Phonebook(i) : std::vector<PhonebookEntry>{};
}

std::string WineHarness::SlavePath(int com) const
{
    const auto it = m_ports.find(com);
    if (it == m_ports.end() || it->second.fake < 0)
        return "";
    const std::size_t i = static_cast<std::size_t>(it->second.fake);
    if (i < m_finalSlaves.size())
        return m_finalSlaves[i];
    if (m_pool && i < m_pool->Size())
        return m_pool->SlavePath(i);
    return m_process && i < m_process->Size() ? m_process->SlavePath(i) : "";
}

void WineHarness::StopFakes()
{
    if (m_pool) {
        // The pool's ptys close with it; what the fakes hold stays readable.
        m_pool->Stop();
        for (std::size_t i = 0; i < m_pool->Size(); ++i) {
            m_finalRecords.push_back(m_pool->Record(i));
            m_finalPhonebooks.push_back(m_pool->Phonebook(i));
            m_finalSlaves.push_back(m_pool->SlavePath(i));
        }
        m_pool.reset();
    }
    if (m_process)
        m_process->Stop();
}

std::vector<std::string> WineHarness::PortNames() const
{
    std::vector<std::string> names;
    for (const auto &entry : m_ports)
        names.push_back(ComName(entry.first));
    return names;
}

bool WaitForTerminalText(NamespaceProcess *p, const std::string &text, int timeoutMs)
{
    // Reads the terminal in short waits for a text it never shows.
    static const char kNever[] = "\x01\x02";
    const long long deadline = FakeNowMs() + timeoutMs;
    for (;;) {
        if (StripAnsi(p->Screen()).find(text) != std::string::npos)
            return true;
        if (FakeNowMs() >= deadline)
            return false;
        p->WaitForScreen(kNever, kTerminalPollMs);
    }
}

FakeConfig ModemFake(FakeModel model, FakeBaud baud)
{
    FakeConfig c;
    c.model = model;
    c.baud = baud;
    return c;
}

std::string WindowsProgram(const std::string &relativePath)
{
    const char *build = std::getenv("ZARVEX_WINDOWS_BUILD");
    return std::string(build && *build ? build : "ZARVEX_WINDOWS_BUILD-not-set") + "/" + relativePath;
}

std::string ZarvexExe()
{
    return WindowsProgram("Source/Zarvex.exe");
}
