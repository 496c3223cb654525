#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "TermLib.h"
#include "TermSupport.h"

TEST(LineStep, SettingsCycleThroughTheirValues)
{
    const struct {
        int (*next)(int);
        int from;
        int to;
    } steps[] = {
        {flow_next, FC_NONE, FC_RTSCTS},   {flow_next, FC_RTSCTS, FC_XONXOFF},
        {flow_next, FC_XONXOFF, FC_NONE},  {flow_next, 7, FC_NONE},
        {parity_next, P_NONE, P_EVEN},     {parity_next, P_EVEN, P_ODD},
        {parity_next, P_ODD, P_NONE},      {parity_next, P_MARK, P_NONE},
        {bits_next, 5, 6},                 {bits_next, 7, 8},
        {bits_next, 8, 5},                 {stopbits_next, 1, 2},
        {stopbits_next, 2, 1},
    };
    for (const auto &s : steps)
        EXPECT_EQ(s.next(s.from), s.to) << "from " << s.from;
}

TEST(LineStep, PlaceholdersDoNothing)
{
    EXPECT_EQ(read_filename(), 0);
    EXPECT_EQ(do_command('x'), 0);
    show_status();
    show_keys();
    loop();
}

namespace {

// Feeds `keys` to standard input and collects standard output while
// read_baud runs; both are put back afterwards.
int ReadBaudWith(const std::string &keys, std::string &shown)
{
    int in[2], out[2];
    if (pipe(in) != 0 || pipe(out) != 0)
        return -2;
    (void)!write(in[1], keys.data(), keys.size());
    close(in[1]);
    const int savedIn = dup(STDIN_FILENO);
    const int savedOut = dup(STDOUT_FILENO);
    dup2(in[0], STDIN_FILENO);
    dup2(out[1], STDOUT_FILENO);
    const int baud = read_baud();
    dup2(savedIn, STDIN_FILENO);
    dup2(savedOut, STDOUT_FILENO);
    close(savedIn);
    close(savedOut);
    close(in[0]);
    close(out[1]);
    char buffer[512];
    ssize_t n;
    while ((n = read(out[0], buffer, sizeof buffer)) > 0)
        shown.append(buffer, static_cast<size_t>(n));
    close(out[0]);
    return baud;
}

}  // namespace

TEST(ReadBaud, AsksAgainUntilATableSpeedIsGiven)
{
    std::string shown;
    EXPECT_EQ(ReadBaudWith("14400\r0\r96x\r0x2580\r", shown), 9600);
    const std::string prompt = "\r\n*** baud: ";
    const std::string refused = "\r\n*** Invalid baudrate!";
    EXPECT_EQ(shown, prompt + "14400" + refused + prompt + "0" + refused + prompt + "96x" +
                         refused + prompt + "0x2580\r\n");
}

TEST(ReadBaud, AnEmptyLineIsRefusedAndEndOfInputGivesUp)
{
    std::string shown;
    EXPECT_EQ(ReadBaudWith("\r115200", shown), -1);
    EXPECT_EQ(shown, "\r\n*** baud: \r\n*** Invalid baudrate!\r\n*** baud: 115200\r\n");
}

TEST(ReadBaud, TakesAtMostEightCharacters)
{
    std::string shown;
    EXPECT_EQ(ReadBaudWith("1152000000\r", shown), -1);  // 11520000 is no speed
    EXPECT_NE(shown.find("11520000\a\a"), std::string::npos);
}
