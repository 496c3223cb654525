// Whether the menu can read a key, with standard input where a scheduler or
// a script leaves it: the NUL device, a pipe, a file. None is a console, so
// no key comes and none is waited for.
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <chrono>
#include <cstdio>

#include <gtest/gtest.h>

#include "CheckManagerMenu.h"

namespace {

// Standard input's descriptor on another file for the test's length.
class RedirectedInput {
public:
    explicit RedirectedInput(int fd) : m_saved(_dup(0))
    {
        std::fflush(stdin);
        m_ok = fd >= 0 && _dup2(fd, 0) == 0;
        if (fd >= 0)
            _close(fd);
    }
    ~RedirectedInput()
    {
        _dup2(m_saved, 0);
        _close(m_saved);
        std::clearerr(stdin);
    }
    RedirectedInput(const RedirectedInput &) = delete;
    RedirectedInput &operator=(const RedirectedInput &) = delete;
    bool ok() const { return m_ok; }

private:
    int m_saved;
    bool m_ok = false;
};

int EmptyPipeReadEnd()
{
    int ends[2] = {-1, -1};
    if (_pipe(ends, 64, _O_BINARY) != 0)
        return -1;
    _close(ends[1]);
    return ends[0];
}

int ThisProgramAsFile()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return _open(path, _O_RDONLY | _O_BINARY);
}

void ExpectNoKey(const char *what, int fd)
{
    SCOPED_TRACE(what);
    const RedirectedInput input(fd);
    ASSERT_TRUE(input.ok());
    EXPECT_FALSE(IsInputTerminal());
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(ReadMenuKey(), -1);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
}

// The NUL device is a character device, which the C runtime's _isatty takes
// for a terminal.
TEST(MenuKeyTest, NoConsoleInputNoKey)
{
    ExpectNoKey("NUL", _open("NUL", _O_RDONLY | _O_BINARY));
    ExpectNoKey("empty pipe", EmptyPipeReadEnd());
    ExpectNoKey("file", ThisProgramAsFile());
}

}  // namespace
