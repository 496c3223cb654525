// The Windows program's flows under Wine against fakes on COM ports: runs of
// Zarvex.exe and of the flow program, and what a test reads from them.
#ifndef ZARVEX_WINE_FLOW_SUPPORT_H
#define ZARVEX_WINE_FLOW_SUPPORT_H

#include <unistd.h>

#include <json/json.h>

#include <chrono>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "WineHarness.h"

namespace wine_flow {

// A whole run is bounded well above what any flow here takes.
constexpr int kRunMs = 240000;

inline const std::string &FlowDriver()
{
    static const std::string path = WindowsProgram("tests/e2e/wine/flow/wine_flow_driver.exe");
    return path;
}

inline FakeConfig Refusing(FakeModel model, int count, int code)
{
    FakeConfig c = ModemFake(model);
    c.faults.failSubmissions = count;
    c.faults.failCode = code;
    return c;
}

// The text as a Linux program would have printed it: "\r\n" back to "\n".
inline std::string UnixLineEnds(const std::string &text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n'))
            out += text[i];
    return out;
}

// The line before and after each message of a printed list.
inline const std::string kDashes(50, '-');

// One message of a printed list, as Printed gives it.
inline std::string Listed(int ordinal, const std::string &number, const std::string &time,
                          const std::string &content)
{
    return kDashes + "\n 第 " + std::to_string(ordinal) + " 条短信\n发送号码: " + number + "\n发送时间: " + time
           + "\n短信内容: " + content + "\n";
}

// What the program printed, as UTF-8 with Linux line ends.
inline std::string Printed(const NamespaceResult &r)
{
    std::string utf8;
    EXPECT_TRUE(GbkToUtf8(r.out, &utf8)) << ReadableGbk(r.out);
    return UnixLineEnds(utf8);
}

// Well-formed UTF-8 (overlong forms of two bytes and lead bytes past
// U+10FFFF refused): GBK text passed on unconverted is not.
inline bool IsUtf8(const std::string &text)
{
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        std::size_t more = 0;
        if (c >= 0xC2 && c <= 0xDF)
            more = 1;
        else if (c >= 0xE0 && c <= 0xEF)
            more = 2;
        else if (c >= 0xF0 && c <= 0xF4)
            more = 3;
        else if (c >= 0x80)
            return false;
        if (text.size() - i <= more)
            return false;
        for (std::size_t k = 1; k <= more; ++k)
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
                return false;
        i += more + 1;
    }
    return true;
}

inline std::vector<DecodedSubmission> Decoded(const WineHarness &h, int com)
{
    std::vector<DecodedSubmission> out;
    for (const FakeSubmission &s : h.Record(com).submissions)
        out.push_back(DecodeSubmission(s));
    return out;
}

// "YYYY-MM-DD hh:mm:ss".
inline bool IsTimeText(const std::string &text)
{
    const std::string form = "dddd-dd-dd dd:dd:dd";
    if (text.size() != form.size())
        return false;
    for (std::size_t i = 0; i < form.size(); ++i)
        if (form[i] == 'd' ? (text[i] < '0' || text[i] > '9') : text[i] != form[i])
            return false;
    return true;
}

// The text ends with `label`, a count of at least 1 and `unit`.
inline bool EndsWithCount(const std::string &text, const std::string &label, const std::string &unit)
{
    const std::size_t at = text.rfind(label);
    if (at == std::string::npos || text.size() < unit.size()
        || text.compare(text.size() - unit.size(), unit.size(), unit) != 0)
        return false;
    const std::string count = text.substr(at + label.size(), text.size() - unit.size() - at - label.size());
    return !count.empty() && count[0] != '0' && count.find_first_not_of("0123456789") == std::string::npos;
}

inline long long MsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
}

class WineFlowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (geteuid() != 0)
            GTEST_SKIP() << "Wine runs in a private mount namespace, which needs root";
    }
    void Start()
    {
        std::string error;
        ASSERT_TRUE(h.Start(&error)) << error;
    }
    NamespaceResult Run(const std::string &program, const std::vector<std::string> &args,
                        const std::string &input = "")
    {
        const NamespaceResult r = h.Run(program, args, {input, kRunMs, {}, ""});
        EXPECT_EQ(r.exitStatus, 0) << r.out << r.err;
        EXPECT_FALSE(r.timedOut);
        return r;
    }
    // The command line's JSON text, parsed; it must be UTF-8 throughout.
    Json::Value RunJson(const std::vector<std::string> &args, std::string *text = nullptr)
    {
        const NamespaceResult r = Run(ZarvexExe(), args);
        const std::string unix = UnixLineEnds(r.out);
        EXPECT_TRUE(IsUtf8(unix)) << ReadableGbk(r.out);
        Json::Value value;
        EXPECT_TRUE(Json::Reader().parse(unix, value)) << unix;
        if (text != nullptr)
            *text = unix;
        return value;
    }

    WineHarness h;
};

}  // namespace wine_flow

#endif
