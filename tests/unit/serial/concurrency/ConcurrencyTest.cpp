// Every probe thread of a scan opens, configures and closes its own port at
// the same time as the others; the settings table and the write size are
// shared by all of them.
#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "ComPortBase.h"
#include "ComPortBaseLinux.h"
#include "PtyPair.h"
#include "TermLib.h"

namespace {

constexpr int kThreads = 64;

// Holds every thread until all have started, so that they really run at once.
class StartLine {
public:
    explicit StartLine(int count) : m_waiting(count) {}
    void ArriveAndWait()
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        if (--m_waiting == 0)
            m_go.notify_all();
        else
            m_go.wait(lock, [this] { return m_waiting == 0; });
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_go;
    int m_waiting;
};

struct ProbeOutcome {
    bool opened = false;
    bool error = true;
    std::string command;  // as the modem received it
    std::string reply;    // as the port gathered it
    bool rawAfterClose = false;
    speed_t speedAfterClose = 0;
    bool hupclAfterClose = true;
};

void Probe(int index, StartLine &start, ProbeOutcome &outcome)
{
    PtyPair pty;
    const int baud = index % 2 ? 115200 : 9600;
    start.ArriveAndWait();
    if (!pty.Ok())
        return;
    const std::string command = "AT+CCID;+CSQ " + std::to_string(index) + "\r";
    {
        CComPortBase port(pty.Path(), baud);
        outcome.opened = port.IsOpened();
        port.Write(command);
        outcome.command = pty.ReadMaster(command.size(), 2000);
        pty.WriteMaster("\r\n+CCID: 8986" + std::to_string(index) + "\r\n\r\nOK\r\n");
        for (int poll = 0; poll < 20 && !IsReadFinished(outcome.reply); poll++)
            port.ReadAll(outcome.reply);
        outcome.error = port.IsComError();
        port.Close();
    }
    const termios left = pty.SlaveSettings();
    outcome.rawAfterClose = !(left.c_lflag & ICANON);
    outcome.speedAfterClose = cfgetospeed(&left);
    outcome.hupclAfterClose = (left.c_cflag & HUPCL) != 0;
}

}  // namespace

TEST(Concurrency, SixtyFourPortsOpenConfigureAndCloseAtOnce)
{
    CComPortBase::ResetAllComPort();
    StartLine start(kThreads);
    std::vector<ProbeOutcome> outcomes(kThreads);
    std::vector<std::thread> threads;
    for (int i = 0; i < kThreads; i++)
        threads.emplace_back(Probe, i, std::ref(start), std::ref(outcomes[static_cast<size_t>(i)]));
    for (std::thread &t : threads)
        t.join();

    for (int i = 0; i < kThreads; i++) {
        const ProbeOutcome &o = outcomes[static_cast<size_t>(i)];
        SCOPED_TRACE("port " + std::to_string(i));
        EXPECT_TRUE(o.opened);
        EXPECT_FALSE(o.error);
        EXPECT_EQ(o.command, "AT+CCID;+CSQ " + std::to_string(i) + "\r");
        EXPECT_EQ(o.reply, "\r\n+CCID: 8986" + std::to_string(i) + "\r\n\r\nOK\r\n");
        EXPECT_TRUE(o.rawAfterClose);
        EXPECT_EQ(o.speedAfterClose, i % 2 ? speed_t(B115200) : speed_t(B9600));
        EXPECT_FALSE(o.hupclAfterClose);
    }
    const int size = tty_write_sz;
    EXPECT_TRUE(size == 960 || size == 11520) << size;

    // Every port was forgotten on close: every descriptor number that the
    // threads used (three each) can be registered again, none is still taken
    // by a leftover registration.
    PtyPair pty;
    ASSERT_TRUE(pty.Ok());
    std::vector<int> fds;
    for (int i = 0; i < 4 * kThreads; i++) {
        fds.push_back(dup(pty.Slave()));
        EXPECT_EQ(term_add(fds.back()), 0) << i;
    }
    term_lib_init();
    for (int fd : fds)
        close(fd);
}

TEST(Concurrency, EachThreadReadsItsOwnLibraryError)
{
    CComPortBase::ResetAllComPort();
    StartLine start(kThreads);
    std::atomic<int> wrong{0};
    std::vector<std::thread> threads;
    for (int i = 0; i < kThreads; i++) {
        threads.emplace_back([i, &start, &wrong] {
            PtyPair pty;
            start.ArriveAndWait();
            for (int round = 0; round < 20; round++) {
                // Half the threads fail on the speed, half on the parity.
                const bool badSpeed = i % 2 == 0;
                const int r = term_set(pty.Slave(), 1, badSpeed ? 14400 : 9600,
                                       badSpeed ? P_NONE : 9, 8, 1, FC_NONE, 1, 1);
                const int expected = badSpeed ? TERM_EBAUD : TERM_EPARITY;
                if (r != -1 || term_errno != expected)
                    wrong++;
                if (term_set(pty.Slave(), 1, 9600, P_NONE, 8, 1, FC_NONE, 1, 1) != 0 ||
                    term_apply(pty.Slave(), 1) != 0 ||
                    term_get_baudrate(pty.Slave(), nullptr) != 9600 ||
                    term_erase(pty.Slave()) != 0)
                    wrong++;
            }
        });
    }
    for (std::thread &t : threads)
        t.join();
    EXPECT_EQ(wrong, 0);
}
