#include "TermBaud.h"

#include <gtest/gtest.h>
#include <termios.h>

#include "TermLib.h"
#include "TermLibOffered.h"
#include "TermSupport.h"

struct BaudCodeCase {
    int speed;
    int code;
    friend void PrintTo(const BaudCodeCase &c, std::ostream *os) { *os << c.speed; }
};

class BaudCodeTest : public testing::TestWithParam<BaudCodeCase> {};

TEST_P(BaudCodeTest, SpeedAndCodeMapBothWays)
{
    EXPECT_EQ(Bcode(GetParam().speed), GetParam().code);
    EXPECT_EQ(Bspeed(GetParam().code), GetParam().speed);
    EXPECT_EQ(term_baud_ok(GetParam().speed), 1);
}

INSTANTIATE_TEST_SUITE_P(Table, BaudCodeTest,
                         testing::Values(BaudCodeCase{0, B0}, BaudCodeCase{50, B50},
                                         BaudCodeCase{1800, B1800}, BaudCodeCase{9600, B9600},
                                         BaudCodeCase{38400, B38400},
                                         BaudCodeCase{57600, B57600},
                                         BaudCodeCase{115200, B115200}),
                         [](const testing::TestParamInfo<BaudCodeCase> &info) {
                             return "B" + std::to_string(info.param.speed);
                         });

TEST(BaudTable, HoldsEighteenAscendingSpeedsUpTo115200)
{
    for (int i = 1; i < BAUD_TABLE_SIZE; i++)
        EXPECT_LT(baud_table[i - 1].speed, baud_table[i].speed);
    EXPECT_EQ(baud_table[BAUD_TABLE_SIZE - 1].speed, 115200);
    EXPECT_EQ(B57600, 4097);  // the codes above 38400 are not contiguous
}

TEST(BaudTable, SpeedsAndCodesOutsideTheTableAreRefused)
{
    EXPECT_EQ(Bcode(14400), -1);
    EXPECT_EQ(Bcode(230400), -1);
    EXPECT_EQ(Bcode(-1), -1);
    EXPECT_EQ(Bspeed(B230400), -1);
    EXPECT_EQ(Bspeed(-1), -1);
    EXPECT_EQ(term_baud_ok(14400), 0);
}

struct BaudStepCase {
    int baud;
    int up;
    int down;
    int stepDown;  // baud_down: never 0
    friend void PrintTo(const BaudStepCase &c, std::ostream *os) { *os << c.baud; }
};

class BaudStepTest : public testing::TestWithParam<BaudStepCase> {};

TEST_P(BaudStepTest, StepsToTheNeighbouringTableSpeed)
{
    EXPECT_EQ(term_baud_up(GetParam().baud), GetParam().up);
    EXPECT_EQ(baud_up(GetParam().baud), GetParam().up);
    EXPECT_EQ(term_baud_down(GetParam().baud), GetParam().down);
    EXPECT_EQ(baud_down(GetParam().baud), GetParam().stepDown);
}

INSTANTIATE_TEST_SUITE_P(Speeds, BaudStepTest,
                         testing::Values(BaudStepCase{9600, 19200, 4800, 4800},
                                         BaudStepCase{115200, 115200, 57600, 57600},
                                         BaudStepCase{50, 75, 0, 50},
                                         BaudStepCase{0, 50, 0, 0},
                                         BaudStepCase{14400, 19200, 9600, 9600},
                                         BaudStepCase{500000, 500000, 115200, 115200}),
                         [](const testing::TestParamInfo<BaudStepCase> &info) {
                             return "At" + std::to_string(info.param.baud);
                         });
