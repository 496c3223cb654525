// The real program at its terminal: the device table of a scan over fakes of
// every kind, byte for byte, and the menu keys (Enter, unknown keys, Ctrl-C,
// several bytes at once, d, q), Ctrl-D at a prompt, signals that end the
// program while it waits for a key, and the loop's end when no key can come.
#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <regex>

#include <gtest/gtest.h>

#include "ZarvexHarness.h"

namespace {
const HarnessPaths kPaths = {ZARVEX_BINARY, FAKE_MODEM_BINARY};

constexpr int kScreenTimeoutMs = 20000;
// Long enough for a key to start a scan whose commands reach a fake, had
// the key been taken as a redraw.
constexpr int kQuietMs = 1000;
// A run that rescans without end is stopped well before this.
constexpr int kRunTimeoutMs = 30000;

const char kMenuText[] = "回车键刷新 1发送短信 2接收短信 q退出";
const std::string kMenuLine = std::string(kMenuText) + "\n";

FakeConfig Fake(FakeModel model, FakeBaud baud = FakeBaud::Any)
{
    FakeConfig c;
    c.model = model;
    c.baud = baud;
    return c;
}

FakeConfig Refusing(FakeModel model, const char *command)
{
    FakeConfig c = Fake(model);
    c.faults.errorCommands.push_back({command, "ERROR"});
    return c;
}

// The terminal turns every line end into CR LF.
std::string Lines(const std::string &screen)
{
    std::string text;
    for (std::size_t i = 0; i < screen.size(); ++i) {
        if (screen[i] == '\r' && i + 1 < screen.size() && screen[i + 1] == '\n')
            continue;
        text += screen[i];
    }
    return text;
}

std::size_t Count(const std::string &text, const std::string &part)
{
    std::size_t n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

std::size_t CountCommand(const FakeRecord &record, const std::string &command)
{
    const std::vector<std::string> texts = record.CommandTexts();
    return static_cast<std::size_t>(std::count(texts.begin(), texts.end(), command));
}

// Regex text for a literal.
std::string Literal(const std::string &text)
{
    static const std::regex special(R"([.^$|()\[\]{}*+?\\])");
    return std::regex_replace(text, special, R"(\$&)");
}

const std::string kEquals(90, '=');
const std::string kDashes(90, '-');
const char kTitle[] = "              Korvane短信设备检测 V1.6  ";
const char kTimePattern[] = "\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d";
const char kHeader[] =
    "端口号    波特率    AT标识          SMS卡号                信号强度   设备序列号\n";

// A whole screen of one pass: the opening empty line of the program (first
// pass only), the table with these rows, the scan time and the menu line.
// The scan time is whole seconds counted from two clock readings, so a scan
// of a little over two seconds may read 4 on a busy machine: any one digit.
constexpr char kAnySeconds[] = "[1-9]";

std::string ScreenPattern(const std::vector<std::string> &rows, const char *seconds)
{
    std::string body = Literal(kEquals + "\n" + kHeader);
    for (const std::string &row : rows)
        body += Literal(kDashes + "\n" + row);
    body += Literal(kEquals + "\n\n\t设备检测耗时: ") + seconds + Literal(" 秒\n" + kMenuLine);
    return "\n\n\n" + Literal(kTitle) + kTimePattern + "\n" + body;
}

// Every kind of port a scan meets, named so that the order is bytewise.
const std::vector<HarnessFake> kEveryKind = {
    {Fake(FakeModel::Silent), "ttyS0"},
    {Refusing(FakeModel::Pimsor, "AT+CCID"), "ttyS1"},
    {Fake(FakeModel::Tarnel), "ttyUSB0"},
    {Fake(FakeModel::Orvast, FakeBaud::Only115200), "ttyUSB1"},
    {Refusing(FakeModel::Sudrel, "AT+CGSN"), "ttyUSB10"},
    {Fake(FakeModel::UnknownAti), "ttyUSB2"},
};
constexpr std::size_t kTarnel = 2;

const std::vector<std::string> kEveryKindRows = {
    "ttyS0     115200    不AT           未读卡                 无信号      无效序列号\n",
    "ttyS1     9600      OK              未读卡                 无信号      863912010045604\n",
    "ttyUSB0   9600      OK              89860318245000112201   24,99       862107034551201\n",
    "ttyUSB1   115200    OK              89860045123409876505   21,0        354043010203605\n",
    "ttyUSB10  9600      OK              89860311802000567806   18,99       无效序列号\n",
    "ttyUSB2   115200    不AT           未读卡                 无信号      无效序列号\n",
};

class MenuTest : public testing::Test {
protected:
    void SetUp() override
    {
        if (geteuid() != 0)
            GTEST_SKIP() << "mount namespaces need root";
    }

    // The program at its terminal, its first menu on screen.
    std::unique_ptr<NamespaceProcess> StartAtMenu(ZarvexHarness &h, const std::vector<HarnessFake> &fakes)
    {
        std::string error;
        if (!h.Start(fakes, &error)) {
            ADD_FAILURE() << error;
            return nullptr;
        }
        auto p = h.StartInteractive({}, &error);
        if (!p) {
            ADD_FAILURE() << error;
            return nullptr;
        }
        if (!p->WaitForScreen(kMenuText, kScreenTimeoutMs))
            ADD_FAILURE() << "no menu: " << p->Screen();
        return p;
    }

    // Keys go in once the menu waits for them in raw mode.
    static bool Press(NamespaceProcess &p, const std::string &keys)
    {
        usleep(300 * 1000);
        return p.SendKeys(keys);
    }

    // Until the menu has been drawn `count` times in all.
    static bool WaitForMenus(NamespaceProcess &p, std::size_t count)
    {
        std::size_t from = 0;
        for (std::size_t i = 0; i < count; ++i) {
            if (!p.WaitForScreen(kMenuText, kScreenTimeoutMs, from))
                return false;
            from = p.Screen().find(kMenuText, from) + 1;
        }
        return true;
    }
};

TEST_F(MenuTest, TableOfEveryKindOfPortByteForByteThenQuit)
{
    ZarvexHarness h(kPaths);
    auto p = StartAtMenu(h, kEveryKind);
    ASSERT_TRUE(p);
    const std::string first = Lines(p->Screen());
    EXPECT_TRUE(std::regex_match(first, std::regex(ScreenPattern(kEveryKindRows, kAnySeconds)))) << first;

    ASSERT_TRUE(Press(*p, "q"));
    const NamespaceResult r = p->WaitExit(kScreenTimeoutMs);
    EXPECT_EQ(r.exitStatus, 0);
    EXPECT_FALSE(r.timedOut);
    EXPECT_EQ(Lines(r.out), first) << "q quits without another scan";
    EXPECT_EQ(CountCommand(h.Record(kTarnel), "ATI"), 1u);
}

// Without adapters the table still has the two built-in ports, which are
// absent here; the scan is over within its second.
TEST_F(MenuTest, NoAdapterLeavesTheBuiltInRows)
{
    ZarvexHarness h(kPaths);
    auto p = StartAtMenu(h, {});
    ASSERT_TRUE(p);
    const std::string row = "不AT           未读卡                 无信号      无效序列号\n";
    const std::string first = Lines(p->Screen());
    EXPECT_TRUE(std::regex_match(
        first, std::regex(ScreenPattern({"ttyS0     115200    " + row, "ttyS1     115200    " + row},
                                        kAnySeconds))))
        << first;
    ASSERT_TRUE(Press(*p, "q"));
    EXPECT_EQ(p->WaitExit(kScreenTimeoutMs).exitStatus, 0);
}

// Enter scans again at once; the new table stands on its own.
TEST_F(MenuTest, EnterRedrawsWithAFreshScan)
{
    ZarvexHarness h(kPaths);
    auto p = StartAtMenu(h, kEveryKind);
    ASSERT_TRUE(p);
    ASSERT_TRUE(Press(*p, "\r"));
    ASSERT_TRUE(WaitForMenus(*p, 2)) << p->Screen();
    const std::string screen = Lines(p->Screen());
    const std::string second = screen.substr(screen.find(kMenuLine) + kMenuLine.size());
    EXPECT_TRUE(std::regex_match("\n" + second, std::regex(ScreenPattern(kEveryKindRows, kAnySeconds))))
        << second;
    EXPECT_EQ(CountCommand(h.Record(kTarnel), "ATI"), 2u);
    ASSERT_TRUE(Press(*p, "q"));
    EXPECT_EQ(p->WaitExit(kScreenTimeoutMs).exitStatus, 0);
}

// An unknown key waits for one more key of any kind; Ctrl-C is such a key,
// not a signal.
TEST_F(MenuTest, UnknownKeyAndCtrlCWaitForOneMoreKey)
{
    ZarvexHarness h(kPaths);
    auto p = StartAtMenu(h, {{Fake(FakeModel::Tarnel), "ttyUSB0"}});
    ASSERT_TRUE(p);
    ASSERT_TRUE(Press(*p, "x"));
    usleep(kQuietMs * 1000);
    EXPECT_EQ(CountCommand(h.Record(0), "ATI"), 1u) << "x alone does not redraw";
    ASSERT_TRUE(Press(*p, "\x03"));
    ASSERT_TRUE(WaitForMenus(*p, 2)) << p->Screen();
    EXPECT_EQ(CountCommand(h.Record(0), "ATI"), 2u);

    ASSERT_TRUE(Press(*p, "\x03"));
    usleep(kQuietMs * 1000);
    EXPECT_EQ(CountCommand(h.Record(0), "ATI"), 2u) << "Ctrl-C does not end the program";
    ASSERT_TRUE(Press(*p, "q"));  // the one more key: ignored, then a redraw
    ASSERT_TRUE(WaitForMenus(*p, 3)) << p->Screen();
    ASSERT_TRUE(Press(*p, "q"));
    const NamespaceResult r = p->WaitExit(kScreenTimeoutMs);
    EXPECT_EQ(r.exitStatus, 0);
    EXPECT_EQ(r.signal, 0);
}

// An arrow key is three bytes and counts as three keys: escape and "[" make
// one unknown key and its extra key, "A" is the next unknown key.
TEST_F(MenuTest, ArrowKeyCountsAsThreeKeys)
{
    ZarvexHarness h(kPaths);
    auto p = StartAtMenu(h, {{Fake(FakeModel::Orvast), "ttyUSB0"}});
    ASSERT_TRUE(p);
    ASSERT_TRUE(Press(*p, "\x1b[A"));
    ASSERT_TRUE(WaitForMenus(*p, 2)) << p->Screen();
    ASSERT_TRUE(Press(*p, "q"));  // taken as the key after "A"
    ASSERT_TRUE(WaitForMenus(*p, 3)) << p->Screen();
    ASSERT_TRUE(Press(*p, "q"));
    EXPECT_EQ(p->WaitExit(kScreenTimeoutMs).exitStatus, 0);
    EXPECT_EQ(CountCommand(h.Record(0), "ATI"), 3u);
}

// Key d asks for ports and then sends nothing: no message is deleted.
TEST_F(MenuTest, KeyDAsksForPortsAndSendsNothing)
{
    ZarvexHarness h(kPaths);
    auto p = StartAtMenu(h, {{Fake(FakeModel::Tarnel), "ttyUSB0"}});
    ASSERT_TRUE(p);
    const std::size_t before = h.Record(0).commands.size();
    ASSERT_TRUE(Press(*p, "d"));
    ASSERT_TRUE(p->WaitForScreen("请输入设备端口号(例:选择/dev/ttyUSB0,请输入USB0):", kScreenTimeoutMs))
        << p->Screen();
    ASSERT_TRUE(p->SendKeys("USB0\r"));
    ASSERT_TRUE(WaitForMenus(*p, 2)) << p->Screen();
    const std::vector<std::string> texts = h.Record(0).CommandTexts();
    ASSERT_GT(texts.size(), before);
    EXPECT_EQ(texts[before], "ATE0") << "the next command is the next scan's";
    for (const std::string &t : texts)
        EXPECT_EQ(t.find("CMGD"), std::string::npos) << t;
    ASSERT_TRUE(Press(*p, "q"));
    EXPECT_EQ(p->WaitExit(kScreenTimeoutMs).exitStatus, 0);
}

// Ctrl-D at the number prompt is one refused try: the prompt asks again and
// waits. After three the dialogue gives up, and the menu still takes keys.
TEST_F(MenuTest, CtrlDAtAPromptIsOneTryAndTheMenuGoesOn)
{
    const char prompt[] = "请输入接收短信的号码: ";
    const char giveUp[] = "输入的错误次数过多，返回主界面";
    ZarvexHarness h(kPaths);
    auto p = StartAtMenu(h, {{Fake(FakeModel::Tarnel), "ttyUSB0"}});
    ASSERT_TRUE(p);
    ASSERT_TRUE(Press(*p, "1"));
    ASSERT_TRUE(p->WaitForScreen(prompt, kScreenTimeoutMs)) << p->Screen();
    ASSERT_TRUE(p->SendKeys("\x04"));
    const std::size_t first = p->Screen().find(prompt);
    ASSERT_TRUE(p->WaitForScreen(prompt, kScreenTimeoutMs, first + 1)) << p->Screen();
    usleep(kQuietMs * 1000);
    EXPECT_EQ(Count(p->Screen(), prompt), 2u) << p->Screen();
    EXPECT_EQ(p->Screen().find(giveUp), std::string::npos) << "one Ctrl-D, one try";

    ASSERT_TRUE(p->SendKeys("\x04"));
    usleep(kQuietMs * 1000);
    ASSERT_TRUE(p->SendKeys("\x04"));
    ASSERT_TRUE(p->WaitForScreen(giveUp, kScreenTimeoutMs)) << p->Screen();
    EXPECT_EQ(Count(p->Screen(), prompt), 3u) << p->Screen();
    ASSERT_TRUE(WaitForMenus(*p, 2)) << p->Screen();
    ASSERT_TRUE(Press(*p, "q"));
    const NamespaceResult r = p->WaitExit(kScreenTimeoutMs);
    EXPECT_EQ(r.exitStatus, 0);
    EXPECT_EQ(CountCommand(h.Record(0), "ATI"), 2u) << "no scan after q";
    EXPECT_EQ(Count(Lines(r.out), kMenuLine), 2u) << "the program waited for q";
}

// A signal that ends the program while the menu waits for a key in raw mode:
// the program ends by that signal, and the terminal is left as it was
// before, not raw. A signal ignored from the start stays ignored.
bool IsRaw(const termios &t)
{
    return (t.c_lflag & (ICANON | ECHO | ISIG)) == 0;
}

bool IsCooked(const termios &t)
{
    return (t.c_lflag & ICANON) && (t.c_lflag & ECHO) && (t.c_lflag & ISIG) && (t.c_iflag & ICRNL)
           && (t.c_oflag & OPOST);
}

struct SignalCase {
    const char *name;
    int signal;
    bool ignoredFromStart;
};

void PrintTo(const SignalCase &c, std::ostream *os)
{
    *os << c.name;
}

const SignalCase kSignalCases[] = {
    {"Term", SIGTERM, false},
    {"HangUp", SIGHUP, false},
    {"InterruptFromAnotherProcess", SIGINT, false},
    {"HangUpUnderNohup", SIGHUP, true},
};

class MenuSignalTest : public MenuTest, public testing::WithParamInterface<SignalCase> {};

TEST_P(MenuSignalTest, TerminalLeftAsFound)
{
    const SignalCase &c = GetParam();
    ZarvexHarness h(kPaths);
    std::string error;
    ASSERT_TRUE(h.Start({{Fake(FakeModel::Tarnel), "ttyUSB0"}}, &error)) << error;
    const std::string ignore = std::string("trap '' ") + std::to_string(c.signal) + "; ";
    auto p = h.StartInteractiveCommand(
        {"/bin/sh", "-c", (c.ignoredFromStart ? ignore : std::string()) + "exec \"$0\"", kPaths.zarvex}, &error);
    ASSERT_TRUE(p) << error;
    ASSERT_TRUE(p->WaitForScreen(kMenuText, kScreenTimeoutMs)) << p->Screen();
    usleep(300 * 1000);
    termios waiting {};
    ASSERT_TRUE(p->TerminalSettings(&waiting));
    ASSERT_TRUE(IsRaw(waiting)) << "the menu waits for its key in raw mode";

    ASSERT_TRUE(p->Signal(c.signal));
    if (c.ignoredFromStart) {
        usleep(kQuietMs * 1000);
        ASSERT_TRUE(Press(*p, "q"));
        const NamespaceResult r = p->WaitExit(kScreenTimeoutMs);
        EXPECT_EQ(r.exitStatus, 0) << "still at the menu, and q ends it";
        return;
    }
    ASSERT_TRUE(p->WaitEnded(kScreenTimeoutMs));
    termios after {};
    ASSERT_TRUE(p->TerminalSettings(&after));
    EXPECT_TRUE(IsCooked(after)) << std::hex << "lflag " << after.c_lflag << " iflag " << after.c_iflag;
    const NamespaceResult r = p->WaitExit(kScreenTimeoutMs);
    EXPECT_EQ(r.signal, c.signal);
    EXPECT_EQ(CountCommand(h.Record(0), "ATI"), 1u);
}

INSTANTIATE_TEST_SUITE_P(Menu, MenuSignalTest, testing::ValuesIn(kSignalCases),
                         [](const testing::TestParamInfo<SignalCase> &info) { return std::string(info.param.name); });

// Values a modem reports reach the terminal in a visible form, never as
// control sequences.
TEST_F(MenuTest, ModemValuesCannotSteerTheTerminal)
{
    FakeConfig hostile = Fake(FakeModel::Pimsor);
    hostile.iccid = "8986\x1b[2J0001";
    hostile.imei = "8639\x1b]0;owned\x07";
    ZarvexHarness h(kPaths);
    auto p = StartAtMenu(h, {{hostile, "ttyUSB0"}});
    ASSERT_TRUE(p);
    const std::string screen = p->Screen();
    EXPECT_EQ(screen.find('\x1b'), std::string::npos) << screen;
    EXPECT_EQ(screen.find('\x07'), std::string::npos) << screen;
    // Values with control characters in them are of no value's form: the
    // modem's row shows what it shows for values not read.
    const std::size_t row = screen.find("ttyUSB0");
    ASSERT_NE(row, std::string::npos) << screen;
    const std::string line = screen.substr(row, screen.find('\n', row) - row);
    EXPECT_NE(line.find("未读卡"), std::string::npos) << line;
    EXPECT_NE(line.find("无效序列号"), std::string::npos) << line;
    ASSERT_TRUE(Press(*p, "q"));
    EXPECT_EQ(p->WaitExit(kScreenTimeoutMs).exitStatus, 0);
}

// No terminal to read keys from: one pass, then the program ends instead of
// rescanning the ports without end.
TEST_F(MenuTest, LoopEndsWhenStandardInputIsNoTerminal)
{
    ZarvexHarness h(kPaths);
    std::string error;
    ASSERT_TRUE(h.Start({{Fake(FakeModel::Tarnel), "ttyUSB0"}}, &error)) << error;
    struct Case {
        const char *name;
        NamespaceResult result;
    };
    const Case cases[] = {
        {"pipe with keys", h.Run({}, "\r\r1q\n", kRunTimeoutMs)},
        {"closed", h.RunCommand({"/bin/sh", "-c", "exec \"$0\" <&-", kPaths.zarvex}, "", kRunTimeoutMs)},
        {"null device", h.RunCommand({"/bin/sh", "-c", "exec \"$0\" </dev/null", kPaths.zarvex}, "", kRunTimeoutMs)},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(c.result.exitStatus, 0) << c.name << ": " << c.result.err;
        EXPECT_FALSE(c.result.timedOut) << c.name;
        EXPECT_EQ(Count(c.result.out, kMenuLine), 1u) << c.name << ": " << c.result.out;
    }
    EXPECT_EQ(CountCommand(h.Record(0), "ATI"), 3u) << "one scan per run";
}
}  // namespace
