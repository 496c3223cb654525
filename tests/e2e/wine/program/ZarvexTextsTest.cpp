// Zarvex.exe under Wine in the modes that need no port: the version line,
// the help text for each help word, and the parameter-count error. Each
// must reach a pipe as the Chinese system's console shows it (GBK, "\r\n"),
// end with status 0, and leave the modem on the one mapped port untouched:
// none of these modes scans.
#include <unistd.h>

#include <cctype>
#include <regex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "WineHarness.h"

namespace {

constexpr int kCom = 11;

// Every run begins with an empty line.
const std::string kHelpText =
    "\n"
    "Zarvex 短信设备检测工具 使用说明\n"
    "\n"
    "1. 执行Korvane检测工具  执行Zarvex.exe \n"
    "2. 查看帮助信息  执行Zarvex.exe help 可以输出本帮助信息 \n"
    "3. 通过所有串口设备发送短信 执行 Zarvex.exe[空格]手机号1,手机号2...[空格]\"短信内容 \"\n"
    "4. 通过指定串口设备发送短信 执行 Zarvex.exe[空格]串口号1,串口号2...[空格]手机号1,手机号2，...[空格]\"短信内容 \"\n"
    "注意: 如果短信内容中有空格，需要用双引号(\")括起来，短信内容中的双引号(\")需要转义为\\\" \n"
    "例1: 通过端口COM3给1830000000发送内容为 \"北京Korvane短信 欢迎使用\" 的短信则输入\n"
    "命令1: Zarvex.exe 3 18300000000 \"北京Korvane短信 欢迎使用\"\n"
    "例2: 通过端口COM3,COM4 给1830000000,18500000000 发送内容为 \"北京Korvane短信 欢迎使用\" 的短信则输入\n"
    "命令2: Zarvex.exe 3,4 18300000000,18500000000 \"北京Korvane短信 欢迎使用\"\n";

// The build's date and time ("Jun  6 2019 10:22:32") and the compiler's
// number are fixed when the program is built; <stamp> and <number> stand for
// them.
const std::string kVersionText = "\n1.6版本 编译时间 <stamp>  编译器版本<number>\n";

const std::string kParamCountErrorText =
    "\n"
    "{\n"
    "   \"code\" : 3,\n"
    "   \"message\" : \"param count error\",\n"
    "   \"result\" : []\n"
    "}\n"
    "\n";

const std::vector<std::pair<std::string, std::string>> kPlaceholders = {
    {"<stamp>", "[A-Z][a-z]{2} [ 1-3][0-9] [0-9]{4} [0-2][0-9]:[0-5][0-9]:[0-6][0-9]"},
    {"<number>", "[1-9][0-9]*"},
};

// Each byte of the program's expected output as a literal: the second byte
// of a GBK character may be "[", "\\", "]" or another of regex's own.
std::string LiteralPattern(const std::string &bytes)
{
    std::string pattern;
    for (const char c : bytes) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (u < 0x80 && !std::isalnum(u))
            pattern += '\\';
        pattern += c;
    }
    return pattern;
}

// A pattern over the bytes the program writes to a pipe for the UTF-8
// text `expected`, its placeholders standing for the parts a build fixes.
std::string OutputPattern(const std::string &expected)
{
    std::string pattern;
    std::size_t from = 0;
    while (from < expected.size()) {
        std::size_t next = std::string::npos;
        const std::pair<std::string, std::string> *found = nullptr;
        for (const auto &p : kPlaceholders) {
            const std::size_t at = expected.find(p.first, from);
            if (at < next) {
                next = at;
                found = &p;
            }
        }
        pattern += LiteralPattern(WineStdout(expected.substr(from, next - from)));
        if (!found)
            break;
        pattern += found->second;
        from = next + found->first.size();
    }
    return pattern;
}

bool HasPlaceholder(const std::string &expected)
{
    for (const auto &p : kPlaceholders)
        if (expected.find(p.first) != std::string::npos)
            return true;
    return false;
}

struct TextCase {
    std::vector<std::string> args;
    const std::string *expected;
};

std::string Joined(const std::vector<std::string> &args)
{
    std::string text;
    for (const std::string &a : args)
        text += "[" + a + "]";
    return text;
}

class ZarvexTextsTest : public testing::Test {
protected:
    void SetUp() override
    {
        if (geteuid() != 0)
            GTEST_SKIP() << "Wine runs in a private mount namespace, which needs root";
    }

    void RunCases(const std::vector<TextCase> &cases)
    {
        WineHarness h;
        h.AddFake(kCom, ModemFake(FakeModel::Pimsor));
        std::string error;
        ASSERT_TRUE(h.Start(&error)) << error;
        for (const TextCase &c : cases) {
            SCOPED_TRACE("Zarvex.exe " + Joined(c.args));
            const NamespaceResult r = h.Run(ZarvexExe(), c.args);
            EXPECT_EQ(r.exitStatus, 0);
            if (HasPlaceholder(*c.expected))
                EXPECT_TRUE(std::regex_match(r.out, std::regex(OutputPattern(*c.expected))))
                    << "printed:\n" << ReadableGbk(r.out) << "\nexpected:\n" << *c.expected;
            else
                EXPECT_EQ(r.out, WineStdout(*c.expected)) << "printed:\n" << ReadableGbk(r.out);
            EXPECT_EQ(r.err, "");
        }
        EXPECT_EQ(h.Record(kCom).CommandTexts(), std::vector<std::string>{});
    }
};

TEST_F(ZarvexTextsTest, EveryVersionWordPrintsTheVersionLine)
{
    RunCases({
        {{"version"}, &kVersionText},
        {{"-version"}, &kVersionText},
        {{"--version"}, &kVersionText},
        {{"v"}, &kVersionText},
        {{"-v"}, &kVersionText},
    });
}

TEST_F(ZarvexTextsTest, EveryHelpWordPrintsTheHelpText)
{
    RunCases({
        {{"help"}, &kHelpText},
        {{"/?"}, &kHelpText},
        {{"-help"}, &kHelpText},
        {{"--help"}, &kHelpText},
        {{"-h"}, &kHelpText},
        {{"--h"}, &kHelpText},
    });
}

TEST_F(ZarvexTextsTest, WrongArgumentCountsGetTheCountErrorWithoutAScan)
{
    RunCases({
        // One word that is no mode's own, however close to one.
        {{"one"}, &kParamCountErrorText},
        {{"HELP"}, &kParamCountErrorText},
        {{"Version"}, &kParamCountErrorText},
        {{""}, &kParamCountErrorText},
        // A mode's word followed by more words is no longer that mode.
        {{"help", "a", "b", "c"}, &kParamCountErrorText},
        {{"one", "two", "three", "four"}, &kParamCountErrorText},
        {{"11", "13800138000", "text", "more", "words"}, &kParamCountErrorText},
    });
}

}  // namespace
