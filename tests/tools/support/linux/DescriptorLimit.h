// The process's descriptor limit (RLIMIT_NOFILE), set for a test's span:
// lowered to see how a port fares when the process runs out of descriptors,
// or raised for a test that opens hundreds of ports.
#ifndef ZARVEX_TEST_DESCRIPTOR_LIMIT_H
#define ZARVEX_TEST_DESCRIPTOR_LIMIT_H

#include <fcntl.h>
#include <pty.h>
#include <sys/resource.h>
#include <unistd.h>

#include <memory>
#include <vector>

#include "TermLib.h"

// The soft limit now in force.
inline rlim_t DescriptorSoftLimit()
{
    rlimit limit {};
    getrlimit(RLIMIT_NOFILE, &limit);
    return limit.rlim_cur;
}

// The number the next open will get: an open fails once the limit is no
// greater than it. RLIM_INFINITY when no descriptor can be opened now.
inline rlim_t NextDescriptorNumber()
{
    const int fd = open("/dev/null", O_RDONLY);
    if (fd < 0)
        return RLIM_INFINITY;
    close(fd);
    return static_cast<rlim_t>(fd);
}

class ScopedDescriptorLimit {
public:
    // Raising the soft limit above the hard one raises that too (root only).
    explicit ScopedDescriptorLimit(rlim_t soft)
    {
        m_ok = getrlimit(RLIMIT_NOFILE, &m_saved) == 0;
        rlimit limit = m_saved;
        limit.rlim_cur = soft;
        if (limit.rlim_max != RLIM_INFINITY && limit.rlim_max < soft)
            limit.rlim_max = soft;
        m_ok = m_ok && setrlimit(RLIMIT_NOFILE, &limit) == 0;
    }
    ~ScopedDescriptorLimit()
    {
        if (m_ok)
            setrlimit(RLIMIT_NOFILE, &m_saved);
    }
    ScopedDescriptorLimit(const ScopedDescriptorLimit &) = delete;
    ScopedDescriptorLimit &operator=(const ScopedDescriptorLimit &) = delete;

    bool Ok() const { return m_ok; }

private:
    rlimit m_saved {};
    bool m_ok = false;
};

// The line settings table filled up to the process's descriptor limit: as
// many descriptors of a terminal of its own registered as the limit, lowered
// for the object's life, allows. A few descriptor numbers below the limit
// stay free, so a port still opens but the table turns it away, and the
// sanitizers' own checks still get the descriptors they open.
class FullSettingsTable {
public:
    FullSettingsTable()
    {
        if (openpty(&m_master, &m_slave, nullptr, nullptr, nullptr) != 0)
            return;
        std::vector<int> free;
        for (int i = 0; i < kFreeNumbers; i++)
            free.push_back(dup(m_slave));
        for (int i = 0; i < kRegistered; i++) {
            const int fd = dup(m_slave);
            if (fd < 0 || term_add(fd) != 0)
                return;
            m_registered.push_back(fd);
        }
        for (int fd : free)
            close(fd);
        m_limit = std::make_unique<ScopedDescriptorLimit>(kRegistered);
        m_ok = m_limit->Ok() && NextDescriptorNumber() < static_cast<rlim_t>(kRegistered);
    }
    ~FullSettingsTable()
    {
        m_limit.reset();
        while (!m_registered.empty())
            FreeOneSlot();
        close(m_slave);
        close(m_master);
    }
    FullSettingsTable(const FullSettingsTable &) = delete;
    FullSettingsTable &operator=(const FullSettingsTable &) = delete;

    bool Ok() const { return m_ok; }
    void FreeOneSlot()
    {
        term_erase(m_registered.back());
        close(m_registered.back());
        m_registered.pop_back();
    }

private:
    static constexpr int kFreeNumbers = 8;
    // Above every number the process has open before, the free ones included.
    static constexpr int kRegistered = 256;

    int m_master = -1;
    int m_slave = -1;
    std::vector<int> m_registered;
    std::unique_ptr<ScopedDescriptorLimit> m_limit;
    bool m_ok = false;
};

#endif
