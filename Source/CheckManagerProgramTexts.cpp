#include "CheckManagerProgramTexts.h"

namespace {
// The same in both builds: how a message with blanks or quotes is written.
const char kQuotingHelpLine[] =
    "注意: 如果短信内容中有空格，需要用双引号(\")括起来，短信内容中的双引号(\")需要转义为\\\" ";
}  // namespace

const ProgramTexts kLinuxProgramTexts = {
    "1.6版本 编译时间  ",
    " ",
    {
        "1. 执行Korvane检测工具  执行Zarvex ",
        "2. 查看帮助信息  执行Zarvex help 可以输出本帮助信息 ",
        "3. 通过所有串口设备发送短信 执行 Zarvex [空格]手机号1,手机号2...[空格]\"短信内容 \"",
        "4. 通过指定串口设备发送短信 执行 Zarvex [空格]串口号1,串口号2...[空格]手机号1,手机号2，...[空格]\"短信内容 \"",
        kQuotingHelpLine,
        "例1: 通过端口/dev/ttyUSB3给1830000000发送内容为 \"北京Korvane短信 欢迎使用\" 的短信则输入",
        "命令1: Zarvex USB3 18300000000 \"北京Korvane短信 欢迎使用\"",
        "例2: 通过端口/dev/ttyUSB3,/dev/ttyUSB4 给1830000000,18500000000 发送内容为 \"北京Korvane短信 欢迎使用\" 的短信则输入",
        "命令2: Zarvex USB3,USB4 18300000000,18500000000 \"北京Korvane短信 欢迎使用\"",
    },
};

const ProgramTexts kWindowsProgramTexts = {
    "1.6版本 编译时间 ",
    "  编译器版本",
    {
        "1. 执行Korvane检测工具  执行Zarvex.exe ",
        "2. 查看帮助信息  执行Zarvex.exe help 可以输出本帮助信息 ",
        "3. 通过所有串口设备发送短信 执行 Zarvex.exe[空格]手机号1,手机号2...[空格]\"短信内容 \"",
        "4. 通过指定串口设备发送短信 执行 Zarvex.exe[空格]串口号1,串口号2...[空格]手机号1,手机号2，...[空格]\"短信内容 \"",
        kQuotingHelpLine,
        "例1: 通过端口COM3给1830000000发送内容为 \"北京Korvane短信 欢迎使用\" 的短信则输入",
        "命令1: Zarvex.exe 3 18300000000 \"北京Korvane短信 欢迎使用\"",
        "例2: 通过端口COM3,COM4 给1830000000,18500000000 发送内容为 \"北京Korvane短信 欢迎使用\" 的短信则输入",
        "命令2: Zarvex.exe 3,4 18300000000,18500000000 \"北京Korvane短信 欢迎使用\"",
    },
};

std::string VersionLine(const ProgramTexts &texts, const std::string &buildDate,
                        const std::string &buildTime, const std::string &compilerVersion)
{
    return texts.versionLead + buildDate + " " + buildTime + texts.compilerLead + compilerVersion;
}

std::string CompilerVersionText(const char *versionText)
{
    return versionText;
}

std::string CompilerVersionText(int versionNumber)
{
    return std::to_string(versionNumber);
}
