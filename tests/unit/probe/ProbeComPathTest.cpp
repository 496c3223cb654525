// COM names: device paths of any length, and the rows' order by COM number
// compared as integers.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <vector>

#include "ProbeComPath.h"

namespace {

TEST(MakeComDevicePathTest, PutsTheDeviceNamespaceInFrontOfEveryName)
{
    std::vector<std::string> names = {"COM3", "COM12", std::string(300, 'C')};
    MakeComDevicePath(names);
    EXPECT_EQ(names[0], "\\\\.\\COM3");
    EXPECT_EQ(names[1], "\\\\.\\COM12");
    EXPECT_EQ(names[2], "\\\\.\\" + std::string(300, 'C'));
}

TEST(ComNumberOfPathTest, ReadsTheDigitsAfterCom)
{
    struct Case {
        const char *path;
        long number;
    } const cases[] = {
        {"\\\\.\\COM3", 3},
        {"\\\\.\\COM100", 100},
        {"COM007", 7},
        {"\\\\.\\COM12x", 12},
        {"\\\\.\\COM", 0},
        {"\\\\.\\CNCA0", 0},
        {"", 0},
        {"\\\\.\\COM99999999999999999999999", LONG_MAX},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ComNumberOfPath(c.path), c.number) << c.path;
}

TEST(LessComPathTest, SortsByNumberNotByText)
{
    std::vector<std::string> paths = {"\\\\.\\COM100", "\\\\.\\COM12", "\\\\.\\COM2",
                                      "\\\\.\\COM10", "\\\\.\\CNCA0", "\\\\.\\COM1"};
    std::sort(paths.begin(), paths.end(), LessComPath);
    EXPECT_EQ(paths, std::vector<std::string>({"\\\\.\\CNCA0", "\\\\.\\COM1", "\\\\.\\COM2",
                                               "\\\\.\\COM10", "\\\\.\\COM12", "\\\\.\\COM100"}));
}

TEST(LessComPathTest, EqualNumbersKeepAFixedOrder)
{
    EXPECT_TRUE(LessComPath("\\\\.\\COM03", "\\\\.\\COM3"));
    EXPECT_FALSE(LessComPath("\\\\.\\COM3", "\\\\.\\COM03"));
    EXPECT_FALSE(LessComPath("\\\\.\\COM3", "\\\\.\\COM3"));
}

}  // namespace
