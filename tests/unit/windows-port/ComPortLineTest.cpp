// The Windows serial port and the probe on live lines: a modem mapped to the
// COM port named in ZARVEX_TEST_COM, a port that never answers in
// ZARVEX_TEST_SILENT_COM. Skipped when they are not given.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>

#include "ComPortBase.h"
#include "ComScan.h"
#include "ProbeComPath.h"

namespace {

std::string PortFromEnvironment(const char *variable)
{
    const char *name = std::getenv(variable);
    return name && *name ? MakeComDevicePath(name) : std::string();
}

class ModemLineTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_path = PortFromEnvironment("ZARVEX_TEST_COM");
        if (m_path.empty())
            GTEST_SKIP() << "no modem port given (ZARVEX_TEST_COM)";
    }
    std::string m_path;
};

TEST_F(ModemLineTest, WritesACommandAndReadsItsWholeReply)
{
    CComPortBase port(m_path, 9600);
    ASSERT_TRUE(port.IsOpened()) << port.GetErrorMsg();
    EXPECT_TRUE(port.Open());
    EXPECT_FALSE(port.IsComError());

    EXPECT_TRUE(port.Write("AT\r"));
    std::string reply = "before:";
    EXPECT_TRUE(port.ReadAll(reply));
    EXPECT_EQ(reply.rfind("before:", 0), 0u);
    EXPECT_NE(reply.find("OK"), std::string::npos) << reply;
}

TEST_F(ModemLineTest, AStaleSystemErrorNeverBecomesTheReason)
{
    CComPortBase port(m_path, 9600);
    ASSERT_TRUE(port.IsOpened()) << port.GetErrorMsg();
    SetLastError(ERROR_ACCESS_DENIED);
    std::string out;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(port.Read(out));  // nothing was asked, nothing comes
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    EXPECT_TRUE(out.empty());
    EXPECT_FALSE(port.IsComError()) << port.GetErrorMsg();
    EXPECT_EQ(port.GetFailureKind(), PortFailureKind::None);
}

TEST_F(ModemLineTest, TheProbeFindsTheModemAndKeepsItsHandle)
{
    Win32::CommInfo row;
    row.comPath = m_path;
    ProbeComPort(row);
    EXPECT_TRUE(row.isPortOk);
    EXPECT_TRUE(row.isAtOk);
    EXPECT_TRUE(row.baudText == "9600" || row.baudText == "115200") << row.baudText;
    EXPECT_FALSE(row.atiResponse.empty());
    ASSERT_NE(row.hCom, INVALID_HANDLE_VALUE);

    std::vector<Win32::CommInfo> rows = {row};
    CloseAllComHandle(rows);
}

TEST(SilentLineTest, ASilentPortIsDoneWithinAboutOneAndAHalfSeconds)
{
    const std::string path = PortFromEnvironment("ZARVEX_TEST_SILENT_COM");
    if (path.empty())
        GTEST_SKIP() << "no silent port given (ZARVEX_TEST_SILENT_COM)";
    Win32::CommInfo row;
    row.comPath = path;
    const auto start = std::chrono::steady_clock::now();
    ProbeComPort(row);
    const auto elapsed = std::chrono::steady_clock::now() - start;

    EXPECT_TRUE(row.isPortOk);
    EXPECT_FALSE(row.isAtOk);
    EXPECT_EQ(row.baudText, "115200");
    EXPECT_LT(elapsed, std::chrono::milliseconds(1800));
    std::vector<Win32::CommInfo> rows = {row};
    CloseAllComHandle(rows);
}

}  // namespace
