// The device table drawn from given rows, byte for byte: every cell with its
// placeholder, rows no Linux scan yields (an unusable port, an empty path),
// modem values that try to steer the terminal or to break their row, and the
// trimming the rows keep.
#include <stdio.h>
#include <unistd.h>

#include <regex>

#include "AppTestSupport.h"
#include "CheckManagerMenu.h"

namespace {

// Everything written to standard output (stdio and std::cout alike) while
// `draw` runs.
template <typename Draw>
std::string CaptureStdout(Draw draw)
{
    std::fflush(stdout);
    std::cout.flush();
    FILE *sink = std::tmpfile();
    const int saved = dup(STDOUT_FILENO);
    dup2(fileno(sink), STDOUT_FILENO);
    draw();
    std::fflush(stdout);
    std::cout.flush();
    dup2(saved, STDOUT_FILENO);
    close(saved);
    std::string text;
    std::rewind(sink);
    char chunk[4096];
    std::size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, sink)) > 0)
        text.append(chunk, n);
    std::fclose(sink);
    return text;
}

const std::string kEquals(90, '=');
const std::string kDashes(90, '-');
const char kHeader[] =
    "端口号    波特率    AT标识          SMS卡号                信号强度   设备序列号\n";
const char kTitlePattern[] =
    "              Korvane短信设备检测 V1.6  \\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\n";

Win32::CommInfo Row(const char *path, const char *baud, bool portOk, bool atOk, const char *card,
                    const char *signal, const char *serial)
{
    Win32::CommInfo row;
    row.comPath = path;
    row.baudText = baud;
    row.isPortOk = portOk;
    row.isAtOk = atOk;
    row.smsCardNumber = card;
    row.signalStrength = signal;
    row.serialNumber = serial;
    return row;
}

struct TableRowCase {
    const char *name;
    Win32::CommInfo row;
    const char *line;    // the row's line under its dashes
    const char *card;    // what the row keeps afterwards
    const char *signal;
    const char *serial;
};

void PrintTo(const TableRowCase &c, std::ostream *os)
{
    *os << c.name;
}

const TableRowCase kTableRows[] = {
    {"FullyRead",
     Row("/dev/ttyUSB0", "9600", true, true, "89860318245000112201", " 24,99", "862107034551201\r"),
     "ttyUSB0   9600      OK              89860318245000112201   24,99       862107034551201\n",
     "89860318245000112201", "24,99", "862107034551201\r"},
    {"NothingRead", Row("/dev/ttyS0", "115200", true, false, "", "", ""),
     "ttyS0     115200    不AT           未读卡                 无信号      无效序列号\n", "", "",
     ""},
    {"BlankAndQuoteAroundEachSide",
     Row("/dev/ttyUSB10", "115200", true, true, " \"89860045123409876505\" ", "\"21,0\"",
         " 354043010203605 "),
     "ttyUSB10  115200    OK              89860045123409876505   21,0        354043010203605\n",
     "89860045123409876505", "21,0", "354043010203605"},
    {"PortUnusable", Row("/dev/ttyUSB3", "9600", false, true, "", "", ""),
     "ttyUSB3   9600      端口不可用       未读卡                 无信号      无效序列号\n", "", "",
     ""},
    {"EmptyPathAndSpeed", Row("", "", true, false, "", "", ""),
     "unknow    unknow    不AT           未读卡                 无信号      无效序列号\n", "", "", ""},
    {"LongValuesPushTheLine",
     Row("/dev/ttyUSB1", "9600", true, true, "898600451234098765051234567890", "31,99,extra,text",
         "1"),
     "ttyUSB1   9600      OK              89860045123409876505123456789031,99,extra,text1\n",
     "898600451234098765051234567890", "31,99,extra,text", "1"},
    // Values from a modem never reach the terminal as controls; the row keeps
    // them as they came.
    {"HostileValues",
     Row("/dev/ttyUSB2", "9600", true, true, "8986\x1b[2J", "\r24,99", "\x1b]0;pwned\x07\r"),
     "ttyUSB2   9600      OK              8986\\x1b[2J            \\r24,99     "
     "\\x1b]0;pwned\\x07\n",
     "8986\x1b[2J", "\r24,99", "\x1b]0;pwned\x07\r"},
    // A line end inside a value would start a row of the modem's choosing;
    // only the serial number's own trailing carriage return is left out.
    {"LineEndsCannotForgeARow",
     Row("/dev/ttyUSB4", "9600", true, true, "8986\nttyUSB9   9600      OK", "24,99\r",
         "862107034551201\nttyUSB9\r"),
     "ttyUSB4   9600      OK              8986\\nttyUSB9   9600      OK24,99\\r     "
     "862107034551201\\nttyUSB9\n",
     "8986\nttyUSB9   9600      OK", "24,99\r", "862107034551201\nttyUSB9\r"},
    {"SerialNumberOnlyItsLineEnd", Row("/dev/ttyUSB5", "9600", true, true, "8986", "21,0", "\r"),
     "ttyUSB5   9600      OK              8986                   21,0        无效序列号\n", "8986",
     "21,0", "\r"},
};

class TableRowTest : public ::testing::TestWithParam<TableRowCase> {};

TEST_P(TableRowTest, OneRow)
{
    const TableRowCase &c = GetParam();
    std::vector<Win32::CommInfo> rows = {c.row};
    const std::string screen = CaptureStdout([&] { PrintDeviceTable(rows, "设备检测耗时: 1 秒"); });
    const std::string::size_type header = screen.find(kHeader);
    ASSERT_NE(header, std::string::npos) << screen;
    const std::string afterHeader = screen.substr(header + std::strlen(kHeader));
    EXPECT_EQ(afterHeader, kDashes + "\n" + c.line + kEquals + "\n\n\t设备检测耗时: 1 秒\n");
    EXPECT_EQ(rows[0].smsCardNumber, c.card);
    EXPECT_EQ(rows[0].signalStrength, c.signal);
    EXPECT_EQ(rows[0].serialNumber, c.serial);
}

INSTANTIATE_TEST_SUITE_P(DeviceTable, TableRowTest, ::testing::ValuesIn(kTableRows),
                         [](const ::testing::TestParamInfo<TableRowCase> &info) {
                             return std::string(info.param.name);
                         });

TEST(DeviceTable, WithoutRowsOnlyTheFrame)
{
    std::vector<Win32::CommInfo> rows;
    const std::string screen = CaptureStdout([&] { PrintDeviceTable(rows, "设备检测耗时: 2 秒"); });
    const std::regex expected("\n\n" + std::string(kTitlePattern) + kEquals + "\n" + kHeader
                              + kEquals + "\n\n\t设备检测耗时: 2 秒\n");
    EXPECT_TRUE(std::regex_match(screen, expected)) << screen;
}

TEST(DeviceTable, PortsNotProbedAreCountedRightUnderTheTable)
{
    std::vector<Win32::CommInfo> rows = {Row("/dev/ttyUSB0", "9600", true, true, "1", "2", "3")};
    const std::string screen = CaptureStdout([&] { PrintDeviceTable(rows, "t", 46); });
    const std::string body = screen.substr(screen.find(kHeader) + std::strlen(kHeader));
    EXPECT_EQ(body, kDashes + "\n"
                        + "ttyUSB0   9600      OK              1                      2           3\n"
                        + kEquals + "\n另有 46 个端口未检测\n\n\tt\n");
}

TEST(DeviceTable, RowsInTheirOrderEachUnderItsDashes)
{
    std::vector<Win32::CommInfo> rows = {Row("/dev/ttyS1", "115200", true, false, "", "", ""),
                                         Row("/dev/ttyUSB0", "9600", true, true, "1", "2", "3")};
    const std::string screen = CaptureStdout([&] { PrintDeviceTable(rows, "t"); });
    const std::string body = screen.substr(screen.find(kHeader) + std::strlen(kHeader));
    EXPECT_EQ(body, kDashes + "\n"
                        + "ttyS1     115200    不AT           未读卡                 无信号      "
                          "无效序列号\n"
                        + kDashes + "\n"
                        + "ttyUSB0   9600      OK              1                      2           3\n"
                        + kEquals + "\n\n\tt\n");
}
}  // namespace
