#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <cstring>
#include <string>

#include "PtyPair.h"
#include "TermLib.h"
#include "TermSupport.h"

namespace {

struct CommandRun {
    int status;
    std::string out;     // what the parent printed
    std::string err;     // what the child printed before running
    std::string onPort;  // what the command wrote on the port
};

CommandRun RunOnPort(const char *command, const char *extra)
{
    PtyPair pty;
    CommandRun r{-2, "", "", ""};
    if (!pty.Ok())
        return r;
    termios raw = pty.SlaveSettings();
    cfmakeraw(&raw);
    tcsetattr(pty.Slave(), TCSANOW, &raw);
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    r.status = run_cmd(pty.Slave(), command, extra);
    r.err = testing::internal::GetCapturedStderr();
    r.out = testing::internal::GetCapturedStdout();
    r.onPort = pty.ReadMaster(64, 200);
    return r;
}

}  // namespace

TEST(RunCmd, CommandRunsOnThePortAndItsExitStatusIsReturned)
{
    const CommandRun r = RunOnPort("sh -c", "'printf \"AT\\r\"; exit 3'");
    EXPECT_EQ(r.status, 3);
    EXPECT_EQ(r.onPort, "AT\r");
    EXPECT_EQ(r.out, "\r\n*** exit status: 3 ***\r\n");
    EXPECT_EQ(r.err, "$ sh -c 'printf \"AT\\r\"; exit 3'\n");
}

TEST(RunCmd, CommandKilledBySignalGivesMinusOne)
{
    const CommandRun r = RunOnPort("sh", "-c 'kill -9 $$'");
    EXPECT_EQ(r.status, -1);
    EXPECT_EQ(r.out, "\r\n*** killed by signal: 9 ***\r\n");
}

struct ChildFailureCase {
    const char *name;
    const char *command;
    const char *extra;
    std::string err;
    friend void PrintTo(const ChildFailureCase &c, std::ostream *os) { *os << c.name; }
};

class RunCmdFailureTest : public testing::TestWithParam<ChildFailureCase> {};

TEST_P(RunCmdFailureTest, ChildEndsWithStatus126)
{
    const CommandRun r = RunOnPort(GetParam().command, GetParam().extra);
    EXPECT_EQ(r.status, 126);
    EXPECT_EQ(r.out, "\r\n*** exit status: 126 ***\r\n");
    EXPECT_EQ(r.err, GetParam().err);
}

INSTANTIATE_TEST_SUITE_P(
    Failures, RunCmdFailureTest,
    testing::Values(
        ChildFailureCase{"UnclosedQuoteInCommand", "sz \"x", "", "Cannot parse command\n"},
        ChildFailureCase{"TrailingBackslashInExtra", "sz", "file\\", "Cannot parse extra args\n"},
        ChildFailureCase{"NoCommand", " ", "", "No command given\n"},
        ChildFailureCase{"MissingProgram", "/nonexistent/sz", "-v",
                         "$ /nonexistent/sz -v\nexec: " + std::string(std::strerror(ENOENT)) +
                             "\n"}),
    [](const testing::TestParamInfo<ChildFailureCase> &info) {
        return std::string(info.param.name);
    });

TEST(Signals, DeadlyHandlerActsOnceAndTheOthersAreIgnored)
{
    EXPECT_EXIT(
        {
            setpgid(0, 0);  // the handler signals the whole process group
            establish_signal_handlers();
            raise(SIGTERM);
            raise(SIGINT);
            raise(SIGHUP);
            raise(SIGPIPE);
            const bool once = sig_exit == 1;
            deadly_handler(SIGTERM);
            std::exit(once ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
}

TEST(Signals, ChildHandlersAreTheDefaultOnes)
{
    EXPECT_EXIT(
        {
            establish_signal_handlers();
            establish_child_signal_handlers();
            raise(SIGTERM);
            std::exit(0);
        },
        testing::KilledBySignal(SIGTERM), "");
}

TEST(Fatal, EndsTheProcessWithStatus1)
{
    EXPECT_EXIT(fatal("write to stdout failed: %s", "gone"), testing::ExitedWithCode(1), "");
}
