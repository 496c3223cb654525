// A pseudo-terminal pair for one fake: the fake answers on the master, the
// program opens the slave path as its serial device. The fake keeps a slave
// descriptor of its own so that the line never hangs up between the
// program's opens, and reads through it the speed the program set.
#ifndef ZARVEX_FAKE_PTY_H
#define ZARVEX_FAKE_PTY_H

#include <string>

class FakePty {
public:
    FakePty() = default;
    ~FakePty();
    FakePty(const FakePty &) = delete;
    FakePty &operator=(const FakePty &) = delete;

    bool Open(std::string *error);
    void Close();
    bool IsOpen() const { return m_master >= 0; }

    int Master() const { return m_master; }
    const std::string &SlavePath() const { return m_slavePath; }
    // The output speed of the slave's settings in bits per second (0 when
    // unknown); the program sets it with tcsetattr on its own descriptor.
    int Baud() const;
    // Bytes written to the program and not yet read by it.
    int InputPending() const;

private:
    int m_master = -1;
    int m_slave = -1;
    std::string m_slavePath;
};

// speed_t constant to bits per second, and back (0 / B0 when unknown).
int SpeedToBaud(unsigned speed);
unsigned BaudToSpeed(int baud);

#endif
