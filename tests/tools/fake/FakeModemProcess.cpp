#include "FakeModemProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "ChildProcess.h"
#include "FakePool.h"

namespace {
constexpr int kReadyTimeoutMs = 10000;
constexpr int kStopTimeoutMs = 3000;
constexpr int kWaitPollMs = 10;

std::string ReadFile(const std::string &path)
{
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}
}  // namespace

FakeModemProcess::~FakeModemProcess()
{
    Stop();
    for (const std::string &f : m_files)
        std::remove(f.c_str());
    if (!m_dir.empty())
        rmdir(m_dir.c_str());
}

bool FakeModemProcess::Start(std::vector<FakeConfig> configs, int lifetimeSeconds, std::string *error)
{
    char dir[] = "/tmp/zarvex-fakes.XXXXXX";
    if (!mkdtemp(dir)) {
        *error = "mkdtemp failed";
        return false;
    }
    m_dir = dir;
    for (std::size_t i = 0; i < configs.size(); ++i) {
        if (configs[i].record.empty()) {
            configs[i].record = m_dir + "/fake" + std::to_string(i) + ".record";
            m_files.push_back(configs[i].record);
        }
        m_records.push_back(configs[i].record);
        if (configs[i].phonebookFile.empty()) {
            configs[i].phonebookFile = m_dir + "/fake" + std::to_string(i) + ".phonebook";
            m_files.push_back(configs[i].phonebookFile);
            m_files.push_back(configs[i].phonebookFile + ".new");
        }
        m_phonebooks.push_back(configs[i].phonebookFile);
    }
    const std::string configPath = m_dir + "/fakes.json";
    m_files.push_back(configPath);
    {
        std::ofstream out(configPath);
        out << FakeConfigsToJson(configs);
        if (!out) {
            *error = "cannot write " + configPath;
            return false;
        }
    }

    int in[2], out[2];
    if (pipe2(in, O_CLOEXEC) != 0 || pipe2(out, O_CLOEXEC) != 0) {
        *error = "pipe failed";
        return false;
    }
    ChildLaunch launch;
    launch.argv = {m_binary, "--config", configPath, "--lifetime", std::to_string(lifetimeSeconds),
                   "--stdin-lifeline"};
    launch.in = in[0];
    launch.out = out[1];
    launch.dieWithParent = true;
    m_pid = StartChild(launch);
    close(in[0]);
    close(out[1]);
    m_lifeline = in[1];
    m_out = out[0];
    if (m_pid < 0) {
        *error = "fork failed";
        return false;
    }

    std::string announce;
    const long long deadline = FakeNowMs() + kReadyTimeoutMs;
    while (announce.find("ready\n") == std::string::npos) {
        const long long left = deadline - FakeNowMs();
        if (left <= 0) {
            *error = "fake_modem did not get ready";
            return false;
        }
        pollfd p{m_out, POLLIN, 0};
        if (poll(&p, 1, static_cast<int>(left)) <= 0)
            continue;
        char buf[1024];
        const ssize_t r = read(m_out, buf, sizeof buf);
        if (r <= 0) {
            *error = "fake_modem ended before it was ready (see its standard error)";
            return false;
        }
        announce.append(buf, static_cast<std::size_t>(r));
    }
    std::istringstream lines(announce);
    std::string number, path;
    while (lines >> number && number != "ready" && lines >> path)
        m_slaves.push_back(path);
    if (m_slaves.size() != configs.size()) {
        *error = "fake_modem announced " + std::to_string(m_slaves.size()) + " fakes";
        return false;
    }
    return true;
}

bool FakeModemProcess::Stop()
{
    if (m_lifeline >= 0)
        close(m_lifeline);
    m_lifeline = -1;
    bool clean = false;
    if (m_pid > 0) {
        int status = 0;
        clean = EndChild(m_pid, kStopTimeoutMs, &status, kWaitPollMs) && WIFEXITED(status) &&
                WEXITSTATUS(status) == 0;
        m_pid = -1;
    }
    if (m_out >= 0)
        close(m_out);
    m_out = -1;
    return clean;
}

bool FakeModemProcess::EndsWithin(int timeoutMs)
{
    if (m_pid <= 0)
        return true;
    int status = 0;
    if (WaitForChild(m_pid, timeoutMs, &status, kWaitPollMs) != m_pid)
        return false;
    m_pid = -1;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

FakeRecord FakeModemProcess::Record(std::size_t i) const
{
    return ParseRecordLines(ReadFile(m_records[i]));
}

std::vector<PhonebookEntry> FakeModemProcess::Phonebook(std::size_t i) const
{
    std::vector<PhonebookEntry> entries;
    bool exists = false;
    std::string error;
    ReadPhonebookFile(m_phonebooks[i], &entries, &exists, &error);
    return entries;
}
