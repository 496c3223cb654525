#include "ProbeRandomSerial.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <random>
#include <thread>

namespace {

constexpr char kSerialDigits[] = "1234567890";
constexpr int kSerialLength = 15;

std::mt19937_64 &ThreadGenerator()
{
    thread_local std::mt19937_64 generator = [] {
        // random_device alone was a fixed sequence on some older Windows
        // runtimes; the clock and the thread keep seeds apart even there.
        std::random_device entropy;
        const auto ticks = static_cast<std::uint64_t>(
            std::chrono::high_resolution_clock::now().time_since_epoch().count());
        const auto thread = static_cast<std::uint64_t>(
            std::hash<std::thread::id>()(std::this_thread::get_id()));
        std::seed_seq seed{entropy(), entropy(), entropy(), entropy(),
                           static_cast<unsigned>(ticks), static_cast<unsigned>(ticks >> 32),
                           static_cast<unsigned>(thread), static_cast<unsigned>(thread >> 32)};
        return std::mt19937_64(seed);
    }();
    return generator;
}

}  // namespace

std::string MakeRandomSerial()
{
    std::uniform_int_distribution<int> digit(0, sizeof kSerialDigits - 2);
    std::string serial;
    for (int i = 0; i < kSerialLength; ++i)
        serial += kSerialDigits[digit(ThreadGenerator())];
    return serial;
}
