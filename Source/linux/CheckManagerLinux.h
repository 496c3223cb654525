// The check manager's pieces that only the Linux build has: the scan's
// threads and shared record list, the device listing through the shell, the
// wall clock of the delete-all runner's extra wait, and the raw key of the
// menu.
#ifndef ZARVEX_CHECK_MANAGER_LINUX_H
#define ZARVEX_CHECK_MANAGER_LINUX_H

#include <pthread.h>

#include <cstdint>
#include <string>
#include <vector>

#include "DeviceRecords.h"

// Guards CCheckManager::g_comVec while the probe threads of a scan append.
extern pthread_mutex_t vecLock;

// Probes every path on a thread of its own and returns one record per port
// whose thread could be started, sorted by path. DetectAllDevice runs it on
// the listed ports.
std::vector<DeviceBaseComInfo> DetectDevicesOnPorts(const std::vector<std::string> &paths);

// Everything the shell command writes to its standard output; empty when it
// cannot be started.
std::string cmd_system(const char *command);
// Probes one port and appends exactly one record to CCheckManager::g_comVec.
void GetInfoOnPort(const char *path);
// Thread entry of a probe: the path as a NUL-terminated text.
void *ThreadFunc(void *path);

// Microseconds since the epoch on the wall clock, and a sleep until such a
// time. Only the delete-all runner's extra wait sleeps so.
std::uint64_t time_usec2();
int usleep_until2(std::uint64_t targetUsec);

// One keystroke from standard input with the terminal raw for just that
// key; -1 when standard input is no terminal or the key cannot be read.
int getchLinux();

#endif
