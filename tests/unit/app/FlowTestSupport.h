// Shared pieces of the send, read and command-line tests: a manager whose
// mode and results are in reach, target-port records for fakes, coloured
// texts as the console receives them, and a watch on whether a path is ever
// opened.
#ifndef ZARVEX_FLOW_TEST_SUPPORT_H
#define ZARVEX_FLOW_TEST_SUPPORT_H

#include <sys/inotify.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "AppTestSupport.h"

namespace flow_test {

class FlowManager : public CCheckManager {
public:
    void SetInteractive(bool interactive) { m_bInteractive = interactive; }
    const std::vector<SendSmsResult_t> &Results() const { return m_sendResultVec; }
    std::vector<SendSmsResult_t> &MutableResults() { return m_sendResultVec; }
};

inline std::string Green(const std::string &text)
{
    return "\033[1m\033[32m" + text + "\033[0m";
}

inline std::string Red(const std::string &text)
{
    return "\033[1m\033[31m" + text + "\033[0m";
}

// A target port as the port choice takes it over from a fully read row.
inline ComPortBaseInfo_t Target(const std::string &path, PHONE_TYPE_t type = PHONE_TYPE_TARNEL)
{
    ComPortBaseInfo_t port;
    port.comPath = path;
    port.baudRate = 9600;
    port.isAtOk = true;
    port.smsCardNumber = "89860012345678901234";
    port.signalStrength = " 20,99";
    port.serialNumber = "866123456789012";
    port.phoneType = type;
    port.isPortExist = true;
    return port;
}

// How the console shows a port: its path without "/dev/".
inline std::string ShownName(const std::string &path)
{
    return path.substr(5);
}

// A file that reports whether anything opened it while the watch lived.
class OpenWatch {
public:
    OpenWatch()
    {
        char pattern[] = "/tmp/zx-open-XXXXXX";
        const int fd = mkstemp(pattern);
        if (fd >= 0) {
            close(fd);
            m_path = pattern;
            m_inotify = inotify_init1(IN_NONBLOCK);
            if (m_inotify >= 0 && inotify_add_watch(m_inotify, m_path.c_str(), IN_OPEN) < 0) {
                close(m_inotify);
                m_inotify = -1;
            }
        }
    }
    ~OpenWatch()
    {
        if (m_inotify >= 0)
            close(m_inotify);
        if (!m_path.empty())
            unlink(m_path.c_str());
    }
    OpenWatch(const OpenWatch &) = delete;
    OpenWatch &operator=(const OpenWatch &) = delete;

    bool Ok() const { return m_inotify >= 0; }
    const std::string &Path() const { return m_path; }
    bool WasOpened() const
    {
        alignas(inotify_event) char buffer[4096];
        return read(m_inotify, buffer, sizeof buffer) > 0;
    }

private:
    std::string m_path;
    int m_inotify = -1;
};

}  // namespace flow_test

#endif
