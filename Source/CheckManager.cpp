#include "CheckManager.h"

#include <unistd.h>

#include <cstdlib>
#include <iostream>

#include "ColorCout.h"
#include "ComPortBase.h"

pthread_mutex_t vecLock = PTHREAD_MUTEX_INITIALIZER;
std::vector<DeviceBaseComInfo> CCheckManager::g_comVec;

CCheckManager::CCheckManager() = default;

CCheckManager::~CCheckManager() = default;

void CCheckManager::InitLog()
{
}

void CCheckManager::InitConsoleSize()
{
    if (geteuid() != 0) {
        std::cout << std::endl;
        CColorCout::CoutRedMessage("此程序必须以root权限运行");
        std::cout << std::endl;
        std::exit(1);
    }
    // Sets up the line settings table before any port exists.
    CComPortBase::ResetAllComPort();
}

void CCheckManager::OnAbout()
{
    std::cout << "1.6版本 编译时间  " << __DATE__ << " " << __TIME__ << " " << __VERSION__
              << std::endl;
}
