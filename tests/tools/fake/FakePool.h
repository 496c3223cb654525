// Many fakes served by one loop: poll over every master, timed reply pieces,
// dropped lines. In-process the loop runs on its own thread (Start/Stop);
// the standalone fake_modem runs it on its main thread (Run).
#ifndef ZARVEX_FAKE_POOL_H
#define ZARVEX_FAKE_POOL_H

#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "FakeConfig.h"
#include "FakePty.h"
#include "FakeRecord.h"
#include "FakeSession.h"

class FakePool {
public:
    FakePool();
    ~FakePool();
    FakePool(const FakePool &) = delete;
    FakePool &operator=(const FakePool &) = delete;

    // Before Start or Run only. Opens the pty and, when the config names
    // one, truncates the record file; when it names a phonebook file, takes
    // the phonebook from it (or writes it). Returns the fake's number or -1.
    int Add(const FakeConfig &config, std::string *error);

    bool Start(std::string *error);  // the loop on a thread of its own
    void Stop();                     // ends and joins it; idempotent

    // The loop on the calling thread until deadlineMs (monotonic) passes, a
    // stop fd becomes readable or hangs up, or Stop is called from elsewhere.
    void Run(long long deadlineMs, const std::vector<int> &stopFds);

    std::size_t Size() const { return m_fakes.size(); }
    std::string SlavePath(std::size_t i) const { return m_fakes[i]->slavePath; }
    FakeRecord Record(std::size_t i) const;
    bool Dropped(std::size_t i) const;
    // The fake's phonebook as it stands, kept across the program's opens.
    std::vector<PhonebookEntry> Phonebook(std::size_t i) const;

private:
    struct Pending {
        long long due;
        std::string bytes;
    };
    struct Fake {
        explicit Fake(const FakeConfig &c) : session(c) {}
        FakeSession session;
        FakePty pty;
        std::string slavePath;
        std::deque<Pending> queue;  // scheduled, not yet due
        std::string writing;        // due, not yet taken by the pty
        bool dropAfterFlush = false;
        long long dropDue = -1;
        bool dropped = false;  // guarded by m_lock
        FakeRecord record;     // guarded by m_lock
        std::vector<PhonebookEntry> phonebook;  // guarded by m_lock
        int recordFd = -1;
        std::string phonebookFile;
        long long floodDue = 0;  // when the flood text goes out again
        // A bridge's line (FakeConfig::uartBridge): the packet on its way,
        // when its last byte has crossed the line, and what reached the
        // bridge that the terminal had no room for yet. Its `writing` is
        // what the modem has yet to put on the line.
        std::string packet;
        long long packetDueUs = 0;
        std::string arrived;
    };

    void ServeInput(Fake &f, long long now);
    void ServeOutput(Fake &f, long long now);
    void ServeBridge(Fake &f, long long nowUs);
    void StartPacket(Fake &f, long long startUs);
    void DeliverPacket(Fake &f);
    void Append(Fake &f, const FakeOutput &out, long long now);
    void Flood(Fake &f, long long now);
    long long NextWake(long long now, long long deadline) const;

    std::vector<std::unique_ptr<Fake>> m_fakes;
    mutable std::mutex m_lock;
    int m_wake[2] = {-1, -1};
    bool m_stopRequested = false;  // guarded by m_lock
    std::thread m_thread;
};

// A single in-process fake on its own thread, for tests that drive the
// program's functions against one slave path.
class FakeModem {
public:
    explicit FakeModem(const FakeConfig &config);
    bool Ok() const { return m_ok; }
    const std::string &Error() const { return m_error; }
    std::string SlavePath() const { return m_pool.SlavePath(0); }
    FakeRecord Record() const { return m_pool.Record(0); }
    bool Dropped() const { return m_pool.Dropped(0); }
    std::vector<PhonebookEntry> Phonebook() const { return m_pool.Phonebook(0); }

private:
    FakePool m_pool;
    bool m_ok = false;
    std::string m_error;
};

long long FakeNowMs();

// The state file of a phonebook: written whole under another name, then
// renamed, so that a reader never sees half of it.
bool WritePhonebookFile(const std::string &path, const std::vector<PhonebookEntry> &entries, std::string *error);
// False with an error when the file cannot be read or parsed; `exists`
// tells a missing file apart.
bool ReadPhonebookFile(const std::string &path, std::vector<PhonebookEntry> *entries, bool *exists,
                       std::string *error);

#endif
