#include "ComPortBase.h"

#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <thread>

#include "ComPortBaseLinux.h"
#include "DescriptorLimit.h"
#include "PtyPair.h"
#include "StreamingLine.h"
#include "TermLib.h"

namespace {

using Clock = std::chrono::steady_clock;

long ElapsedMs(Clock::time_point since)
{
    return static_cast<long>(
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - since).count());
}

std::string ErrorText(int number)
{
    return "Code: " + std::to_string(number) + "  " + std::strerror(number);
}

int OpenDescriptorCount()
{
    int count = 0;
    if (DIR *dir = opendir("/proc/self/fd")) {
        while (readdir(dir))
            count++;
        closedir(dir);
    }
    return count;
}

// A PDU line as the send steps write it: hexadecimal text ending in Ctrl-Z.
std::string PduLine(size_t length)
{
    std::string line;
    const char *hex = "0011000D91683110325476F80008AA";
    while (line.size() + 1 < length)
        line += hex[line.size() % 30];
    return line + '\x1a';
}

// Fills the slave's output towards the master until the driver refuses more.
size_t FillOutput(int slave)
{
    const int flags = fcntl(slave, F_GETFL);
    fcntl(slave, F_SETFL, flags | O_NONBLOCK);
    const std::string block(1024, '#');
    size_t total = 0;
    for (;;) {
        const ssize_t n = write(slave, block.data(), block.size());
        if (n <= 0)
            break;
        total += static_cast<size_t>(n);
    }
    fcntl(slave, F_SETFL, flags);
    return total;
}

class ComPortTest : public testing::Test {
protected:
    void SetUp() override
    {
        CComPortBase::ResetAllComPort();
        ASSERT_TRUE(pty.Ok());
    }
    void TearDown() override { CComPortBase::ResetAllComPort(); }

    PtyPair pty;
};

}  // namespace

TEST_F(ComPortTest, MissingDeviceGivesTheOpenError)
{
    CComPortBase port("/dev/ttyUSB-not-there", 9600);
    EXPECT_FALSE(port.IsOpened());
    EXPECT_TRUE(port.IsComError());
    EXPECT_EQ(port.GetErrorMsg(), ErrorText(ENOENT));
    EXPECT_FALSE(port.Write("AT\r\n"));
    std::string reply = "kept";
    EXPECT_TRUE(port.ReadAll(reply));
    EXPECT_EQ(reply, "kept");
}

TEST_F(ComPortTest, RegularFileIsRefusedAndClosedAgain)
{
    char path[] = "/tmp/zarvex-not-a-tty-XXXXXX";
    const int fd = mkstemp(path);
    ASSERT_GE(fd, 0);
    close(fd);
    const int before = OpenDescriptorCount();
    {
        CComPortBase port(path, 9600);
        EXPECT_FALSE(port.IsOpened());
        EXPECT_TRUE(port.IsComError());
        EXPECT_EQ(port.GetErrorMsg(), ErrorText(ENOTTY));
        EXPECT_EQ(OpenDescriptorCount(), before);
    }
    unlink(path);
}

TEST_F(ComPortTest, OpenAndCloseTwiceAreHarmless)
{
    CComPortBase port(pty.Path(), 9600);
    ASSERT_TRUE(port.IsOpened());
    EXPECT_FALSE(port.IsComError());

    // A second Open leaves the device alone: pending input stays.
    ASSERT_TRUE(pty.WriteMaster("\r\nRING\r\n"));
    EXPECT_TRUE(port.Open());
    std::string reply;
    port.ReadAll(reply);
    EXPECT_EQ(reply, "\r\nRING\r\n");

    EXPECT_TRUE(port.Close());
    EXPECT_FALSE(port.IsOpened());
    EXPECT_TRUE(port.Close());
    EXPECT_FALSE(port.Write("AT\r\n"));
    EXPECT_EQ(pty.ReadMaster(1, 100), "");

    EXPECT_TRUE(port.Open());  // opened and registered afresh
    EXPECT_TRUE(port.IsOpened());
    EXPECT_FALSE(port.IsComError());
}

struct SpeedCase {
    int baud;
    speed_t code;
    int writeSize;
    friend void PrintTo(const SpeedCase &c, std::ostream *os) { *os << c.baud; }
};

class ComPortSpeedTest : public ComPortTest, public testing::WithParamInterface<SpeedCase> {};

TEST_P(ComPortSpeedTest, ConfiguresRaw8N1AndTheWriteSize)
{
    CComPortBase port(pty.Path(), GetParam().baud);
    ASSERT_TRUE(port.IsOpened());
    EXPECT_EQ(tty_write_sz, GetParam().writeSize);
    const termios open = pty.SlaveSettings();
    EXPECT_EQ(cfgetospeed(&open), GetParam().code);
    EXPECT_TRUE(open.c_cflag & HUPCL);
}

TEST_P(ComPortSpeedTest, CloseLeavesRawAtThePortSpeedWithHupclOff)
{
    {
        CComPortBase port(pty.Path(), GetParam().baud);
        ASSERT_TRUE(port.IsOpened());
        port.Close();
    }
    const termios left = pty.SlaveSettings();
    EXPECT_EQ(cfgetospeed(&left), GetParam().code);
    EXPECT_EQ(cfgetispeed(&left), GetParam().code);
    EXPECT_FALSE(left.c_lflag & (ICANON | ECHO | ISIG));
    EXPECT_FALSE(left.c_oflag & OPOST);
    EXPECT_FALSE(left.c_iflag & (IXON | IXOFF | ICRNL));
    EXPECT_FALSE(left.c_cflag & (CRTSCTS | CSTOPB | HUPCL));
    EXPECT_TRUE(left.c_cflag & CLOCAL);
    EXPECT_EQ(left.c_cflag & CSIZE, tcflag_t(CS8));
    EXPECT_EQ(left.c_cc[VMIN], 1);
    EXPECT_EQ(left.c_cc[VTIME], 0);

    // Nothing restores the settings from before the open, not even a
    // restore of every registered port: the port is no longer registered.
    CComPortBase::ResetAllComPort();
    EXPECT_FALSE(pty.SlaveSettings().c_lflag & ICANON);
}

INSTANTIATE_TEST_SUITE_P(Speeds, ComPortSpeedTest,
                         testing::Values(SpeedCase{9600, B9600, 960},
                                         SpeedCase{115200, B115200, 11520}),
                         [](const testing::TestParamInfo<SpeedCase> &info) {
                             return "B" + std::to_string(info.param.baud);
                         });

TEST_F(ComPortTest, NextOpenSavesTheRawSettingsThatCloseLeft)
{
    {
        CComPortBase port(pty.Path(), 115200);
        ASSERT_TRUE(port.IsOpened());
    }
    CComPortBase port(pty.Path(), 9600);
    ASSERT_TRUE(port.IsOpened());
    // Restoring the saved settings gives back the 115200 of the last close.
    CComPortBase::ResetAllComPort();
    const termios restored = pty.SlaveSettings();
    EXPECT_EQ(cfgetospeed(&restored), speed_t(B115200));
    EXPECT_FALSE(restored.c_lflag & ICANON);
}

TEST_F(ComPortTest, WriteSendsTheCommandAndLeavesTheAnswerForReadAll)
{
    CComPortBase port(pty.Path(), 9600);
    ASSERT_TRUE(port.IsOpened());
    ASSERT_TRUE(pty.WriteMaster("\r\nOK\r\n"));
    const auto start = Clock::now();
    EXPECT_FALSE(port.Write("AT+CSQ\r"));
    EXPECT_GE(ElapsedMs(start), USLEEP_COUNT / 1000);
    EXPECT_EQ(pty.ReadMaster(7, 1000), "AT+CSQ\r");
    std::string reply;
    EXPECT_TRUE(port.ReadAll(reply));
    EXPECT_EQ(reply, "\r\nOK\r\n");
    EXPECT_FALSE(port.IsComError());
}

TEST_F(ComPortTest, EmptyCommandReadsOnceForACompleteReply)
{
    CComPortBase port(pty.Path(), 9600);
    ASSERT_TRUE(port.IsOpened());
    EXPECT_FALSE(port.Write(""));
    ASSERT_TRUE(pty.WriteMaster("\r\n+CSQ: 20,99\r\n"));
    usleep(20000);
    EXPECT_FALSE(port.Write(""));
    ASSERT_TRUE(pty.WriteMaster("\r\nOK\r\n"));
    usleep(20000);
    EXPECT_TRUE(port.Write(""));
    EXPECT_FALSE(port.IsComError());
}

TEST_F(ComPortTest, PduLineOf300BytesIsWrittenWhole)
{
    CComPortBase port(pty.Path(), 9600);
    ASSERT_TRUE(port.IsOpened());
    const std::string pdu = PduLine(300);
    EXPECT_FALSE(port.Write(pdu));
    EXPECT_EQ(pty.ReadMaster(pdu.size() + 1, 500), pdu);
    EXPECT_FALSE(port.IsComError());
}

TEST_F(ComPortTest, CommandLongerThanTheWriteSizeIsWrittenWhole)
{
    CComPortBase port(pty.Path(), 9600);
    ASSERT_TRUE(port.IsOpened());
    ASSERT_EQ(tty_write_sz, 960);
    const std::string pdu = PduLine(5000);
    EXPECT_FALSE(port.Write(pdu));
    EXPECT_EQ(pty.ReadMaster(pdu.size() + 1, 1000), pdu);
    EXPECT_FALSE(port.IsComError());
}

TEST_F(ComPortTest, RestOfAPartialWriteFollowsOnceThereIsRoom)
{
    CComPortBase port(pty.Path(), 115200);
    ASSERT_TRUE(port.IsOpened());
    const size_t filled = FillOutput(pty.Slave());
    const std::string head = pty.ReadMaster(4096, 1000);  // room for part only
    ASSERT_EQ(head.size(), 4096u);

    std::string arrived;
    std::thread modem([&] {
        usleep(200000);
        arrived = pty.ReadMaster(filled - head.size() + 8000, 5000);
    });
    const std::string pdu = PduLine(8000);
    port.Write(pdu);
    modem.join();
    ASSERT_EQ(arrived.size(), filled - head.size() + pdu.size());
    EXPECT_EQ(arrived.substr(arrived.size() - pdu.size()), pdu);
    EXPECT_FALSE(port.IsComError());
}

TEST_F(ComPortTest, RestOfAPartialWriteGivesUpWhenTheLineStaysBlocked)
{
    CComPortBase port(pty.Path(), 115200);
    ASSERT_TRUE(port.IsOpened());
    FillOutput(pty.Slave());
    ASSERT_EQ(pty.ReadMaster(4096, 1000).size(), 4096u);

    const auto start = Clock::now();
    EXPECT_FALSE(port.Write(PduLine(8000)));
    // Twice the line time of 8000 bytes at 115200 baud plus one second.
    EXPECT_LT(ElapsedMs(start), 4000);
    EXPECT_TRUE(port.IsComError());
    EXPECT_EQ(port.GetErrorMsg(), ErrorText(ETIMEDOUT));
}

TEST_F(ComPortTest, ReadAllWithNothingPendingTakesOnePause)
{
    CComPortBase port(pty.Path(), 9600);
    ASSERT_TRUE(port.IsOpened());
    std::string reply = "ATE0";
    const auto start = Clock::now();
    EXPECT_TRUE(port.ReadAll(reply));
    const long took = ElapsedMs(start);
    EXPECT_EQ(reply, "ATE0");
    EXPECT_GE(took, USLEEP_COUNT / 1000);
    EXPECT_LT(took, 500);
    EXPECT_FALSE(port.IsComError());
}

TEST_F(ComPortTest, ReadAnswersFalseEvenWithData)
{
    CComPortBase port(pty.Path(), 9600);
    ASSERT_TRUE(port.IsOpened());
    ASSERT_TRUE(pty.WriteMaster("\r\nOK\r\n"));
    std::string reply;
    EXPECT_FALSE(port.Read(reply));
    EXPECT_EQ(reply, "\r\nOK\r\n");
}

TEST_F(ComPortTest, ReplyInPiecesLessThanAPauseApartIsGatheredByOneReadAll)
{
    CComPortBase port(pty.Path(), 9600);
    ASSERT_TRUE(port.IsOpened());
    const std::string pieces[] = {"\r\n+CMGL: 1,1,,24\r\n", "0891683108200105F0", "040D91",
                                  "683118", "\r\n\r\n", "OK\r\n"};
    ASSERT_TRUE(pty.WriteMaster(pieces[0]));
    std::thread modem([&] {
        for (size_t i = 1; i < sizeof pieces / sizeof pieces[0]; i++) {
            usleep(20000);
            pty.WriteMaster(pieces[i]);
        }
    });
    std::string reply;
    port.ReadAll(reply);
    modem.join();
    EXPECT_EQ(reply, "\r\n+CMGL: 1,1,,24\r\n0891683108200105F0040D91683118\r\n\r\nOK\r\n");
}

TEST_F(ComPortTest, ReplyPausedLongerThanAPauseIsSplitOverTwoReadAlls)
{
    CComPortBase port(pty.Path(), 9600);
    ASSERT_TRUE(port.IsOpened());
    ASSERT_TRUE(pty.WriteMaster("\r\n+CMGS: 12\r\n"));
    std::thread modem([&] {
        usleep(400000);
        pty.WriteMaster("\r\nOK\r\n");
    });
    std::string first;
    port.ReadAll(first);
    EXPECT_EQ(first, "\r\n+CMGS: 12\r\n");
    std::string second;
    for (int poll = 0; poll < 20 && second.empty(); poll++)
        port.ReadAll(second);
    modem.join();
    EXPECT_EQ(second, "\r\nOK\r\n");
}

TEST_F(ComPortTest, LeftoverErrnoOfTheThreadIsNotThePortsError)
{
    errno = EAGAIN;
    CComPortBase port(pty.Path(), 9600);
    ASSERT_TRUE(port.IsOpened());
    errno = EAGAIN;
    EXPECT_TRUE(port.Open());
    errno = EAGAIN;
    port.Write("AT\r\n");
    errno = EINTR;
    std::string reply;
    port.ReadAll(reply);  // nothing arrives
    errno = EAGAIN;
    port.Write("");
    port.Close();
    errno = EBADF;
    port.ReadAll(reply);  // a closed port
    EXPECT_FALSE(port.IsComError());
    EXPECT_EQ(port.GetErrorMsg(), "");
}

TEST_F(ComPortTest, VanishedDeviceEndsReadAllAndWritePromptlyWithTheError)
{
    CComPortBase port(pty.Path(), 9600);
    ASSERT_TRUE(port.IsOpened());
    pty.CloseMaster();

    std::string reply;
    auto start = Clock::now();
    EXPECT_TRUE(port.ReadAll(reply));
    EXPECT_LT(ElapsedMs(start), 500);
    EXPECT_TRUE(port.IsComError());
    EXPECT_EQ(port.GetErrorMsg(), ErrorText(EIO));

    start = Clock::now();
    EXPECT_FALSE(port.Write("AT+CMGF=0\r"));
    EXPECT_LT(ElapsedMs(start), 500);
    EXPECT_EQ(port.GetErrorMsg(), ErrorText(EIO));
    EXPECT_FALSE(port.Write(""));
    EXPECT_EQ(port.GetErrorMsg(), ErrorText(EIO));
}

// The kind of the last failure, beside its text: what the flows decide on.
TEST_F(ComPortTest, FailureKindTellsAVanishedDeviceFromAMissingOne)
{
    CComPortBase missing("/dev/ttyUSB-not-there", 9600);
    EXPECT_EQ(missing.GetFailureKind(), PortFailureKind::NotFound);

    char path[] = "/tmp/zarvex-not-a-tty-XXXXXX";
    const int fd = mkstemp(path);
    ASSERT_GE(fd, 0);
    close(fd);
    {
        CComPortBase notATerminal(path, 9600);
        EXPECT_EQ(notATerminal.GetFailureKind(), PortFailureKind::Other);
    }
    unlink(path);

    CComPortBase port(pty.Path(), 9600);
    ASSERT_TRUE(port.IsOpened());
    std::string reply;
    port.ReadAll(reply);  // nothing arrives, nothing failed
    EXPECT_EQ(port.GetFailureKind(), PortFailureKind::None);
    pty.CloseMaster();
    port.ReadAll(reply);
    EXPECT_EQ(port.GetFailureKind(), PortFailureKind::LineGone);
}

// The settings table takes as many ports as the process may hold
// descriptors. One more fails to open, leaves the device as it was and says
// why, instead of staying open on a line it never configured.
TEST_F(ComPortTest, PortTheSettingsTableRefusesFailsToOpenOutOfDescriptors)
{
    FullSettingsTable table;
    ASSERT_TRUE(table.Ok());
    CComPortBase port(pty.Path(), 9600);
    EXPECT_FALSE(port.IsOpened());
    EXPECT_TRUE(port.IsComError());
    EXPECT_EQ(port.GetErrorCode(), EMFILE);
    EXPECT_EQ(port.GetErrorMsg(), ErrorText(EMFILE));
    EXPECT_FALSE(port.Write("AT\r\n"));
    EXPECT_EQ(pty.ReadMaster(1, 100), "");
    EXPECT_TRUE(pty.SlaveSettings().c_lflag & ICANON);

    table.FreeOneSlot();
    EXPECT_TRUE(port.Open());
    EXPECT_TRUE(port.IsOpened());
    EXPECT_FALSE(pty.SlaveSettings().c_lflag & ICANON);
    port.Close();
}

// What one gathering without a bound of its caller's may bring at most.
constexpr size_t kUnboundedGatherBytes = 1000u * 128u;

struct BoundCase {
    const char *name;
    std::string piece;  // sent again and again, never pausing for a whole pause
    std::chrono::microseconds gap;
    std::optional<ReadBound> bound;  // none: the port's own
    size_t minBytes, maxBytes;
    long minMs, maxMs;
    friend void PrintTo(const BoundCase &c, std::ostream *os) { *os << c.name; }
};

class BoundedGatheringTest : public ComPortTest, public testing::WithParamInterface<BoundCase> {};

// A caller that knows how long its reply can be is not held for the round
// cap: the gathering stops at the bytes or the time it allows, whichever
// comes first, and never appends more than it allows. Without such a bound
// the port's own caps end it: 1000 rounds, or the bytes those rounds let
// through when a round took at most 128 bytes.
TEST_P(BoundedGatheringTest, InputThatNeverPausesEndsAtTheBound)
{
    const BoundCase &c = GetParam();
    StreamingLine line(std::chrono::milliseconds(c.maxMs), c.piece, c.gap);
    ASSERT_TRUE(line.Ok());
    CComPortBase port(line.Path(), 115200);
    ASSERT_TRUE(port.IsOpened());
    std::string reply = "kept";
    const auto start = Clock::now();
    EXPECT_TRUE(c.bound ? port.ReadAll(reply, *c.bound) : port.ReadAll(reply));
    const long took = ElapsedMs(start);
    ASSERT_EQ(reply.compare(0, 4, "kept"), 0);
    EXPECT_GE(reply.size() - 4, c.minBytes);
    EXPECT_LE(reply.size() - 4, c.maxBytes);
    EXPECT_GE(took, c.minMs);
    EXPECT_LT(took, c.maxMs);
    EXPECT_FALSE(port.IsComError());
}

INSTANTIATE_TEST_SUITE_P(
    Bounds, BoundedGatheringTest,
    testing::Values(
        // Each look takes all that has come: the first one brings the bytes.
        BoundCase{"FloodStopsAtTheBytes", kPositionReport, std::chrono::microseconds(2000),
                  ReadBound{1000, 10000}, 1000, 1000, USLEEP_COUNT / 1000, 2000},
        // A byte every 5 ms: never a pause, never many bytes.
        BoundCase{"TrickleStopsAtTheTime", "$", std::chrono::microseconds(5000),
                  ReadBound{100000, 600}, 1, 600 / 5 + 20, 600, 600 + 1500},
        // Far more than 128 bytes a round: the bytes end it long before the
        // rounds would.
        BoundCase{"UnboundedFloodStopsAtThePortsBytes", kPositionReport,
                  std::chrono::microseconds(2000), std::nullopt, kUnboundedGatherBytes,
                  kUnboundedGatherBytes, USLEEP_COUNT / 1000, 1000L * USLEEP_COUNT / 1000 / 2},
        // Fewer than 128 bytes a round, yet every round finds some: the
        // round cap ends it. On a loaded machine the writer may fall behind
        // now and then, so a round can bring less.
        BoundCase{"UnboundedTrickleStopsAtTheRoundCap", std::string(16, 'U'),
                  std::chrono::microseconds(10000), std::nullopt, 1, kUnboundedGatherBytes - 1,
                  1000L * USLEEP_COUNT / 1000, 3L * 1000 * USLEEP_COUNT / 1000}),
    [](const testing::TestParamInfo<BoundCase> &info) { return std::string(info.param.name); });

// A reply that lies waiting is taken whole by the first look at the line,
// not a piece of it each pause: a line without flow control loses what the
// modem sends while too much lies unread.
TEST_F(ComPortTest, OneLookTakesEverythingThatHasArrived)
{
    CComPortBase port(pty.Path(), 115200);
    ASSERT_TRUE(port.IsOpened());
    std::string listing;
    for (int i = 1; listing.size() < 3000; ++i)
        listing += "\r\n+CMGL: " + std::to_string(i) + ",1,,24\r\n0891683108200105F0040D91683118\r\n";
    listing += "\r\nOK\r\n";
    ASSERT_TRUE(pty.WriteMaster(listing));
    std::string reply;
    // The time is over before the first look: only that one is taken.
    port.ReadAll(reply, ReadBound{1024 * 1024, 1});
    EXPECT_EQ(reply, listing);
}

// Within its bound a reply still ends at the line's pause; a longer one is
// cut where the bound ends and the rest waits on the line.
TEST_F(ComPortTest, BoundedGatheringOfAReplyThatPauses)
{
    CComPortBase port(pty.Path(), 9600);
    ASSERT_TRUE(port.IsOpened());
    ASSERT_TRUE(pty.WriteMaster("\r\nOK\r\n"));
    std::string reply;
    auto start = Clock::now();
    port.ReadAll(reply, ReadBound{4096, 2000});
    EXPECT_EQ(reply, "\r\nOK\r\n");
    EXPECT_LT(ElapsedMs(start), 500);

    const std::string listing = "\r\n+CMGL: " + std::string(290, '0') + "\r\n";
    ASSERT_TRUE(pty.WriteMaster(listing));
    reply.clear();
    port.ReadAll(reply, ReadBound{100, 2000});
    EXPECT_EQ(reply, listing.substr(0, 100));
    port.ReadAll(reply);
    EXPECT_EQ(reply, listing);
}

struct FinishedCase {
    const char *name;
    std::string reply;
    bool finished;
    friend void PrintTo(const FinishedCase &c, std::ostream *os) { *os << c.name; }
};

class IsReadFinishedTest : public testing::TestWithParam<FinishedCase> {};

TEST_P(IsReadFinishedTest, LooksForAnEndMarkerAnywhere)
{
    EXPECT_EQ(IsReadFinished(GetParam().reply), GetParam().finished);
}

INSTANTIATE_TEST_SUITE_P(
    Replies, IsReadFinishedTest,
    testing::Values(FinishedCase{"Ok", "\r\nOK\r\n", true},
                    FinishedCase{"OkInsideAWord", "TOKEN", true},
                    FinishedCase{"CmeError", "\r\n+CME ERROR: 10\r\n", true},
                    FinishedCase{"Prompt", "\r\n> ", true},
                    FinishedCase{"SmsFull", "^SMS FULL", true},
                    FinishedCase{"SmsDone", "\r\nSMS DONE\r\n", true},
                    FinishedCase{"LowerCaseOk", "\r\nok\r\n", false},
                    FinishedCase{"SignalOnly", "\r\n+CSQ: 20,99\r\n", false},
                    FinishedCase{"Empty", "", false}),
    [](const testing::TestParamInfo<FinishedCase> &info) { return std::string(info.param.name); });
