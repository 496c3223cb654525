// The harness itself: the namespace holds exactly the fakes, the host's /dev
// stays as it was, the fakes answer through their /dev names inside, the
// terminal of an interactive run takes keys and shows the screen, and
// nothing outlives its bound.
#include <dirent.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "FakePool.h"
#include "ZarvexHarness.h"

namespace {
const HarnessPaths kPaths = {ZARVEX_BINARY, FAKE_MODEM_BINARY};

FakeConfig Fake(FakeModel model)
{
    FakeConfig c;
    c.model = model;
    return c;
}

std::vector<std::string> DirectoryNames(const char *path)
{
    std::vector<std::string> names;
    if (DIR *d = opendir(path)) {
        while (dirent *e = readdir(d))
            if (std::string(e->d_name) != "." && std::string(e->d_name) != "..")
                names.push_back(e->d_name);
        closedir(d);
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string ReadFile(const char *path)
{
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// Gone, or a zombie waiting for whoever inherited it to reap it.
bool Ended(int pid)
{
    const long long deadline = FakeNowMs() + 2000;
    while (FakeNowMs() < deadline) {
        if (kill(pid, 0) != 0)
            return true;
        const std::string stat = ReadFile(("/proc/" + std::to_string(pid) + "/stat").c_str());
        const std::size_t close = stat.rfind(')');
        if (close != std::string::npos && close + 2 < stat.size() && stat[close + 2] == 'Z')
            return true;
        usleep(20000);
    }
    return false;
}

class HarnessTest : public testing::Test {
protected:
    void SetUp() override
    {
        if (geteuid() != 0)
            GTEST_SKIP() << "mount namespaces need root";
    }
};

TEST_F(HarnessTest, ProgramSeesExactlyTheFakesAndTheHostDevStaysAsItWas)
{
    const std::vector<std::string> hostDev = DirectoryNames("/dev");
    const std::string hostMounts = ReadFile("/proc/self/mountinfo");

    ZarvexHarness h(kPaths);
    std::string error;
    ASSERT_TRUE(h.Start({{Fake(FakeModel::Tarnel), "ttyUSB0"},
                         {Fake(FakeModel::Sudrel), "ttyUSB2"},
                         {Fake(FakeModel::Silent), "ttyUSB10"}},
                        &error))
        << error;
    // The very command the program lists its ports with.
    const NamespaceResult ls = h.RunCommand({"/bin/sh", "-c", "ls /dev/ttyUSB* 2> /dev/null"});
    EXPECT_EQ(ls.exitStatus, 0) << ls.err;
    EXPECT_EQ(ls.out, "/dev/ttyUSB0\n/dev/ttyUSB10\n/dev/ttyUSB2\n");
    const NamespaceResult all = h.RunCommand({"/bin/ls", "-A", "/dev"});
    EXPECT_EQ(all.out, "null\nptmx\npts\ntty\nttyUSB0\nttyUSB10\nttyUSB2\nurandom\nzero\n") << all.err;
    const NamespaceResult pts = h.RunCommand({"/bin/ls", "-A", "/dev/pts"});
    EXPECT_EQ(pts.out, "ptmx\n") << "a private pts, not the host's";

    EXPECT_EQ(DirectoryNames("/dev"), hostDev);
    EXPECT_EQ(ReadFile("/proc/self/mountinfo"), hostMounts);
}

TEST_F(HarnessTest, SerialPortsS0AndS1OnlyWhenAsked)
{
    ZarvexHarness h(kPaths);
    std::string error;
    ASSERT_TRUE(h.Start({{Fake(FakeModel::Orvast), "ttyS0"}, {Fake(FakeModel::Pimsor), "ttyS1"}}, &error))
        << error;
    const NamespaceResult r = h.RunCommand({"/bin/sh", "-c", "ls /dev/ttyS* /dev/ttyUSB* 2> /dev/null"});
    EXPECT_EQ(r.out, "/dev/ttyS0\n/dev/ttyS1\n");
}

TEST_F(HarnessTest, FakeAnswersThroughItsDeviceInside)
{
    ZarvexHarness h(kPaths);
    std::string error;
    ASSERT_TRUE(h.Start({Fake(FakeModel::Pimsor)}, &error)) << error;
    // Set the line as the program would, ask AT, read the 9 bytes of
    // "AT" CR (echo) and CR LF OK CR LF.
    const NamespaceResult r = h.RunCommand(
        {"/bin/sh", "-c",
         "exec 3<>/dev/ttyUSB0 && stty -F /dev/ttyUSB0 raw -echo 115200 && printf 'AT\\r\\n' >&3 && "
         "timeout 5 head -c 9 <&3"},
        "", 20000);
    EXPECT_EQ(r.exitStatus, 0) << r.err;
    EXPECT_EQ(r.out, "AT\r\r\nOK\r\n");
    const FakeRecord record = h.Record(0);
    ASSERT_EQ(record.commands.size(), 1u);
    EXPECT_EQ(record.commands[0].text, "AT");
    EXPECT_EQ(record.commands[0].baud, 115200) << "the speed set inside reaches the fake";
}

TEST_F(HarnessTest, InteractiveRunTakesKeysAndShowsItsScreen)
{
    ZarvexHarness h(kPaths);
    std::string error;
    ASSERT_TRUE(h.Start({Fake(FakeModel::Tarnel)}, &error)) << error;
    auto p = h.StartInteractiveCommand(
        {"/bin/sh", "-c",
         "stty raw -echo; printf 'menu> '; k=$(dd bs=1 count=1 2>/dev/null); stty sane; printf '[%s]\\n' \"$k\"; "
         "test -c /dev/tty"},
        &error, 20000);
    ASSERT_TRUE(p) << error;
    ASSERT_TRUE(p->WaitForScreen("menu> ", 10000)) << p->Screen();
    ASSERT_TRUE(p->SendKeys("2"));
    EXPECT_TRUE(p->WaitForScreen("[2]", 10000)) << p->Screen();
    const NamespaceResult r = p->WaitExit(10000);
    EXPECT_EQ(r.exitStatus, 0) << "the terminal is the controlling tty: " << r.out;
    EXPECT_FALSE(r.timedOut);
}

TEST_F(HarnessTest, ZarvexRunsInside)
{
    ZarvexHarness h(kPaths);
    std::string error;
    ASSERT_TRUE(h.Start({Fake(FakeModel::VelkorMe)}, &error)) << error;
    const NamespaceResult help = h.Run({"help"});
    EXPECT_EQ(help.exitStatus, 0) << help.err;
    EXPECT_NE(PlainText(help.out).find("Zarvex 短信设备检测工具 使用说明"), std::string::npos) << help.out;

    auto p = h.StartInteractive({"version"}, &error, 20000);
    ASSERT_TRUE(p) << error;
    const NamespaceResult version = p->WaitExit(10000);
    EXPECT_EQ(version.exitStatus, 0);
    EXPECT_NE(version.out.find("1.6版本"), std::string::npos) << version.out;
}

TEST_F(HarnessTest, EveryRunEndsWithinItsBound)
{
    ZarvexHarness h(kPaths);
    std::string error;
    ASSERT_TRUE(h.Start({Fake(FakeModel::Silent)}, &error)) << error;
    const long long start = FakeNowMs();
    // A program that leaves a child behind, both far longer than allowed.
    const NamespaceResult r = h.RunCommand({"/bin/sh", "-c", "sleep 60 & echo $!; exec sleep 60"}, "", 1000);
    EXPECT_TRUE(r.timedOut);
    EXPECT_EQ(r.signal, SIGKILL);
    EXPECT_LT(FakeNowMs() - start, 5000);
    const int straggler = std::atoi(r.out.c_str());
    ASSERT_GT(straggler, 0) << r.out;
    EXPECT_TRUE(Ended(straggler)) << "the program's group went with it";

    auto p = h.StartInteractiveCommand({"/bin/sleep", "60"}, &error, 800);
    ASSERT_TRUE(p) << error;
    EXPECT_TRUE(p->WaitExit(60000).timedOut);
    EXPECT_LT(FakeNowMs() - start, 8000);
}

TEST_F(HarnessTest, RefusesWhatIsNotASerialDevice)
{
    for (const char *name : {"sda", "ttyUSB", "ttyUSBx", "../ttyUSB0", "ttyS2", "tty"}) {
        ZarvexHarness h(kPaths);
        std::string error;
        EXPECT_FALSE(h.Start({{Fake(FakeModel::Tarnel), name}}, &error)) << name;
    }
    NamespaceProcess p;
    std::string error;
    EXPECT_FALSE(p.Start({{"ttyUSB0", "/etc/passwd"}}, {"/bin/true"}, NamespaceStdio::Pipes, 1000, &error));
    EXPECT_NE(error.find("not a character device"), std::string::npos) << error;
}

TEST_F(HarnessTest, AProgramStartedHereGetsItsEnvironmentAndFolder)
{
    setenv("ZARVEX_HARNESS_KEPT", "kept", 1);
    setenv("ZARVEX_HARNESS_GONE", "gone", 1);
    NamespaceProcess p;
    std::string error;
    HereOptions options;
    options.environment = {"ZARVEX_HARNESS_SET=a=b", "ZARVEX_HARNESS_GONE", "ZARVEX_HARNESS_KEPT=replaced"};
    options.workDir = "/proc";
    ASSERT_TRUE(p.StartHere({"/bin/sh", "-c",
                             "echo \"$ZARVEX_HARNESS_SET|${ZARVEX_HARNESS_GONE-unset}|$ZARVEX_HARNESS_KEPT\"; pwd; "
                             "test -e /dev/full"},
                            options, NamespaceStdio::Pipes, 10000, &error))
        << error;
    const NamespaceResult r = p.Wait();
    EXPECT_EQ(r.out, "a=b|unset|replaced\n/proc\n");
    EXPECT_EQ(r.exitStatus, 0) << "the caller's own /dev, which has more than the private one";
    unsetenv("ZARVEX_HARNESS_KEPT");
    unsetenv("ZARVEX_HARNESS_GONE");
    EXPECT_EQ(EnvironmentWith({"ZARVEX_HARNESS_NEW=1"}).back(), "ZARVEX_HARNESS_NEW=1");
}

TEST_F(HarnessTest, SetUpFailureIsReported)
{
    NamespaceProcess p;
    std::string error;
    EXPECT_FALSE(p.Start({}, {"/nonexistent/program"}, NamespaceStdio::Pipes, 5000, &error));
    EXPECT_NE(error.find("execv"), std::string::npos) << error;
}

TEST(AnsiTest, StripsColourSequences)
{
    EXPECT_EQ(StripAnsi("\033[1m\033[31m红\033[0m ok"), "红 ok");
    EXPECT_EQ(StripAnsi("plain"), "plain");
    EXPECT_EQ(StripAnsi("cut \033["), "cut ");
}
}  // namespace
