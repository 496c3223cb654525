// The process that owns a test binary's Wine: forked once, while the test
// process had a single thread and had entered its private /dev, it makes the
// prefix (from a template shared by the build), (re)starts the Wine server
// with the COM ports mapped, and stops the server and removes the prefix
// when the test process goes, however it goes (its channel closes). Wine's
// own processes are its descendants, and it reaps them.
//
// The channel carries lines. The keeper first sends
//   "ready <template ms> <copy ms>" or "error <text>";
// then, to each request "ports <fresh 0|1> <count>" followed by <count>
// lines "<COM name> <unix path>", it answers
//   "ok <restarted 0|1> <ms>" or "error <text>".
#ifndef ZARVEX_WINE_KEEPER_H
#define ZARVEX_WINE_KEEPER_H

#include <string>
#include <vector>

struct WineKeeperConfig {
    std::string root;    // the template, the prefixes and the logs
    std::string prefix;  // this test process's own
    std::string log;     // the Wine server's messages, and those of Wine's tools
    std::string loader;  // wine64
    std::string server;  // wineserver
    // The whole environment of every Wine process, less WINEPREFIX.
    std::vector<std::string> environment;
};

// Never returns.
[[noreturn]] void RunWineKeeper(const WineKeeperConfig &config, int channel);

// The COM names in what `reg query` prints for the serial port map.
std::vector<std::string> ComNamesInRegQuery(const std::string &output);

#endif
