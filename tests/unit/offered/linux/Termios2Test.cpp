#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include "PtyPair.h"
#include "TermSupport.h"

namespace {

termios Zeroed()
{
    termios tio;
    std::memset(&tio, 0, sizeof tio);
    return tio;
}

constexpr tcflag_t kBother = 0x1000;  // the kernel's "speed given in bits per second"

}  // namespace

TEST(Termios2, InputSpeedCodeGoesIntoTheInputSpeedBits)
{
    termios tio = Zeroed();
    tio.c_cflag = B115200 | CS8;
    ASSERT_EQ(cf2setispeed(&tio, B9600), 0);
    EXPECT_EQ(cf2getispeed(&tio), static_cast<int>(B9600));
    EXPECT_EQ(tio.c_ispeed, speed_t(B9600));
    EXPECT_EQ(tio.c_cflag & CBAUD, tcflag_t(B115200));  // output speed untouched
    ASSERT_EQ(cf2setispeed(&tio, B2400), 0);
    EXPECT_EQ(cf2getispeed(&tio), static_cast<int>(B2400));

    errno = 0;
    EXPECT_EQ(cf2setispeed(&tio, CBAUD + 1), -1);
    EXPECT_EQ(errno, EINVAL);
    EXPECT_EQ(cf2getispeed(&tio), static_cast<int>(B2400));
}

TEST(Termios2, CustomSpeeds)
{
    termios tio = Zeroed();
    tio.c_cflag = B9600 | (B9600 << 16) | CS8;
    ASSERT_EQ(cf2setospeed_custom(&tio, 250000), 0);
    EXPECT_EQ(tio.c_cflag & CBAUD, kBother);
    EXPECT_EQ(tio.c_ospeed, speed_t(250000));

    ASSERT_EQ(cf2setispeed_custom(&tio, 31250), 0);
    EXPECT_EQ(static_cast<tcflag_t>(cf2getispeed(&tio)), kBother);
    EXPECT_EQ(tio.c_ispeed, speed_t(31250));

    // 0: input follows output again.
    ASSERT_EQ(cf2setispeed_custom(&tio, 0), 0);
    EXPECT_EQ(cf2getispeed(&tio), 0);
    EXPECT_EQ(tio.c_cflag & CSIZE, tcflag_t(CS8));

    EXPECT_EQ(cf2setospeed_custom(&tio, 0), -1);
    EXPECT_EQ(errno, EINVAL);
    EXPECT_EQ(cf2setispeed_custom(&tio, -1), -1);
    EXPECT_EQ(errno, EINVAL);
}

TEST(Termios2, SettingsRoundTripThroughAPty)
{
    PtyPair pty;
    ASSERT_TRUE(pty.Ok());
    termios tio = Zeroed();
    errno = 0;
    const int got = tc2getattr(pty.Slave(), &tio);
    // A kernel answers a terminal request it lacks with ENOTTY; only an
    // emulator running the 32-bit build says ENOSYS.
    if (got < 0 && errno == ENOSYS)
        GTEST_SKIP() << "termios2 requests not implemented by the emulator";
    ASSERT_EQ(got, 0);
    termios plain;
    ASSERT_EQ(tcgetattr(pty.Slave(), &plain), 0);
    EXPECT_EQ(tio.c_lflag, plain.c_lflag);
    EXPECT_EQ(tio.c_cflag, plain.c_cflag);
    EXPECT_EQ(tio.c_cc[VINTR], plain.c_cc[VINTR]);
    EXPECT_EQ(tio.c_cc[19], 0);  // beyond what the kernel record carries

    tio.c_lflag &= ~(ICANON | ECHO);
    tio.c_cflag |= CSTOPB;
    ASSERT_EQ(cf2setospeed_custom(&tio, 250000), 0);
    ASSERT_EQ(tc2setattr(pty.Slave(), TCSANOW, &tio), 0);
    termios back = Zeroed();
    ASSERT_EQ(tc2getattr(pty.Slave(), &back), 0);
    EXPECT_FALSE(back.c_lflag & ICANON);
    EXPECT_TRUE(back.c_cflag & CSTOPB);
    EXPECT_EQ(back.c_ospeed, speed_t(250000));

    for (int when : {TCSADRAIN, TCSAFLUSH})
        EXPECT_EQ(tc2setattr(pty.Slave(), when, &back), 0) << when;
    errno = 0;
    EXPECT_EQ(tc2setattr(pty.Slave(), 99, &back), -1);
    EXPECT_EQ(errno, EINVAL);
    EXPECT_EQ(tc2getattr(-1, &back), -1);
}
