// The scan's threads and rows without modems: every probed port gives one
// row, more than 64 probes run at once, ports beyond the table are reported
// and not probed, a named system mutex held elsewhere holds nothing up, and
// the registry listing reads what the serial port map may hold.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <set>

#include "ComScan.h"

namespace {

std::vector<std::string> PortPaths(int count)
{
    std::vector<std::string> paths;
    for (int i = 1; i <= count; ++i)
        paths.push_back("\\\\.\\COM" + std::to_string(i));
    return paths;
}

std::set<std::string> PathsOf(const std::vector<Win32::CommInfo> &rows)
{
    std::set<std::string> paths;
    for (const Win32::CommInfo &row : rows)
        paths.insert(row.comPath);
    return paths;
}

TEST(ProbeComPortTest, APortThatCannotBeOpenedGivesTheUnusableRow)
{
    Win32::CommInfo row;
    row.comPath = "\\\\.\\COM240";
    ProbeComPort(row);
    EXPECT_EQ(row.hCom, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(row.isPortOk);
    EXPECT_FALSE(row.isAtOk);
    EXPECT_TRUE(row.baudText.empty());
    EXPECT_TRUE(row.atiResponse.empty());
    EXPECT_TRUE(row.smsCardNumber.empty());
    EXPECT_TRUE(row.serialNumber.empty());
    EXPECT_TRUE(row.signalStrength.empty());
    EXPECT_EQ(row.modelCode, 0);
}

TEST(ProbeComPortsTest, MoreThan64ProbesRunAtOnceAndEachGivesOneRow)
{
    // Each probe waits until every probe has begun: a scan that started
    // the probes in groups of 64 would leave its first group waiting for
    // the whole bound. Thread starts under a busy Wine server spread over
    // hundreds of milliseconds, so a fixed pause would not prove overlap.
    constexpr auto kAllBegunBound = std::chrono::seconds(10);
    const std::vector<std::string> paths = PortPaths(130);
    std::mutex lock;
    std::condition_variable allBegun;
    int begun = 0;
    int mostAtOnce = 0;
    int running = 0;
    const auto start = std::chrono::steady_clock::now();
    const ComScanResult result = ProbeComPorts(paths, [&](Win32::CommInfo &row) {
        std::unique_lock<std::mutex> hold(lock);
        ++begun;
        mostAtOnce = std::max(mostAtOnce, ++running);
        allBegun.notify_all();
        allBegun.wait_for(hold, kAllBegunBound, [&] { return begun == static_cast<int>(paths.size()); });
        --running;
        row.isPortOk = true;
    });
    const auto elapsed = std::chrono::steady_clock::now() - start;

    EXPECT_EQ(result.rows.size(), paths.size());
    EXPECT_EQ(PathsOf(result.rows), std::set<std::string>(paths.begin(), paths.end()));
    EXPECT_TRUE(result.unprobedPaths.empty());
    EXPECT_EQ(mostAtOnce, static_cast<int>(paths.size()));
    EXPECT_LT(elapsed, kAllBegunBound);
}

TEST(ProbeComPortsTest, PortsBeyondTheTableAreReportedNotProbed)
{
    const std::vector<std::string> paths = PortPaths(300);
    std::atomic<int> probes{0};
    const ComScanResult result =
        ProbeComPorts(paths, [&](Win32::CommInfo &) { ++probes; });

    EXPECT_EQ(probes.load(), static_cast<int>(kMaxProbedPorts));
    EXPECT_EQ(PathsOf(result.rows),
              std::set<std::string>(paths.begin(), paths.begin() + kMaxProbedPorts));
    EXPECT_EQ(result.unprobedPaths,
              std::vector<std::string>(paths.begin() + kMaxProbedPorts, paths.end()));
}

TEST(ProbeComPortsTest, ASystemWideMutexHeldElsewhereHoldsNothingUp)
{
    const HANDLE held = CreateMutexA(nullptr, TRUE, "gCheckMutex");
    ASSERT_NE(held, nullptr);
    const auto start = std::chrono::steady_clock::now();
    const ComScanResult result = ProbeComPorts(PortPaths(8), [](Win32::CommInfo &) {});
    const auto elapsed = std::chrono::steady_clock::now() - start;
    ReleaseMutex(held);
    CloseHandle(held);

    EXPECT_EQ(result.rows.size(), 8u);
    EXPECT_LT(elapsed, std::chrono::seconds(1));
}

TEST(ProbeComPortsTest, NoPortsNoRows)
{
    const ComScanResult result = ProbeComPorts({}, [](Win32::CommInfo &) { FAIL(); });
    EXPECT_TRUE(result.rows.empty());
    EXPECT_TRUE(result.unprobedPaths.empty());
}

TEST(LessCommInfoTest, RowsInAscendingComNumber)
{
    std::vector<Win32::CommInfo> rows(4);
    rows[0].comPath = "\\\\.\\COM100";
    rows[1].comPath = "\\\\.\\COM12";
    rows[2].comPath = "\\\\.\\COM2";
    rows[3].comPath = "\\\\.\\COM10";
    std::sort(rows.begin(), rows.end(), LessCommInfo);
    EXPECT_EQ(rows[0].comPath, "\\\\.\\COM2");
    EXPECT_EQ(rows[1].comPath, "\\\\.\\COM10");
    EXPECT_EQ(rows[2].comPath, "\\\\.\\COM12");
    EXPECT_EQ(rows[3].comPath, "\\\\.\\COM100");
}

TEST(CloseAllComHandleTest, ClosesEveryOpenHandleOnce)
{
    std::vector<Win32::CommInfo> rows(3);
    rows[0].hCom = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    rows[2].hCom = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    const HANDLE first = rows[0].hCom;
    Win32::CommInfo copy = rows[0];  // a copy holds the same handle, never its own

    CloseAllComHandle(rows);
    DWORD flags = 0;
    EXPECT_FALSE(GetHandleInformation(first, &flags));
    for (const Win32::CommInfo &row : rows)
        EXPECT_EQ(row.hCom, INVALID_HANDLE_VALUE);
    EXPECT_EQ(copy.hCom, first);
}

// The serial port map's rules on a key of the test's own.
class RegistryListingTest : public testing::Test {
protected:
    static constexpr char kKey[] = "Software\\ZarvexTest\\SerialComm";

    void SetUp() override
    {
        RegDeleteKeyA(HKEY_CURRENT_USER, kKey);
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                  &m_key, nullptr),
                  ERROR_SUCCESS);
    }
    void TearDown() override
    {
        RegCloseKey(m_key);
        RegDeleteKeyA(HKEY_CURRENT_USER, kKey);
    }
    void Set(const std::string &name, DWORD type, const std::string &data)
    {
        ASSERT_EQ(RegSetValueExA(m_key, name.c_str(), 0, type,
                                 reinterpret_cast<const BYTE *>(data.data()),
                                 static_cast<DWORD>(data.size())),
                  ERROR_SUCCESS);
    }

    HKEY m_key = nullptr;
};

TEST_F(RegistryListingTest, ReadsStringsByTheirLengthAndPassesOverTheRest)
{
    Set("\\Device\\Serial0", REG_SZ, std::string("COM11\0", 6));
    Set("\\Device\\Serial1", REG_SZ, "COM12");  // stored without its NUL
    Set("\\Device\\Serial2", REG_DWORD, std::string("\x0d\0\0\0", 4));
    Set(std::string(300, 'N'), REG_SZ, std::string("COM13\0", 6));
    Set("\\Device\\Serial3", REG_SZ, std::string(300, 'C'));
    Set("\\Device\\Serial4", REG_BINARY, "COM14");

    std::vector<std::string> names = {"before"};
    EXPECT_TRUE(ListComNamesUnderKey(HKEY_CURRENT_USER, kKey, names));
    ASSERT_FALSE(names.empty());
    EXPECT_EQ(names[0], "before");
    const std::set<std::string> found(names.begin() + 1, names.end());
    EXPECT_EQ(found, std::set<std::string>({"COM11", "COM12", "COM13", std::string(300, 'C')}));
    EXPECT_EQ(names.size(), 5u);
}

TEST_F(RegistryListingTest, AKeyWithoutNamesOrNoKeyGivesNone)
{
    std::vector<std::string> names;
    EXPECT_FALSE(ListComNamesUnderKey(HKEY_CURRENT_USER, kKey, names));
    EXPECT_FALSE(ListComNamesUnderKey(HKEY_CURRENT_USER, "Software\\ZarvexTest\\Missing", names));
    EXPECT_TRUE(names.empty());
}

}  // namespace
