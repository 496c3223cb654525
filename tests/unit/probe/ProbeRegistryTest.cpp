// COM names from the registry's serial port map: the returned data length is
// what counts (a value may fill its buffer without a NUL), values that are
// not strings are passed over, and one unreadable value does not end the
// listing.
#include <gtest/gtest.h>

#include <map>

#include "ProbeRegistry.h"

namespace {

constexpr unsigned long kRegistryTypeDword = 4;
constexpr unsigned long kRegistryTypeBinary = 3;

TEST(ComNameFromRegistryValueTest, UsesTheReturnedLengthAndTheFirstNul)
{
    struct Case {
        const char *name;
        unsigned long type;
        std::string data;
        bool found;
        std::string comName;
    } const cases[] = {
        {"Terminated", kRegistryTypeString, std::string("COM3\0", 5), true, "COM3"},
        {"NoNul", kRegistryTypeString, "COM12", true, "COM12"},
        {"FillsTheWholeBuffer", kRegistryTypeString, std::string(255, 'C'), true,
         std::string(255, 'C')},
        {"GarbageAfterNul", kRegistryTypeString, std::string("COM4\0xyz", 8), true, "COM4"},
        {"Expandable", kRegistryTypeExpandString, "COM5", true, "COM5"},
        {"Empty", kRegistryTypeString, "", false, ""},
        {"OnlyNul", kRegistryTypeString, std::string("\0", 1), false, ""},
        {"Number", kRegistryTypeDword, std::string("\3\0\0\0", 4), false, ""},
        {"Binary", kRegistryTypeBinary, "COM6", false, ""},
    };
    for (const Case &c : cases) {
        std::string name;
        EXPECT_EQ(ComNameFromRegistryValue(c.type, c.data.data(), c.data.size(), name), c.found)
            << c.name;
        EXPECT_EQ(name, c.comName) << c.name;
    }
    std::string name;
    EXPECT_FALSE(ComNameFromRegistryValue(kRegistryTypeString, nullptr, 0, name));
}

TEST(CollectComNamesTest, PassesOverWhatIsNoComNameAndGoesOn)
{
    const std::map<unsigned long, RegistryValueRead> values = {
        {0, {RegistryValueRead::Read, kRegistryTypeString, std::string("COM3\0", 5)}},
        {1, {RegistryValueRead::Read, kRegistryTypeDword, std::string("\1\0\0\0", 4)}},
        {2, {RegistryValueRead::Skip, 0, ""}},
        {3, {RegistryValueRead::Read, kRegistryTypeString, "COM11"}},
        {4, {RegistryValueRead::End, 0, ""}},
        {5, {RegistryValueRead::Read, kRegistryTypeString, "COM99"}},
    };
    const std::vector<std::string> names =
        CollectComNames([&](unsigned long index) { return values.at(index); });
    EXPECT_EQ(names, std::vector<std::string>({"COM3", "COM11"}));
}

TEST(CollectComNamesTest, AKeyThatNeverEndsIsReadOnlyUpToTheLimit)
{
    unsigned long asked = 0;
    const std::vector<std::string> names = CollectComNames([&](unsigned long) {
        ++asked;
        return RegistryValueRead{RegistryValueRead::Skip, 0, ""};
    });
    EXPECT_TRUE(names.empty());
    EXPECT_EQ(asked, kRegistryValueLimit);
}

}  // namespace
