#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "TermSupport.h"

struct ParseMapCase {
    const char *name;
    std::string text;
    int flags;
    friend void PrintTo(const ParseMapCase &c, std::ostream *os) { *os << c.name; }
};

class ParseMapTest : public testing::TestWithParam<ParseMapCase> {};

TEST_P(ParseMapTest, OrsTheNamedFlags)
{
    std::string text = GetParam().text;
    EXPECT_EQ(parse_map(&text[0]), GetParam().flags);
}

INSTANTIATE_TEST_SUITE_P(
    Lists, ParseMapTest,
    testing::Values(ParseMapCase{"EchoDefault", "crcrlf,delbs", 0x42},
                    ParseMapCase{"BlanksAndTabs", " crlf \tignlf, bsdel", M_CRLF | M_IGNLF | M_BSDEL},
                    ParseMapCase{"Repeated", "lfcr,lfcr", M_LFCR},
                    ParseMapCase{"Empty", "", 0},
                    ParseMapCase{"UnknownName", "crlf,crnl", -1},
                    ParseMapCase{"CaseMatters", "CRLF", -1}),
    [](const testing::TestParamInfo<ParseMapCase> &info) { return std::string(info.param.name); });

struct DoMapCase {
    const char *name;
    int flags;
    char c;
    std::string out;
    friend void PrintTo(const DoMapCase &c, std::ostream *os) { *os << c.name; }
};

class DoMapTest : public testing::TestWithParam<DoMapCase> {};

TEST_P(DoMapTest, ConvertsOneCharacter)
{
    char out[2] = {'?', '?'};
    const int n = do_map(out, GetParam().flags, GetParam().c);
    EXPECT_EQ(std::string(out, static_cast<size_t>(n)), GetParam().out);
}

INSTANTIATE_TEST_SUITE_P(
    Characters, DoMapTest,
    testing::Values(DoMapCase{"CrlfWinsOverCrcrlf", M_CRLF | M_CRCRLF, '\r', "\n"},
                    DoMapCase{"CrToCrLf", M_CRCRLF | M_IGNCR, '\r', "\r\n"},
                    DoMapCase{"IgnoreCr", M_IGNCR, '\r', ""},
                    DoMapCase{"CrUnmapped", M_LFCR, '\r', "\r"},
                    DoMapCase{"LfToCr", M_LFCR | M_LFCRLF, '\n', "\r"},
                    DoMapCase{"LfToCrLf", M_LFCRLF, '\n', "\r\n"},
                    DoMapCase{"IgnoreLf", M_IGNLF, '\n', ""},
                    DoMapCase{"BsToDel", M_BSDEL, '\b', "\x7f"},
                    DoMapCase{"DelToBs", M_DELBS, '\x7f', "\b"},
                    DoMapCase{"OtherUnchanged", 0xff, 'A', "A"},
                    DoMapCase{"NoFlags", 0, '\n', "\n"}),
    [](const testing::TestParamInfo<DoMapCase> &info) { return std::string(info.param.name); });

TEST(CharMap, TableEndsWithARowWithoutName)
{
    int rows = 0;
    int all = 0;
    for (const map_name_t *row = map_names; row->name; row++) {
        rows++;
        all |= row->flag;
    }
    EXPECT_EQ(rows, 8);
    EXPECT_EQ(all, 0xff);
}

TEST(CharMap, PrintMapListsSetFlagsInTableOrder)
{
    testing::internal::CaptureStdout();
    print_map(M_BSDEL | M_CRLF | M_DELBS);
    print_map(0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "crlf,delbs,bsdel,\n\n");
}

TEST(CharMap, MapAndWriteSendsTheConvertedBytes)
{
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    map_and_write(fds[1], M_CRCRLF, '\r');
    map_and_write(fds[1], M_IGNLF, '\n');
    map_and_write(fds[1], 0, 'x');
    close(fds[1]);
    char buffer[8];
    const ssize_t n = read(fds[0], buffer, sizeof buffer);
    close(fds[0]);
    EXPECT_EQ(std::string(buffer, n > 0 ? static_cast<size_t>(n) : 0), "\r\nx");
}

TEST(CharMap, MapAndWriteEndsTheProcessWhenTheWriteFails)
{
    EXPECT_EXIT(map_and_write(-1, 0, 'x'), testing::ExitedWithCode(1), "");
}

TEST(Usage, ShowsTheOptionSummary)
{
    testing::internal::CaptureStdout();
    show_usage("/usr/local/bin/zterm");
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out.rfind("\nCompiled-in options:\n  TTY_Q_SZ is 256\n"
                        "\nUsage is: zterm [options] <tty device>\nOptions are:\n"
                        "  --<b>aud <baudrate>\n",
                        0),
              0u)
        << out;
    const std::string tail =
        "<map> is a comma-separated list of one or more of:\n"
        "  crlf : map CR --> LF\n"
        "  crcrlf : map CR --> CR + LF\n"
        "  igncr : ignore CR\n"
        "  lfcr : map LF --> CR\n"
        "  lfcrlf : map LF --> CR + LF\n"
        "  ignlf : ignore LF\n"
        "  bsdel : map BS --> DEL\n"
        "  delbs : map DEL --> BS\n"
        "<?> indicates the equivalent short option.\n"
        "Short options are prefixed by \"-\" instead of by \"--\".\n";
    ASSERT_GE(out.size(), tail.size());
    EXPECT_EQ(out.substr(out.size() - tail.size()), tail);
    // One line per option, each a long option with its short letter marked.
    const size_t first = out.find("Options are:\n") + 13;
    const size_t last = out.find("<map> is");
    ASSERT_LT(first, last);
    const std::string options = out.substr(first, last - first);
    size_t lines = 0;
    for (size_t at = 0; at < options.size(); at = options.find('\n', at) + 1) {
        EXPECT_EQ(options.compare(at, 4, "  --"), 0) << options.substr(at);
        EXPECT_NE(options.find('<', at), std::string::npos);
        lines++;
    }
    EXPECT_EQ(lines, 16u);
}

TEST(Usage, ProgramWithoutDirectoryIsShownAsGiven)
{
    testing::internal::CaptureStdout();
    show_usage("zterm");
    EXPECT_NE(testing::internal::GetCapturedStdout().find("Usage is: zterm [options]"),
              std::string::npos);
}
