// The real Zarvex against fake modems: starts the fakes (one fake_modem
// process), then runs the program, unchanged, in a private mount namespace
// in which /dev/ttyUSB<n> (and, if asked, /dev/ttyS0 and /dev/ttyS1) are the
// fakes' slaves, so that its own listing of /dev/ttyUSB* sees exactly them.
#ifndef ZARVEX_HARNESS_H
#define ZARVEX_HARNESS_H

#include <memory>
#include <string>
#include <vector>

#include "FakeConfig.h"
#include "FakeModemProcess.h"
#include "FakeRecord.h"
#include "NamespaceProcess.h"

struct HarnessPaths {
    std::string zarvex;     // the program
    std::string fakeModem;  // the standalone fakes
};

// One fake and the name it has under the namespace's /dev; an empty name
// means ttyUSB<position among the fakes>.
struct HarnessFake {
    FakeConfig config;
    std::string device;
};

class ZarvexHarness {
public:
    // Bounds of a whole harness: the fakes' lifetime and a run's default.
    static constexpr int kFakeLifetimeSeconds = 900;
    static constexpr int kRunTimeoutMs = 120000;

    explicit ZarvexHarness(HarnessPaths paths);

    // Starts the fakes. Call once, before any run.
    bool Start(const std::vector<HarnessFake> &fakes, std::string *error);
    bool Start(const std::vector<FakeConfig> &fakes, std::string *error);

    // The program with these arguments, output on pipes.
    NamespaceResult Run(const std::vector<std::string> &args, const std::string &input = "",
                        int timeoutMs = kRunTimeoutMs);
    // Any program (argv[0] a path) in the same namespace, output on pipes.
    NamespaceResult RunCommand(const std::vector<std::string> &argv, const std::string &input = "",
                               int timeoutMs = kRunTimeoutMs);
    // The program on a pty as its terminal; null (and *error) on failure.
    std::unique_ptr<NamespaceProcess> StartInteractive(const std::vector<std::string> &args, std::string *error,
                                                       int lifetimeMs = kRunTimeoutMs);
    std::unique_ptr<NamespaceProcess> StartInteractiveCommand(const std::vector<std::string> &argv,
                                                              std::string *error, int lifetimeMs = kRunTimeoutMs);

    const std::vector<NamespaceDevice> &Devices() const { return m_devices; }
    FakeRecord Record(std::size_t fake) const { return m_fakes.Record(fake); }
    const std::string &SlavePath(std::size_t fake) const { return m_fakes.SlavePath(fake); }
    bool StopFakes() { return m_fakes.Stop(); }

private:
    std::vector<std::string> ProgramArgv(const std::vector<std::string> &args) const;

    HarnessPaths m_paths;
    FakeModemProcess m_fakes;
    std::vector<NamespaceDevice> m_devices;
};

// Table rows and texts as the tests compare them: colours removed.
inline std::string PlainText(const std::string &terminalText)
{
    return StripAnsi(terminalText);
}

#endif
