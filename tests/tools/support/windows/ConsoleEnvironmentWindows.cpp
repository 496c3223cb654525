#include "ConsoleEnvironment.h"

#include <windows.h>

// The ANSI code page belongs to the system (936 under Wine with a Chinese
// LANG); a process cannot pin another one.
ConsoleEnvironment::ConsoleEnvironment() = default;

ConsoleEnvironment::~ConsoleEnvironment() = default;

void UseConsoleEnvironment()
{
}

std::string ConsoleText(const std::string &utf8)
{
    if (utf8.empty())
        return std::string();
    const int units = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(units), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), &wide[0], units);
    const int bytes = WideCharToMultiByte(CP_ACP, 0, wide.data(), units, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), units, &out[0], bytes, nullptr, nullptr);
    return out;
}

std::string DecodedConsoleText(const std::string &utf8)
{
    const std::string text = ConsoleText(utf8);
    return text.size() <= 160 ? text : std::string();
}

const std::size_t kConsoleBytesPerChinese = 2;
const bool kPushTextReachesRecord = true;
