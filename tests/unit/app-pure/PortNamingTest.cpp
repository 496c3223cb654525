// Port ids, shown names and the port choice under both builds' naming: the
// Linux device paths /dev/ttyUSB3, the Windows ones \\.\COM3.
#include <gtest/gtest.h>

#include "CheckManagerInput.h"
#include "CheckManagerPortNaming.h"

namespace {

struct PathCase {
    const char *name;
    const PortNaming *naming;
    const char *path;
    const char *id;
    const char *shown;
};

void PrintTo(const PathCase &c, std::ostream *os)
{
    *os << c.name;
}

const PathCase kPathCases[] = {
    {"LinuxUsb", &kLinuxPortNaming, "/dev/ttyUSB3", "USB3", "ttyUSB3"},
    {"LinuxBuiltIn", &kLinuxPortNaming, "/dev/ttyS1", "S1", "ttyS1"},
    {"LinuxNoTty", &kLinuxPortNaming, "/dev/sda", "", "sda"},
    {"LinuxOnlyThePrefix", &kLinuxPortNaming, "/dev/", "", ""},
    {"WindowsCom", &kWindowsPortNaming, "\\\\.\\COM3", "3", "COM3"},
    {"WindowsTwoDigits", &kWindowsPortNaming, "\\\\.\\COM12", "12", "COM12"},
    {"WindowsFirstComCounts", &kWindowsPortNaming, "\\\\.\\COMCOM1", "COM1", "COMCOM1"},
    {"WindowsCaseMatters", &kWindowsPortNaming, "\\\\.\\com3", "", "com3"},
    {"WindowsNoCom", &kWindowsPortNaming, "\\\\.\\LPT1", "", "LPT1"},
    {"WindowsOnlyThePrefix", &kWindowsPortNaming, "\\\\.\\", "", ""},
    {"WindowsEmpty", &kWindowsPortNaming, "", "", ""},
};

class PortPathTest : public testing::TestWithParam<PathCase> {};

TEST_P(PortPathTest, IdAndShownName)
{
    const PathCase &c = GetParam();
    EXPECT_EQ(PortIdIn(*c.naming, c.path), c.id);
    EXPECT_EQ(ShownPortName(*c.naming, c.path), c.shown);
}

INSTANTIATE_TEST_SUITE_P(PortNaming, PortPathTest, testing::ValuesIn(kPathCases),
                         [](const testing::TestParamInfo<PathCase> &info) {
                             return std::string(info.param.name);
                         });

TEST(PortNaming, MissingPortPathNamesTheIdWhereTheBuildLooksForIt)
{
    EXPECT_EQ(MissingPortPath(kLinuxPortNaming, "USB9"), "/dev/ttyUSB9");
    EXPECT_EQ(MissingPortPath(kWindowsPortNaming, "9"), "\\\\.\\COM9");
    // The shown name of such a path is what the user typed after the mark.
    EXPECT_EQ(ShownPortName(kWindowsPortNaming, MissingPortPath(kWindowsPortNaming, "9")), "COM9");
    EXPECT_EQ(ShownPortName(kLinuxPortNaming, MissingPortPath(kLinuxPortNaming, "USB9")), "ttyUSB9");
}

// Each prompt's example is a port of its own build, named by its id.
TEST(PortNaming, PromptsGiveAnExampleOfTheirBuild)
{
    EXPECT_STREQ(kWindowsPortNaming.portPrompt, "请输入设备端口号(例:选择COM3,请输入3):");
    EXPECT_STREQ(kLinuxPortNaming.portPrompt, "请输入设备端口号(例:选择/dev/ttyUSB0,请输入USB0):");
}

// ---- The ids of an answer ---------------------------------------------------

struct AnswerCase {
    const char *name;
    const PortNaming *naming;
    const char *answer;
    std::vector<std::string> ids;  // empty: the answer names no port
};

void PrintTo(const AnswerCase &c, std::ostream *os)
{
    *os << c.name;
}

const AnswerCase kAnswerCases[] = {
    {"WindowsCommas", &kWindowsPortNaming, "3,4", {"3", "4"}},
    {"WindowsSemicolonAndBlank", &kWindowsPortNaming, "3;4 5", {"3", "4", "5"}},
    {"WindowsEmptyPiecesSkipped", &kWindowsPortNaming, "3,,4", {"3", "4"}},
    {"WindowsLeadingAndTrailingBlanks", &kWindowsPortNaming, " 3 ", {"3"}},
    {"WindowsComNameRefused", &kWindowsPortNaming, "COM3", {}},
    {"WindowsOneLetterRefusesAll", &kWindowsPortNaming, "3,x", {}},
    {"WindowsSignRefused", &kWindowsPortNaming, "+3", {}},
    {"WindowsLeadingZeroKept", &kWindowsPortNaming, "03", {"03"}},
    {"WindowsOnlySeparators", &kWindowsPortNaming, " ,; ", {}},
    {"LinuxAnyText", &kLinuxPortNaming, "USB0;USB1 S0", {"USB0", "USB1", "S0"}},
    {"LinuxComNameIsAnId", &kLinuxPortNaming, "COM3", {"COM3"}},
    {"LinuxEmptyPiecesSkipped", &kLinuxPortNaming, ",USB9,", {"USB9"}},
};

class PortAnswerTest : public testing::TestWithParam<AnswerCase> {};

TEST_P(PortAnswerTest, Ids)
{
    EXPECT_EQ(SplitPortAnswer(*GetParam().naming, GetParam().answer), GetParam().ids);
}

INSTANTIATE_TEST_SUITE_P(PortNaming, PortAnswerTest, testing::ValuesIn(kAnswerCases),
                         [](const testing::TestParamInfo<AnswerCase> &info) {
                             return std::string(info.param.name);
                         });

// ---- The records an answer chooses ------------------------------------------

const char kTarnelAti[] = "\r\nQuectel_Ltd\r\nQuectel_M35\r\nRevision: M35FBR02A03\r\n\r\nOK\r\n";

Win32::CommInfo Row(const char *path, const char *baud, bool atOk, const char *card,
                    const char *ati)
{
    Win32::CommInfo row;
    row.comPath = path;
    row.baudText = baud;
    row.isPortOk = true;
    row.isAtOk = atOk;
    row.smsCardNumber = card;
    row.signalStrength = atOk ? "24,99" : "";
    row.serialNumber = atOk ? "862107034551201" : "";
    row.atiResponse = ati;
    return row;
}

// COM3 a fully read modem, COM4 a port that answered nothing.
const std::vector<Win32::CommInfo> kWindowsRows = {
    Row("\\\\.\\COM3", "9600", true, "89860318245000112201", kTarnelAti),
    Row("\\\\.\\COM4", "115200", false, "", ""),
};

const std::vector<Win32::CommInfo> kLinuxRows = {
    Row("/dev/ttyUSB0", "9600", true, "89860318245000112201", kTarnelAti),
};

// A record in short: path, speed, model type, "missing" for a port that
// matched no device and "at" for one that answered AT.
std::string Describe(const ComPortBaseInfo_t &port)
{
    return port.comPath + " " + std::to_string(port.baudRate) + " type"
           + std::to_string(port.phoneType) + (port.isPortExist ? "" : " missing")
           + (port.isAtOk ? " at" : "");
}

struct ChoiceCase {
    const char *name;
    const PortNaming *naming;
    const std::vector<Win32::CommInfo> *rows;
    const char *answer;
    bool accepted;
    std::vector<std::string> ports;  // Describe of each record
};

void PrintTo(const ChoiceCase &c, std::ostream *os)
{
    *os << c.name;
}

const ChoiceCase kChoiceCases[] = {
    {"WindowsTwoPorts", &kWindowsPortNaming, &kWindowsRows, "3,4", true,
     {"\\\\.\\COM3 9600 type3 at", "\\\\.\\COM4 115200 type1"}},
    {"WindowsThreeIds", &kWindowsPortNaming, &kWindowsRows, "3;4 5", true,
     {"\\\\.\\COM3 9600 type3 at", "\\\\.\\COM4 115200 type1", "\\\\.\\COM5 115200 type1 missing"}},
    {"WindowsComNameRefused", &kWindowsPortNaming, &kWindowsRows, "COM3", false, {}},
    {"WindowsLetterRefusesAll", &kWindowsPortNaming, &kWindowsRows, "3,x", false, {}},
    {"WindowsEmptyPieceSkipped", &kWindowsPortNaming, &kWindowsRows, "3,,4", true,
     {"\\\\.\\COM3 9600 type3 at", "\\\\.\\COM4 115200 type1"}},
    // Ids are compared as text.
    {"WindowsLeadingZeroMatchesNothing", &kWindowsPortNaming, &kWindowsRows, "03", false,
     {"\\\\.\\COM03 115200 type1 missing"}},
    {"WindowsOnlyAnAbsentPort", &kWindowsPortNaming, &kWindowsRows, "9", false,
     {"\\\\.\\COM9 115200 type1 missing"}},
    {"WindowsPresentAndAbsent", &kWindowsPortNaming, &kWindowsRows, "3,9", true,
     {"\\\\.\\COM3 9600 type3 at", "\\\\.\\COM9 115200 type1 missing"}},
    {"WindowsNoRows", &kWindowsPortNaming, nullptr, "3", false, {"\\\\.\\COM3 115200 type1 missing"}},
    {"LinuxPresentAndAbsent", &kLinuxPortNaming, &kLinuxRows, "USB0,USB9", true,
     {"/dev/ttyUSB0 9600 type3 at", "/dev/ttyUSB9 115200 type1 missing"}},
    // A Linux id may be any text, a Windows port name too.
    {"LinuxComNameMatchesNothing", &kLinuxPortNaming, &kLinuxRows, "COM3", false,
     {"/dev/ttyCOM3 115200 type1 missing"}},
    // The Windows rows' ids under the Linux rule: none has "tty".
    {"LinuxRuleOnWindowsRows", &kLinuxPortNaming, &kWindowsRows, "3", false,
     {"/dev/tty3 115200 type1 missing"}},
};

class PortChoiceTest : public testing::TestWithParam<ChoiceCase> {};

TEST_P(PortChoiceTest, Records)
{
    const ChoiceCase &c = GetParam();
    const std::vector<Win32::CommInfo> none;
    std::vector<ComPortBaseInfo_t> ports(1);  // cleared first
    EXPECT_EQ(ChooseTypedPorts(*c.naming, c.answer, c.rows ? *c.rows : none, ports), c.accepted);
    std::vector<std::string> described;
    for (const ComPortBaseInfo_t &p : ports)
        described.push_back(Describe(p));
    EXPECT_EQ(described, c.ports);
}

INSTANTIATE_TEST_SUITE_P(PortNaming, PortChoiceTest, testing::ValuesIn(kChoiceCases),
                         [](const testing::TestParamInfo<ChoiceCase> &info) {
                             return std::string(info.param.name);
                         });

TEST(PortChoice, AbsentWindowsPortCarriesNoValues)
{
    std::vector<ComPortBaseInfo_t> ports;
    ASSERT_TRUE(ChooseTypedPorts(kWindowsPortNaming, "3,9", kWindowsRows, ports));
    ASSERT_EQ(ports.size(), 2u);
    EXPECT_EQ(ports[0].smsCardNumber, "89860318245000112201");
    EXPECT_TRUE(ports[0].isPortExist);
    EXPECT_EQ(ports[1].comPath, "\\\\.\\COM9");
    EXPECT_EQ(ports[1].baudRate, 115200);
    EXPECT_FALSE(ports[1].isAtOk);
    EXPECT_FALSE(ports[1].isPortExist);
    EXPECT_TRUE(ports[1].smsCardNumber.empty() && ports[1].signalStrength.empty()
                && ports[1].serialNumber.empty());
}

}  // namespace
