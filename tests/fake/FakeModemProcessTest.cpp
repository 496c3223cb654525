// The standalone fake_modem: configured by a file, announces its slave
// paths, answers on them, writes its record, ends with its lifeline.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "FakeConfig.h"
#include "FakeLine.h"
#include "FakePool.h"

namespace {
const char kFakeModem[] = FAKE_MODEM_BINARY;

class FakeModemProcess {
public:
    ~FakeModemProcess()
    {
        CloseLifeline();
        if (m_pid > 0 && !WaitExit(2000)) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, nullptr, 0);
        }
        if (m_out >= 0)
            close(m_out);
    }

    bool Start(const std::vector<std::string> &args)
    {
        int in[2], out[2];
        if (pipe2(in, O_CLOEXEC) != 0 || pipe2(out, O_CLOEXEC) != 0)
            return false;
        std::vector<char *> argv;
        argv.push_back(const_cast<char *>(kFakeModem));
        for (const std::string &a : args)
            argv.push_back(const_cast<char *>(a.c_str()));
        argv.push_back(nullptr);
        m_pid = fork();
        if (m_pid == 0) {
            dup2(in[0], 0);
            dup2(out[1], 1);
            execv(kFakeModem, argv.data());
            _exit(127);
        }
        close(in[0]);
        close(out[1]);
        m_lifeline = in[1];
        m_out = out[0];
        return m_pid > 0;
    }

    // Reads standard output until "ready\n" or the time is up.
    std::string ReadUntilReady(int timeoutMs)
    {
        std::string text;
        const long long deadline = FakeNowMs() + timeoutMs;
        while (text.find("ready\n") == std::string::npos && FakeNowMs() < deadline) {
            pollfd p{m_out, POLLIN, 0};
            if (poll(&p, 1, 100) <= 0)
                continue;
            char buf[512];
            const ssize_t r = read(m_out, buf, sizeof buf);
            if (r <= 0)
                break;
            text.append(buf, static_cast<std::size_t>(r));
        }
        return text;
    }

    void CloseLifeline()
    {
        if (m_lifeline >= 0)
            close(m_lifeline);
        m_lifeline = -1;
    }

    bool WaitExit(int timeoutMs)
    {
        const long long deadline = FakeNowMs() + timeoutMs;
        while (m_pid > 0 && FakeNowMs() < deadline) {
            int status = 0;
            if (waitpid(m_pid, &status, WNOHANG) == m_pid) {
                m_status = status;
                m_pid = -1;
                return true;
            }
            usleep(10000);
        }
        return m_pid <= 0;
    }
    int Status() const { return m_status; }

private:
    pid_t m_pid = -1;
    int m_lifeline = -1;
    int m_out = -1;
    int m_status = -1;
};

std::string TempDir()
{
    char dir[] = "/tmp/fake-modem-test.XXXXXX";
    return mkdtemp(dir) ? dir : "";
}

std::string ReadFile(const std::string &path)
{
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::vector<std::string> SlavePaths(const std::string &announce)
{
    std::vector<std::string> paths;
    std::istringstream in(announce);
    std::string first, path;
    while (in >> first && first != "ready" && in >> path)
        paths.push_back(path);
    return paths;
}

TEST(FakeModemProcessTest, ServesTheFakesOfItsConfigFile)
{
    const std::string dir = TempDir();
    ASSERT_FALSE(dir.empty());
    FakeConfig tarnel;
    tarnel.echo = false;
    tarnel.record = dir + "/tarnel.record";
    FakeConfig sudrel;
    sudrel.model = FakeModel::Sudrel;
    sudrel.baud = FakeBaud::Only9600;
    {
        std::ofstream(dir + "/fakes.json") << FakeConfigsToJson({tarnel, sudrel});
    }

    FakeModemProcess p;
    ASSERT_TRUE(p.Start({"--config", dir + "/fakes.json", "--lifetime", "30", "--stdin-lifeline"}));
    const std::vector<std::string> paths = SlavePaths(p.ReadUntilReady(5000));
    ASSERT_EQ(paths.size(), 2u);

    FakeLine line;
    ASSERT_TRUE(line.Open(paths[0], 115200));
    EXPECT_EQ(line.Ask("ATI\r\n"), "\r\nQuectel_Ltd\r\nQuectel_M35\r\nRevision: M35FBR02A03\r\n\r\nOK\r\n");
    EXPECT_EQ(line.Ask("AT+CMGS=13\r", 300), "\r\n> ");
    EXPECT_EQ(line.Ask("0491214365110005818967F50008AA020041\x1A"), "\r\n+CMGS: 0\r\n\r\nOK\r\n");
    FakeLine cdma;
    ASSERT_TRUE(cdma.Open(paths[1], 9600));
    EXPECT_EQ(cdma.Ask("AT\r\n"), "AT\r\r\nOK\r\n");

    p.CloseLifeline();
    ASSERT_TRUE(p.WaitExit(3000));
    EXPECT_TRUE(WIFEXITED(p.Status()) && WEXITSTATUS(p.Status()) == 0);

    const FakeRecord r = ParseRecordLines(ReadFile(tarnel.record));
    EXPECT_EQ(r.CommandTexts(), (std::vector<std::string>{"ATI", "AT+CMGS=13"}));
    ASSERT_EQ(r.submissions.size(), 1u);
    EXPECT_TRUE(r.submissions[0].accepted);
    EXPECT_EQ(r.submissions[0].baud, 115200);
    std::remove(tarnel.record.c_str());
    std::remove((dir + "/fakes.json").c_str());
    rmdir(dir.c_str());
}

TEST(FakeModemProcessTest, EndsWhenItsLifetimeIsOver)
{
    const std::string dir = TempDir();
    {
        std::ofstream(dir + "/fakes.json") << FakeConfigsToJson({FakeConfig()});
    }
    FakeModemProcess p;
    ASSERT_TRUE(p.Start({"--config", dir + "/fakes.json", "--lifetime", "1"}));
    EXPECT_NE(p.ReadUntilReady(5000).find("ready"), std::string::npos);
    EXPECT_TRUE(p.WaitExit(4000));
    std::remove((dir + "/fakes.json").c_str());
    rmdir(dir.c_str());
}

TEST(FakeModemProcessTest, RefusesABadConfig)
{
    const std::string dir = TempDir();
    {
        std::ofstream(dir + "/fakes.json") << R"({"fakes":[{"model":"Nokia"}]})";
    }
    FakeModemProcess p;
    ASSERT_TRUE(p.Start({"--config", dir + "/fakes.json"}));
    EXPECT_EQ(p.ReadUntilReady(3000), "");
    ASSERT_TRUE(p.WaitExit(3000));
    EXPECT_EQ(WEXITSTATUS(p.Status()), 1);
    std::remove((dir + "/fakes.json").c_str());
    rmdir(dir.c_str());
}
}  // namespace
