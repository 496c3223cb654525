// Device detection of the Windows build: the COM ports of the registry, each
// probed on a thread of its own over a raw handle (ComScan.h); the rows come
// sorted by COM number, and the probes' handles are closed only then.
#include <algorithm>
#include <ctime>

#include "CheckManager.h"
#include "CheckManagerScan.h"
#include "ComScan.h"
#include "ProbeComPath.h"

bool CCheckManager::GetAllComPort(std::vector<std::string> &comNames)
{
    return ListRegistryComNames(comNames);
}

// Ports beyond the probe table, and any whose probe thread could not start,
// get no row: the table shows what was probed, and says how many were not.
void CCheckManager::DetectAllDevice(std::vector<Win32::CommInfo> &rows, std::size_t *unprobedCount)
{
    std::vector<std::string> ports;
    ports.reserve(kMaxProbedPorts);
    GetAllComPort(ports);
    MakeComDevicePath(ports);
    const ComScanResult scan = ProbeComPorts(ports);
    rows.insert(rows.end(), scan.rows.begin(), scan.rows.end());
    if (unprobedCount != nullptr)
        *unprobedCount = scan.unprobedPaths.size();
}

void CCheckManager::OnScanPort()
{
    m_commInfoVec.clear();
    const std::clock_t start = std::clock();
    DetectAllDevice(m_commInfoVec, &m_unprobedPortCount);
    const std::clock_t end = std::clock();
    std::sort(m_commInfoVec.begin(), m_commInfoVec.end(), LessCommInfo);
    CloseAllComHandle(m_commInfoVec);
    m_strScanTime = FormatScanCostTime(start, end);
}
