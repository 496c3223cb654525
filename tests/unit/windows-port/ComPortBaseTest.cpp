// The Windows serial port without a device behind it: what a port that
// cannot be opened records, that nothing done on it afterwards replaces the
// reason, the error texts and the failure kinds of the system's codes.
#include <gtest/gtest.h>

#include "ComPortBase.h"
#include "ComPortError.h"

namespace {

constexpr char kMissingPort[] = "\\\\.\\COM240";

TEST(ComPortBaseTest, AMissingPortStaysClosedAndSaysWhy)
{
    CComPortBase port(kMissingPort, 9600);
    EXPECT_FALSE(port.IsOpened());
    EXPECT_TRUE(port.IsComError());
    EXPECT_EQ(port.GetErrorMsg().rfind("Code:2   ", 0), 0u) << port.GetErrorMsg();
    EXPECT_GT(port.GetErrorMsg().size(), std::string("Code:2   ").size());
    EXPECT_EQ(port.GetFailureKind(), PortFailureKind::NotFound);
}

TEST(ComPortBaseTest, NothingDoneOnAClosedPortReplacesTheReason)
{
    CComPortBase port(kMissingPort, 9600);
    const std::string reason = port.GetErrorMsg();

    EXPECT_FALSE(port.Write(""));
    EXPECT_FALSE(port.Write("AT\r"));
    SetLastError(ERROR_ACCESS_DENIED);
    std::string out = "kept";
    EXPECT_FALSE(port.Read(out));
    EXPECT_EQ(out, "kept");
    EXPECT_TRUE(port.ReadAll(out));
    EXPECT_EQ(out, "kept");

    EXPECT_EQ(port.GetErrorMsg(), reason);
    EXPECT_EQ(port.GetFailureKind(), PortFailureKind::NotFound);
}

TEST(ComPortBaseTest, OpenAgainClearsTheCodeButKeepsTheText)
{
    CComPortBase port(kMissingPort, 9600);
    const std::string reason = port.GetErrorMsg();
    EXPECT_FALSE(port.Open());
    EXPECT_EQ(port.GetErrorMsg(), reason);
    EXPECT_TRUE(port.IsComError());
}

TEST(ComErrorTextTest, PrefixThenTheSystemsMessage)
{
    const std::string text = FormatComErrorText(ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(text.rfind("Code:2   ", 0), 0u);
    EXPECT_EQ(text.substr(9), FormatLastErrorMsg(ERROR_FILE_NOT_FOUND));
}

TEST(ComErrorTextTest, ACodeWithoutSystemTextGetsTheFallback)
{
    // Bit 29 marks an application's own code: the system has no text.
    const DWORD code = 0x2000ABCD;
    const std::string fallback = "{未定义错误描述(536914893)}";
    EXPECT_EQ(FormatLastErrorMsg(static_cast<int>(code)), fallback);
    EXPECT_EQ(FormatComErrorText(code), "Code:536914893   " + fallback);
}

TEST(ComErrorTextTest, CodeZeroMeansTheThreadsLastError)
{
    SetLastError(ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(FormatLastErrorMsg(0), FormatLastErrorMsg(ERROR_PATH_NOT_FOUND));
}

TEST(PortFailureKindTest, OpeningAndUsingAPortTellVanishedFromMissing)
{
    struct Case {
        DWORD code;
        PortFailureKind atOpen;
        PortFailureKind inUse;
    } const cases[] = {
        {ERROR_SUCCESS, PortFailureKind::None, PortFailureKind::None},
        {ERROR_FILE_NOT_FOUND, PortFailureKind::NotFound, PortFailureKind::Other},
        {ERROR_PATH_NOT_FOUND, PortFailureKind::NotFound, PortFailureKind::Other},
        // Busy at open; a pulled adapter under an open handle.
        {ERROR_ACCESS_DENIED, PortFailureKind::Other, PortFailureKind::LineGone},
        {ERROR_NOT_READY, PortFailureKind::LineGone, PortFailureKind::LineGone},
        {ERROR_BAD_COMMAND, PortFailureKind::LineGone, PortFailureKind::LineGone},
        {ERROR_GEN_FAILURE, PortFailureKind::LineGone, PortFailureKind::LineGone},
        {ERROR_DEVICE_NOT_CONNECTED, PortFailureKind::LineGone, PortFailureKind::LineGone},
        {ERROR_TIMEOUT, PortFailureKind::Other, PortFailureKind::Other},
        {ERROR_NOT_SUPPORTED, PortFailureKind::Other, PortFailureKind::Other},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(OpenFailureKind(c.code), c.atOpen) << c.code;
        EXPECT_EQ(IoFailureKind(c.code), c.inUse) << c.code;
    }
}

}  // namespace
