// What a person types: destination numbers, port ids matched against the
// device rows of the last scan, and the three dialogues that ask for them,
// fed from strings and from a terminal.
#include <fcntl.h>
#include <termios.h>

#include <cstdio>

#include "AppTestSupport.h"

namespace {
using app_test::ConsoleCapture;
using app_test::TestManager;

std::string Green(const std::string &text)
{
    return "\033[1m\033[32m" + text + "\033[0m";
}
std::string Red(const std::string &text)
{
    return "\033[1m\033[31m" + text + "\033[0m";
}

// ---- Numbers ------------------------------------------------------------

struct NumberCase {
    const char *name;
    const char *number;
    bool accepted;
};

void PrintTo(const NumberCase &c, std::ostream *os)
{
    *os << c.name;
}

const NumberCase kNumberCases[] = {
    {"InternationalWithPlus", "+8613800138000", true},
    {"FiveDigitService", "10086", true},
    {"FourDigits", "1008", false},
    {"PlusAndFourDigits", "+1234", true},
    {"PlusAndThreeDigits", "+123", false},
    {"TwentyNineDigits", "12345678901234567890123456789", true},
    {"ThirtyDigits", "123456789012345678901234567890", false},
    {"TwentyEightDigitsAndPlus", "+1234567890123456789012345678", true},
    {"PlusInside", "138+0013800", false},
    {"Hyphen", "138-0013-8000", false},
    {"LonePlus", "+", false},
    {"Empty", "", false},
    {"LeadingZero", "013800138000", true},
    {"Letters", "1380013800a", false},
    {"FullWidthDigits", "\xef\xbc\x91\xef\xbc\x92\xef\xbc\x93\xef\xbc\x94\xef\xbc\x95", false},
    {"TrailingCarriageReturn", "13800138000\r", false},
};

class NumberTest : public ::testing::TestWithParam<NumberCase> {};

TEST_P(NumberTest, Rule)
{
    TestManager manager;
    EXPECT_EQ(manager.CheckReceiveNumber(GetParam().number), GetParam().accepted);
}

INSTANTIATE_TEST_SUITE_P(Input, NumberTest, ::testing::ValuesIn(kNumberCases),
                         [](const ::testing::TestParamInfo<NumberCase> &info) {
                             return std::string(info.param.name);
                         });

struct NumberListCase {
    const char *name;
    const char *answer;
    std::vector<std::string> numbers;  // empty: the answer is refused
};

void PrintTo(const NumberListCase &c, std::ostream *os)
{
    *os << c.name;
}

const NumberListCase kNumberListCases[] = {
    {"BlankAndSemicolon", "13800138000 13900139000;10086", {"13800138000", "13900139000", "10086"}},
    {"TwoCommas", "13800138000,,13900139000", {"13800138000", "13900139000"}},
    {"BlanksAround", "  13800138000 ", {"13800138000"}},
    {"TrailingComma", "13800138000,", {"13800138000"}},
    {"RepeatedNumbersStay", "10086,10086", {"10086", "10086"}},
    {"OneWordRejectsAll", "13800138000,abc", {}},
    {"OneShortRejectsAll", "13800138000;1234;13900139000", {}},
    {"Empty", "", {}},
    {"OnlySeparators", " ,; ", {}},
};

class NumberListTest : public ::testing::TestWithParam<NumberListCase> {};

TEST_P(NumberListTest, Split)
{
    TestManager manager;
    EXPECT_EQ(manager.SplitUserPhoneNumber(GetParam().answer), GetParam().numbers);
}

INSTANTIATE_TEST_SUITE_P(Input, NumberListTest, ::testing::ValuesIn(kNumberListCases),
                         [](const ::testing::TestParamInfo<NumberListCase> &info) {
                             return std::string(info.param.name);
                         });

// ---- Port ids -----------------------------------------------------------

struct PortIdCase {
    const char *name;
    const char *path;
    const char *id;
};

void PrintTo(const PortIdCase &c, std::ostream *os)
{
    *os << c.name;
}

const PortIdCase kPortIdCases[] = {
    {"Usb", "/dev/ttyUSB0", "USB0"},      {"UsbTen", "/dev/ttyUSB10", "USB10"},
    {"BuiltIn", "/dev/ttyS1", "S1"},      {"NothingAfterTty", "/dev/tty", ""},
    {"NoTty", "/dev/sda", ""},            {"FirstTtyCounts", "/dev/ttytty1", "tty1"},
};

class PortIdTest : public ::testing::TestWithParam<PortIdCase> {};

TEST_P(PortIdTest, TextAfterTty)
{
    EXPECT_EQ(GetPortId(GetParam().path), GetParam().id);
}

INSTANTIATE_TEST_SUITE_P(Input, PortIdTest, ::testing::ValuesIn(kPortIdCases),
                         [](const ::testing::TestParamInfo<PortIdCase> &info) {
                             return std::string(info.param.name);
                         });

struct ComPortListCase {
    const char *name;
    const char *answer;
    std::vector<std::string> ids;
};

void PrintTo(const ComPortListCase &c, std::ostream *os)
{
    *os << c.name;
}

const ComPortListCase kComPortListCases[] = {
    {"Commas", "3,4", {"3", "4"}},
    {"BlankAndSemicolon", "3 4;12", {"3", "4", "12"}},
    {"EmptyPiecesSkipped", ",3,,4 ", {"3", "4"}},
    {"LetterRejectsAll", "3,a", {}},
    {"ComPrefixRejected", "COM3", {}},
    {"Empty", "", {}},
};

class ComPortListTest : public ::testing::TestWithParam<ComPortListCase> {};

TEST_P(ComPortListTest, DigitsOnly)
{
    TestManager manager;
    EXPECT_EQ(manager.SplitComPorts(GetParam().answer), GetParam().ids);
}

INSTANTIATE_TEST_SUITE_P(Input, ComPortListTest, ::testing::ValuesIn(kComPortListCases),
                         [](const ::testing::TestParamInfo<ComPortListCase> &info) {
                             return std::string(info.param.name);
                         });

TEST(DigitString, OnlyAsciiDigitsAndNotEmpty)
{
    EXPECT_TRUE(IsDigitString("0123456789"));
    EXPECT_FALSE(IsDigitString(""));
    EXPECT_FALSE(IsDigitString("12 3"));
    EXPECT_FALSE(IsDigitString("-1"));
    EXPECT_FALSE(IsDigitString(std::string("1\0", 2)));
}

// ---- Target ports -------------------------------------------------------

const char kTarnelAti[] = "\r\nQuectel_Ltd\r\nQuectel_M35\r\nRevision: M35FBR02A03\r\n\r\nOK\r\n";
const char kOrvastAti[] = "\r\n WAVECOM MODEM\r\n\r\n MULTIBAND  900E  1800 \r\n\r\nOK\r\n";

Win32::CommInfo Row(const char *path, const char *baud, bool atOk, const char *card,
                    const char *signal, const char *serial, const char *ati)
{
    Win32::CommInfo row;
    row.comPath = path;
    row.baudText = baud;
    row.isAtOk = atOk;
    row.isPortOk = true;
    row.smsCardNumber = card;
    row.signalStrength = signal;
    row.serialNumber = serial;
    row.atiResponse = ati;
    return row;
}

// As a scan leaves them: two silent built-in ports, a fully read modem, one
// without signal, and one that answered nothing.
const std::vector<Win32::CommInfo> kMixedRows = {
    Row("/dev/ttyS0", "115200", false, "", "", "", ""),
    Row("/dev/ttyS1", "115200", false, "", "", "", ""),
    Row("/dev/ttyUSB0", "9600", true, "89860318245000112201", " 24,99", "862107034551201\r",
        kTarnelAti),
    Row("/dev/ttyUSB1", "115200", true, "89860045123409876505", "", "354043010203605\r",
        kOrvastAti),
    Row("/dev/ttyUSB2", "115200", false, "", "", "", ""),
};

// Identified modems, none fully read.
const std::vector<Win32::CommInfo> kPartlyReadRows = {
    Row("/dev/ttyS0", "115200", false, "", "", "", ""),
    Row("/dev/ttyUSB0", "9600", true, "", "", "862107034551201\r", kTarnelAti),
    Row("/dev/ttyUSB1", "115200", true, "89860045123409876505", "", "", kOrvastAti),
};

// Nothing identified; one row still carries an identification reply, which
// only a typed id lets the models see.
const std::vector<Win32::CommInfo> kUnidentifiedRows = {
    Row("/dev/ttyS0", "115200", false, "", "", "", ""),
    Row("/dev/ttyUSB0", "115200", false, "", "", "", kTarnelAti),
};

// Run from a serial console: the scan never opened the program's own
// terminal, and its row says so.
Win32::CommInfo OwnTerminal(const char *path)
{
    Win32::CommInfo row;
    row.comPath = path;
    row.isOwnTerminal = true;
    return row;
}

const std::vector<Win32::CommInfo> kOwnTerminalRows = {
    OwnTerminal("/dev/ttyS0"),
    Row("/dev/ttyUSB0", "115200", false, "", "", "", ""),
};

Win32::CommInfo Named(Win32::CommInfo row, PHONE_TYPE_t type)
{
    row.phoneType = type;
    return row;
}

// Rows of a scan that named each device's model: the identification text a
// row keeps may no longer show that model (a zero byte or the record's
// length cut it), or show one that the scan did not take.
const std::vector<Win32::CommInfo> kNamedRows = {
    Named(Row("/dev/ttyUSB0", "9600", true, "89860012345678901230", " 27,99", "866715031234503",
              ""),
          PHONE_TYPE_VELKOR_ME),
    Named(Row("/dev/ttyUSB1", "115200", false, "", "", "", kTarnelAti), PHONE_TYPE_BASE),
};

// A record in short: path, speed, model type, and "missing" for a port that
// matched no device.
std::string Describe(const ComPortBaseInfo_t &port)
{
    return port.comPath + " " + std::to_string(port.baudRate) + " type"
           + std::to_string(port.phoneType) + (port.isPortExist ? "" : " missing")
           + (port.isAtOk ? " at" : "");
}

struct TargetCase {
    const char *name;
    const std::vector<Win32::CommInfo> *rows;
    const char *answer;
    bool accepted;
    std::vector<std::string> ports;  // Describe of each record
};

void PrintTo(const TargetCase &c, std::ostream *os)
{
    *os << c.name;
}

const std::vector<Win32::CommInfo> kNoRows;

const TargetCase kTargetCases[] = {
    // No ids: the fully read modems, else the identified ones, else all.
    {"EmptyTakesFullyRead", &kMixedRows, "", true, {"/dev/ttyUSB0 9600 type3 at"}},
    {"EmptyTakesIdentified", &kPartlyReadRows, "", true,
     {"/dev/ttyUSB0 9600 type3 at", "/dev/ttyUSB1 115200 type6 at"}},
    {"EmptyTakesEveryRowUnasked", &kUnidentifiedRows, "", true,
     {"/dev/ttyS0 115200 type1", "/dev/ttyUSB0 115200 type1"}},
    {"EmptyWithoutRows", &kNoRows, "", true, {}},
    // Typed ids.
    {"OneId", &kMixedRows, "USB1", true, {"/dev/ttyUSB1 115200 type6 at"}},
    {"ThreeIdsSemicolonAndBlank", &kMixedRows, "USB0;USB1 S0", true,
     {"/dev/ttyUSB0 9600 type3 at", "/dev/ttyUSB1 115200 type6 at", "/dev/ttyS0 115200 type1"}},
    {"KnownAndUnknown", &kMixedRows, "USB0,USB9", true,
     {"/dev/ttyUSB0 9600 type3 at", "/dev/ttyUSB9 115200 type1 missing"}},
    {"OnlyUnknown", &kMixedRows, "USB9", false, {"/dev/ttyUSB9 115200 type1 missing"}},
    {"CaseMatters", &kMixedRows, "usb0", false, {"/dev/ttyusb0 115200 type1 missing"}},
    {"SameTwice", &kMixedRows, "USB0,USB0", true,
     {"/dev/ttyUSB0 9600 type3 at", "/dev/ttyUSB0 9600 type3 at"}},
    {"TypedIdAsksTheModels", &kUnidentifiedRows, "USB0", true, {"/dev/ttyUSB0 115200 type3"}},
    {"IdWithoutRows", &kNoRows, "USB0", false, {"/dev/ttyUSB0 115200 type1 missing"}},
    // The model the scan named stands, whatever the row's text shows.
    {"EmptyTakesTheScansModel", &kNamedRows, "", true, {"/dev/ttyUSB0 9600 type4 at"}},
    {"TypedIdTakesTheScansModel", &kNamedRows, "USB0,USB1", true,
     {"/dev/ttyUSB0 9600 type4 at", "/dev/ttyUSB1 115200 type1"}},
    // Empty pieces never become the controlling terminal "/dev/tty".
    {"LeadingBlank", &kMixedRows, " USB0", true, {"/dev/ttyUSB0 9600 type3 at"}},
    {"CommaThenBlank", &kMixedRows, "USB0, USB1", true,
     {"/dev/ttyUSB0 9600 type3 at", "/dev/ttyUSB1 115200 type6 at"}},
    {"OnlySeparators", &kMixedRows, " ,; ", false, {}},
    {"EmptyPieceBesideUnknown", &kMixedRows, ",USB9", false, {"/dev/ttyUSB9 115200 type1 missing"}},
    // The program's own terminal is chosen as a port that no flow opens.
    {"EmptyTakesTheOwnTerminalUnopened", &kOwnTerminalRows, "", true,
     {"/dev/ttyS0 0 type1 missing", "/dev/ttyUSB0 115200 type1"}},
    {"TypedOwnTerminalUnopened", &kOwnTerminalRows, "S0", true, {"/dev/ttyS0 0 type1 missing"}},
};

class TargetPortTest : public ::testing::TestWithParam<TargetCase> {};

TEST_P(TargetPortTest, Choice)
{
    const TargetCase &c = GetParam();
    TestManager manager;
    manager.Rows() = *c.rows;
    std::vector<ComPortBaseInfo_t> ports(1);  // cleared first
    EXPECT_EQ(manager.InputToSendPduSmsComPort(c.answer, ports), c.accepted);
    std::vector<std::string> described;
    for (const ComPortBaseInfo_t &p : ports)
        described.push_back(Describe(p));
    EXPECT_EQ(described, c.ports);
    EXPECT_EQ(manager.Rows().size(), c.rows->size());
}

INSTANTIATE_TEST_SUITE_P(Input, TargetPortTest, ::testing::ValuesIn(kTargetCases),
                         [](const ::testing::TestParamInfo<TargetCase> &info) {
                             return std::string(info.param.name);
                         });

TEST(TargetPort, TakesTheRowsValuesOverAndNamesAMissingPortEmpty)
{
    TestManager manager;
    manager.Rows() = kMixedRows;
    std::vector<ComPortBaseInfo_t> ports;
    ASSERT_TRUE(manager.InputToSendPduSmsComPort("USB0 USB7", ports));
    ASSERT_EQ(ports.size(), 2u);
    EXPECT_EQ(ports[0].smsCardNumber, "89860318245000112201");
    EXPECT_EQ(ports[0].signalStrength, " 24,99");
    EXPECT_EQ(ports[0].serialNumber, "862107034551201\r");
    EXPECT_TRUE(ports[0].isPortExist);
    EXPECT_EQ(ports[1].comPath, "/dev/ttyUSB7");
    EXPECT_FALSE(ports[1].isAtOk);
    EXPECT_TRUE(ports[1].smsCardNumber.empty() && ports[1].signalStrength.empty()
                && ports[1].serialNumber.empty());
}

// ---- Dialogues ----------------------------------------------------------

const char kNumberPrompt[] = "请输入接收短信的号码: ";
const char kNumberRefused[] = "您输入的号码有误，请重新输入";
const char kPortPrompt[] = "请输入设备端口号(例:选择/dev/ttyUSB0,请输入USB0):";
const char kPortRefused[] = "您输入的设备端口号有误，请重新输入";
const char kGiveUp[] = "输入的错误次数过多，返回主界面";

std::string Asked(const char *prompt)
{
    return "\n" + Green(prompt) + "\n";
}

TEST(NumberDialogue, AsksAgainAfterAWrongAnswer)
{
    ConsoleCapture console("13800138000,abc\n13800138000 10086\n");
    TestManager manager;
    std::vector<std::string> numbers = {"stale"};
    EXPECT_TRUE(manager.InputCheckSendPduSmsPhoneNumbers(numbers));
    EXPECT_EQ(numbers, (std::vector<std::string> {"13800138000", "10086"}));
    EXPECT_EQ(console.Output(),
              Asked(kNumberPrompt) + Red(kNumberRefused) + "\n" + Asked(kNumberPrompt));
}

TEST(NumberDialogue, GivesUpAfterThreeWrongAnswers)
{
    ConsoleCapture console("1\n2\n3\n13800138000\n");
    TestManager manager;
    std::vector<std::string> numbers;
    EXPECT_FALSE(manager.InputCheckSendPduSmsPhoneNumbers(numbers));
    EXPECT_TRUE(numbers.empty());
    const std::string once = Asked(kNumberPrompt) + Red(kNumberRefused) + "\n";
    EXPECT_EQ(console.Output(), once + once + once + Red(kGiveUp) + "\n\n\n");
}

TEST(NumberDialogue, ExhaustedInputGivesEmptyAnswers)
{
    ConsoleCapture console("");
    TestManager manager;
    std::vector<std::string> numbers;
    EXPECT_FALSE(manager.InputCheckSendPduSmsPhoneNumbers(numbers));
}

TEST(PortDialogue, AsksAgainUntilAPortMatches)
{
    ConsoleCapture console("USB9\nUSB1\n");
    TestManager manager;
    manager.Rows() = kMixedRows;
    std::vector<ComPortBaseInfo_t> ports;
    EXPECT_TRUE(manager.InputCheckSendPduSmsComPorts(ports));
    ASSERT_EQ(ports.size(), 1u);
    EXPECT_EQ(ports[0].comPath, "/dev/ttyUSB1");
    EXPECT_EQ(console.Output(), Asked(kPortPrompt) + Red(kPortRefused) + "\n" + Asked(kPortPrompt));
}

// The read dialogue is the same; after three refusals nothing of the last
// answer is left, so no record of a missing port leaves the dialogue.
TEST(PortDialogue, ReadDialogueGivesUpWithAnEmptyList)
{
    ConsoleCapture console("USB9\nusb0\n ,\n");
    TestManager manager;
    manager.Rows() = kMixedRows;
    std::vector<ComPortBaseInfo_t> ports;
    EXPECT_FALSE(manager.InputReadAllSmsComPort(ports));
    EXPECT_TRUE(ports.empty());
    const std::string once = Asked(kPortPrompt) + Red(kPortRefused) + "\n";
    EXPECT_EQ(console.Output(), once + once + once + Red(kGiveUp) + "\n\n\n");
}

TEST(PortDialogue, EnterChoosesAutomatically)
{
    ConsoleCapture console("\n");
    TestManager manager;
    manager.Rows() = kMixedRows;
    std::vector<ComPortBaseInfo_t> ports;
    EXPECT_TRUE(manager.InputReadAllSmsComPort(ports));
    ASSERT_EQ(ports.size(), 1u);
    EXPECT_EQ(ports[0].comPath, "/dev/ttyUSB0");
}

TEST(TextDialogue, TakesTheWholeLineOrTheDefaultText)
{
    TestManager manager;
    {
        ConsoleCapture console("你好 world  \nnext\n");
        std::string text;
        EXPECT_TRUE(manager.InputCheckSendPduSmsContext(text));
        EXPECT_EQ(text, "你好 world  ");
        EXPECT_EQ(console.Output(), Asked("请输入短信内容:"));
    }
    {
        ConsoleCapture console("\n");
        std::string text = "old";
        EXPECT_TRUE(manager.InputCheckSendPduSmsContext(text));
        EXPECT_EQ(text, " 北京Korvane短信为您服务 ");
    }
    std::string given = "x";
    EXPECT_TRUE(manager.InputToSendPduSmsContext(given));
    EXPECT_EQ(given, "x");
    std::string empty;
    EXPECT_TRUE(manager.InputToSendPduSmsContext(empty));
    EXPECT_EQ(empty, " 北京Korvane短信为您服务 ");
}
// A NUL kept in the typed line would end the text where it goes to the
// modem: the message would leave cut short and be reported sent. Such a text
// is refused with its reason and asked for again, as the other dialogues
// ask again; three such answers give up.
TEST(TextDialogue, TextHoldingANulIsRefused)
{
    const char kTextPrompt[] = "请输入短信内容:";
    const std::string refused =
        Asked(kTextPrompt) + Red("您输入的短信内容含有空字符(NUL)，无法完整发送，请重新输入") + "\n";
    const char kNulLine[] = "before\0after the nul\n";
    const std::string nulLine(kNulLine, sizeof kNulLine - 1);
    TestManager manager;
    {
        ConsoleCapture console(nulLine + "hello\n");
        std::string text;
        EXPECT_TRUE(manager.InputCheckSendPduSmsContext(text));
        EXPECT_EQ(text, "hello");
        EXPECT_EQ(console.Output(), refused + Asked(kTextPrompt));
    }
    {
        ConsoleCapture console(nulLine + nulLine + std::string("\0\n", 2) + "never asked\n");
        std::string text;
        EXPECT_FALSE(manager.InputCheckSendPduSmsContext(text));
        EXPECT_TRUE(text.empty());
        EXPECT_EQ(console.Output(), refused + refused + refused + Red(kGiveUp) + "\n\n\n");
    }
}

// ---- Dialogues at a terminal -------------------------------------------

// Standard input on a terminal of the test's own, read through std::cin and
// the C stream as the program reads it; what a person types goes in at the
// master side. Standard output is captured.
class TerminalInput {
public:
    // A write-only descriptor makes every read fail, as on a terminal that
    // is no longer the program's own.
    explicit TerminalInput(int slaveMode = O_RDWR)
    {
        m_master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (m_master < 0 || grantpt(m_master) != 0 || unlockpt(m_master) != 0)
            return;
        const char *name = ptsname(m_master);
        const int slave = name != nullptr ? open(name, slaveMode | O_NOCTTY | O_CLOEXEC) : -1;
        if (slave < 0)
            return;
        termios settings {};
        tcgetattr(slave, &settings);
        settings.c_lflag &= ~static_cast<tcflag_t>(ECHO);  // nobody reads the echo
        tcsetattr(slave, TCSANOW, &settings);
        m_savedIn = dup(STDIN_FILENO);
        m_ok = m_savedIn >= 0 && dup2(slave, STDIN_FILENO) == STDIN_FILENO;
        close(slave);
        std::clearerr(stdin);
        m_oldOut = std::cout.rdbuf(m_output.rdbuf());
    }
    ~TerminalInput()
    {
        if (m_oldOut != nullptr)
            std::cout.rdbuf(m_oldOut);
        if (m_savedIn >= 0) {
            dup2(m_savedIn, STDIN_FILENO);
            close(m_savedIn);
        }
        if (m_master >= 0)
            close(m_master);
        std::cin.clear();
        std::clearerr(stdin);
    }
    TerminalInput(const TerminalInput &) = delete;
    TerminalInput &operator=(const TerminalInput &) = delete;

    bool Ok() const { return m_ok; }
    bool Type(const std::string &keys) const
    {
        return write(m_master, keys.data(), keys.size()) == static_cast<ssize_t>(keys.size());
    }
    std::string Output() const { return m_output.str(); }

private:
    int m_master = -1;
    int m_savedIn = -1;
    bool m_ok = false;
    std::ostringstream m_output;
    std::streambuf *m_oldOut = nullptr;
};

const char kCtrlD[] = "\x04";

enum class Dialogue { Numbers, Ports };

struct TerminalCase {
    const char *name;
    Dialogue dialogue;
    std::string typed;
    bool accepted;
    std::vector<std::string> chosen;  // numbers, or the ports' paths
    int refusals;
};

void PrintTo(const TerminalCase &c, std::ostream *os)
{
    *os << c.name;
}

const TerminalCase kTerminalCases[] = {
    // Ctrl-D is one refused try, never the empty answer that would choose
    // the ports automatically.
    {"CtrlDAtThePortPrompt", Dialogue::Ports, std::string(kCtrlD) + "USB1\n", true, {"/dev/ttyUSB1"}, 1},
    {"CtrlDAtTheNumberPrompt", Dialogue::Numbers, std::string(kCtrlD) + "13800138000\n", true,
     {"13800138000"}, 1},
    {"TwoCtrlDThenAnAnswer", Dialogue::Numbers, std::string(kCtrlD) + kCtrlD + "10086\n", true,
     {"10086"}, 2},
    {"ThreeCtrlDGiveUp", Dialogue::Ports, std::string(kCtrlD) + kCtrlD + kCtrlD, false, {}, 3},
    // Typed text that Ctrl-D hands over without a line end is an answer.
    {"TextEndedByCtrlD", Dialogue::Ports, std::string("USB1") + kCtrlD + kCtrlD, true, {"/dev/ttyUSB1"}, 0},
    {"EnterIsStillTheEmptyAnswer", Dialogue::Ports, "\n", true, {"/dev/ttyUSB0"}, 0},
};

class TerminalDialogueTest : public ::testing::TestWithParam<TerminalCase> {};

TEST_P(TerminalDialogueTest, CtrlDIsOneRefusedTry)
{
    const TerminalCase &c = GetParam();
    TerminalInput terminal;
    ASSERT_TRUE(terminal.Ok());
    ASSERT_TRUE(terminal.Type(c.typed));
    TestManager manager;
    manager.Rows() = kMixedRows;
    std::vector<std::string> chosen;
    bool accepted = false;
    const char *prompt = kNumberPrompt;
    const char *refused = kNumberRefused;
    if (c.dialogue == Dialogue::Numbers) {
        accepted = manager.InputCheckSendPduSmsPhoneNumbers(chosen);
    } else {
        prompt = kPortPrompt;
        refused = kPortRefused;
        std::vector<ComPortBaseInfo_t> ports;
        accepted = manager.InputCheckSendPduSmsComPorts(ports);
        for (const ComPortBaseInfo_t &port : ports)
            chosen.push_back(port.comPath);
    }
    EXPECT_EQ(accepted, c.accepted);
    EXPECT_EQ(chosen, c.chosen);
    std::string expected;
    for (int i = 0; i < c.refusals; ++i)
        expected += Asked(prompt) + Red(refused) + "\n";
    expected += c.accepted ? Asked(prompt) : Red(kGiveUp) + "\n\n\n";
    EXPECT_EQ(terminal.Output(), expected);
    // The menu after the dialogue must not take the input for gone.
    EXPECT_EQ(std::feof(stdin), 0);
}

INSTANTIATE_TEST_SUITE_P(Input, TerminalDialogueTest, ::testing::ValuesIn(kTerminalCases),
                         [](const ::testing::TestParamInfo<TerminalCase> &info) {
                             return std::string(info.param.name);
                         });

TEST(TerminalDialogue, ReadErrorsRefuseEveryTryAndStayForTheMenu)
{
    TerminalInput terminal(O_WRONLY);
    ASSERT_TRUE(terminal.Ok());
    TestManager manager;
    manager.Rows() = kMixedRows;
    std::vector<ComPortBaseInfo_t> ports;
    EXPECT_FALSE(manager.InputCheckSendPduSmsComPorts(ports));
    EXPECT_TRUE(ports.empty());
    EXPECT_NE(std::ferror(stdin), 0) << "the menu ends instead of rescanning for keys";
}

TEST(TerminalTextDialogue, CtrlDGivesTheDefaultTextAndLeavesTheInputOpen)
{
    TerminalInput terminal;
    ASSERT_TRUE(terminal.Ok());
    ASSERT_TRUE(terminal.Type(kCtrlD));
    TestManager manager;
    std::string text = "old";
    EXPECT_TRUE(manager.InputCheckSendPduSmsContext(text));
    EXPECT_EQ(text, " 北京Korvane短信为您服务 ");
    EXPECT_EQ(std::feof(stdin), 0);
}
}  // namespace
