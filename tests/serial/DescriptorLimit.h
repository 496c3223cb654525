// The process's descriptor limit (RLIMIT_NOFILE), set for a test's span:
// lowered to see how a port fares when the process runs out of descriptors,
// or raised for a test that opens hundreds of ports.
#ifndef ZARVEX_TEST_DESCRIPTOR_LIMIT_H
#define ZARVEX_TEST_DESCRIPTOR_LIMIT_H

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

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

#endif
