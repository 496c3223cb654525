// The Windows program's device scan as its user sees it: Zarvex.exe with no
// arguments and a pipe for standard input makes one menu pass (scan, device
// table, menu line) and ends, so the table comes back through the pipe byte
// for byte. What each fake was sent tells how the probe identified it.
#include <unistd.h>

#include <chrono>
#include <iostream>
#include <map>
#include <regex>

#include <gtest/gtest.h>
#include <json/json.h>

#include "FakeProfile.h"
#include "WineHarness.h"
#include "WineScanSupport.h"

namespace {
using namespace wine_scan;

// Standard input: a pipe that ends at once, so no key can come.
const char kNoInput[] = "";

// A scan of answering modems is bounded by its slowest probe; the program
// then prints and ends. Its run must not take much longer than its scan.
constexpr long long kStartAndEndMs = 3000;

std::vector<std::string> CrLfLines(const std::string &text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    if (start < text.size())
        lines.push_back(text.substr(start));
    return lines;
}

// The device table of one menu pass, taken apart.
struct ShownTable {
    std::string title;
    std::string header;
    std::vector<std::string> rows;
    std::string belowTable;  // the line right under the table: empty, or the ports not probed
    long long costMs = -1;   // from the scan-time line
    // The scan text, an empty line, the menu line, and nothing after it.
    bool endsWithMenu = false;
};

ShownTable ParseTable(const std::string &out)
{
    ShownTable table;
    const std::vector<std::string> lines = CrLfLines(out);
    const std::string equals(90, '='), dashes(90, '-');
    bool inTable = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i] == equals) {
            if (!inTable && i > 0)
                table.title = lines[i - 1];
            if (!inTable && i + 1 < lines.size())
                table.header = lines[i + 1];
            if (inTable && i + 1 < lines.size())
                table.belowTable = lines[i + 1];
            inTable = !inTable;
        } else if (inTable && lines[i] == dashes && i + 1 < lines.size()) {
            table.rows.push_back(lines[i + 1]);
        }
        std::smatch m;
        static const std::regex kCost("\tcost time (-?[0-9]+) ms");
        if (std::regex_match(lines[i], m, kCost))
            table.costMs = std::stoll(m[1]);
    }
    const std::size_t n = lines.size();
    table.endsWithMenu = n >= 3 && lines[n - 1] == Gbk("回车键刷新 1发送短信 2接收短信 q退出") &&
                         lines[n - 2].empty() && lines[n - 3].compare(0, 11, "\tcost time ") == 0;
    return table;
}

// The title right-aligned in 45 bytes, then the time of the table.
std::regex TitleLine()
{
    const std::string title = Gbk("Korvane短信设备检测 V1.6 ");
    return std::regex(std::string(45 - title.size(), ' ') + title +
                      " [0-9]{4}-[0-9]{2}-[0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2}");
}

std::string HeaderLine()
{
    return Cell("端口号", kPortWidth) + Cell("波特率", kBaudWidth) + Cell("AT标识", kAtWidth) +
           Cell("SMS卡号", kCardWidth) + Cell("信号强度", kSignalWidth) + Gbk("设备序列号");
}

const RowValues kNotAtAtEitherSpeed = {"115200", "不AT", "", "", ""};

// The commands of a Huawei MG301's probe, signal included.
constexpr int kPimsorProbeCommands = 10;

long long ElapsedMs(std::chrono::steady_clock::time_point since)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - since)
        .count();
}

struct Pass {
    NamespaceResult result;
    ShownTable table;
    long long wallMs = 0;
};

// Zarvex.exe with no arguments and standard input as the shell redirection
// `input` leaves it.
NamespaceResult RunWithInput(const std::string &input, int timeoutMs)
{
    const WineSession &session = WineSession::Instance();
    std::vector<std::string> argv = {"/bin/sh", "-c", "exec \"$@\" " + input, "sh"};
    const std::vector<std::string> program = session.ProgramArgv(ZarvexExe(), {});
    argv.insert(argv.end(), program.begin(), program.end());
    NamespaceProcess p;
    NamespaceResult result;
    if (!p.StartHere(argv, session.ProgramOptions({}, ""), NamespaceStdio::Pipes, timeoutMs, &result.err))
        return result;
    return p.Wait();
}

// One menu pass of the program, which must end on its own. Standard input
// is a pipe that ends at once, or what the redirection `input` makes it.
Pass RunMenuPass(WineHarness &h, const std::string &input = "", int timeoutMs = WineRunOptions::kDefaultTimeoutMs)
{
    Pass pass;
    const auto start = std::chrono::steady_clock::now();
    pass.result = input.empty() ? h.Run(ZarvexExe(), {}, {kNoInput, timeoutMs, {}, ""})
                                : RunWithInput(input, timeoutMs);
    pass.wallMs = ElapsedMs(start);
    EXPECT_EQ(pass.result.exitStatus, 0) << pass.result.err;
    EXPECT_FALSE(pass.result.timedOut);
    pass.table = ParseTable(pass.result.out);
    EXPECT_TRUE(std::regex_match(pass.table.title, TitleLine())) << ReadableGbk(pass.result.out);
    EXPECT_EQ(pass.table.header, HeaderLine()) << ReadableGbk(pass.result.out);
    EXPECT_TRUE(pass.table.endsWithMenu) << ReadableGbk(pass.result.out);
    EXPECT_GE(pass.table.costMs, 0) << ReadableGbk(pass.result.out);
    EXPECT_LT(pass.wallMs, pass.table.costMs + kStartAndEndMs) << "the program did not end after its pass";
    return pass;
}

std::vector<std::string> Texts(const std::vector<FakeCommandEvent> &events)
{
    std::vector<std::string> texts;
    for (const FakeCommandEvent &e : events)
        texts.push_back(e.text);
    return texts;
}

std::vector<std::string> Concat(std::vector<std::string> a, const std::vector<std::string> &b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

class WineScanTest : public testing::Test {
protected:
    void SetUp() override
    {
        if (geteuid() != 0)
            GTEST_SKIP() << "Wine runs in a private mount namespace, which needs root";
    }
};

// Up to the manufacturer's name, every answering module is asked alike.
const std::vector<std::string> kOpening = {"AT", "ATE0", "AT+CMEE=1", "ATI", "AT+CGMI"};
// The SIM card number was read: the signal follows.
const std::vector<std::string> kSignal = {"ATI", "AT+CSQ"};
// Neither a Huawei nor a Wavecom module, nor Siemens.
const std::vector<std::string> kUnidentified = {"ATI3", "ATI", "AT+WMSN", "AT+CGSN", "AT+CCID"};

struct Family {
    int com;
    FakeModel model;
    FakeBaud baud;
    // From the module's identification on, without the signal.
    std::vector<std::string> commands;
    const char *serial;  // null: the fake's IMEI
    const char *card = nullptr;  // null: the fake's ICCID
};

// Each module family on a port of its own; the serial number of the MC323
// without one is checked apart (phonebook).
const Family kFamilies[] = {
    {11, FakeModel::Pimsor, FakeBaud::Any, {"AT+CGMM", "AT+CGSN", "AT^ICCID?"}, nullptr},
    // Its card number comes in the card's stored order and shows as printed.
    {12, FakeModel::VelkorMe, FakeBaud::Any, {"AT+CGMM", "AT+CGSN", "AT^ICCID?"}, nullptr,
     "89860012345678901230"},
    {13, FakeModel::Sudrel, FakeBaud::Any, {"AT+CGMM", "AT+CGSN", "AT+CCID"}, nullptr},
    {15, FakeModel::Orvast, FakeBaud::Any, {"ATI3", "AT+CGSN", "AT+CCID"}, nullptr},
    {16, FakeModel::OrvastWismoq, FakeBaud::Any, {"ATI3", "AT+CCID"}, ""},
    {17, FakeModel::OrvastOther, FakeBaud::Any, {"ATI3", "AT+WMSN", "AT+CCID"}, "A35040102036610"},
    {18, FakeModel::Siemens, FakeBaud::Any, {"ATI3", "ATI", "AT+CGSN", "AT+CXXCID"}, nullptr},
    {19, FakeModel::Tarnel, FakeBaud::Any, kUnidentified, nullptr},
    {20, FakeModel::VelkorNc5, FakeBaud::Any, kUnidentified, nullptr},
    {21, FakeModel::UnknownAti, FakeBaud::Any, kUnidentified, nullptr},
    {22, FakeModel::Pimsor, FakeBaud::Only115200, {"AT+CGMM", "AT+CGSN", "AT^ICCID?"}, nullptr},
    // Sorted as a number, COM100 comes last, not between COM1x and COM2x.
    {100, FakeModel::Tarnel, FakeBaud::Any, kUnidentified, nullptr},
};
constexpr int kNoSerialCom = 14;
constexpr int kSilentCom = 23;
constexpr int kMissingCom = 24;
constexpr int kDanglingCom = 25;

RowValues FamilyRow(const Family &f)
{
    const FakeProfile &p = GetFakeProfile(f.model);
    return {f.baud == FakeBaud::Only115200 ? "115200" : "9600", "OK", f.card ? f.card : p.iccid,
            p.csq, f.serial ? f.serial : p.imei};
}

void ExpectFamilyRecord(const Family &f, const FakeRecord &record)
{
    SCOPED_TRACE(FakeModelName(f.model));
    std::vector<std::string> expected = kOpening;
    // An OK at the second speed counts once a second "AT" there is answered
    // too: it may be a late answer from the first.
    if (f.baud == FakeBaud::Only115200)
        expected.insert(expected.begin(), {"AT", "AT"});
    expected = Concat(Concat(expected, f.commands), kSignal);
    EXPECT_EQ(Texts(record.commands), expected);
    // The first "AT" at 9600; only a modem silent there is asked at 115200,
    // and everything after its answer goes at that speed.
    const int answered = f.baud == FakeBaud::Only115200 ? 115200 : 9600;
    for (std::size_t i = 0; i < record.commands.size(); ++i)
        EXPECT_EQ(record.commands[i].baud, i == 0 ? 9600 : answered) << record.commands[i].text;
}

TEST_F(WineScanTest, EveryPortGetsOneRowInComOrderAndEachFamilyItsOwnCommands)
{
    WineHarness h;
    for (const Family &f : kFamilies)
        h.AddFake(f.com, ModemFake(f.model, f.baud));
    h.AddFake(kNoSerialCom, ModemFake(FakeModel::SudrelNoSerial));
    h.AddFake(kSilentCom, ModemFake(FakeModel::Silent));
    h.AddMissingPort(kMissingCom).AddDanglingPort(kDanglingCom);
    std::string error;
    ASSERT_TRUE(h.Start(&error)) << error;

    const Pass first = RunMenuPass(h);
    std::cout << "[ measured ] " << h.PortNames().size() << " ports: scan " << first.table.costMs
              << " ms, program run " << first.wallMs << " ms\n";

    // The MC323 without a serial number got one of the probe's making,
    // written once into its device phonebook's entry 1.
    const std::vector<PhonebookEntry> phonebook = h.Phonebook(kNoSerialCom);
    ASSERT_EQ(phonebook.size(), 1u);
    const std::string serial = phonebook[0].number;
    EXPECT_TRUE(std::regex_match(serial, std::regex("[0-9]{15}"))) << serial;
    EXPECT_EQ(phonebook[0].store, "ME");
    EXPECT_EQ(phonebook[0].index, 1);
    EXPECT_EQ(phonebook[0].text, "WMSN");
    EXPECT_EQ(phonebook[0].type, 129);

    std::map<int, RowValues> expected;
    for (const Family &f : kFamilies)
        expected[f.com] = FamilyRow(f);
    const FakeProfile &noSerial = GetFakeProfile(FakeModel::SudrelNoSerial);
    expected[kNoSerialCom] = {"9600", "OK", noSerial.iccid, noSerial.csq, serial};
    expected[kSilentCom] = kNotAtAtEitherSpeed;
    // Wine opens a listed port whose device is gone; its first write
    // fails, and the probe does not go on to the second speed.
    expected[kMissingCom] = expected[kDanglingCom] = {"9600", "不AT", "", "", ""};
    std::vector<std::string> rows;
    for (const auto &entry : expected)
        rows.push_back(RowLine(entry.first, entry.second));
    EXPECT_EQ(first.table.rows, rows) << ReadableGbk(first.result.out);

    for (const Family &f : kFamilies)
        ExpectFamilyRecord(f, h.Record(f.com));
    const FakeRecord silent = h.Record(kSilentCom);
    ASSERT_EQ(silent.commands.size(), 2u);
    EXPECT_EQ(silent.commands[0].text, "AT");
    EXPECT_EQ(silent.commands[0].baud, 9600);
    EXPECT_EQ(silent.commands[1].text, "AT");
    EXPECT_EQ(silent.commands[1].baud, 115200);

    const std::vector<std::string> phonebookRead = {"AT+CPBS=\"ME\"", "AT^CPBR=1"};
    const std::vector<std::string> beforeSerial = Concat(kOpening, {"AT+CGMM", "AT+CGSN"});
    const std::vector<std::string> afterSerial = Concat({"AT^RSSIREP=0", "AT+CCID"}, kSignal);
    const std::vector<std::string> written = Concat(
        Concat(Concat(beforeSerial, phonebookRead),
               {"AT^CPBW=1,\"" + serial + "\",129,\"WMSN\"", "AT^CPBR=1"}),
        afterSerial);
    const std::size_t firstRunCommands = h.Record(kNoSerialCom).commands.size();
    EXPECT_EQ(Texts(h.Record(kNoSerialCom).commands), written);

    // The next run reads the same number back and writes nothing; every
    // row is as before.
    const Pass second = RunMenuPass(h);
    EXPECT_EQ(second.table.rows, rows) << ReadableGbk(second.result.out);
    std::vector<FakeCommandEvent> again = h.Record(kNoSerialCom).commands;
    again.erase(again.begin(), again.begin() + static_cast<std::ptrdiff_t>(firstRunCommands));
    const std::vector<std::string> readBack = Concat(Concat(beforeSerial, phonebookRead), afterSerial);
    // Echo stays off from the first run; the opening is the same.
    EXPECT_EQ(Texts(again), readBack);
    EXPECT_EQ(h.Phonebook(kNoSerialCom).size(), 1u);
    EXPECT_EQ(h.Phonebook(kNoSerialCom)[0].number, serial);
}

// More ports than one wait takes: every one gets its row, and the scan
// takes a small multiple of one probe of a silent port (two "AT" tries),
// since the ports are probed side by side; probes in turn would take 70.
// That they all run at once, beyond 64, the port tests show with a barrier:
// here a loaded machine's Wine spreads the thread starts too widely for the
// time to tell one round of probes from two.
TEST_F(WineScanTest, SeventySilentPortsAreProbedAtOnce)
{
    constexpr int kFirst = 11;
    constexpr int kCount = 70;
    // Two tries of 755 ms each. Under Wine a process of 70 probe threads
    // adds about half a second to it (their starts spread out).
    constexpr long long kOneSilentProbeMs = 2 * 755;
    WineHarness h;
    for (int com = kFirst; com < kFirst + kCount; ++com)
        h.AddFake(com, ModemFake(FakeModel::Silent));
    std::string error;
    ASSERT_TRUE(h.Start(&error)) << error;

    const Pass pass = RunMenuPass(h);
    std::cout << "[ measured ] " << kCount << " silent ports: scan " << pass.table.costMs << " ms, program run "
              << pass.wallMs << " ms\n";
    std::vector<std::string> rows;
    for (int com = kFirst; com < kFirst + kCount; ++com)
        rows.push_back(RowLine(com, kNotAtAtEitherSpeed));
    EXPECT_EQ(pass.table.rows, rows) << ReadableGbk(pass.result.out);
    EXPECT_EQ(pass.table.belowTable, "") << "every listed port was probed";
    EXPECT_GE(pass.table.costMs, kOneSilentProbeMs - 50);
    EXPECT_LT(pass.table.costMs, 4 * kOneSilentProbeMs);
    for (int com = kFirst; com < kFirst + kCount; ++com) {
        const FakeRecord record = h.Record(com);
        ASSERT_EQ(record.commands.size(), 2u) << com;
        EXPECT_EQ(record.commands[0].baud, 9600) << com;
        EXPECT_EQ(record.commands[1].baud, 115200) << com;
    }
}

// No key can come: standard input is an empty pipe, the null device (a
// character device, as NUL is on Windows) or closed, and there is no
// console. The menu makes one pass and the program ends, instead of
// rescanning, and writing to every modem, without end.
TEST_F(WineScanTest, OnePassWhenNoKeyCanBeRead)
{
    // A run that rescans is cut off here, well before the harness's bound.
    constexpr int kRunBoundMs = 20000;
    WineHarness h;
    h.AddFake(11, ModemFake(FakeModel::Pimsor));
    std::string error;
    ASSERT_TRUE(h.Start(&error)) << error;
    const std::string menuLine = Gbk("回车键刷新 1发送短信 2接收短信 q退出");
    for (const char *input : {"", "</dev/null", "<&-"}) {
        SCOPED_TRACE(*input ? input : "empty pipe");
        const std::size_t before = h.Record(11).commands.size();
        const Pass pass = RunMenuPass(h, input, kRunBoundMs);
        std::size_t menus = 0;
        for (const std::string &line : CrLfLines(pass.result.out))
            menus += line == menuLine ? 1 : 0;
        EXPECT_EQ(menus, 1u);
        EXPECT_EQ(pass.table.rows,
                  std::vector<std::string>{RowLine(11, FamilyRow({11, FakeModel::Pimsor, FakeBaud::Any, {}, nullptr}))});
        EXPECT_EQ(h.Record(11).commands.size() - before, static_cast<std::size_t>(kPimsorProbeCommands)) << "one scan";
    }
}

// A machine with more ports than one scan probes: the table shows the rows
// of the first 255 the registry lists and, under it, how many others were
// left out. Wine maps no port beyond COM255, so the others are names listed
// with nothing at them; those probed cannot be opened.
TEST_F(WineScanTest, PortsBeyondTheProbeTableAreCountedUnderIt)
{
    constexpr int kProbeTable = 255;
    constexpr int kUnmapped = 300;
    constexpr int kFirstUnmapped = 1000;
    const RowValues kCannotOpen = {"unknow", "端口不可用", "", "", ""};
    WineHarness h;
    h.AddFake(11, ModemFake(FakeModel::Pimsor));
    std::string error;
    ASSERT_TRUE(h.Start(&error)) << error;
    std::vector<std::string> names;
    for (int com = kFirstUnmapped; com < kFirstUnmapped + kUnmapped; ++com)
        names.push_back(WineHarness::ComName(com));
    ASSERT_TRUE(h.ListUnmappedComNames(names, &error)) << error;

    const Pass pass = RunMenuPass(h);
    // The mapped port is listed first.
    std::vector<std::string> rows = {RowLine(11, FamilyRow({11, FakeModel::Pimsor, FakeBaud::Any, {}, nullptr}))};
    for (int com = kFirstUnmapped; com < kFirstUnmapped + kProbeTable - 1; ++com)
        rows.push_back(RowLine(com, kCannotOpen));
    EXPECT_EQ(pass.table.rows, rows) << ReadableGbk(pass.result.out);
    EXPECT_EQ(pass.table.belowTable, Gbk("另有 46 个端口未检测")) << ReadableGbk(pass.result.out);
    EXPECT_EQ(h.Record(11).commands.size(), static_cast<std::size_t>(kPimsorProbeCommands));
}

// Without a COM port in the registry the table is empty and the scan has
// nothing to wait for.
TEST_F(WineScanTest, NoPortNoRowAndNoWait)
{
    constexpr long long kNothingToWaitForMs = 100;
    WineHarness h;
    std::string error;
    ASSERT_TRUE(h.Start(&error)) << error;
    ASSERT_TRUE(h.PortNames().empty());

    const Pass pass = RunMenuPass(h);
    EXPECT_TRUE(pass.table.rows.empty()) << ReadableGbk(pass.result.out);
    EXPECT_LT(pass.table.costMs, kNothingToWaitForMs);
}

// Ports named on the command line: one that matches no device is refused
// alone and accepted beside a found one; a modem that vanishes between the
// scan and the send fails with the port's error text, at once.
TEST_F(WineScanTest, NamedPortsThatMatchNoDeviceOrVanished)
{
    FakeConfig vanishing = ModemFake(FakeModel::Pimsor);
    // Two scans' worth: the line goes right after the second.
    vanishing.faults.dropAfterCommands = 2 * kPimsorProbeCommands;
    WineHarness h;
    h.AddFake(11, vanishing);
    std::string error;
    ASSERT_TRUE(h.Start(&error)) << error;
    const WineRunOptions options = {kNoInput, WineRunOptions::kDefaultTimeoutMs, {}, ""};

    NamespaceResult r = h.Run(ZarvexExe(), {"99", "13800138000", "hello"}, options);
    EXPECT_EQ(r.exitStatus, 0) << r.err;
    EXPECT_EQ(r.out, WineStdout("\n{\n   \"code\" : 1,\n   \"message\" : \"com port error\",\n   \"result\" : []\n}\n\n"))
        << ReadableGbk(r.out);
    EXPECT_EQ(h.Record(11).commands.size(), static_cast<std::size_t>(kPimsorProbeCommands));

    const auto start = std::chrono::steady_clock::now();
    r = h.Run(ZarvexExe(), {"11,99", "13800138000", "hello"}, options);
    const long long wallMs = ElapsedMs(start);
    std::cout << "[ measured ] a send through a vanished modem: program run " << wallMs << " ms\n";
    EXPECT_EQ(r.exitStatus, 0) << r.err;
    EXPECT_FALSE(r.timedOut);
    Json::Value printed;
    ASSERT_TRUE(Json::Reader().parse(r.out, printed)) << ReadableGbk(r.out);
    EXPECT_EQ(printed["code"].asInt(), 0) << ReadableGbk(r.out);
    ASSERT_EQ(printed["result"].size(), 2u) << ReadableGbk(r.out);
    const Json::Value &gone = printed["result"][0];
    EXPECT_EQ(gone["com"].asString(), "COM11");
    EXPECT_EQ(gone["code"].asInt(), 1);
    // Under Wine a write to a line whose other end has closed fails with
    // ERROR_NOT_READY, or, once the line's device has gone too, with
    // ERROR_INVALID_FUNCTION; the system's text for it follows the code,
    // without the line end the system puts after it.
    EXPECT_TRUE(std::regex_search(gone["message"].asString(), std::regex("^Code:(21|1)   [^\\r\\n]+$")))
        << gone["message"].asString();
    const Json::Value &unknown = printed["result"][1];
    EXPECT_EQ(unknown["com"].asString(), "COM99");
    EXPECT_EQ(unknown["code"].asInt(), 4);
    EXPECT_EQ(unknown["message"].asString(), "No SIM CARD In Device");
    EXPECT_TRUE(h.Record(11).submissions.empty());
}

}  // namespace
