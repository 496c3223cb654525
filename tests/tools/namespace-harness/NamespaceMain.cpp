// zarvex_namespace: a program at this terminal, in a private mount
// namespace whose /dev/ttyUSB<n> are the fakes of a JSON file. At the end it
// tells what each fake was sent.
//
//   zarvex_namespace --fake-modem PATH (--fakes FILE | --sample-fakes) [--lifetime SECONDS]
//                    -- PROGRAM [ARGS...]
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "FakeSamples.h"
#include "ZarvexHarness.h"

namespace {
constexpr int kDefaultLifetimeSeconds = 3600;

int Usage()
{
    std::fprintf(stderr,
                 "usage: zarvex_namespace --fake-modem PATH (--fakes FILE | --sample-fakes)\n"
                 "                        [--lifetime SECONDS] -- PROGRAM [ARGS...]\n");
    return 2;
}

void Summarise(const std::vector<FakeConfig> &configs, const FakeModemProcess &fakes)
{
    std::printf("\n");
    for (std::size_t i = 0; i < configs.size(); ++i) {
        const FakeRecord r = fakes.Record(i);
        std::printf("/dev/ttyUSB%zu (%s): %zu commands\n", i, FakeModelName(configs[i].model), r.commands.size());
        for (const FakeSubmission &s : r.submissions) {
            const DecodedSubmission d = DecodeSubmission(s);
            std::printf("  %s to %s: \"%s\"", s.accepted ? "sent" : "refused", d.destination.c_str(),
                        d.text.c_str());
            if (d.concatTotal > 0)
                std::printf(" (part %d of %d)", d.concatSeq, d.concatTotal);
            if (!s.accepted)
                std::printf(" %s", s.refusal.c_str());
            std::printf("\n");
        }
    }
}
}  // namespace

int main(int argc, char **argv)
{
    std::string fakeModem, fakesFile;
    int lifetime = kDefaultLifetimeSeconds;
    bool samples = false;
    int i = 1;
    for (; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--")
            break;
        if (a == "--fake-modem" && i + 1 < argc)
            fakeModem = argv[++i];
        else if (a == "--fakes" && i + 1 < argc)
            fakesFile = argv[++i];
        else if (a == "--sample-fakes")
            samples = true;
        else if (a == "--lifetime" && i + 1 < argc)
            lifetime = std::atoi(argv[++i]);
        else
            return Usage();
    }
    if (fakeModem.empty() || fakesFile.empty() == !samples || lifetime <= 0 || i + 1 >= argc)
        return Usage();
    const std::vector<std::string> program(argv + i + 1, argv + argc);

    std::vector<FakeConfig> configs;
    std::string error;
    if (samples) {
        configs = SampleFakes();
    } else {
        std::ifstream in(fakesFile);
        std::stringstream text;
        text << in.rdbuf();
        if (!in || !FakeConfigsFromJson(text.str(), &configs, &error)) {
            std::fprintf(stderr, "zarvex_namespace: %s: %s\n", fakesFile.c_str(),
                         in ? error.c_str() : "cannot read");
            return 1;
        }
    }
    FakeModemProcess fakes(fakeModem);
    if (!fakes.Start(configs, lifetime + 60, &error)) {
        std::fprintf(stderr, "zarvex_namespace: %s\n", error.c_str());
        return 1;
    }
    std::vector<NamespaceDevice> devices;
    for (std::size_t k = 0; k < configs.size(); ++k)
        devices.push_back({"ttyUSB" + std::to_string(k), fakes.SlavePath(k)});

    std::printf("Fake modems:\n");
    for (std::size_t k = 0; k < configs.size(); ++k)
        std::printf("  /dev/ttyUSB%zu  %s, %s baud, %zu stored messages\n", k, FakeModelName(configs[k].model),
                    FakeBaudName(configs[k].baud), configs[k].messages.size());
    std::fflush(stdout);

    NamespaceProcess p;
    if (!p.Start(devices, program, NamespaceStdio::Inherit, lifetime * 1000, &error)) {
        std::fprintf(stderr, "zarvex_namespace: %s\n", error.c_str());
        return 1;
    }
    const NamespaceResult r = p.WaitExit(lifetime * 1000);
    fakes.Stop();
    Summarise(configs, fakes);
    if (r.timedOut)
        std::fprintf(stderr, "zarvex_namespace: stopped after %d seconds\n", lifetime);
    return r.exitStatus >= 0 ? r.exitStatus : 1;
}
