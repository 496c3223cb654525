// The binary's start-up and mode choice, seen from outside.
#include <unistd.h>

#include <gtest/gtest.h>

#include "RunProcess.h"

namespace {
const std::string kBinary = ZARVEX_BINARY;
const std::string kRootRefusal =
    "\n\n\033[1m\033[31m此程序必须以root权限运行\033[0m\n";
const std::string kCountError =
    "\n{\n   \"code\" : 3,\n   \"message\" : \"param count error\",\n   \"result\" : []\n}\n\n";

ProcessResult RunAsRoot(std::vector<std::string> args)
{
    args.insert(args.begin(), kBinary);
    return RunProcess(args, "", 20000);
}

// An ordinary user: nobody, through setpriv.
ProcessResult RunAsNobody(std::vector<std::string> args)
{
    std::vector<std::string> argv = {"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups",
                                     kBinary};
    argv.insert(argv.end(), args.begin(), args.end());
    return RunProcess(argv, "", 20000);
}
}  // namespace

class StartupTest : public testing::Test {
protected:
    void SetUp() override
    {
        if (geteuid() != 0)
            GTEST_SKIP() << "needs root";
    }
};

TEST_F(StartupTest, RefusesOrdinaryUserWhateverTheArguments)
{
    const std::vector<std::vector<std::string>> argumentLists = {
        {}, {"help"}, {"version"}, {"-v"}, {"a", "b"}, {"USB0", "10086", "text"}};
    for (const auto &args : argumentLists) {
        ProcessResult r = RunAsNobody(args);
        EXPECT_EQ(r.exitStatus, 1) << testing::PrintToString(args);
        EXPECT_EQ(r.out, kRootRefusal) << testing::PrintToString(args);
    }
}

TEST_F(StartupTest, VersionWordsPrintTheVersionLine)
{
    for (const char *word : {"v", "-v", "version", "-version", "--version"}) {
        ProcessResult r = RunAsRoot({word});
        EXPECT_EQ(r.exitStatus, 0) << word;
        ASSERT_EQ(r.out.substr(0, 1), "\n") << word;
        const std::string line = r.out.substr(1);
        const std::string prefix = "1.6版本 编译时间  ";
        ASSERT_EQ(line.compare(0, prefix.size(), prefix), 0) << line;
        // "Mmm dd yyyy hh:mm:ss " then the compiler's version text.
        const std::string stamp = line.substr(prefix.size());
        ASSERT_GT(stamp.size(), 21u);
        EXPECT_NE(std::string("JanFebMarAprMayJunJulAugSepOctNovDec").find(stamp.substr(0, 3)),
                  std::string::npos);
        EXPECT_TRUE(stamp[4] == ' ' || isdigit(static_cast<unsigned char>(stamp[4]))) << stamp;
        EXPECT_EQ(stamp[6], ' ');
        EXPECT_EQ(stamp[11], ' ');
        EXPECT_EQ(stamp[14], ':');
        EXPECT_EQ(stamp[17], ':');
        EXPECT_EQ(stamp[20], ' ');
        EXPECT_EQ(line.back(), '\n');
        EXPECT_EQ(line.find('\n'), line.size() - 1) << "one line only";
    }
}

TEST_F(StartupTest, HelpWordsPrintTheHelpText)
{
    for (const char *word : {"help", "/?", "-help", "--help", "-h", "--h"}) {
        ProcessResult r = RunAsRoot({word});
        EXPECT_EQ(r.exitStatus, 0) << word;
        EXPECT_EQ(r.out.compare(0, 10, "\n\033[1m\033[32m"), 0) << word;
        const std::string tail =
            "\033[0m\n\n"
            "1. 执行Korvane检测工具  执行Zarvex \n"
            "2. 查看帮助信息  执行Zarvex help 可以输出本帮助信息 \n"
            "3. 通过所有串口设备发送短信 执行 Zarvex [空格]手机号1,手机号2...[空格]\"短信内容 \"\n"
            "4. 通过指定串口设备发送短信 执行 Zarvex [空格]串口号1,串口号2...[空格]手机号1,手机号2，...[空格]\"短信内容 \"\n"
            "注意: 如果短信内容中有空格，需要用双引号(\")括起来，短信内容中的双引号(\")需要转义为\\\" \n"
            "例1: 通过端口/dev/ttyUSB3给1830000000发送内容为 \"北京Korvane短信 欢迎使用\" 的短信则输入\n"
            "命令1: Zarvex USB3 18300000000 \"北京Korvane短信 欢迎使用\"\n"
            "例2: 通过端口/dev/ttyUSB3,/dev/ttyUSB4 给1830000000,18500000000 发送内容为 \"北京Korvane短信 欢迎使用\" 的短信则输入\n"
            "命令2: Zarvex USB3,USB4 18300000000,18500000000 \"北京Korvane短信 欢迎使用\"\n";
        ASSERT_GE(r.out.size(), tail.size());
        EXPECT_EQ(r.out.substr(r.out.size() - tail.size()), tail) << word;
    }
}

TEST_F(StartupTest, NonWordsAndWrongCountsGiveTheCountError)
{
    const std::vector<std::vector<std::string>> argumentLists = {
        {"HELP"}, {"Help"}, {"-H"}, {"-V"}, {"--v"}, {"x"}, {"a", "b", "c", "d"},
        {"a", "b", "c", "d", "e"}};
    for (const auto &args : argumentLists) {
        ProcessResult r = RunAsRoot(args);
        EXPECT_EQ(r.exitStatus, 0) << testing::PrintToString(args);
        EXPECT_EQ(r.out, kCountError) << testing::PrintToString(args);
        EXPECT_EQ(r.err, "");
    }
}
