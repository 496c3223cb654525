#include "TermLib.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

#include "DescriptorLimit.h"
#include "PtyPair.h"
#include "TermLibOffered.h"

namespace {

bool IsCooked(const termios &tio)
{
    return (tio.c_lflag & ICANON) && (tio.c_lflag & ECHO);
}

bool IsRaw(const termios &tio)
{
    return !(tio.c_lflag & (ICANON | ECHO | ISIG)) && tio.c_cc[VMIN] == 1 &&
           tio.c_cc[VTIME] == 0;
}

// Registers fd and applies raw 8N1 at baud.
int MakeRaw(int fd, int baud)
{
    if (term_set(fd, 1, baud, P_NONE, 8, 1, FC_NONE, 1, 1) < 0)
        return -1;
    return term_apply(fd, 1);
}

bool SlaveHasInput(int slave, int timeoutMs)
{
    pollfd p = {slave, POLLIN, 0};
    return poll(&p, 1, timeoutMs) == 1;
}

class TermLibTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(term_lib_init(), 0);
        ASSERT_TRUE(pty.Ok());
        ASSERT_TRUE(IsCooked(pty.SlaveSettings()));
    }
    // A second initialisation restores and forgets whatever a test left.
    void TearDown() override { term_lib_init(); }

    PtyPair pty;
};

}  // namespace

TEST(TermLibUninitialised, EveryDescriptorOperationFailsWithError1)
{
    // Each test runs in a process of its own under the test driver; run
    // together with the others, an earlier test has initialised the library.
    term_erase(-1);
    if (term_errno != TERM_ENOINIT)
        GTEST_SKIP() << "the library was initialised by an earlier test of this process";
    PtyPair pty;
    ASSERT_TRUE(pty.Ok());
    const int fd = pty.Slave();
    auto refusedUninitialised = [](int result) {
        const bool refused = result == -1 && term_errno == TERM_ENOINIT;
        term_errno = TERM_EOK;
        return refused;
    };
    EXPECT_TRUE(refusedUninitialised(term_add(fd)));
    EXPECT_TRUE(refusedUninitialised(term_set(fd, 1, 9600, P_NONE, 8, 1, FC_NONE, 1, 1)));
    EXPECT_TRUE(refusedUninitialised(term_apply(fd, 0)));
    EXPECT_TRUE(refusedUninitialised(term_set_hupcl(fd, 0)));
    EXPECT_TRUE(refusedUninitialised(term_flush(fd)));
    EXPECT_TRUE(refusedUninitialised(term_erase(fd)));
    EXPECT_TRUE(refusedUninitialised(term_remove(fd)));
    EXPECT_TRUE(refusedUninitialised(term_get_baudrate(fd, nullptr)));
    EXPECT_TRUE(IsCooked(pty.SlaveSettings()));
}

TEST_F(TermLibTest, RegistrationRefusesDuplicatesNonTerminalsAndUnknownDescriptors)
{
    ASSERT_EQ(term_add(pty.Slave()), 0);
    EXPECT_EQ(term_add(pty.Slave()), -1);
    EXPECT_EQ(term_errno, TERM_EEXISTS);

    int pipeFds[2];
    ASSERT_EQ(pipe(pipeFds), 0);
    EXPECT_EQ(term_add(pipeFds[0]), -1);
    EXPECT_EQ(term_errno, TERM_EISATTY);
    EXPECT_EQ(term_set(pipeFds[0], 1, 9600, P_NONE, 8, 1, FC_NONE, 1, 1), -1);
    EXPECT_EQ(term_errno, TERM_EISATTY);
    close(pipeFds[0]);
    close(pipeFds[1]);

    EXPECT_EQ(term_apply(pty.Master() + 1000, 0), -1);
    EXPECT_EQ(term_errno, TERM_ENOTFOUND);
    EXPECT_EQ(term_set_parity(pty.Master() + 1000, P_NONE), -1);
    EXPECT_EQ(term_errno, TERM_ENOTFOUND);
}

// A scan registers every port it lists at once: hundreds fit, and only the
// process's own descriptor limit turns one more away.
TEST_F(TermLibTest, TableGrowsUntilItHoldsAsManyAsTheDescriptorLimit)
{
    constexpr int kRegistered = 300;
    std::vector<int> fds;
    for (int i = 0; i < kRegistered; i++) {
        const int fd = dup(pty.Slave());
        ASSERT_GE(fd, 0);
        fds.push_back(fd);
        ASSERT_EQ(term_add(fd), 0) << "descriptor " << i;
    }
    const int extra = dup(pty.Slave());
    ASSERT_GE(extra, 0);
    {
        ScopedDescriptorLimit limit(kRegistered);
        ASSERT_TRUE(limit.Ok());
        EXPECT_EQ(term_add(extra), -1);
        EXPECT_EQ(term_errno, TERM_EFULL);
        EXPECT_EQ(term_set(extra, 1, 9600, P_NONE, 8, 1, FC_NONE, 1, 1), -1);
        EXPECT_EQ(term_errno, TERM_EFULL);

        // A freed slot can be taken again.
        ASSERT_EQ(term_erase(fds[kRegistered / 2]), 0);
        EXPECT_EQ(term_add(extra), 0);
    }
    // The others are still known by their own settings.
    EXPECT_EQ(term_set_hupcl(fds.front(), 0), 0);
    EXPECT_EQ(term_set_hupcl(fds.back(), 0), 0);

    term_lib_init();
    for (int fd : fds)
        close(fd);
    close(extra);
}

TEST_F(TermLibTest, SetChangesNothingUntilApplied)
{
    ASSERT_EQ(term_set(pty.Slave(), 1, 19200, P_NONE, 8, 2, FC_RTSCTS, 1, 0), 0);
    EXPECT_TRUE(IsCooked(pty.SlaveSettings()));
    const int before = term_get_baudrate(pty.Slave(), nullptr);
    EXPECT_NE(before, 19200);

    ASSERT_EQ(term_apply(pty.Slave(), 1), 0);
    const termios now = pty.SlaveSettings();
    EXPECT_TRUE(IsRaw(now));
    EXPECT_EQ(cfgetospeed(&now), speed_t(B19200));
    EXPECT_TRUE(now.c_cflag & CLOCAL);
    EXPECT_FALSE(now.c_cflag & HUPCL);
    int ispeed = -1;
    EXPECT_EQ(term_get_baudrate(pty.Slave(), &ispeed), 19200);
    EXPECT_EQ(ispeed, 19200);  // input follows output
    EXPECT_EQ(term_get_stopbits(pty.Slave()), 2);
    EXPECT_EQ(term_get_flowcntrl(pty.Slave()), FC_RTSCTS);
    EXPECT_EQ(term_get_databits(pty.Slave()), 8);
    EXPECT_EQ(term_get_parity(pty.Slave()), P_NONE);
}

TEST_F(TermLibTest, GetBaudrateReportsTheAppliedSpeedNotThePreparedOne)
{
    ASSERT_EQ(MakeRaw(pty.Slave(), 9600), 0);
    ASSERT_EQ(term_set_baudrate(pty.Slave(), 115200), 0);
    EXPECT_EQ(term_get_baudrate(pty.Slave(), nullptr), 9600);
    ASSERT_EQ(term_apply(pty.Slave(), 1), 0);
    EXPECT_EQ(term_get_baudrate(pty.Slave(), nullptr), 115200);
}

TEST_F(TermLibTest, BadSpeedForgetsADescriptorThatThisCallRegistered)
{
    EXPECT_EQ(term_set(pty.Slave(), 1, 14400, P_NONE, 8, 1, FC_NONE, 1, 1), -1);
    EXPECT_EQ(term_errno, TERM_EBAUD);
    EXPECT_EQ(term_apply(pty.Slave(), 1), -1);
    EXPECT_EQ(term_errno, TERM_ENOTFOUND);
    EXPECT_TRUE(IsCooked(pty.SlaveSettings()));
}

TEST_F(TermLibTest, FailedSetPutsBackTheNextSettingsOfARegisteredDescriptor)
{
    ASSERT_EQ(term_set(pty.Slave(), 0, 9600, P_NONE, 8, 1, FC_NONE, 1, 1), 0);
    // Raw mode and the speed are changed before the parity is refused.
    EXPECT_EQ(term_set(pty.Slave(), 1, 115200, 9, 8, 1, FC_NONE, 1, 1), -1);
    EXPECT_EQ(term_errno, TERM_EPARITY);
    EXPECT_EQ(term_set(pty.Slave(), 1, 115200, P_NONE, 8, 3, FC_NONE, 1, 1), -1);
    EXPECT_EQ(term_errno, TERM_ESTOPBITS);
    EXPECT_EQ(term_set(pty.Slave(), 1, 115200, P_NONE, 9, 1, FC_NONE, 1, 1), -1);
    EXPECT_EQ(term_errno, TERM_EDATABITS);
    EXPECT_EQ(term_set(pty.Slave(), 1, 115200, P_NONE, 8, 1, 7, 1, 1), -1);
    EXPECT_EQ(term_errno, TERM_EFLOW);

    ASSERT_EQ(term_apply(pty.Slave(), 1), 0);
    const termios now = pty.SlaveSettings();
    EXPECT_TRUE(IsCooked(now));
    EXPECT_EQ(cfgetospeed(&now), speed_t(B9600));
}

TEST_F(TermLibTest, ApplyNowKeepsUnreadInputApplyFlushDiscardsIt)
{
    ASSERT_EQ(MakeRaw(pty.Slave(), 9600), 0);
    ASSERT_TRUE(pty.WriteMaster("+CMTI: \"SM\",3\r\n"));
    ASSERT_TRUE(SlaveHasInput(pty.Slave(), 1000));

    ASSERT_EQ(term_apply(pty.Slave(), 1), 0);
    EXPECT_TRUE(SlaveHasInput(pty.Slave(), 0));

    ASSERT_EQ(term_apply(pty.Slave(), 0), 0);
    EXPECT_FALSE(SlaveHasInput(pty.Slave(), 100));
}

TEST_F(TermLibTest, FlushDiscardsPendingInput)
{
    ASSERT_EQ(term_add(pty.Slave()), 0);
    ASSERT_TRUE(pty.WriteMaster("RING\r\n"));
    ASSERT_TRUE(SlaveHasInput(pty.Slave(), 1000));
    EXPECT_EQ(term_flush(pty.Slave()), 0);
    EXPECT_FALSE(SlaveHasInput(pty.Slave(), 100));
}

TEST_F(TermLibTest, EraseLeavesTheDeviceRemoveRestoresIt)
{
    ASSERT_EQ(MakeRaw(pty.Slave(), 9600), 0);
    ASSERT_EQ(term_erase(pty.Slave()), 0);
    EXPECT_TRUE(IsRaw(pty.SlaveSettings()));
    EXPECT_EQ(term_erase(pty.Slave()), -1);
    EXPECT_EQ(term_errno, TERM_ENOTFOUND);

    // Registered again, the raw settings are now the saved ones.
    PtyPair other;
    ASSERT_TRUE(other.Ok());
    ASSERT_EQ(MakeRaw(other.Slave(), 9600), 0);
    ASSERT_EQ(term_remove(other.Slave()), 0);
    EXPECT_TRUE(IsCooked(other.SlaveSettings()));
    EXPECT_EQ(term_remove(other.Slave()), -1);
    EXPECT_EQ(term_errno, TERM_ENOTFOUND);
}

TEST_F(TermLibTest, RemoveFreesTheSlotEvenWhenTheRestoreFails)
{
    const int fd = dup(pty.Slave());
    ASSERT_EQ(term_add(fd), 0);
    close(fd);
    EXPECT_EQ(term_remove(fd), -1);
    EXPECT_EQ(term_errno, TERM_EFLUSH);
    EXPECT_EQ(term_erase(fd), -1);
    EXPECT_EQ(term_errno, TERM_ENOTFOUND);
}

TEST_F(TermLibTest, ResetRevertAndRefresh)
{
    ASSERT_EQ(MakeRaw(pty.Slave(), 19200), 0);

    // Revert drops what was prepared since the last apply.
    ASSERT_EQ(term_set_baudrate(pty.Slave(), 4800), 0);
    ASSERT_EQ(term_revert(pty.Slave()), 0);
    ASSERT_EQ(term_apply(pty.Slave(), 1), 0);
    EXPECT_EQ(term_get_baudrate(pty.Slave(), nullptr), 19200);

    // Refresh learns a change made behind the library's back.
    termios behind = pty.SlaveSettings();
    cfsetospeed(&behind, B2400);
    ASSERT_EQ(tcsetattr(pty.Slave(), TCSANOW, &behind), 0);
    EXPECT_EQ(term_get_baudrate(pty.Slave(), nullptr), 19200);
    ASSERT_EQ(term_refresh(pty.Slave()), 0);
    EXPECT_EQ(term_get_baudrate(pty.Slave(), nullptr), 2400);

    // Reset puts the saved settings back and keeps the registration.
    ASSERT_EQ(term_reset(pty.Slave()), 0);
    EXPECT_TRUE(IsCooked(pty.SlaveSettings()));
    EXPECT_EQ(term_get_baudrate(pty.Slave(), nullptr), 38400);
    EXPECT_EQ(term_apply(pty.Slave(), 1), 0);
    EXPECT_TRUE(IsCooked(pty.SlaveSettings()));
}

TEST_F(TermLibTest, ReplaceMovesTheSettingsToTheNewDescriptor)
{
    PtyPair other;
    ASSERT_TRUE(other.Ok());
    ASSERT_EQ(MakeRaw(pty.Slave(), 57600), 0);
    ASSERT_EQ(term_replace(pty.Slave(), other.Slave()), 0);
    const termios moved = other.SlaveSettings();
    EXPECT_TRUE(IsRaw(moved));
    EXPECT_EQ(cfgetospeed(&moved), speed_t(B57600));
    EXPECT_EQ(term_get_baudrate(other.Slave(), nullptr), 57600);
    EXPECT_EQ(term_apply(pty.Slave(), 1), -1);
    EXPECT_EQ(term_errno, TERM_ENOTFOUND);
    EXPECT_EQ(term_erase(other.Slave()), 0);
}

TEST_F(TermLibTest, ReplaceRefusesADescriptorRegisteredElsewhere)
{
    PtyPair other;
    ASSERT_TRUE(other.Ok());
    ASSERT_EQ(term_add(pty.Slave()), 0);
    ASSERT_EQ(term_add(other.Slave()), 0);
    EXPECT_EQ(term_replace(pty.Slave(), other.Slave()), -1);
    EXPECT_EQ(term_errno, TERM_EEXISTS);
    EXPECT_EQ(term_erase(pty.Slave()), 0);
    EXPECT_EQ(term_erase(other.Slave()), 0);
}

TEST_F(TermLibTest, SecondInitRestoresAndForgetsEveryDescriptor)
{
    PtyPair other;
    ASSERT_TRUE(other.Ok());
    ASSERT_EQ(MakeRaw(pty.Slave(), 9600), 0);
    ASSERT_EQ(MakeRaw(other.Slave(), 115200), 0);
    ASSERT_EQ(term_lib_init(), 0);
    EXPECT_TRUE(IsCooked(pty.SlaveSettings()));
    EXPECT_TRUE(IsCooked(other.SlaveSettings()));
    EXPECT_EQ(term_apply(pty.Slave(), 1), -1);
    EXPECT_EQ(term_errno, TERM_ENOTFOUND);
    EXPECT_EQ(term_add(pty.Slave()), 0);
}

TEST_F(TermLibTest, ExitRestoresTheSavedSettingsOfRegisteredDescriptors)
{
    EXPECT_EXIT(
        {
            MakeRaw(pty.Slave(), 115200);
            std::exit(IsRaw(pty.SlaveSettings()) ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
    EXPECT_TRUE(IsCooked(pty.SlaveSettings()));
}

TEST_F(TermLibTest, ExitHandlerRunsOnceAndReportsAFailedRestore)
{
    EXPECT_EXIT(
        {
            term_lib_init();
            term_lib_init();
            const int fd = dup(pty.Slave());
            term_add(fd);
            close(fd);
            std::exit(0);
        },
        testing::ExitedWithCode(0),
        "^term_exitfunc: reset failed for dev UNKNOWN: Bad file descriptor\n$");
}

TEST_F(TermLibTest, ModemControlRequestsThatAPtyLacksReportTheirErrors)
{
    ASSERT_EQ(term_add(pty.Slave()), 0);
    EXPECT_EQ(term_raise_dtr(pty.Slave()), -1);
    EXPECT_EQ(term_errno, TERM_EDTRUP);
    EXPECT_EQ(term_lower_dtr(pty.Slave()), -1);
    EXPECT_EQ(term_errno, TERM_EDTRDOWN);
    EXPECT_EQ(term_pulse_dtr(pty.Slave()), -1);
    EXPECT_EQ(term_errno, TERM_EDTRDOWN);
    EXPECT_EQ(term_get_mctl(pty.Slave()), -1);
    EXPECT_EQ(term_drain(pty.Slave()), 0);
    EXPECT_EQ(term_break(pty.Slave()), 0);
    EXPECT_EQ(term_drain(pty.Master()), -1);
    EXPECT_EQ(term_errno, TERM_ENOTFOUND);
}
