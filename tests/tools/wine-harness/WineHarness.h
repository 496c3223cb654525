// A Windows program under Wine against fake modems on COM ports. Each fake
// plays on a pseudo-terminal; Wine maps COM<n> to it through the registry
// (HKLM\Software\Wine\Ports), and its server is restarted when the set of
// COM names changes, so that the program's registry listing shows exactly
// the ports a test mapped. Wine runs in the test process's private mount
// namespace (WineSession), whose /dev holds no serial device of the host.
//
//   WineHarness h;
//   h.AddFake(11, ModemFake(FakeModel::Pimsor)).AddFake(12, ModemFake(FakeModel::Silent));
//   ASSERT_TRUE(h.Start(&error)) << error;
//   const NamespaceResult r = h.Run(ZarvexExe(), {"11,12", "13800138000", "hello"});
//   EXPECT_EQ(r.out, WineStdout("...UTF-8 text as expected...\n"));
//   EXPECT_EQ(h.Record(11).CommandTexts()[0], "AT");
//
// The first WineHarness of a test process must start before the process
// starts any thread of its own (see WineSession::Open).
#ifndef ZARVEX_WINE_HARNESS_H
#define ZARVEX_WINE_HARNESS_H

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "FakeConfig.h"
#include "FakeModemProcess.h"
#include "FakePool.h"
#include "FakeRecord.h"
#include "NamespaceProcess.h"
#include "WineSession.h"
#include "WineText.h"

// Where the fakes run: on a thread of the test process, or in a fake_modem
// process of their own (the same replies either way).
enum class WineFakeHost { InProcess, Standalone };

struct WineRunOptions {
    static constexpr int kDefaultTimeoutMs = 60000;

    std::string input;  // standard input, a pipe closed after it
    // At the deadline the program's whole process group is killed.
    int timeoutMs = kDefaultTimeoutMs;
    std::vector<std::string> environment;  // "NAME=VALUE"
    std::string workDir;                   // empty: the test's
};

class WineHarness {
public:
    explicit WineHarness(WineFakeHost host = WineFakeHost::InProcess);
    // Ends the programs still running, then closes the fakes' masters.
    ~WineHarness();
    WineHarness(const WineHarness &) = delete;
    WineHarness &operator=(const WineHarness &) = delete;

    // The ports, before Start, each under its COM number (1 to 255; the
    // tests use 11 and up, clear of the numbers a machine's own ports have).
    WineHarness &AddFake(int com, const FakeConfig &config);
    // Listed by Wine, but nothing is at its path. Under Wine 8 such a port
    // opens (the mount manager's device object answers) and its first read
    // or write fails with ERROR_INVALID_FUNCTION (1); a name Wine does not
    // list at all fails to open with ERROR_FILE_NOT_FOUND (2).
    WineHarness &AddMissingPort(int com);
    // Listed by Wine; its path is a link to nothing (behaves as missing).
    WineHarness &AddDanglingPort(int com);
    // Listed by Wine and opening `unixPath` (a pty the test plays itself).
    WineHarness &AddDevicePort(int com, const std::string &unixPath);
    // Restart the server even when the same names were mapped before, with
    // the registry as a new prefix has it.
    WineHarness &FreshServer();

    // Starts the fakes, maps the ports and has Wine list exactly them.
    bool Start(std::string *error);

    // After Start: COM names listed besides the mapped ports, with nothing
    // at them (Wine maps no port beyond COM255), until the next Start.
    bool ListUnmappedComNames(const std::vector<std::string> &comNames, std::string *error);

    // A Windows program (a path in this file system) with its arguments,
    // standard output and error captured through pipes byte for byte.
    NamespaceResult Run(const std::string &program, const std::vector<std::string> &args,
                        const WineRunOptions &options = {});
    // The same on a pseudo-terminal, for programs that read keys (_getch
    // works). The harness owns it; null (and *error) when it cannot start.
    // Wine's console on a terminal wraps every character it writes in
    // escape sequences (see WaitForTerminalText), ends lines with
    // "\r\r\n", and shows GBK text as mojibake: compare Chinese output
    // through Run's pipes.
    NamespaceProcess *StartOnTerminal(const std::string &program, const std::vector<std::string> &args,
                                      const WineRunOptions &options, std::string *error);

    // What a fake was sent, and its phonebook as it stands.
    FakeRecord Record(int com) const;
    std::vector<PhonebookEntry> Phonebook(int com) const;
    // The fake's slave, as the port's link leads to it.
    std::string SlavePath(int com) const;
    // Closes the fakes' masters: their lines vanish for later runs. Only
    // between runs.
    void StopFakes();

    // "COM11", ... in ascending number.
    std::vector<std::string> PortNames() const;

    static std::string ComName(int com);

private:
    enum class PortKind { Fake, Missing, Dangling, Device };
    struct Port {
        PortKind kind;
        FakeConfig config;
        std::string device;
        int fake = -1;  // index among the fakes
    };

    WineHarness &Add(int com, Port port);
    bool StartFakes(std::string *error);
    std::string LinkPath(int com) const;

    WineFakeHost m_host;
    std::map<int, Port> m_ports;
    std::string m_addError;
    bool m_fresh = false;
    bool m_started = false;  // Start was called
    bool m_ready = false;    // and succeeded
    std::unique_ptr<FakePool> m_pool;
    std::unique_ptr<FakeModemProcess> m_process;
    // The in-process fakes' state when their masters were closed.
    std::vector<FakeRecord> m_finalRecords;
    std::vector<std::vector<PhonebookEntry>> m_finalPhonebooks;
    std::vector<std::string> m_finalSlaves;
    std::vector<std::unique_ptr<NamespaceProcess>> m_terminals;
};

// Waits until `text` shows on the program's terminal once escape sequences
// are taken out: Wine's console wraps each character it writes in its own.
bool WaitForTerminalText(NamespaceProcess *p, const std::string &text, int timeoutMs);

// A fake of that model at its defaults.
FakeConfig ModemFake(FakeModel model, FakeBaud baud = FakeBaud::Any);

// A program of the Windows build: <Windows build>/<relative path>, the build
// named by ZARVEX_WINDOWS_BUILD in the environment.
std::string WindowsProgram(const std::string &relativePath);
std::string ZarvexExe();

#endif
