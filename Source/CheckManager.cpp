#include "CheckManager.h"

#include <unistd.h>

#include <cstdlib>
#include <iostream>

#include "CheckManagerProgramTexts.h"
#include "ColorCout.h"
#include "ComPortBase.h"
#include "PlatformConstants.h"

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
    std::cout << VersionLine(kProgramTexts, __DATE__, __TIME__,
                             CompilerVersionText(kCompilerVersion))
              << std::endl;
}
