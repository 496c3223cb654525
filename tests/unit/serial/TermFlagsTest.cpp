#include "TermFlags.h"

#include <gtest/gtest.h>

#include <cstring>

#include "TermFlagsRead.h"
#include "TermLib.h"

namespace {

termios Blank(tcflag_t cflag = 0, tcflag_t iflag = 0)
{
    termios tio;
    std::memset(&tio, 0, sizeof tio);
    tio.c_cflag = cflag;
    tio.c_iflag = iflag;
    return tio;
}

}  // namespace

struct ParityCase {
    const char *name;
    int parity;
    tcflag_t bits;  // of PARENB, PARODD, CMSPAR
    friend void PrintTo(const ParityCase &c, std::ostream *os) { *os << c.name; }
};

class ParityTest : public testing::TestWithParam<ParityCase> {};

TEST_P(ParityTest, SetsExactlyItsBitsAndReadsBack)
{
    const tcflag_t all = PARENB | PARODD | CMSPAR;
    for (tcflag_t before : {tcflag_t(0), all}) {
        termios tio = Blank(before | CS7 | CLOCAL);
        ASSERT_TRUE(tios_set_parity(tio, GetParam().parity));
        EXPECT_EQ(tio.c_cflag & all, GetParam().bits);
        EXPECT_EQ(tio.c_cflag & ~all, tcflag_t(CS7 | CLOCAL));
        EXPECT_EQ(tios_get_parity(tio), GetParam().parity);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Modes, ParityTest,
    testing::Values(ParityCase{"None", P_NONE, 0}, ParityCase{"Even", P_EVEN, PARENB},
                    ParityCase{"Odd", P_ODD, PARENB | PARODD},
                    ParityCase{"Mark", P_MARK, PARENB | PARODD | CMSPAR},
                    ParityCase{"Space", P_SPACE, PARENB | CMSPAR}),
    [](const testing::TestParamInfo<ParityCase> &info) { return std::string(info.param.name); });

TEST(TermFlags, ParityWithoutEnableReadsAsNoneWhateverTheOtherBits)
{
    EXPECT_EQ(tios_get_parity(Blank(PARODD | CMSPAR)), P_NONE);
}

TEST(TermFlags, DataBitsSetTheSizeField)
{
    const struct {
        int bits;
        tcflag_t size;
    } cases[] = {{5, CS5}, {6, CS6}, {7, CS7}, {8, CS8}};
    for (const auto &c : cases) {
        termios tio = Blank(CS8 | CSTOPB);
        ASSERT_TRUE(tios_set_databits(tio, c.bits)) << c.bits;
        EXPECT_EQ(tio.c_cflag & CSIZE, c.size) << c.bits;
        EXPECT_TRUE(tio.c_cflag & CSTOPB);
        EXPECT_EQ(tios_get_databits(tio), c.bits);
    }
}

TEST(TermFlags, StopBitsToggleCstopb)
{
    termios tio = Blank(CS8);
    ASSERT_TRUE(tios_set_stopbits(tio, 2));
    EXPECT_EQ(tio.c_cflag, tcflag_t(CS8 | CSTOPB));
    EXPECT_EQ(tios_get_stopbits(tio), 2);
    ASSERT_TRUE(tios_set_stopbits(tio, 1));
    EXPECT_EQ(tio.c_cflag, tcflag_t(CS8));
    EXPECT_EQ(tios_get_stopbits(tio), 1);
}

TEST(TermFlags, UnknownCodesAreRefusedAndChangeNothing)
{
    const termios before = Blank(CS8 | PARENB | CRTSCTS, IXANY);
    termios tio = before;
    EXPECT_FALSE(tios_set_parity(tio, 5));
    EXPECT_FALSE(tios_set_parity(tio, -1));
    EXPECT_FALSE(tios_set_databits(tio, 4));
    EXPECT_FALSE(tios_set_databits(tio, 9));
    EXPECT_FALSE(tios_set_stopbits(tio, 0));
    EXPECT_FALSE(tios_set_stopbits(tio, 3));
    EXPECT_FALSE(tios_set_flowcntrl(tio, 3));
    EXPECT_EQ(0, std::memcmp(&tio, &before, sizeof tio));
}

struct FlowCase {
    const char *name;
    tcflag_t cflag;
    tcflag_t iflag;
    int mode;
    friend void PrintTo(const FlowCase &c, std::ostream *os) { *os << c.name; }
};

class FlowReadTest : public testing::TestWithParam<FlowCase> {};

TEST_P(FlowReadTest, ClassifiesTheCombination)
{
    EXPECT_EQ(tios_get_flowcntrl(Blank(GetParam().cflag, GetParam().iflag)), GetParam().mode);
}

INSTANTIATE_TEST_SUITE_P(
    Combinations, FlowReadTest,
    testing::Values(FlowCase{"None", 0, 0, FC_NONE}, FlowCase{"RtsCts", CRTSCTS, 0, FC_RTSCTS},
                    FlowCase{"XonXoff", 0, IXON | IXOFF, FC_XONXOFF},
                    FlowCase{"XanyXoff", 0, IXANY | IXOFF, FC_XONXOFF},
                    FlowCase{"XoffAlone", 0, IXOFF, FC_OTHER},
                    FlowCase{"XonAlone", 0, IXON, FC_OTHER},
                    FlowCase{"Both", CRTSCTS, IXON | IXOFF, FC_OTHER}),
    [](const testing::TestParamInfo<FlowCase> &info) { return std::string(info.param.name); });

TEST(TermFlags, FlowControlSettersKeepOrClearIxany)
{
    termios tio = Blank(0, IXANY | ICRNL);
    ASSERT_TRUE(tios_set_flowcntrl(tio, FC_XONXOFF));
    EXPECT_EQ(tio.c_iflag, tcflag_t(IXANY | ICRNL | IXON | IXOFF));
    EXPECT_EQ(tio.c_cflag & CRTSCTS, tcflag_t(0));

    ASSERT_TRUE(tios_set_flowcntrl(tio, FC_RTSCTS));
    EXPECT_EQ(tio.c_iflag, tcflag_t(ICRNL));
    EXPECT_EQ(tio.c_cflag & CRTSCTS, tcflag_t(CRTSCTS));

    ASSERT_TRUE(tios_set_flowcntrl(tio, FC_NONE));
    EXPECT_EQ(tio.c_iflag, tcflag_t(ICRNL));
    EXPECT_EQ(tio.c_cflag & CRTSCTS, tcflag_t(0));
}

TEST(TermFlags, RawModeReturnsOnEveryByte)
{
    termios tio = Blank();
    tio.c_lflag = ICANON | ECHO | ISIG;
    tio.c_oflag = OPOST | ONLCR;
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 10;
    tios_set_raw(tio);
    EXPECT_EQ(tio.c_lflag & (ICANON | ECHO | ISIG), tcflag_t(0));
    EXPECT_EQ(tio.c_oflag & OPOST, tcflag_t(0));
    EXPECT_EQ(tio.c_cflag & CSIZE, tcflag_t(CS8));
    EXPECT_EQ(tio.c_cc[VMIN], 1);
    EXPECT_EQ(tio.c_cc[VTIME], 0);
}
