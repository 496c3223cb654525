// The program's own terminal among the ports a scan lists: told by its
// device, whichever path names it, and never opened, so that nothing is
// written to it and its settings stay as the operator had them.
#include <sys/sysmacros.h>
#include <termios.h>
#include <unistd.h>

#include "AppTestSupport.h"
#include "CheckManagerLinux.h"
#include "OwnTerminal.h"
#include "PtyPair.h"

namespace {
using app_test::DeviceLinks;
using app_test::PortTest;

// ---- The controlling terminal in the process status line -----------------

struct StatusCase {
    const char *name;
    const char *line;
    bool named;
    unsigned major, minor;
};

void PrintTo(const StatusCase &c, std::ostream *os)
{
    *os << c.name;
}

// The fields up to the terminal: pid, name, state, parent, group, session.
const StatusCase kStatusCases[] = {
    {"PseudoTerminal", "4242 (Zarvex) S 4200 4242 4200 34819 4242 4194560 190 0", true, 136, 3},
    {"SerialConsole", "4242 (Zarvex) S 1 4242 4242 1088 4242 4194560", true, 4, 64},
    {"MinorAbove255", "4242 (Zarvex) S 1 4242 4242 1083436 -1 0", true, 136, 300},
    // The number is written as a signed int: a minor this large makes it
    // negative.
    {"MinorBeyondTheSignBit", "4242 (Zarvex) S 1 4242 4242 -2147448832 -1 0", true, 136, 524288},
    {"NoTerminal", "4242 (Zarvex) S 1 4242 4242 0 -1 4194560", false, 0, 0},
    // A command name may hold blanks and parentheses of its own.
    {"NameWithBlanksAndParentheses", "77 (a) b (c)) S 1 77 77 34819 77 0", true, 136, 3},
    {"CutBeforeTheTerminal", "77 (Zarvex) S 1 77 77", false, 0, 0},
    {"WithoutName", "77 Zarvex S 1 77 77 34819 77", false, 0, 0},
    {"NotANumber", "77 (Zarvex) S 1 77 77 pts3 77", false, 0, 0},
    {"NumberBeyondAnInt", "77 (Zarvex) S 1 77 77 4294967296 77", false, 0, 0},
};

class StatusLineTest : public ::testing::TestWithParam<StatusCase> {};

TEST_P(StatusLineTest, ControllingTerminal)
{
    const StatusCase &c = GetParam();
    dev_t device = makedev(99, 99);
    EXPECT_EQ(ControllingTerminalOfStatus(c.line, &device), c.named);
    if (c.named) {
        EXPECT_EQ(major(device), c.major);
        EXPECT_EQ(minor(device), c.minor);
    }
}

INSTANTIATE_TEST_SUITE_P(OwnTerminal, StatusLineTest, ::testing::ValuesIn(kStatusCases),
                         [](const ::testing::TestParamInfo<StatusCase> &info) {
                             return std::string(info.param.name);
                         });

// ---- A standard stream on the terminal -----------------------------------

// One of the standard streams on another descriptor for a while.
class StreamOnTerminal {
public:
    StreamOnTerminal(int stream, int terminal) : m_stream(stream), m_saved(dup(stream))
    {
        std::fflush(stdout);
        m_ok = m_saved >= 0 && dup2(terminal, stream) == stream;
    }
    ~StreamOnTerminal() { Restore(); }
    StreamOnTerminal(const StreamOnTerminal &) = delete;
    StreamOnTerminal &operator=(const StreamOnTerminal &) = delete;

    bool Ok() const { return m_ok; }
    void Restore()
    {
        if (m_saved < 0)
            return;
        std::fflush(stdout);
        dup2(m_saved, m_stream);
        close(m_saved);
        m_saved = -1;
    }

private:
    int m_stream;
    int m_saved;
    bool m_ok = false;
};

struct StreamCase {
    const char *name;
    int stream;
    bool throughLink;  // the port listed under another name than the stream's
};

void PrintTo(const StreamCase &c, std::ostream *os)
{
    *os << c.name;
}

const StreamCase kStreamCases[] = {
    {"StandardInput", STDIN_FILENO, false},
    {"StandardOutput", STDOUT_FILENO, false},
    {"StandardError", STDERR_FILENO, false},
    {"StandardInputUnderAnotherName", STDIN_FILENO, true},
    {"StandardErrorUnderAnotherName", STDERR_FILENO, true},
};

class OwnTerminalProbeTest : public PortTest, public ::testing::WithParamInterface<StreamCase> {};

TEST_P(OwnTerminalProbeTest, IsNeverOpened)
{
    const StreamCase &c = GetParam();
    PtyPair terminal;
    ASSERT_TRUE(terminal.Ok());
    DeviceLinks links;
    const std::string path = c.throughLink ? links.Add("console", terminal.Path()) : terminal.Path();
    ASSERT_FALSE(path.empty());
    const termios before = terminal.SlaveSettings();
    ASSERT_TRUE(before.c_lflag & ICANON) << "an operator's terminal, in line mode";
    ASSERT_FALSE(IsOwnTerminal(path.c_str())) << "a terminal nobody uses is not the program's";

    pthread_mutex_lock(&vecLock);
    CCheckManager::g_comVec.clear();
    pthread_mutex_unlock(&vecLock);
    bool own = false;
    {
        // Nothing is asserted while the stream is away: a failure could not
        // be reported on it.
        StreamOnTerminal onTerminal(c.stream, terminal.Slave());
        ASSERT_TRUE(onTerminal.Ok());
        own = IsOwnTerminal(path.c_str());
        GetInfoOnPort(path.c_str());
    }
    EXPECT_TRUE(own);
    ASSERT_EQ(CCheckManager::g_comVec.size(), 1u);
    const DeviceBaseComInfo &record = CCheckManager::g_comVec[0];
    EXPECT_EQ(std::string(record.comPath), path);
    EXPECT_TRUE(record.isOwnTerminal);
    EXPECT_FALSE(record.isAtOk);
    EXPECT_FALSE(record.isPortOk);
    EXPECT_STREQ(record.smsCardNumber, "");
    EXPECT_EQ(terminal.ReadMaster(1, 200), "") << "nothing is written to it";
    EXPECT_TRUE(SameSettings(terminal.SlaveSettings(), before)) << "its settings are left alone";
}

INSTANTIATE_TEST_SUITE_P(OwnTerminal, OwnTerminalProbeTest, ::testing::ValuesIn(kStreamCases),
                         [](const ::testing::TestParamInfo<StreamCase> &info) {
                             return std::string(info.param.name);
                         });

}  // namespace
