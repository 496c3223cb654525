#include "ComScan.h"

#include <process.h>

#include <algorithm>
#include <mutex>
#include <type_traits>

#include "ComPortProbeLine.h"
#include "ProbeComPath.h"
#include "ProbeSteps.h"

// The row spells the handle type out to stay free of Win32 headers.
static_assert(std::is_same<Win32::ProbeHandle, HANDLE>::value, "a row's handle is a HANDLE");

namespace {

// What one probe thread works on: its port, and the scan it reports to.
struct ProbeJob {
    std::string devicePath;
    const ComPortProbe *probe;
    std::mutex *rowsLock;
    std::vector<Win32::CommInfo> *rows;
};

unsigned __stdcall GetInfoOnPort(void *argument)
{
    ProbeJob &job = *static_cast<ProbeJob *>(argument);
    Win32::CommInfo row;
    row.comPath = job.devicePath;
    (*job.probe)(row);
    std::lock_guard<std::mutex> hold(*job.rowsLock);
    job.rows->push_back(row);
    return 0;
}

// WaitForMultipleObjects takes at most MAXIMUM_WAIT_OBJECTS handles.
void WaitForAll(const std::vector<HANDLE> &threads)
{
    for (std::size_t first = 0; first < threads.size(); first += MAXIMUM_WAIT_OBJECTS) {
        const DWORD count =
            static_cast<DWORD>(std::min<std::size_t>(MAXIMUM_WAIT_OBJECTS, threads.size() - first));
        if (WaitForMultipleObjects(count, &threads[first], TRUE, INFINITE) == WAIT_FAILED) {
            for (DWORD i = 0; i < count; ++i)
                WaitForSingleObject(threads[first + i], INFINITE);
        }
    }
}

}  // namespace

void ProbeComPort(Win32::CommInfo &row)
{
    const HANDLE hCom = CreateFileA(row.comPath.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
    if (hCom == INVALID_HANDLE_VALUE)
        return;
    row.hCom = hCom;
    row.isPortOk = true;

    CComProbeLine line(hCom);
    ProbeFindings findings;
    RunPortProbe(line, findings);
    row.isAtOk = findings.isAtOk;
    row.baudText = findings.baudText;
    row.atiResponse = findings.atiResponse;
    row.modelName = findings.modelName;
    row.modelCode = findings.modelCode;
    row.serialNumber = findings.serialNumber;
    row.smsCardNumber = findings.smsCardNumber;
    row.signalStrength = findings.signalStrength;
}

ComScanResult ProbeComPorts(const std::vector<std::string> &devicePaths, const ComPortProbe &probe)
{
    ComScanResult result;
    std::mutex rowsLock;
    const std::size_t probed = std::min(devicePaths.size(), kMaxProbedPorts);
    result.unprobedPaths.assign(devicePaths.begin() + probed, devicePaths.end());

    // Every job stays where it is until all threads have ended.
    std::vector<ProbeJob> jobs;
    jobs.reserve(probed);
    std::vector<HANDLE> threads;
    threads.reserve(probed);
    for (std::size_t i = 0; i < probed; ++i) {
        jobs.push_back({devicePaths[i], &probe, &rowsLock, &result.rows});
        const uintptr_t thread =
            _beginthreadex(nullptr, 0, GetInfoOnPort, &jobs.back(), 0, nullptr);
        if (thread == 0) {
            result.unprobedPaths.push_back(devicePaths[i]);
            continue;
        }
        threads.push_back(reinterpret_cast<HANDLE>(thread));
    }
    WaitForAll(threads);
    for (HANDLE thread : threads)
        CloseHandle(thread);
    return result;
}

bool LessCommInfo(const Win32::CommInfo &left, const Win32::CommInfo &right)
{
    return LessComPath(left.comPath, right.comPath);
}

void CloseAllComHandle(std::vector<Win32::CommInfo> &rows)
{
    for (Win32::CommInfo &row : rows) {
        if (row.hCom != INVALID_HANDLE_VALUE && row.hCom != nullptr)
            CloseHandle(row.hCom);
        row.hCom = INVALID_HANDLE_VALUE;
    }
}
