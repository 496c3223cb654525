#include "ReplyValues.h"

#include <string>

#include <gtest/gtest.h>

namespace {

struct ShapeCase {
    std::string text;
    bool accepted;
};

TEST(ReplyValues, SerialNumbers)
{
    const ShapeCase cases[] = {
        {"866123031234561", true},   // IMEI
        {"80A1B2C6", true},          // CDMA ESN
        {"0x80D1A8F2", true},        // the same, as some modules write it
        {"A1000012345678", true},    // MEID
        {"3512345678901234567890ABCDEFabcd", true},
        {"3512345678901234567890ABCDEFabcde", false},  // 33
        {"80A1B2C", false},          // 7
        {"K", false},
        {"", false},
        {"866123 031234561", false},
        {"IMEI: 866123031234561", false},
        {"_NC5-V1.0.3", false},
        {"866123,+DS,+ES", false},
        {std::string("8661230\0" "31234561", 16), false},
        {"86612303123456\r", false},
    };
    for (const ShapeCase &c : cases)
        EXPECT_EQ(IsSerialNumberText(c.text), c.accepted) << c.text;
}

TEST(ReplyValues, SmsCardNumbers)
{
    const ShapeCase cases[] = {
        {"89860012345678901234", true},
        {"8986001234567890123", true},   // 19 digits
        {"8986001234567890123F", true},  // padded
        {"98680021436587092103", true},  // stored order
        {"8986001234567890123f", true},
        {"898600123456789012", false},   // 18
        {"898600123456789012345", false},  // 21
        {"8986001234567890123G", false},
        {"\"89860012345678901234\"", false},
        {" 89860012345678901234", false},
        {std::string("89860012\0" "345678901234", 21), false},
        {"", false},
    };
    for (const ShapeCase &c : cases)
        EXPECT_EQ(IsSmsCardNumberText(c.text), c.accepted) << c.text;
}

TEST(ReplyValues, Signals)
{
    const ShapeCase cases[] = {
        {"20,99", true},  {"99,99", true},   {"0,0", true},     {"199,7", true},
        {"20", false},    {"20,", false},    {",99", false},    {"2000,99", false},
        {"20,999", true}, {"20,9999", false}, {" 20,99", false}, {"20, 99", false},
        {"20,99,1", false}, {"a,b", false},  {"", false},
        {std::string("20\0,99", 6), false},
    };
    for (const ShapeCase &c : cases)
        EXPECT_EQ(IsSignalText(c.text), c.accepted) << c.text;
}

TEST(ReplyValues, IccidAsPrintedSwapsOnlyTheStoredOrder)
{
    const struct {
        const char *reported;
        const char *printed;
    } cases[] = {
        {"98680021436587092103", "89860012345678901230"},
        {"986810325476981032F4", "8986012345678901234F"},
        {"986810325476981032f4", "8986012345678901234f"},
        {"89860012345678901234", "89860012345678901234"},
        {"9868002143658709210", "9868002143658709210"},  // 19: as it came
        {"986800214365870921033", "986800214365870921033"},
        {"88680021436587092103", "88680021436587092103"},
        {"98", "98"},
        {"", ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(IccidAsPrinted(c.reported), c.printed) << c.reported;
}

}  // namespace
