// The Wine harness itself, with a small Windows program of its own: Wine
// lists exactly the ports a test mapped and nothing of the host's, each
// mapped port reaches its fake whatever its number, a program's output comes
// back byte for byte, a program past its deadline goes with its group, and
// what the fakes saw is the test's after the run.
#include <dirent.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <iostream>

#include <gtest/gtest.h>

#include "WineHarness.h"

namespace {

const std::string kHelper = WindowsProgram("tests/tools/wine-harness/wine_harness_helper.exe");

std::vector<std::string> Lines(const std::string &text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t nl; (nl = text.find('\n', start)) != std::string::npos; start = nl + 1)
        lines.push_back(text.substr(start, nl - start));
    if (start < text.size())
        lines.push_back(text.substr(start));
    return lines;
}

std::vector<std::string> Sorted(std::vector<std::string> v)
{
    std::sort(v.begin(), v.end());
    return v;
}

long long ElapsedMs(std::chrono::steady_clock::time_point since)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - since).count();
}

void ReportTimings(const char *what)
{
    const WineTimings &t = WineSession::Instance().Timings();
    std::cout << "[ timings  ] " << what << ": template " << t.templateMs << " ms, prefix copy " << t.prefixCopyMs
              << " ms, open " << t.openMs << " ms, last mapping " << t.lastMapMs << " ms ("
              << (t.lastMapRestarted ? "server restarted" : "server kept") << "), server starts " << t.serverStarts
              << "\n";
}

class WineHarnessTest : public testing::Test {
protected:
    void SetUp() override
    {
        if (geteuid() != 0)
            GTEST_SKIP() << "Wine runs in a private mount namespace, which needs root";
    }
};

TEST_F(WineHarnessTest, WineListsExactlyTheMappedPortsAndNoDeviceOfTheHost)
{
    // More than the 64 handles one wait takes, the highest number Wine
    // maps, and ports whose path leads nowhere.
    WineHarness h;
    for (int com = 11; com <= 80; ++com)
        h.AddFake(com, ModemFake(com % 2 ? FakeModel::Pimsor : FakeModel::Silent));
    h.AddFake(100, ModemFake(FakeModel::Orvast)).AddFake(255, ModemFake(FakeModel::Tarnel));
    h.AddMissingPort(81).AddDanglingPort(82);
    std::string error;
    ASSERT_TRUE(h.Start(&error)) << error;
    ReportTimings("70 fakes mapped");

    std::vector<std::string> dev;
    if (DIR *d = opendir("/dev")) {
        while (dirent *e = readdir(d))
            dev.push_back(e->d_name);
        closedir(d);
    }
    for (const std::string &name : dev)
        EXPECT_TRUE(name.compare(0, 4, "ttyS") != 0 && name.compare(0, 6, "ttyUSB") != 0 &&
                    name.compare(0, 6, "ttyACM") != 0)
            << "/dev/" << name << " would be a COM port";

    const auto start = std::chrono::steady_clock::now();
    const NamespaceResult r = h.Run(kHelper, {"list"});
    std::cout << "[ timings  ] a program start and end: " << ElapsedMs(start) << " ms\n";
    ASSERT_EQ(r.exitStatus, 0) << r.err;
    EXPECT_EQ(Sorted(Lines(r.out)), Sorted(h.PortNames()));
    EXPECT_EQ(h.PortNames().size(), 74u);
}

TEST_F(WineHarnessTest, EachPortReachesItsOwnFakeWhateverItsNumber)
{
    for (WineFakeHost host : {WineFakeHost::InProcess, WineFakeHost::Standalone}) {
        WineHarness h(host);
        h.AddFake(12, ModemFake(FakeModel::Pimsor)).AddFake(100, ModemFake(FakeModel::Orvast));
        h.AddMissingPort(13).AddDanglingPort(14);
        std::string error;
        ASSERT_TRUE(h.Start(&error)) << error;

        const NamespaceResult r =
            h.Run(kHelper, {"at", "COM12", "AT+CGMI", "COM100", "AT+CGMI", "COM13", "AT", "COM14", "AT"});
        // A mapped name whose device is missing opens under Wine (the mount
        // manager's device answers), and the first I/O fails with
        // ERROR_INVALID_FUNCTION.
        EXPECT_EQ(r.exitStatus, 2);
        EXPECT_EQ(Lines(r.out), (std::vector<std::string>{"COM12 AT+CGMI\\r\\r\\nHUAWEI\\r\\n\\r\\nOK\\r\\n",
                                                          "COM100 AT+CGMI\\r\\r\\nWAVECOM MODEM\\r\\n\\r\\nOK\\r\\n",
                                                          "COM13 write error 1", "COM14 write error 1"}))
            << r.out << r.err;
        for (int com : {12, 100}) {
            const FakeRecord record = h.Record(com);
            ASSERT_EQ(record.commands.size(), 1u) << com;
            EXPECT_EQ(record.commands[0].text, "AT+CGMI");
            EXPECT_EQ(record.commands[0].baud, 9600) << "the speed Wine set on the pty";
        }
        EXPECT_TRUE(h.Record(13).commands.empty());
    }
}

TEST_F(WineHarnessTest, WhatAFakeHoldsIsTheTestsAfterTheRun)
{
    for (WineFakeHost host : {WineFakeHost::InProcess, WineFakeHost::Standalone}) {
        WineHarness h(host);
        h.AddFake(11, ModemFake(FakeModel::VelkorMe));
        std::string error;
        ASSERT_TRUE(h.Start(&error)) << error;
        const NamespaceResult r =
            h.Run(kHelper, {"at", "COM11", "AT+CPBS='ME'", "COM11", "AT^CPBW=1,'123456789012345',129,'WMSN',0"});
        EXPECT_EQ(r.exitStatus, 0) << r.out << r.err;

        // The masters close only now, with the program long gone.
        h.StopFakes();
        EXPECT_EQ(h.Record(11).CommandTexts(),
                  (std::vector<std::string>{"AT+CPBS=\"ME\"", "AT^CPBW=1,\"123456789012345\",129,\"WMSN\",0"}));
        const std::vector<PhonebookEntry> book = h.Phonebook(11);
        const PhonebookEntry *entry = FindPhonebookEntry(book, "ME", 1);
        ASSERT_NE(entry, nullptr);
        EXPECT_EQ(entry->number, "123456789012345");
        EXPECT_EQ(entry->text, "WMSN");

        // A line that vanished: the program finds no answer, and the server
        // it shares with the next run is still there.
        const NamespaceResult gone = h.Run(kHelper, {"at", "COM11", "AT"}, {"", 20000, {}, ""});
        EXPECT_FALSE(gone.timedOut);
        EXPECT_EQ(gone.exitStatus, 2) << gone.out;
        const NamespaceResult list = h.Run(kHelper, {"list"});
        EXPECT_EQ(list.out, "COM11\n") << list.err;
    }
}

TEST_F(WineHarnessTest, OutputComesBackByteForByte)
{
    WineHarness h;
    std::string error;
    ASSERT_TRUE(h.Start(&error)) << error;

    // Text mode: GBK as the program holds it, each \n as \r\n.
    const NamespaceResult text = h.Run(kHelper, {"text"});
    EXPECT_EQ(text.exitStatus, 0);
    EXPECT_EQ(text.out, WineStdout("中文 ok\n")) << ReadableGbk(text.out);
    EXPECT_EQ(text.err, "");

    // Binary mode: every byte, standard input included.
    std::string bytes;
    for (int i = 0; i < 256; ++i)
        bytes.push_back(static_cast<char>(i));
    bytes += "\xD6\xD0\xCE\xC4\n\r\n";
    const NamespaceResult echo = h.Run(kHelper, {"echo"}, {bytes, 20000, {}, ""});
    EXPECT_EQ(echo.exitStatus, 0);
    EXPECT_EQ(echo.out, bytes);

    const NamespaceResult env = h.Run(kHelper, {"env", "ZARVEX_TEST_VALUE"}, {"", 20000, {"ZARVEX_TEST_VALUE=a b"}, ""});
    EXPECT_EQ(env.out, "a b");
    for (int code : {0, 1, 7, 255})
        EXPECT_EQ(h.Run(kHelper, {"exit", std::to_string(code)}).exitStatus, code);
}

TEST_F(WineHarnessTest, AProgramPastItsDeadlineIsKilledAndTheNextRunsAsUsual)
{
    WineHarness h;
    h.AddFake(11, ModemFake(FakeModel::Pimsor));
    std::string error;
    ASSERT_TRUE(h.Start(&error)) << error;
    const auto start = std::chrono::steady_clock::now();
    const NamespaceResult r = h.Run(kHelper, {"sleep", "60000"}, {"", 2000, {}, ""});
    EXPECT_TRUE(r.timedOut);
    EXPECT_EQ(r.signal, SIGKILL);
    EXPECT_LT(ElapsedMs(start), 6000);

    const NamespaceResult next = h.Run(kHelper, {"at", "COM11", "AT"});
    EXPECT_EQ(next.exitStatus, 0) << next.out << next.err;
}

TEST_F(WineHarnessTest, KeysReachAProgramOnATerminal)
{
    WineHarness h;
    std::string error;
    ASSERT_TRUE(h.Start(&error)) << error;
    NamespaceProcess *p = h.StartOnTerminal(kHelper, {"key"}, {}, &error);
    ASSERT_NE(p, nullptr) << error;
    ASSERT_TRUE(WaitForTerminalText(p, "key?", 20000)) << p->Screen();
    ASSERT_TRUE(p->SendKeys("2"));
    const NamespaceResult r = p->WaitExit(20000);
    EXPECT_EQ(r.exitStatus, 0);
    EXPECT_NE(StripAnsi(r.out).find("[2]"), std::string::npos) << r.out;
}

// Not run by itself: the next test runs it in a child process that dies
// with Wine busy.
TEST(WineHarnessScenario, DISABLED_DiesWithAProgramRunning)
{
    WineHarness h;
    h.AddFake(11, ModemFake(FakeModel::Pimsor));
    std::string error;
    ASSERT_TRUE(h.Start(&error)) << error;
    ASSERT_NE(h.StartOnTerminal(kHelper, {"sleep", "60000"}, {}, &error), nullptr) << error;
    std::cout << "prefix " << WineSession::Instance().Prefix() << std::endl;
    usleep(500000);
    kill(getpid(), SIGKILL);
}

// Whether any process runs Wine with this prefix.
bool AnyProcessOf(const std::string &prefix)
{
    const std::string wanted = "WINEPREFIX=" + prefix;
    bool found = false;
    if (DIR *d = opendir("/proc")) {
        while (dirent *e = readdir(d)) {
            std::ifstream in(std::string("/proc/") + e->d_name + "/environ", std::ios::binary);
            std::string entry;
            while (!found && std::getline(in, entry, '\0'))
                found = entry == wanted;
        }
        closedir(d);
    }
    return found;
}

TEST_F(WineHarnessTest, WineStopsAndItsPrefixGoesWhenTheTestProcessDies)
{
    const std::string filter = "--gtest_filter=WineHarnessScenario.DISABLED_DiesWithAProgramRunning";
    NamespaceProcess child;
    std::string error;
    ASSERT_TRUE(child.StartHere({"/proc/self/exe", filter, "--gtest_also_run_disabled_tests"}, {},
                                NamespaceStdio::Pipes, 120000, &error))
        << error;
    const NamespaceResult r = child.Wait();
    EXPECT_EQ(r.signal, SIGKILL) << r.out << r.err;
    const std::size_t at = r.out.find("prefix ");
    ASSERT_NE(at, std::string::npos) << r.out << r.err;
    const std::string prefix = r.out.substr(at + 7, r.out.find('\n', at) - at - 7);

    const auto start = std::chrono::steady_clock::now();
    while ((access(prefix.c_str(), F_OK) == 0 || AnyProcessOf(prefix)) && ElapsedMs(start) < 20000)
        usleep(100000);
    EXPECT_NE(access(prefix.c_str(), F_OK), 0) << prefix << " is still there";
    EXPECT_FALSE(AnyProcessOf(prefix)) << "a Wine process outlived its test process";
}

}  // namespace
