#include <cstring>
#include <iostream>

#include "CheckManager.h"

namespace {
const char *const kHelpWords[] = {"help", "/?", "-help", "--help", "-h", "--h"};
const char *const kVersionWords[] = {"version", "-version", "--version", "v", "-v"};

template <std::size_t N>
bool IsOneOf(const char *arg, const char *const (&words)[N])
{
    for (const char *word : words)
        if (std::strcmp(arg, word) == 0)
            return true;
    return false;
}
}  // namespace

int main(int argc, char **argv)
{
    std::cout << std::endl;
    CCheckManager::InitLog();
    CCheckManager manager;
    CCheckManager::InitConsoleSize();

    if (argc == 1) {
        manager.Start();
    } else if (argc == 2 && IsOneOf(argv[1], kHelpWords)) {
        manager.PrintHelpInfo();
    } else if (argc == 2 && IsOneOf(argv[1], kVersionWords)) {
        CCheckManager::OnAbout();
    } else {
        manager.OnCmdParams(argc, argv);
    }
    return 0;
}
