// fake_modem: the fakes of a JSON file, each on a pty of its own, until it
// is told to stop or its lifetime is over.
//
//   fake_modem --config FILE [--lifetime SECONDS] [--stdin-lifeline]
//
// Prints one line "<n> <slave path>" per fake, then "ready". With
// --stdin-lifeline it also ends when its standard input closes, so that it
// never outlives the process that started it.
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "FakePool.h"

namespace {
constexpr int kDefaultLifetimeSeconds = 600;
int g_signalPipe[2] = {-1, -1};

void OnSignal(int)
{
    const int saved = errno;
    const char c = 1;
    [[maybe_unused]] ssize_t w = write(g_signalPipe[1], &c, 1);
    errno = saved;
}

int Usage()
{
    std::fprintf(stderr, "usage: fake_modem --config FILE [--lifetime SECONDS] [--stdin-lifeline]\n");
    return 2;
}
}  // namespace

int main(int argc, char **argv)
{
    std::string configPath;
    int lifetime = kDefaultLifetimeSeconds;
    bool stdinLifeline = false;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--config" && i + 1 < argc)
            configPath = argv[++i];
        else if (a == "--lifetime" && i + 1 < argc)
            lifetime = std::atoi(argv[++i]);
        else if (a == "--stdin-lifeline")
            stdinLifeline = true;
        else
            return Usage();
    }
    if (configPath.empty() || lifetime <= 0)
        return Usage();

    std::ifstream in(configPath);
    std::stringstream text;
    text << in.rdbuf();
    std::vector<FakeConfig> configs;
    std::string error;
    if (!in || !FakeConfigsFromJson(text.str(), &configs, &error)) {
        std::fprintf(stderr, "fake_modem: %s: %s\n", configPath.c_str(), in ? error.c_str() : "cannot read");
        return 1;
    }

    FakePool pool;
    for (const FakeConfig &c : configs)
        if (pool.Add(c, &error) < 0) {
            std::fprintf(stderr, "fake_modem: %s\n", error.c_str());
            return 1;
        }

    if (pipe2(g_signalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return 1;
    struct sigaction sa {};
    sa.sa_handler = OnSignal;
    sigaction(SIGTERM, &sa, nullptr);
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGHUP, &sa, nullptr);
    signal(SIGPIPE, SIG_IGN);

    for (std::size_t i = 0; i < pool.Size(); ++i)
        std::printf("%zu %s\n", i, pool.SlavePath(i).c_str());
    std::printf("ready\n");
    std::fflush(stdout);

    std::vector<int> stopFds = {g_signalPipe[0]};
    if (stdinLifeline)
        stopFds.push_back(STDIN_FILENO);
    pool.Run(FakeNowMs() + lifetime * 1000LL, stopFds);
    return 0;
}
