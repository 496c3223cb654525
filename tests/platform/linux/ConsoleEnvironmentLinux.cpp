#include "ConsoleEnvironment.h"

#include <clocale>
#include <cstdlib>

// The send flow runs under the user's locale; the tests pin a UTF-8 one.
ConsoleEnvironment::ConsoleEnvironment()
{
    m_locale = std::setlocale(LC_ALL, nullptr);
    const char *env = std::getenv("LC_ALL");
    m_hadEnv = env != nullptr;
    if (m_hadEnv)
        m_env = env;
    setenv("LC_ALL", "C.UTF-8", 1);
}

ConsoleEnvironment::~ConsoleEnvironment()
{
    if (m_hadEnv)
        setenv("LC_ALL", m_env.c_str(), 1);
    else
        unsetenv("LC_ALL");
    std::setlocale(LC_ALL, m_locale.c_str());
}
