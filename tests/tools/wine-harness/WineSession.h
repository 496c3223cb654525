// A test process's Wine, one for the whole process: the first Open moves the
// process into a private mount namespace whose /dev holds no serial device
// (Wine lists every /dev/ttyS*, /dev/ttyUSB* and /dev/ttyACM* it finds as a
// COM port, and a program that probes them all would write to the host's
// real lines), and starts the keeper that gives the process a prefix of its
// own and runs the Wine server. Everything the process starts afterwards
// sees that /dev; the host's stays as it was.
#ifndef ZARVEX_WINE_SESSION_H
#define ZARVEX_WINE_SESSION_H

#include <sys/types.h>

#include <string>
#include <vector>

#include "NamespaceProcess.h"
#include "WinePrefix.h"

// What setting Wine up cost, in milliseconds.
struct WineTimings {
    long long templateMs = 0;    // making the build's template prefix; 0 when it was there
    long long prefixCopyMs = 0;  // this process's prefix from the template
    long long openMs = 0;        // the namespace, the keeper and the prefix
    long long lastMapMs = 0;     // the last mapping of ports
    bool lastMapRestarted = false;  // whether that restarted the server
    int serverStarts = 0;
};

class WineSession {
public:
    // Where the port links live: Wine maps COM<n> to <dir>/COM<n>.
    static const char kPortLinkDir[];

    static WineSession &Instance();

    // Sets everything up on the first call, which must come before the
    // process starts a thread (a mount namespace is entered by a process
    // with one). Needs root. Later calls report how the first went.
    bool Open(std::string *error);

    // Maps each COM name to its Unix path and makes sure that Wine lists
    // exactly these: the server is restarted when the names differ from
    // those it lists, or when `fresh` is asked (which also puts the
    // registry back as the template had it).
    bool MapPorts(const std::vector<WinePortMapping> &ports, bool fresh, std::string *error);

    // Lists COM names in the serial port map that no port is mapped to, as
    // a machine with more ports than Wine maps (COM1 to COM255) lists them.
    // They sort after the mapped ports' names and last until the next
    // MapPorts, which then starts the server afresh.
    bool ListUnmappedComNames(const std::vector<std::string> &comNames, std::string *error);

    // A Windows program started with NamespaceProcess::StartHere.
    std::vector<std::string> ProgramArgv(const std::string &program, const std::vector<std::string> &args) const;
    HereOptions ProgramOptions(const std::vector<std::string> &environment, const std::string &workDir) const;

    const WineTimings &Timings() const { return m_timings; }
    const std::string &Prefix() const { return m_prefix; }
    // The Wine server's own messages: never in a test's output.
    const std::string &ServerLog() const { return m_log; }

private:
    WineSession() = default;
    ~WineSession();
    WineSession(const WineSession &) = delete;
    WineSession &operator=(const WineSession &) = delete;

    bool OpenOnce(std::string *error);
    bool Request(const std::string &request, int timeoutMs, std::string *reply, std::string *error);

    bool m_tried = false;
    std::string m_openError;
    std::string m_root;
    std::string m_prefix;
    std::string m_log;
    std::string m_loader;
    std::string m_server;
    std::vector<std::string> m_wineEnvironment;  // changes, for StartHere
    pid_t m_keeper = -1;
    int m_channel = -1;
    std::string m_pending;  // read from the channel, not yet a whole line
    bool m_unmappedListed = false;  // the server lists names no mapping made
    WineTimings m_timings;
};

#endif
