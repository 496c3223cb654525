// The console text encoding that the codec tests write their texts in: UTF-8
// on Linux (the user's locale pinned to C.UTF-8 while an object lives, then
// put back), the ANSI code page on Windows (the system's, nothing to pin).
// Tests write Chinese text as literals, which each build stores in its
// console encoding.
#ifndef ZARVEX_TEST_CONSOLE_ENVIRONMENT_H
#define ZARVEX_TEST_CONSOLE_ENVIRONMENT_H

#include <cstddef>
#include <string>

// A UTF-8 text in the console's encoding, converted independently of the code
// under test: Linux unchanged; Windows the ANSI code page, '?' for what the
// code page lacks.
std::string ConsoleText(const std::string &utf8);

// What the UCS2 decoders write of a text: the console text, or on Windows
// nothing when it passes the decoder's cap of 160 bytes.
std::string DecodedConsoleText(const std::string &utf8);

// Bytes of one Chinese character in the console's encoding (3 in UTF-8, 2 in
// code page 936).
extern const std::size_t kConsoleBytesPerChinese;

// Whether a WAP push message's text reaches its decoded record: the Windows
// build converts it, the Linux build leaves it out.
extern const bool kPushTextReachesRecord;

// For the rest of the process (Linux: LC_ALL=en_US.UTF-8).
void UseConsoleEnvironment();

// For as long as the object lives (Linux: LC_ALL=C.UTF-8, put back after).
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
