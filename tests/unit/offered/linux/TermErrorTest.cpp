#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "TermLib.h"
#include "TermLibOffered.h"

struct StrerrorCase {
    int number;
    std::string expected;  // with EACCES as the system error
    friend void PrintTo(const StrerrorCase &c, std::ostream *os) { *os << c.number; }
};

class TermStrerrorTest : public testing::TestWithParam<StrerrorCase> {};

TEST_P(TermStrerrorTest, GivesTheMessageOfTheNumber)
{
    const char *text = term_strerror(GetParam().number, EACCES);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text, GetParam().expected);
}

const std::string kDenied = std::strerror(EACCES);

INSTANTIATE_TEST_SUITE_P(
    Numbers, TermStrerrorTest,
    testing::Values(StrerrorCase{0, "No error"}, StrerrorCase{1, "Framework is uninitialized"},
                    StrerrorCase{2, "Framework is full"},
                    StrerrorCase{3, "Filedes not in the framework"},
                    StrerrorCase{6, "Filedes is not a tty"},
                    StrerrorCase{7, "Cannot flush the device: " + kDenied},
                    StrerrorCase{8, "Cannot get the device attributes: " + kDenied},
                    StrerrorCase{9, "Cannot set the device attributes: " + kDenied},
                    StrerrorCase{10, "Invalid baud rate"},
                    StrerrorCase{11, "Cannot set the output speed: " + kDenied},
                    StrerrorCase{12, "Cannot set the input speed: " + kDenied},
                    StrerrorCase{13, "Cannot decode speed"},
                    StrerrorCase{17, "Invalid flowcontrol mode"},
                    StrerrorCase{20, "Cannot get mctl status"},
                    StrerrorCase{21, "Cannot drain the device: " + kDenied},
                    StrerrorCase{22, "Cannot send break sequence: " + kDenied}),
    [](const testing::TestParamInfo<StrerrorCase> &info) {
        return "Number" + std::to_string(info.param.number);
    });

TEST(TermStrerror, NumbersOutsideTheTableHaveNoText)
{
    EXPECT_EQ(term_strerror(23, 0), nullptr);
    EXPECT_EQ(term_strerror(-1, 0), nullptr);
    EXPECT_EQ(term_strerror(1000000, 0), nullptr);
}

TEST(TermStrerror, UnknownSystemErrorStillGivesAText)
{
    const std::string text = term_strerror(TERM_ESETATTR, 100000);
    EXPECT_EQ(text.rfind("Cannot set the device attributes: ", 0), 0u) << text;
    EXPECT_GT(text.size(), std::strlen("Cannot set the device attributes: "));
}

TEST(TermPerror, WritesPrefixAndMessageToStandardError)
{
    term_errno = TERM_EFULL;
    testing::internal::CaptureStderr();
    const int printed = term_perror("scan");
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(err, "scan Framework is full\n");
    EXPECT_EQ(printed, static_cast<int>(err.size()));
}
