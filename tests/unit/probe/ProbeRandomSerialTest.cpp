// Generated serial numbers: fifteen digits, and different from draw to draw
// and from thread to thread, even when every thread starts at once.
#include <gtest/gtest.h>

#include <mutex>
#include <regex>
#include <set>
#include <thread>
#include <vector>

#include "ProbeRandomSerial.h"

namespace {

TEST(MakeRandomSerialTest, FifteenDigitsThatDifferFromDrawToDraw)
{
    std::set<std::string> seen;
    for (int i = 0; i < 2000; ++i) {
        const std::string serial = MakeRandomSerial();
        ASSERT_TRUE(std::regex_match(serial, std::regex("[0-9]{15}"))) << serial;
        seen.insert(serial);
    }
    EXPECT_EQ(seen.size(), 2000u);
}

TEST(MakeRandomSerialTest, ThreadsStartedTogetherDrawDifferentNumbers)
{
    constexpr int kThreads = 16;
    std::mutex lock;
    std::set<std::string> firstDraws;
    std::vector<std::thread> threads;
    for (int i = 0; i < kThreads; ++i) {
        threads.emplace_back([&] {
            const std::string serial = MakeRandomSerial();
            std::lock_guard<std::mutex> hold(lock);
            firstDraws.insert(serial);
        });
    }
    for (std::thread &t : threads)
        t.join();
    EXPECT_EQ(firstDraws.size(), static_cast<std::size_t>(kThreads));
}

TEST(MakeRandomSerialTest, EveryDigitTurnsUpInEveryPlace)
{
    std::vector<std::set<char>> digitsAt(15);
    for (int i = 0; i < 500; ++i) {
        const std::string serial = MakeRandomSerial();
        for (std::size_t p = 0; p < serial.size(); ++p)
            digitsAt[p].insert(serial[p]);
    }
    for (const std::set<char> &digits : digitsAt)
        EXPECT_EQ(digits.size(), 10u);
}

}  // namespace
