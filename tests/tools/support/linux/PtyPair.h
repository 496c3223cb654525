// A pseudo-terminal for the tests: the port opens the slave by its path, the
// test plays the modem on the master.
#ifndef ZARVEX_TEST_PTY_PAIR_H
#define ZARVEX_TEST_PTY_PAIR_H

#include <termios.h>

#include <string>

class PtyPair {
public:
    PtyPair();  // check Ok()
    ~PtyPair();
    PtyPair(const PtyPair &) = delete;
    PtyPair &operator=(const PtyPair &) = delete;

    bool Ok() const { return m_master >= 0 && m_slave >= 0; }
    int Master() const { return m_master; }
    // A descriptor of the slave kept open by the test, so that the terminal
    // and its settings outlive the port.
    int Slave() const { return m_slave; }
    const std::string &Path() const { return m_path; }

    bool WriteMaster(const std::string &data);
    // Reads what the port wrote until `bytes` have come or `timeoutMs` passed.
    std::string ReadMaster(size_t bytes, int timeoutMs);
    termios SlaveSettings() const;
    void CloseMaster();  // the device vanishes

private:
    int m_master = -1;
    int m_slave = -1;
    std::string m_path;
};

// Whether a terminal's settings are as before: its modes and its speeds, what
// a program that opened it and gave it up could leave changed.
bool SameSettings(const termios &a, const termios &b);

#endif
