#include "ZarvexHarness.h"

#include <set>

ZarvexHarness::ZarvexHarness(HarnessPaths paths) : m_paths(paths), m_fakes(paths.fakeModem) {}

bool ZarvexHarness::Start(const std::vector<FakeConfig> &fakes, std::string *error)
{
    std::vector<HarnessFake> named;
    for (const FakeConfig &c : fakes)
        named.push_back({c, ""});
    return Start(named, error);
}

bool ZarvexHarness::Start(const std::vector<HarnessFake> &fakes, std::string *error)
{
    std::vector<FakeConfig> configs;
    std::vector<std::string> names;
    std::set<std::string> seen;
    for (std::size_t i = 0; i < fakes.size(); ++i) {
        const std::string name = fakes[i].device.empty() ? "ttyUSB" + std::to_string(i) : fakes[i].device;
        if (!IsSerialDeviceName(name) || !seen.insert(name).second) {
            *error = "bad or repeated device name: " + name;
            return false;
        }
        configs.push_back(fakes[i].config);
        names.push_back(name);
    }
    if (!m_fakes.Start(configs, kFakeLifetimeSeconds, error))
        return false;
    m_devices.clear();
    for (std::size_t i = 0; i < names.size(); ++i)
        m_devices.push_back({names[i], m_fakes.SlavePath(i)});
    return true;
}

std::vector<std::string> ZarvexHarness::ProgramArgv(const std::vector<std::string> &args) const
{
    std::vector<std::string> argv = {m_paths.zarvex};
    argv.insert(argv.end(), args.begin(), args.end());
    return argv;
}

NamespaceResult ZarvexHarness::RunCommand(const std::vector<std::string> &argv, const std::string &input,
                                          int timeoutMs)
{
    NamespaceProcess p;
    std::string error;
    if (!p.Start(m_devices, argv, NamespaceStdio::Pipes, timeoutMs, &error)) {
        NamespaceResult r;
        r.err = error;
        return r;
    }
    return p.Wait(input);
}

NamespaceResult ZarvexHarness::Run(const std::vector<std::string> &args, const std::string &input, int timeoutMs)
{
    return RunCommand(ProgramArgv(args), input, timeoutMs);
}

std::unique_ptr<NamespaceProcess> ZarvexHarness::StartInteractiveCommand(const std::vector<std::string> &argv,
                                                                         std::string *error, int lifetimeMs)
{
    auto p = std::make_unique<NamespaceProcess>();
    if (!p->Start(m_devices, argv, NamespaceStdio::Pty, lifetimeMs, error))
        return nullptr;
    return p;
}

std::unique_ptr<NamespaceProcess> ZarvexHarness::StartInteractive(const std::vector<std::string> &args,
                                                                  std::string *error, int lifetimeMs)
{
    return StartInteractiveCommand(ProgramArgv(args), error, lifetimeMs);
}
