// The standalone fake_modem as a child process: writes its config file,
// starts it with a lifeline on its standard input, learns the slave paths
// from its announcement and reads back each fake's record.
#ifndef ZARVEX_FAKE_MODEM_PROCESS_H
#define ZARVEX_FAKE_MODEM_PROCESS_H

#include <sys/types.h>

#include <string>
#include <vector>

#include "FakeConfig.h"
#include "FakeRecord.h"

class FakeModemProcess {
public:
    // `binary`: the fake_modem executable.
    explicit FakeModemProcess(std::string binary) : m_binary(std::move(binary)) {}
    ~FakeModemProcess();
    FakeModemProcess(const FakeModemProcess &) = delete;
    FakeModemProcess &operator=(const FakeModemProcess &) = delete;

    // Writes the configs (with a record file and a phonebook file per fake
    // unless they are named) to a fresh directory and starts the fakes. A
    // named phonebook file outlives this object: a later process given the
    // same file finds the entries this one left. The process ends by itself
    // after lifetimeSeconds, or when this object goes.
    bool Start(std::vector<FakeConfig> configs, int lifetimeSeconds, std::string *error);
    // Ends it (the lifeline closes), waits a bounded time, kills if need be.
    // Returns true when it ended by itself with status 0.
    bool Stop();
    // Waits up to timeoutMs for it to end by itself (its lifetime over).
    bool EndsWithin(int timeoutMs);

    std::size_t Size() const { return m_slaves.size(); }
    const std::string &SlavePath(std::size_t i) const { return m_slaves[i]; }
    FakeRecord Record(std::size_t i) const;
    // The phonebook as the fake last wrote it to its file.
    std::vector<PhonebookEntry> Phonebook(std::size_t i) const;
    const std::string &PhonebookFile(std::size_t i) const { return m_phonebooks[i]; }
    const std::string &Directory() const { return m_dir; }

private:
    std::string m_binary;
    std::string m_dir;
    std::vector<std::string> m_files;  // what Start wrote, removed at the end
    std::vector<std::string> m_records;
    std::vector<std::string> m_phonebooks;
    std::vector<std::string> m_slaves;
    pid_t m_pid = -1;
    int m_lifeline = -1;
    int m_out = -1;
};

#endif
