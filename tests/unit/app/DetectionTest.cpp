// Device detection against fake modems: the probe of one port for every
// model and every way a port can disappoint, the parallel scan with its
// sorted records, and the rows and duration text made from them.
#include <algorithm>
#include <set>

#include "DescriptorLimit.h"
#include "AppTestSupport.h"
#include "CheckManagerLinux.h"
#include "CheckManagerScan.h"
#include "FakeProfile.h"

namespace {
using app_test::DeviceLinks;
using app_test::ElapsedMs;
using app_test::Fake;
using app_test::PortTest;
using Clock = std::chrono::steady_clock;

// The one record GetInfoOnPort appends for a path.
DeviceBaseComInfo ProbeOnePort(const std::string &path)
{
    pthread_mutex_lock(&vecLock);
    CCheckManager::g_comVec.clear();
    pthread_mutex_unlock(&vecLock);
    GetInfoOnPort(path.c_str());
    EXPECT_EQ(CCheckManager::g_comVec.size(), 1u);
    return CCheckManager::g_comVec.empty() ? DeviceBaseComInfo() : CCheckManager::g_comVec[0];
}

std::set<int> SpeedsSpokenAt(const FakeRecord &record)
{
    std::set<int> speeds;
    for (const FakeCommandEvent &e : record.commands)
        speeds.insert(e.baud);
    return speeds;
}

bool WasSent(const FakeRecord &record, const std::string &command)
{
    const std::vector<std::string> texts = record.CommandTexts();
    return std::find(texts.begin(), texts.end(), command) != texts.end();
}

std::string IdentificationOf(const FakeConfig &config, const std::string &imei)
{
    std::string ati = GetFakeProfile(config.model).identification;
    const std::string::size_type mark = ati.find("{IMEI}");
    if (mark != std::string::npos)
        ati.replace(mark, 6, imei);
    return ati;
}

FakeConfig WithFault(FakeModel model, const char *command, FakeBaud baud = FakeBaud::Any)
{
    FakeConfig c = Fake(model, baud);
    c.faults.errorCommands.push_back({command, "ERROR"});
    return c;
}

// The reply to `command` with `report` inserted after its first `at` bytes
// (before all of it for a negative `at`), as a modem sends a report of its
// own accord amid a reply.
FakeConfig WithReportIn(FakeModel model, const char *command, int at, const char *report)
{
    FakeConfig c = Fake(model);
    FakeReplyFault fault;
    fault.command = command;
    fault.splitAt = at;
    fault.insert = report;
    c.faults.replyFaults.push_back(fault);
    return c;
}

FakeConfig WithReply(FakeModel model, const char *command, const std::string &reply)
{
    FakeConfig c = Fake(model);
    FakeReplyFault fault;
    fault.command = command;
    fault.reply = reply;
    c.faults.replyFaults.push_back(fault);
    return c;
}

// A modem that a run ended at its ">" prompt: until an ESC at its speed, the
// probe's commands would be message text to it.
FakeConfig LeftAtPrompt(FakeModel model, FakeBaud baud = FakeBaud::Any)
{
    FakeConfig c = Fake(model, baud);
    c.faults.leftAtPrompt = true;
    return c;
}

FakeConfig WithCardNumber(FakeModel model, const char *iccid)
{
    FakeConfig c = Fake(model);
    c.iccid = iccid;
    return c;
}

// Where a value ends in the fakes' replies: CR LF, the tag and blank, the value.
constexpr int kAfterCardNumberLine = 2 + 7 + 20 + 2;  // "+CCID: "
constexpr int kAfterSignalLine = 2 + 6 + 5 + 2;       // "+CSQ: 24,99"

struct ProbeCase {
    const char *name;
    FakeConfig fake;
    int baudRate;
    PHONE_TYPE_t phoneType;
    const char *smsCardNumber;  // as the record keeps them
    const char *signalStrength;
    const char *serialNumber;
    std::set<int> speedsTried;
};

void PrintTo(const ProbeCase &c, std::ostream *os)
{
    *os << c.name;
}

const std::set<int> kOnly9600 = {9600};
const std::set<int> kBothSpeeds = {9600, 115200};
// Still at its prompt at 9600, the modem takes nothing for a command there.
const std::set<int> kHeardOnlyAt115200 = {115200};

const ProbeCase kProbeCases[] = {
    {"Tarnel", Fake(FakeModel::Tarnel), 9600, PHONE_TYPE_TARNEL, "89860318245000112201", " 24,99",
     "862107034551201", kOnly9600},
    {"VelkorNc5", Fake(FakeModel::VelkorNc5), 9600, PHONE_TYPE_VELKOR_NC5,
     "89860117851002233402", " 19,99", "867223021887302", kOnly9600},
    // The module reports the card number in the card's stored order.
    {"VelkorMe", Fake(FakeModel::VelkorMe), 9600, PHONE_TYPE_VELKOR_ME, "89860012345678901230",
     " 27,99", "866715031234503", kOnly9600},
    {"Pimsor", Fake(FakeModel::Pimsor), 9600, PHONE_TYPE_PIMSOR, "89860012345678901204",
     " 16,99", "863912010045604", kOnly9600},
    {"Orvast", Fake(FakeModel::Orvast), 9600, PHONE_TYPE_ORVAST, "89860045123409876505", " 21,0",
     "354043010203605", kOnly9600},
    {"Sudrel", Fake(FakeModel::Sudrel), 9600, PHONE_TYPE_SUDREL, "89860311802000567806",
     " 18,99", "80A1B2C6", kOnly9600},
    {"TarnelAt115200Only", Fake(FakeModel::Tarnel, FakeBaud::Only115200), 115200,
     PHONE_TYPE_TARNEL, "89860318245000112201", " 24,99", "862107034551201", kBothSpeeds},
    {"SudrelAt115200Only", Fake(FakeModel::Sudrel, FakeBaud::Only115200), 115200,
     PHONE_TYPE_SUDREL, "89860311802000567806", " 18,99", "80A1B2C6", kBothSpeeds},
    {"SilentPort", Fake(FakeModel::Silent), 115200, PHONE_TYPE_BASE, "", "", "", kBothSpeeds},
    {"UnknownAtModem", Fake(FakeModel::UnknownAti), 115200, PHONE_TYPE_BASE, "", "", "",
     kBothSpeeds},
    // Without a card number the signal is not asked for, whatever the modem
    // would say.
    {"CardNumberRefused", WithFault(FakeModel::Pimsor, "AT+CCID"), 9600, PHONE_TYPE_PIMSOR, "",
     "", "863912010045604", kOnly9600},
    {"SerialNumberRefused", WithFault(FakeModel::Orvast, "AT+CGSN"), 9600, PHONE_TYPE_ORVAST,
     "89860045123409876505", " 21,0", "", kOnly9600},
    // Reports a modem sends of its own accord are no part of a value.
    {"RingAheadOfTheSerialNumber", WithReportIn(FakeModel::Tarnel, "AT+CGSN", -1, "\r\nRING\r\n"),
     9600, PHONE_TYPE_TARNEL, "89860318245000112201", " 24,99", "862107034551201", kOnly9600},
    {"NewMessageAheadOfTheSerialNumber",
     WithReportIn(FakeModel::Pimsor, "AT+CGSN", -1, "\r\n+CMTI: \"SM\",3\r\n"), 9600,
     PHONE_TYPE_PIMSOR, "89860012345678901204", " 16,99", "863912010045604", kOnly9600},
    {"RegistrationAheadOfTheSerialNumber",
     WithReportIn(FakeModel::Orvast, "AT+CGSN", -1, "\r\n+CREG: 1\r\n"), 9600, PHONE_TYPE_ORVAST,
     "89860045123409876505", " 21,0", "354043010203605", kOnly9600},
    {"NewMessageBetweenCardNumberAndOk",
     WithReportIn(FakeModel::Tarnel, "AT+CCID", kAfterCardNumberLine, "\r\n+CMTI: \"SM\",3\r\n"),
     9600, PHONE_TYPE_TARNEL, "89860318245000112201", " 24,99", "862107034551201", kOnly9600},
    {"RingBetweenSignalAndOk",
     WithReportIn(FakeModel::Tarnel, "AT+CSQ", kAfterSignalLine, "\r\nRING\r\n"), 9600,
     PHONE_TYPE_TARNEL, "89860318245000112201", " 24,99", "862107034551201", kOnly9600},
    // A card number of another form is no card number.
    {"ZeroByteInsideTheCardNumber",
     WithReply(FakeModel::Tarnel, "AT+CCID",
               std::string("\r\n+CCID: 89860318\0", 18) + "245000112201\r\n\r\nOK\r\n"),
     9600, PHONE_TYPE_TARNEL, "", "", "862107034551201", kOnly9600},
    {"CardNumberTooShort", WithCardNumber(FakeModel::Pimsor, "8986001234"), 9600,
     PHONE_TYPE_PIMSOR, "", "", "863912010045604", kOnly9600},
    {"LeftAtItsPrompt", LeftAtPrompt(FakeModel::Tarnel), 9600, PHONE_TYPE_TARNEL,
     "89860318245000112201", " 24,99", "862107034551201", kOnly9600},
    {"LeftAtItsPromptAt115200Only", LeftAtPrompt(FakeModel::Pimsor, FakeBaud::Only115200), 115200,
     PHONE_TYPE_PIMSOR, "89860012345678901204", " 16,99", "863912010045604", kHeardOnlyAt115200},
};

class ProbeTest : public PortTest, public ::testing::WithParamInterface<ProbeCase> {};

TEST_P(ProbeTest, OneRecordPerPort)
{
    const ProbeCase &c = GetParam();
    FakeModem fake(c.fake);
    ASSERT_TRUE(fake.Ok()) << fake.Error();
    const DeviceBaseComInfo r = ProbeOnePort(fake.SlavePath());
    const FakeRecord record = fake.Record();
    const bool identified = c.phoneType != PHONE_TYPE_BASE;

    EXPECT_EQ(std::string(r.comPath), fake.SlavePath());
    EXPECT_EQ(r.baudRate, c.baudRate);
    EXPECT_EQ(r.phoneType, c.phoneType);
    EXPECT_EQ(r.isAtOk, identified);
    EXPECT_TRUE(r.isPortOk);
    EXPECT_EQ(std::string(r.smsCardNumber), c.smsCardNumber);
    EXPECT_EQ(std::string(r.signalStrength), c.signalStrength);
    EXPECT_EQ(std::string(r.serialNumber), c.serialNumber);
    const std::string imei =
        c.serialNumber[0] != '\0' ? c.serialNumber : GetFakeProfile(c.fake.model).imei;
    EXPECT_EQ(std::string(r.atiResponse), identified ? IdentificationOf(c.fake, imei) : "");
    EXPECT_EQ(SpeedsSpokenAt(record), c.speedsTried);
    // Only a claimed modem is prepared and read.
    EXPECT_EQ(WasSent(record, "AT+CMEE=1"), identified);
    EXPECT_EQ(WasSent(record, "at+csq"), identified && c.smsCardNumber[0] != '\0');
}

INSTANTIATE_TEST_SUITE_P(Detection, ProbeTest, ::testing::ValuesIn(kProbeCases),
                         [](const ::testing::TestParamInfo<ProbeCase> &info) {
                             return std::string(info.param.name);
                         });

class ProbeEdgeTest : public PortTest {};

TEST_F(ProbeEdgeTest, MissingDeviceGivesTheNotIdentifiedRecord)
{
    const DeviceBaseComInfo r = ProbeOnePort("/nonexistent/ttyUSB7");
    EXPECT_STREQ(r.comPath, "/nonexistent/ttyUSB7");
    EXPECT_EQ(r.baudRate, 115200);
    EXPECT_EQ(r.phoneType, PHONE_TYPE_BASE);
    EXPECT_FALSE(r.isAtOk);
    EXPECT_TRUE(r.isPortOk);
    EXPECT_STREQ(r.smsCardNumber, "");
    EXPECT_STREQ(r.atiResponse, "");
}

// With no descriptor to spare (the line settings table counts them too),
// the port is never asked anything: the row tells of a port that failed, not
// of a modem that does not answer.
TEST_F(ProbeEdgeTest, PortWithoutADescriptorToSpareIsAPortError)
{
    FakeModem fake(Fake(FakeModel::Tarnel));
    ASSERT_TRUE(fake.Ok()) << fake.Error();
    DeviceBaseComInfo r;
    {
        FullSettingsTable table;
        ASSERT_TRUE(table.Ok());
        r = ProbeOnePort(fake.SlavePath());
    }
    EXPECT_EQ(std::string(r.comPath), fake.SlavePath());
    EXPECT_FALSE(r.isPortOk);
    EXPECT_FALSE(r.isAtOk);
    EXPECT_EQ(r.phoneType, PHONE_TYPE_BASE);
    EXPECT_EQ(r.baudRate, 115200);
    EXPECT_TRUE(app_test::Received(fake).empty());

    // With descriptors to spare, the same modem is found as always.
    EXPECT_EQ(ProbeOnePort(fake.SlavePath()).phoneType, PHONE_TYPE_TARNEL);
}

// Values far longer than their forms allow are no values; a path longer
// than its field is cut to fit, and the model is still the one identified.
TEST_F(ProbeEdgeTest, OverlongValuesAreNoValuesAndALongPathIsCutToItsField)
{
    FakeConfig config = Fake(FakeModel::Pimsor);
    config.iccid = std::string(90, '8');
    config.imei = std::string(120, '3');
    config.csq = std::string(80, '9') + ",99";
    FakeModem fake(config);
    ASSERT_TRUE(fake.Ok()) << fake.Error();
    DeviceLinks links;
    const std::string path = links.Add("tty-with-a-name-longer-than-its-field", fake.SlavePath());
    ASSERT_FALSE(path.empty());
    ASSERT_GT(path.size(), 31u);

    const DeviceBaseComInfo r = ProbeOnePort(path);
    EXPECT_EQ(std::string(r.comPath), path.substr(0, 31));
    EXPECT_EQ(r.phoneType, PHONE_TYPE_PIMSOR);
    EXPECT_STREQ(r.smsCardNumber, "");
    EXPECT_STREQ(r.serialNumber, "");
    EXPECT_STREQ(r.signalStrength, "");
    EXPECT_TRUE(r.isAtOk);
}

// The probe names the model from the whole identification reply, but the
// record keeps that reply only up to a zero byte and to its field's length:
// the flows take the model the probe named, not what the kept text shows.
TEST_F(ProbeEdgeTest, FlowsTakeTheModelTheProbeNamedWhateverTheRecordKeepsOfItsReply)
{
    const FakeConfig plain = Fake(FakeModel::VelkorMe);
    const std::string ati = IdentificationOf(plain, GetFakeProfile(plain.model).imei);
    const struct {
        const char *name;
        std::string reply;
    } cases[] = {
        {"ZeroByteFirst", std::string(1, '\0') + ati},
        {"NamePastTheField", "\r\n" + std::string(600, '.') + ati},
    };
    for (const auto &c : cases) {
        FakeModem fake(WithReply(FakeModel::VelkorMe, "ATI", c.reply));
        ASSERT_TRUE(fake.Ok()) << fake.Error();
        DeviceLinks links;
        const std::string path = links.Add("ttyUSB0", fake.SlavePath());
        ASSERT_FALSE(path.empty());

        const DeviceBaseComInfo r = ProbeOnePort(path);
        EXPECT_EQ(r.phoneType, PHONE_TYPE_VELKOR_ME) << c.name;
        EXPECT_TRUE(r.isAtOk) << c.name;
        app_test::TestManager manager;
        manager.Rows() = MakeDeviceRows({r});
        std::vector<ComPortBaseInfo_t> ports;
        ASSERT_TRUE(manager.InputToSendPduSmsComPort("USB0", ports)) << c.name;
        ASSERT_EQ(ports.size(), 1u) << c.name;
        EXPECT_EQ(ports[0].phoneType, PHONE_TYPE_VELKOR_ME) << c.name;
    }
}

struct OrderCase {
    const char *name;
    const char *first;
    const char *second;
    bool less;
};

void PrintTo(const OrderCase &c, std::ostream *os)
{
    *os << c.name;
}

// Bytewise, not by adapter number.
const OrderCase kOrderCases[] = {
    {"BuiltInBeforeUsb", "/dev/ttyS1", "/dev/ttyUSB0", true},
    {"TenBeforeTwo", "/dev/ttyUSB10", "/dev/ttyUSB2", true},
    {"TwoAfterTen", "/dev/ttyUSB2", "/dev/ttyUSB10", false},
    {"EqualIsNotLess", "/dev/ttyUSB3", "/dev/ttyUSB3", false},
    {"EmptyFirst", "", "/dev/ttyS0", true},
};

class OrderTest : public ::testing::TestWithParam<OrderCase> {};

TEST_P(OrderTest, ComparesPathsBytewise)
{
    const OrderCase &c = GetParam();
    DeviceBaseComInfo a, b;
    SetDeviceField(a.comPath, c.first);
    SetDeviceField(b.comPath, c.second);
    EXPECT_EQ(LessDeviceBaseComInfo(a, b), c.less);
}

INSTANTIATE_TEST_SUITE_P(Detection, OrderTest, ::testing::ValuesIn(kOrderCases),
                         [](const ::testing::TestParamInfo<OrderCase> &info) {
                             return std::string(info.param.name);
                         });

class ScanTest : public PortTest {};

std::vector<std::string> PathsOf(const std::vector<DeviceBaseComInfo> &records)
{
    std::vector<std::string> paths;
    for (const DeviceBaseComInfo &r : records)
        paths.push_back(r.comPath);
    return paths;
}

// Every port on its own thread; the records come back sorted however the
// threads finished, and a second scan starts from nothing.
TEST_F(ScanTest, RecordsSortedBytewiseAndScansIndependent)
{
    FakePool pool;
    std::string error;
    const FakeModel models[] = {FakeModel::Silent, FakeModel::Tarnel, FakeModel::Orvast,
                                FakeModel::Silent, FakeModel::UnknownAti, FakeModel::Pimsor};
    for (FakeModel m : models)
        ASSERT_GE(pool.Add(Fake(m), &error), 0) << error;
    ASSERT_TRUE(pool.Start(&error)) << error;
    DeviceLinks links;
    const char *names[] = {"ttyS0", "ttyUSB2", "ttyUSB10", "ttyS1", "ttyUSB0", "ttyUSB1"};
    std::vector<std::string> paths;
    for (std::size_t i = 0; i < pool.Size(); ++i)
        paths.push_back(links.Add(names[i], pool.SlavePath(i)));
    const std::string dir = paths[0].substr(0, paths[0].size() - 5);

    const std::vector<DeviceBaseComInfo> first = DetectDevicesOnPorts(paths);
    EXPECT_EQ(PathsOf(first), (std::vector<std::string> {dir + "ttyS0", dir + "ttyS1",
                                                         dir + "ttyUSB0", dir + "ttyUSB1",
                                                         dir + "ttyUSB10", dir + "ttyUSB2"}));
    std::vector<int> types;
    for (const DeviceBaseComInfo &r : first)
        types.push_back(r.phoneType);
    EXPECT_EQ(types, (std::vector<int> {PHONE_TYPE_BASE, PHONE_TYPE_BASE, PHONE_TYPE_BASE,
                                        PHONE_TYPE_PIMSOR, PHONE_TYPE_ORVAST, PHONE_TYPE_TARNEL}));

    const std::vector<DeviceBaseComInfo> second = DetectDevicesOnPorts({paths[1], paths[3]});
    EXPECT_EQ(PathsOf(second), (std::vector<std::string> {dir + "ttyS1", dir + "ttyUSB2"}));
    EXPECT_EQ(PathsOf(CCheckManager::g_comVec), PathsOf(second));
    EXPECT_TRUE(DetectDevicesOnPorts({}).empty());
}

// Side by side, eight silent ports take about as long as one: far less than
// the three probes it would take for them to queue up even partly.
TEST_F(ScanTest, PortsAreProbedSideBySide)
{
    FakePool pool;
    std::string error;
    for (int i = 0; i < 8; ++i)
        ASSERT_GE(pool.Add(Fake(FakeModel::Silent), &error), 0) << error;
    ASSERT_TRUE(pool.Start(&error)) << error;
    std::vector<std::string> paths;
    for (std::size_t i = 0; i < pool.Size(); ++i)
        paths.push_back(pool.SlavePath(i));

    const Clock::time_point start = Clock::now();
    EXPECT_EQ(DetectDevicesOnPorts(paths).size(), 8u);
    EXPECT_LT(ElapsedMs(start), 3 * 1400);
}

TEST(DeviceRows, TakeTheRecordsValuesAndModelType)
{
    DeviceBaseComInfo identified;
    SetDeviceField(identified.comPath, "/dev/ttyUSB0");
    identified.baudRate = 9600;
    identified.phoneType = PHONE_TYPE_ORVAST;
    SetDeviceField(identified.smsCardNumber, "\"89860045123409876505\"");
    SetDeviceField(identified.signalStrength, " 21,0");
    SetDeviceField(identified.serialNumber, "354043010203605\r");
    SetDeviceField(identified.atiResponse, "\r\n WAVECOM MODEM\r\n\r\nOK\r\n");
    identified.isAtOk = true;
    identified.isPortOk = true;
    DeviceBaseComInfo silent;
    SetDeviceField(silent.comPath, "/dev/ttyS0");
    silent.baudRate = 115200;
    silent.isPortOk = true;

    const std::vector<Win32::CommInfo> rows = MakeDeviceRows({identified, silent});
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].comPath, "/dev/ttyUSB0");
    EXPECT_EQ(rows[0].baudText, "9600");
    EXPECT_TRUE(rows[0].isAtOk);
    EXPECT_TRUE(rows[0].isPortOk);
    EXPECT_EQ(rows[0].smsCardNumber, "\"89860045123409876505\"");
    EXPECT_EQ(rows[0].signalStrength, " 21,0");
    EXPECT_EQ(rows[0].serialNumber, "354043010203605\r");
    EXPECT_EQ(rows[0].atiResponse, "\r\n WAVECOM MODEM\r\n\r\nOK\r\n");
    EXPECT_EQ(rows[0].phoneType, PHONE_TYPE_ORVAST);
    EXPECT_EQ(rows[0].modelName, "");
    EXPECT_EQ(rows[0].modelCode, 0);
    EXPECT_EQ(rows[1].comPath, "/dev/ttyS0");
    EXPECT_EQ(rows[1].baudText, "115200");
    EXPECT_FALSE(rows[1].isAtOk);
    EXPECT_TRUE(rows[1].isPortOk);
    EXPECT_EQ(rows[1].phoneType, PHONE_TYPE_BASE);
    EXPECT_TRUE(MakeDeviceRows({}).empty());
}

TEST(ScanTime, CountsClockSecondsPlusOne)
{
    EXPECT_EQ(FormatScanTime(1000, 1000), "设备检测耗时: 1 秒");
    EXPECT_EQ(FormatScanTime(1000, 1001), "设备检测耗时: 2 秒");
    EXPECT_EQ(FormatScanTime(1000, 1065), "设备检测耗时: 66 秒");
}

// The Windows scan's text, from two readings of clock(): milliseconds,
// whatever the clock's own unit, without overflow on a 32-bit clock_t.
TEST(ScanTime, CostTimeInMilliseconds)
{
    const std::clock_t start = 1000;
    EXPECT_EQ(FormatScanCostTime(start, start), "cost time 0 ms\n");
    EXPECT_EQ(FormatScanCostTime(start, start + CLOCKS_PER_SEC / 2), "cost time 500 ms\n");
    EXPECT_EQ(FormatScanCostTime(start, start + 3 * CLOCKS_PER_SEC + 7 * (CLOCKS_PER_SEC / 1000)),
              "cost time 3007 ms\n");
    EXPECT_EQ(FormatScanCostTime(start, start + 2000 * static_cast<std::clock_t>(CLOCKS_PER_SEC)),
              "cost time 2000000 ms\n");
}

// Always the two built-in ports, last; the USB adapters (if any on this
// machine) are only listed, never opened.
TEST(PortList, EndsWithTheBuiltInPorts)
{
    const std::vector<std::string> ports = CCheckManager::GetAllComPort();
    ASSERT_GE(ports.size(), 2u);
    EXPECT_EQ(ports[ports.size() - 2], "/dev/ttyS0");
    EXPECT_EQ(ports.back(), "/dev/ttyS1");
    for (std::size_t i = 0; i + 2 < ports.size(); ++i)
        EXPECT_EQ(ports[i].rfind("/dev/ttyUSB", 0), 0u) << ports[i];
}

TEST(CmdSystem, CollectsEverythingTheCommandWrites)
{
    EXPECT_EQ(cmd_system("printf 'a\\nb\\n'"), "a\nb\n");
    const std::string big = cmd_system("head -c 5000 /dev/zero | tr '\\000' x");
    EXPECT_EQ(big, std::string(5000, 'x'));
    EXPECT_EQ(cmd_system("true"), "");
}
}  // namespace
