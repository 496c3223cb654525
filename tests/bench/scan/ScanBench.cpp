// Scan wall time against pools of fake modems, for the benchmark script:
// the probe of one silent port, the scan in-process with and without a port
// that never stops sending, and one whole run of the program (one pass of its
// interactive loop, standard input no terminal) with the fakes at
// /dev/ttyUSB<n> and silent fakes at /dev/ttyS0 and S1.
//
//   scan_bench ZARVEX FAKE_MODEM [MODEMS...]
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "StreamingLine.h"
#include "CheckManager.h"
#include "CheckManagerLinux.h"
#include "ComPortBase.h"
#include "FakePool.h"
#include "ZarvexHarness.h"

namespace {
using Clock = std::chrono::steady_clock;

constexpr int kRepeats = 3;
constexpr int kRunTimeoutMs = 120000;
// Ten polls of AT and the echo-off exchange, at each of the two speeds.
constexpr double kSilentProbeBudgetMs = 1320;
constexpr double kAllowedRatio = 1.5;
// Modems scanned beside a port that never stops sending.
constexpr int kModemsBesideTheStream = 8;
// Far longer than any bounded scan, so that the stream outlasts every repeat.
constexpr std::chrono::minutes kStreamFor(10);

const FakeModel kModels[] = {FakeModel::Tarnel, FakeModel::VelkorNc5, FakeModel::VelkorMe,
                             FakeModel::Pimsor, FakeModel::Orvast,    FakeModel::Sudrel};

FakeConfig Fake(FakeModel model)
{
    FakeConfig c;
    c.model = model;
    return c;
}

FakeConfig PoolModem(int i)
{
    return Fake(kModels[i % (sizeof kModels / sizeof kModels[0])]);
}

double MsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double SilentProbeMs()
{
    FakeModem fake(Fake(FakeModel::Silent));
    if (!fake.Ok())
        return -1;
    std::vector<double> times;
    for (int i = 0; i < kRepeats; ++i) {
        const Clock::time_point start = Clock::now();
        GetInfoOnPort(fake.SlavePath().c_str());
        times.push_back(MsSince(start));
    }
    return Median(times);
}

double InProcessScanMs(int modems, bool withStreamingPort = false)
{
    std::unique_ptr<StreamingLine> stream;
    if (withStreamingPort) {
        stream = std::make_unique<StreamingLine>(kStreamFor);
        if (!stream->Ok())
            return -1;
    }
    FakePool pool;
    std::string error;
    for (int i = 0; i < modems; ++i)
        if (pool.Add(PoolModem(i), &error) < 0)
            return -1;
    for (int i = 0; i < 2; ++i)
        if (pool.Add(Fake(FakeModel::Silent), &error) < 0)
            return -1;
    if (!pool.Start(&error))
        return -1;
    std::vector<std::string> paths;
    for (std::size_t i = 0; i < pool.Size(); ++i)
        paths.push_back(pool.SlavePath(i));
    if (stream)
        paths.push_back(stream->Path());
    std::vector<double> times;
    for (int i = 0; i < kRepeats; ++i) {
        const Clock::time_point start = Clock::now();
        if (DetectDevicesOnPorts(paths).size() != paths.size())
            return -1;
        times.push_back(MsSince(start));
    }
    return Median(times);
}

double ProgramRunMs(const HarnessPaths &paths, int modems, std::string *scanText)
{
    std::vector<HarnessFake> fakes;
    for (int i = 0; i < modems; ++i)
        fakes.push_back({PoolModem(i), "ttyUSB" + std::to_string(i)});
    fakes.push_back({Fake(FakeModel::Silent), "ttyS0"});
    fakes.push_back({Fake(FakeModel::Silent), "ttyS1"});
    ZarvexHarness h(paths);
    std::string error;
    if (!h.Start(fakes, &error)) {
        std::fprintf(stderr, "scan_bench: %s\n", error.c_str());
        return -1;
    }
    std::vector<double> times;
    for (int i = 0; i < kRepeats; ++i) {
        const Clock::time_point start = Clock::now();
        const NamespaceResult r = h.Run({}, "", kRunTimeoutMs);
        times.push_back(MsSince(start));
        if (r.exitStatus != 0 || r.timedOut) {
            std::fprintf(stderr, "scan_bench: run failed: %s\n", r.err.c_str());
            return -1;
        }
        const std::string mark = "设备检测耗时: ";
        const std::string::size_type at = r.out.find(mark);
        if (at != std::string::npos)
            *scanText = r.out.substr(at, r.out.find('\n', at) - at);
    }
    return Median(times);
}
}  // namespace

int main(int argc, char **argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: scan_bench ZARVEX FAKE_MODEM [MODEMS...]\n");
        return 2;
    }
    const HarnessPaths paths = {argv[1], argv[2]};
    std::vector<int> sizes;
    for (int i = 3; i < argc; ++i)
        sizes.push_back(std::atoi(argv[i]));
    if (sizes.empty())
        sizes = {1, 8, 32, 64};

    CComPortBase::ResetAllComPort();
    const double silent = SilentProbeMs();
    std::printf("silent port, both speeds: %.0f ms (the poll limits allow about %.0f ms)\n",
                silent, kSilentProbeBudgetMs);
    const double quiet = InProcessScanMs(kModemsBesideTheStream);
    const double streaming = InProcessScanMs(kModemsBesideTheStream, true);
    std::printf("in-process scan of %d modems: %.0f ms; with a port that never stops sending: "
                "%.0f ms\n\n",
                kModemsBesideTheStream, quiet, streaming);
    std::printf("Median of %d scans; every scan also probes two silent ports.\n", kRepeats);
    std::printf("%7s  %16s  %16s  %s\n", "modems", "in-process scan", "program run", "program's own text");
    double first = 0;
    bool within = true;
    for (int n : sizes) {
        std::string scanText;
        const double inProcess = InProcessScanMs(n);
        const double run = ProgramRunMs(paths, n, &scanText);
        if (first == 0)
            first = run;
        std::printf("%7d  %13.0f ms  %13.0f ms  %s  (%.2f x the first)\n", n, inProcess, run,
                    scanText.c_str(), run / first);
        within = within && run > 0 && run <= kAllowedRatio * first;
        std::fflush(stdout);
    }
    std::printf("\nevery run within %.1f x the first: %s\n", kAllowedRatio, within ? "yes" : "no");
    return within && silent > 0 && quiet > 0 && streaming > 0 ? 0 : 1;
}
