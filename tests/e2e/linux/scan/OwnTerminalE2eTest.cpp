// The real program run from a serial console: its own terminal is one of the
// ports it lists, here under two names (/dev/ttyS0 and /dev/ttyUSB1 are the
// same pseudo-terminal). However the program is attached to it, the scan
// writes nothing to it, leaves its settings as they were, and its rows say
// that it is the program's own terminal.
#include <termios.h>
#include <unistd.h>

#include <map>

#include <gtest/gtest.h>

#include "HostileBehaviours.h"
#include "PtyPair.h"
#include "ZarvexHarness.h"

namespace {
using hostile::Row;

const HarnessPaths kPaths = {ZARVEX_BINARY, FAKE_MODEM_BINARY};

constexpr int kRunTimeoutMs = 60000;
// Whatever reaches a terminal arrives within this once the program is gone.
constexpr int kSettleMs = 300;

struct AttachCase {
    const char *name;
    // A shell command run with the program's path as $0.
    const char *command;
    // A key waits in the terminal's input, for a program that reads it there.
    bool keyWaiting;
};

void PrintTo(const AttachCase &c, std::ostream *os)
{
    *os << c.name;
}

const AttachCase kAttachCases[] = {
    // Named by its other path: only its device tells it is the same.
    {"StandardErrorUnderAnotherName", "exec \"$0\" </dev/null 2>/dev/ttyUSB1", false},
    // The menu takes its key from the terminal, raw for that key only.
    {"StandardInput", "exec \"$0\" </dev/ttyS0", true},
    // A session of its own whose terminal it is, none of the streams on it.
    {"ControllingTerminal",
     "exec setsid -w sh -c 'exec 3<>/dev/ttyS0 3<&-; exec \"$0\" </dev/null' \"$0\"", false},
};

class OwnTerminalE2eTest : public ::testing::TestWithParam<AttachCase> {
protected:
    void SetUp() override
    {
        if (geteuid() != 0)
            GTEST_SKIP() << "mount namespaces need root";
    }
};

// The row of the program's own terminal: never opened, so nothing read.
Row OwnTerminalRow(const std::string &port)
{
    return {port, "unknow", "本终端", hostile::kNoCard, hostile::kNoSignal, hostile::kNoSerial};
}

TEST_P(OwnTerminalE2eTest, NothingReachesItAndItsRowsSaySo)
{
    const AttachCase &c = GetParam();
    PtyPair terminal;
    ASSERT_TRUE(terminal.Ok());
    // The operator's terminal as a console leaves it: line mode, 38400 baud.
    termios before = terminal.SlaveSettings();
    cfsetospeed(&before, B38400);
    cfsetispeed(&before, B38400);
    ASSERT_EQ(tcsetattr(terminal.Slave(), TCSANOW, &before), 0);
    before = terminal.SlaveSettings();
    ASSERT_TRUE(before.c_lflag & ICANON);
    if (c.keyWaiting) {
        ASSERT_TRUE(terminal.WriteMaster("q"));
        terminal.ReadMaster(1, kSettleMs);  // its echo
    }

    ZarvexHarness h(kPaths);
    FakeConfig modem;
    modem.model = FakeModel::Tarnel;
    std::string error;
    ASSERT_TRUE(h.Start({{modem, "ttyUSB0"}}, &error)) << error;
    std::vector<NamespaceDevice> devices = h.Devices();
    devices.push_back({"ttyS0", terminal.Path()});
    devices.push_back({"ttyUSB1", terminal.Path()});
    NamespaceProcess program;
    ASSERT_TRUE(program.Start(devices, {"/bin/sh", "-c", c.command, kPaths.zarvex},
                              NamespaceStdio::Pipes, kRunTimeoutMs, &error))
        << error;
    const NamespaceResult r = program.Wait();
    ASSERT_EQ(r.exitStatus, 0) << r.err;

    EXPECT_EQ(terminal.ReadMaster(1, kSettleMs), "") << "nothing is written to the terminal";
    EXPECT_TRUE(SameSettings(terminal.SlaveSettings(), before)) << "its settings are as they were";
    const std::string out = PlainText(r.out);
    const std::map<std::string, std::string> rows = hostile::TableRows(out, "\n");
    for (const char *port : {"ttyS0", "ttyUSB1"})
        EXPECT_EQ(hostile::ShownRow(rows, port), OwnTerminalRow(port)) << out;
    EXPECT_EQ(hostile::ShownRow(rows, "ttyUSB0"), hostile::ProfileRow("ttyUSB0", FakeModel::Tarnel, "9600")) << out;
    EXPECT_EQ(h.Record(0).CommandTexts().size(), 9u) << "the modem beside it is read as always";
}

INSTANTIATE_TEST_SUITE_P(Scan, OwnTerminalE2eTest, ::testing::ValuesIn(kAttachCases),
                         [](const ::testing::TestParamInfo<AttachCase> &info) {
                             return std::string(info.param.name);
                         });

}  // namespace
