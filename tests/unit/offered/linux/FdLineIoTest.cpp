#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "TermSupport.h"

namespace {

// A pipe the test writes keys into, and one that collects the echo.
class Keyboard {
public:
    Keyboard()
    {
        ok = pipe(keys) == 0 && pipe(echo) == 0;
        if (ok)
            fcntl(echo[0], F_SETFL, O_NONBLOCK);
    }
    ~Keyboard()
    {
        for (int fd : {keys[0], keys[1], echo[0], echo[1]})
            if (fd >= 0)
                close(fd);
    }
    void Type(const std::string &text)
    {
        ASSERT_EQ(write(keys[1], text.data(), text.size()), static_cast<ssize_t>(text.size()));
    }
    void EndInput()
    {
        close(keys[1]);
        keys[1] = -1;
    }
    std::string Echo()
    {
        std::string out;
        char buffer[256];
        ssize_t n;
        while ((n = read(echo[0], buffer, sizeof buffer)) > 0)
            out.append(buffer, static_cast<size_t>(n));
        return out;
    }
    int ReadLine(char *buffer, int size) { return fd_readline(keys[0], echo[1], buffer, size); }

    bool ok = false;
    int keys[2] = {-1, -1};
    int echo[2] = {-1, -1};
};

}  // namespace

struct ReadlineCase {
    const char *name;
    std::string keys;
    int size;
    int result;
    std::string line;
    std::string echo;
    friend void PrintTo(const ReadlineCase &c, std::ostream *os) { *os << c.name; }
};

class FdReadlineTest : public testing::TestWithParam<ReadlineCase> {};

TEST_P(FdReadlineTest, EditsAndEchoesOneLine)
{
    Keyboard kb;
    ASSERT_TRUE(kb.ok);
    kb.Type(GetParam().keys);
    kb.EndInput();
    char buffer[64] = "untouched";
    const int r = kb.ReadLine(buffer, GetParam().size);
    EXPECT_EQ(r, GetParam().result);
    if (r >= 0) {
        EXPECT_EQ(std::string(buffer), GetParam().line);
    }
    EXPECT_EQ(kb.Echo(), GetParam().echo);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, FdReadlineTest,
    testing::Values(
        ReadlineCase{"PlainLine", "9600\r", 9, 4, "9600", "9600"},
        ReadlineCase{"EndsAtCarriageReturn", "12\rXY", 9, 2, "12", "12"},
        ReadlineCase{"BackspaceErasesEcho", "96\b00\r", 9, 3, "900", "96\b \b00"},
        ReadlineCase{"DeleteOnEmptyLineRings", "\x7f" "1\r", 9, 1, "1", "\a1"},
        ReadlineCase{"ControlCharShownInHex", "a\x01\r", 9, 2, "a\x01", "a\\x01"},
        ReadlineCase{"ErasingHexFormWipesFour", "\x01\b\r", 9, 0, "", "\\x01\b\b\b\b    \b\b\b\b"},
        ReadlineCase{"FullLineRingsForMore", "123456789\r", 5, 4, "1234", "1234\a\a\a\a\a"},
        ReadlineCase{"SizeOneHoldsOnlyTheTerminator", "ab\r", 1, 0, "", "\a\a"},
        ReadlineCase{"EndOfInputWithoutCr", "96", 9, -1, "", "96"}),
    [](const testing::TestParamInfo<ReadlineCase> &info) { return std::string(info.param.name); });

TEST(FdReadline, CtrlCGivesEintr)
{
    Keyboard kb;
    ASSERT_TRUE(kb.ok);
    kb.Type("96\x03");
    char buffer[9];
    errno = 0;
    EXPECT_EQ(kb.ReadLine(buffer, sizeof buffer), -1);
    EXPECT_EQ(errno, EINTR);
}

TEST(FdReadline, NoRoomAtAllIsRefused)
{
    Keyboard kb;
    ASSERT_TRUE(kb.ok);
    kb.Type("1\r");
    char buffer[1];
    EXPECT_EQ(kb.ReadLine(buffer, 0), -1);
    EXPECT_EQ(errno, EINVAL);
}

TEST(FdOutput, WritesCharactersAndTheirErasures)
{
    Keyboard kb;
    ASSERT_TRUE(kb.ok);
    const int out = kb.echo[1];
    EXPECT_EQ(cput(out, 'A'), 1);
    EXPECT_EQ(cdel(out), 3);
    EXPECT_EQ(xput(out, 0xfe), 4);
    EXPECT_EQ(xdel(out), 12);
    EXPECT_EQ(kb.Echo(), "A\b \b\\xfe\b\b\b\b    \b\b\b\b");
}

TEST(FdOutput, PrintfCutsAt255Bytes)
{
    Keyboard kb;
    ASSERT_TRUE(kb.ok);
    const std::string longText(400, 'z');
    EXPECT_EQ(fd_printf(kb.echo[1], "%s|%d", longText.c_str(), 7), 255);
    EXPECT_EQ(kb.Echo(), std::string(255, 'z'));
    EXPECT_EQ(fd_printf(kb.echo[1], "*** %s: %d ***", "exit status", 3), 22);
    EXPECT_EQ(kb.Echo(), "*** exit status: 3 ***");
}

TEST(FdOutput, WritenStopsAtAnErrorAndCountsWhatWentOut)
{
    Keyboard kb;
    ASSERT_TRUE(kb.ok);
    EXPECT_EQ(writen_ni(kb.echo[1], "OK\r\n", 4), 4);
    EXPECT_EQ(writen_ni(-1, "OK", 2), 0);

    // A pipe that takes only part: what fitted is counted.
    int small[2];
    ASSERT_EQ(pipe(small), 0);
    fcntl(small[1], F_SETFL, O_NONBLOCK);
    const int capacity = fcntl(small[1], F_GETPIPE_SZ);
    const std::string big(static_cast<size_t>(capacity) + 100, 'p');
    EXPECT_EQ(writen_ni(small[1], big.data(), static_cast<int>(big.size())), capacity);
    close(small[0]);
    close(small[1]);
}
