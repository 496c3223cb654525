#include "CheckManager.h"

#include <iostream>

CCheckManager::CCheckManager() = default;

CCheckManager::~CCheckManager() = default;

void CCheckManager::InitLog()
{
}

void CCheckManager::OnAbout()
{
    std::cout << "1.6版本 编译时间  " << __DATE__ << " " << __TIME__ << " " << __VERSION__
              << std::endl;
}
