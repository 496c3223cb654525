#include "CheckManager.h"

#include <iostream>

#include "CheckManagerProgramTexts.h"
#include "PlatformConstants.h"

CCheckManager::CCheckManager() = default;

CCheckManager::~CCheckManager() = default;

void CCheckManager::InitLog()
{
}

void CCheckManager::OnAbout()
{
    std::cout << VersionLine(kProgramTexts, __DATE__, __TIME__,
                             CompilerVersionText(kCompilerVersion))
              << std::endl;
}
