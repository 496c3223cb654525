// The prefix files the harness writes itself: the Ports key in system.reg's
// text (other keys untouched, values quoted as Wine quotes them), what
// reg.exe lists, and a prefix copy that shares only what nothing writes.
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>

#include <gtest/gtest.h>

#include "WineKeeper.h"
#include "WinePrefix.h"

namespace {

// The shape of a Wine 8 system.reg around the key.
const char kSystemReg[] =
    "WINE REGISTRY Version 2\n"
    ";; All keys relative to \\\\Machine\n"
    "\n"
    "#arch=win64\n"
    "\n"
    "[Software\\\\Wine\\\\Drivers] 1796923053\n"
    "#time=1dd88ca580fbc90\n"
    "\"Audio\"=\"\"\n"
    "\n"
    "[Software\\\\Wine\\\\Ports] 1796923151\n"
    "#time=1dd88ca92c537d4\n"
    "\"COM1\"=\"/dev/ttyS0\"\n"
    "\n"
    "[Software\\\\Wine\\\\Ports\\\\Sub] 1796923151\n"
    "\"Kept\"=\"yes\"\n"
    "\n"
    "[Software\\\\Wow6432Node\\\\Wine\\\\Ports] 1796923053\n"
    "#link\n";

TEST(WinePortsTest, ThePortsKeyHoldsExactlyTheMappingAndNothingElseChanges)
{
    const std::string text =
        WithWinePorts(kSystemReg, {{"COM11", "/dev/wine-com/COM11"}, {"COM100", "/dev/wine-com/COM100"}});
    EXPECT_EQ(WinePortsIn(text),
              (std::vector<WinePortMapping>{{"COM11", "/dev/wine-com/COM11"}, {"COM100", "/dev/wine-com/COM100"}}));
    EXPECT_EQ(text.find("/dev/ttyS0"), std::string::npos);
    // The header keeps its time stamp; the keys around it are untouched.
    EXPECT_NE(text.find("[Software\\\\Wine\\\\Ports] 1796923151\n\"COM11\""), std::string::npos) << text;
    EXPECT_NE(text.find("[Software\\\\Wine\\\\Drivers] 1796923053\n#time=1dd88ca580fbc90\n\"Audio\"=\"\"\n\n"),
              std::string::npos);
    EXPECT_NE(text.find("[Software\\\\Wine\\\\Ports\\\\Sub] 1796923151\n\"Kept\"=\"yes\"\n"), std::string::npos);
    EXPECT_NE(text.find("[Software\\\\Wow6432Node\\\\Wine\\\\Ports] 1796923053\n#link\n"), std::string::npos);

    EXPECT_TRUE(WinePortsIn(WithWinePorts(kSystemReg, {})).empty());
    EXPECT_EQ(WithWinePorts(WithWinePorts(kSystemReg, {{"COM12", "/a"}}), {{"COM12", "/a"}}),
              WithWinePorts(kSystemReg, {{"COM12", "/a"}}));
}

TEST(WinePortsTest, AKeyTheFileLacksIsAddedAndOddTextIsQuoted)
{
    struct Case {
        const char *reg;
    } const cases[] = {{""}, {"WINE REGISTRY Version 2\n"}, {"WINE REGISTRY Version 2"},
                       // A longer key name is not the key.
                       {"[Software\\\\Wine\\\\PortsOld] 1\n\"COM9\"=\"/x\"\n"}};
    for (const Case &c : cases) {
        const std::string text = WithWinePorts(c.reg, {{"COM12", "/dev/a \"b\"\\c"}});
        EXPECT_EQ(WinePortsIn(text), (std::vector<WinePortMapping>{{"COM12", "/dev/a \"b\"\\c"}})) << c.reg;
        EXPECT_EQ(text.compare(0, std::string(c.reg).size(), c.reg), 0) << "what was there stays first";
        EXPECT_NE(text.find("\"COM12\"=\"/dev/a \\\"b\\\"\\\\c\""), std::string::npos) << text;
    }
}

TEST(WineServicesTest, TheNamedServicesStartOnDemandAndNoOther)
{
    const std::string reg =
        "[System\\\\CurrentControlSet\\\\Services\\\\MountMgr] 1\n\"Start\"=dword:00000002\n\n"
        "[System\\\\CurrentControlSet\\\\Services\\\\PlugPlay] 1\n\"DisplayName\"=\"x\"\n"
        "\"Start\"=dword:00000002\n\"Type\"=dword:00000010\n\n"
        "[System\\\\CurrentControlSet\\\\Services\\\\PlugPlayX] 1\n\"Start\"=dword:00000002\n\n"
        "[System\\\\CurrentControlSet\\\\Services\\\\NDIS] 1\n\"Type\"=dword:00000001\n\n"
        "[System\\\\CurrentControlSet\\\\Services\\\\Other] 1\n\"Start\"=dword:00000002\n";
    const std::string text = WithServicesOnDemand(reg, {"PlugPlay", "NDIS", "Absent"});
    std::string expected = reg;
    expected.replace(expected.find("\"Start\"=dword:00000002\n\"Type\""), 22, "\"Start\"=dword:00000003");
    EXPECT_EQ(text, expected) << "PlugPlay only: a longer name, a key without Start and an absent one stay";
}

TEST(RegQueryTest, NamesOfTheSerialPortMap)
{
    const std::string listed =
        "\r\nHKEY_LOCAL_MACHINE\\Hardware\\DeviceMap\\SerialComm\r\n"
        "    \\Device\\Serial11    REG_SZ    COM12\r\n"
        "    \\Device\\Serial99    REG_SZ    COM100\r\n"
        "    Other    REG_DWORD    0x1\r\n\r\n";
    EXPECT_EQ(ComNamesInRegQuery(listed), (std::vector<std::string>{"COM12", "COM100"}));
    EXPECT_TRUE(ComNamesInRegQuery("\r\nHKEY_LOCAL_MACHINE\\Hardware\\DeviceMap\\SerialComm\r\n\r\n").empty());
    EXPECT_TRUE(ComNamesInRegQuery("").empty());
}

class PrefixCopyTest : public testing::Test {
protected:
    void SetUp() override
    {
        char dir[] = "/tmp/zarvex-prefix-test.XXXXXX";
        ASSERT_NE(mkdtemp(dir), nullptr);
        m_dir = dir;
    }
    void TearDown() override { EXPECT_TRUE(RemoveTree(m_dir)); }

    std::string Path(const std::string &name) const { return m_dir + "/" + name; }
    void Write(const std::string &name, const std::string &text) const
    {
        std::ofstream(Path(name), std::ios::binary) << text;
    }
    nlink_t Links(const std::string &name) const
    {
        struct stat st{};
        return lstat(Path(name).c_str(), &st) == 0 ? st.st_nlink : 0;
    }

    std::string m_dir;
};

TEST_F(PrefixCopyTest, SharesOnlyLargeFilesBelowTheTopAndKeepsLinks)
{
    const std::string big(200 * 1024, 'x');
    ASSERT_EQ(mkdir(Path("t").c_str(), 0755), 0);
    ASSERT_EQ(mkdir(Path("t/drive_c").c_str(), 0755), 0);
    ASSERT_EQ(mkdir(Path("t/dosdevices").c_str(), 0755), 0);
    Write("t/system.reg", big);
    Write("t/drive_c/big.dll", big);
    Write("t/drive_c/win.ini", "[windows]\n");
    ASSERT_EQ(symlink("../drive_c", Path("t/dosdevices/c:").c_str()), 0);
    ASSERT_EQ(symlink("/nowhere", Path("t/dosdevices/com11").c_str()), 0);

    std::string error;
    ASSERT_TRUE(CopyPrefixTree(Path("t"), Path("c"), &error)) << error;
    EXPECT_EQ(Links("c/drive_c/big.dll"), 2u);
    EXPECT_EQ(Links("c/system.reg"), 1u) << "a file at the top is the copy's own";
    EXPECT_EQ(Links("c/drive_c/win.ini"), 1u);
    char link[64] = {};
    ASSERT_GT(readlink(Path("c/dosdevices/c:").c_str(), link, sizeof link - 1), 0);
    EXPECT_STREQ(link, "../drive_c");
    EXPECT_EQ(Links("c/dosdevices/com11"), 1u) << "a dangling link is copied too";

    // What is written in the copy stays there.
    std::string text;
    ASSERT_TRUE(ReplaceFile(Path("c/system.reg"), "new"));
    Write("c/drive_c/win.ini", "changed");
    ASSERT_TRUE(ReadWholeFile(Path("t/system.reg"), &text));
    EXPECT_EQ(text, big);
    ASSERT_TRUE(ReadWholeFile(Path("t/drive_c/win.ini"), &text));
    EXPECT_EQ(text, "[windows]\n");

    EXPECT_FALSE(CopyPrefixTree(Path("t"), Path("c"), &error)) << "never over an existing tree";
    EXPECT_TRUE(RemoveTree(Path("c")));
    EXPECT_EQ(Links("t/drive_c/big.dll"), 1u);
    EXPECT_TRUE(RemoveTree(Path("c"))) << "a tree that is gone is removed";
}

}  // namespace
