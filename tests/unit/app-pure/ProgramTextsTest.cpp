// The version line and the help text in both builds' words, and this build's
// program printing its own.
#include <gtest/gtest.h>

#include <iostream>
#include <sstream>

#include "CheckManager.h"
#include "CheckManagerProgramTexts.h"
#include "PlatformConstants.h"

namespace {

// Standard output swapped for a string while the object lives.
class StdoutCapture {
public:
    StdoutCapture() : m_old(std::cout.rdbuf(m_out.rdbuf())) {}
    ~StdoutCapture() { std::cout.rdbuf(m_old); }
    StdoutCapture(const StdoutCapture &) = delete;
    StdoutCapture &operator=(const StdoutCapture &) = delete;
    std::string Text() const { return m_out.str(); }

private:
    std::ostringstream m_out;
    std::streambuf *m_old;
};

TEST(VersionLine, EachBuildsForm)
{
    // One blank before the date, and the compiler's number after its words.
    EXPECT_EQ(VersionLine(kWindowsProgramTexts, "Jun  6 2019", "10:22:32", CompilerVersionText(1202)),
              "1.6版本 编译时间 Jun  6 2019 10:22:32  编译器版本1202");
    // Two blanks before the date, and gcc's own version text.
    EXPECT_EQ(VersionLine(kLinuxProgramTexts, "Jun  6 2019", "10:22:32", CompilerVersionText("12.2.0")),
              "1.6版本 编译时间  Jun  6 2019 10:22:32 12.2.0");
}

TEST(VersionLine, ThisBuildPrintsItsOwnWithTheCompilersVersionLast)
{
    StdoutCapture out;
    CCheckManager::OnAbout();
    const std::string line = out.Text();
    const std::string lead = kProgramTexts.versionLead;
    const std::string tail = kProgramTexts.compilerLead + CompilerVersionText(kCompilerVersion) + "\n";
    ASSERT_EQ(line.compare(0, lead.size(), lead), 0) << line;
    ASSERT_GE(line.size(), lead.size() + tail.size());
    EXPECT_EQ(line.substr(line.size() - tail.size()), tail) << line;
    // "Mmm dd yyyy hh:mm:ss" between them.
    EXPECT_EQ(line.size() - lead.size() - tail.size(), 20u) << line;
}

std::vector<std::string> Lines(const ProgramTexts &texts)
{
    return std::vector<std::string>(std::begin(texts.helpLines), std::end(texts.helpLines));
}

TEST(HelpText, WindowsLines)
{
    // No blank between the program and "[空格]" in lines 3 and 4; the comma
    // after 手机号2 in line 4 is full-width.
    EXPECT_EQ(Lines(kWindowsProgramTexts),
              (std::vector<std::string> {
                  "1. 执行Korvane检测工具  执行Zarvex.exe ",
                  "2. 查看帮助信息  执行Zarvex.exe help 可以输出本帮助信息 ",
                  "3. 通过所有串口设备发送短信 执行 Zarvex.exe[空格]手机号1,手机号2...[空格]\"短信内容 \"",
                  "4. 通过指定串口设备发送短信 执行 Zarvex.exe[空格]串口号1,串口号2...[空格]手机号1,手机号2，...[空格]\"短信内容 \"",
                  "注意: 如果短信内容中有空格，需要用双引号(\")括起来，短信内容中的双引号(\")需要转义为\\\" ",
                  "例1: 通过端口COM3给1830000000发送内容为 \"北京Korvane短信 欢迎使用\" 的短信则输入",
                  "命令1: Zarvex.exe 3 18300000000 \"北京Korvane短信 欢迎使用\"",
                  "例2: 通过端口COM3,COM4 给1830000000,18500000000 发送内容为 \"北京Korvane短信 欢迎使用\" 的短信则输入",
                  "命令2: Zarvex.exe 3,4 18300000000,18500000000 \"北京Korvane短信 欢迎使用\"",
              }));
}

TEST(HelpText, LinuxLines)
{
    EXPECT_EQ(Lines(kLinuxProgramTexts),
              (std::vector<std::string> {
                  "1. 执行Korvane检测工具  执行Zarvex ",
                  "2. 查看帮助信息  执行Zarvex help 可以输出本帮助信息 ",
                  "3. 通过所有串口设备发送短信 执行 Zarvex [空格]手机号1,手机号2...[空格]\"短信内容 \"",
                  "4. 通过指定串口设备发送短信 执行 Zarvex [空格]串口号1,串口号2...[空格]手机号1,手机号2，...[空格]\"短信内容 \"",
                  "注意: 如果短信内容中有空格，需要用双引号(\")括起来，短信内容中的双引号(\")需要转义为\\\" ",
                  "例1: 通过端口/dev/ttyUSB3给1830000000发送内容为 \"北京Korvane短信 欢迎使用\" 的短信则输入",
                  "命令1: Zarvex USB3 18300000000 \"北京Korvane短信 欢迎使用\"",
                  "例2: 通过端口/dev/ttyUSB3,/dev/ttyUSB4 给1830000000,18500000000 发送内容为 \"北京Korvane短信 欢迎使用\" 的短信则输入",
                  "命令2: Zarvex USB3,USB4 18300000000,18500000000 \"北京Korvane短信 欢迎使用\"",
              }));
}

TEST(HelpText, ThisBuildPrintsItsOwnLinesUnderTheBanner)
{
    StdoutCapture out;
    CCheckManager manager;
    manager.PrintHelpInfo();
    std::string lines;
    for (const char *line : kProgramTexts.helpLines)
        lines += std::string(line) + "\n";
    const std::string text = out.Text();
    ASSERT_GT(text.size(), lines.size());
    EXPECT_EQ(text.substr(text.size() - lines.size()), lines);
    EXPECT_EQ(text.substr(text.size() - lines.size() - 2, 2), "\n\n") << "two line ends after the banner";
}

}  // namespace
