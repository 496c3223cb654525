// The console text encoding that the codec tests write their texts in: UTF-8
// on Linux (the user's locale pinned to C.UTF-8 while an object lives, then
// put back), the ANSI code page on Windows (the system's, nothing to pin).
// Tests write Chinese text as literals, which each build stores in its
// console encoding.
#ifndef ZARVEX_TEST_CONSOLE_ENVIRONMENT_H
#define ZARVEX_TEST_CONSOLE_ENVIRONMENT_H

#include <string>

class ConsoleEnvironment {
public:
    ConsoleEnvironment();
    ~ConsoleEnvironment();
    ConsoleEnvironment(const ConsoleEnvironment &) = delete;
    ConsoleEnvironment &operator=(const ConsoleEnvironment &) = delete;

private:
    std::string m_locale, m_env;
    bool m_hadEnv = false;
};

#endif
