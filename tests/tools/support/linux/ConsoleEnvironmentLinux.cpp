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

void UseConsoleEnvironment()
{
    setenv("LC_ALL", "en_US.UTF-8", 1);
}

std::string ConsoleText(const std::string &utf8) { return utf8; }

std::string DecodedConsoleText(const std::string &utf8) { return utf8; }

const std::size_t kConsoleBytesPerChinese = 3;
const bool kPushTextReachesRecord = false;
