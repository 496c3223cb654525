// The application object: owns everything of a run that outlives a single
// operation. Flows are split over CheckManager*.cpp by what they do.
#ifndef ZARVEX_CHECK_MANAGER_H
#define ZARVEX_CHECK_MANAGER_H

#include <pthread.h>

#include <string>
#include <vector>

#include "DeviceRecords.h"

// Guards CCheckManager::g_comVec while the probe threads of a scan append.
extern pthread_mutex_t vecLock;

class CCheckManager {
public:
    CCheckManager();
    ~CCheckManager();
    CCheckManager(const CCheckManager &) = delete;
    CCheckManager &operator=(const CCheckManager &) = delete;

    // Start-up.
    static void InitLog();
    static void InitConsoleSize();  // exits with status 1 unless run as root
    static void OnAbout();          // the version line

    // Command-line mode.
    void OnCmdParams(int argc, char **argv);
    int HandleCmdParams(int argc, char **argv);
    void PrintSendPduSmsResultAsJson();
    std::string RemoveDoubleQuotationMarksOfStringBothSide(std::string text);
    void PrintHelpInfo();

    static std::vector<DeviceBaseComInfo> g_comVec;

private:
    std::vector<Win32::CommInfo> m_commInfoVec;
    std::string m_strScanTime;
    std::vector<SendSmsResult_t> m_sendResultVec;
    bool m_bInteractive = true;
};

#endif
