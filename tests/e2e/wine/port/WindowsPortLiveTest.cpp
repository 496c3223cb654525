// The Win32 serial port and probe tests of tests/unit/windows-port that need live
// lines (the suites named *LineTest), run under Wine against fakes: a modem
// on COM11 (ZARVEX_TEST_COM) and a port that never answers on COM12
// (ZARVEX_TEST_SILENT_COM). Every one of them must run and pass, none be
// skipped; the modem tests run once per module family the probe tells apart.
#include <unistd.h>

#include <map>
#include <set>

#include <gtest/gtest.h>

#include "WineHarness.h"

namespace {

const std::string kPortTests = WindowsProgram("tests/unit/windows-port/windows_port_tests.exe");
constexpr char kLineTests[] = "--gtest_filter=*LineTest.*";
constexpr char kModemLineTests[] = "--gtest_filter=ModemLineTest.*";
const WineRunOptions kLines = {"", 120000, {"ZARVEX_TEST_COM=COM11", "ZARVEX_TEST_SILENT_COM=COM12"}, ""};

// The test names a GoogleTest listing (--gtest_list_tests) gives.
std::set<std::string> Listed(const std::string &listing)
{
    std::set<std::string> names;
    std::string suite;
    std::size_t start = 0;
    while (start < listing.size()) {
        std::size_t end = listing.find('\n', start);
        if (end == std::string::npos)
            end = listing.size();
        std::string line = listing.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty())
            continue;
        if (line[0] != ' ') {
            suite = line;
        } else {
            const std::size_t name = line.find_first_not_of(' ');
            names.insert(suite + line.substr(name, line.find(' ', name) - name));
        }
    }
    return names;
}

// The names after a result tag ("[       OK ]", "[  SKIPPED ]") in a run.
std::set<std::string> WithResult(const std::string &output, const std::string &tag)
{
    std::set<std::string> names;
    for (std::size_t at = output.find(tag); at != std::string::npos; at = output.find(tag, at + 1)) {
        const std::size_t begin = at + tag.size() + 1;
        const std::size_t end = output.find_first_of(" \r\n", begin);
        names.insert(output.substr(begin, end - begin));
    }
    return names;
}

class WindowsPortLiveTest : public testing::Test {
protected:
    void SetUp() override
    {
        if (geteuid() != 0)
            GTEST_SKIP() << "Wine runs in a private mount namespace, which needs root";
    }

    // Runs the filtered tests against a modem of that model and expects
    // each one listed to pass.
    void RunLineTests(FakeModel model, const char *filter, bool silentPortProbed)
    {
        WineHarness h;
        h.AddFake(11, ModemFake(model)).AddFake(12, ModemFake(FakeModel::Silent));
        std::string error;
        ASSERT_TRUE(h.Start(&error)) << error;
        std::set<std::string> &expected = m_listed[filter];
        if (expected.empty()) {
            const NamespaceResult listing = h.Run(kPortTests, {"--gtest_list_tests", filter});
            ASSERT_EQ(listing.exitStatus, 0) << listing.err;
            expected = Listed(listing.out);
            ASSERT_FALSE(expected.empty()) << listing.out;
        }

        const NamespaceResult r = h.Run(kPortTests, {filter}, kLines);
        EXPECT_EQ(r.exitStatus, 0) << FakeModelName(model) << "\n" << r.out << r.err;
        EXPECT_EQ(WithResult(r.out, "[       OK ]"), expected) << FakeModelName(model) << "\n" << r.out;
        EXPECT_TRUE(WithResult(r.out, "[  SKIPPED ]").empty()) << r.out;
        EXPECT_FALSE(h.Record(11).commands.empty());
        if (silentPortProbed) {
            EXPECT_FALSE(h.Record(12).commands.empty());
        }
    }

    std::map<std::string, std::set<std::string>> m_listed;  // by filter
};

TEST_F(WindowsPortLiveTest, EveryLineTestPassesOnLiveLines)
{
    RunLineTests(FakeModel::Pimsor, kLineTests, true);
}

TEST_F(WindowsPortLiveTest, TheModemTestsPassOnEachModuleFamily)
{
    for (FakeModel model : {FakeModel::Tarnel, FakeModel::VelkorNc5, FakeModel::VelkorMe, FakeModel::Orvast,
                            FakeModel::OrvastWismoq, FakeModel::OrvastOther, FakeModel::Siemens, FakeModel::Sudrel,
                            FakeModel::SudrelNoSerial, FakeModel::UnknownAti}) {
        SCOPED_TRACE(FakeModelName(model));
        RunLineTests(model, kModemLineTests, false);
    }
}

}  // namespace
