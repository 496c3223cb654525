// The check manager's pieces that only the Linux build has: the scan's
// threads and shared record list, the device listing through the shell, the
// command runners' clock and the run of one model-built command, and the raw
// key of the menu.
#ifndef ZARVEX_CHECK_MANAGER_LINUX_H
#define ZARVEX_CHECK_MANAGER_LINUX_H

#include <pthread.h>

#include <cstdint>
#include <string>
#include <vector>

#include "CheckManagerPortLine.h"
#include "CommandBudgets.h"
#include "ComPortBase.h"
#include "DeviceRecords.h"

class CPhoneCardBase;

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

// How a runner makes sure it may write. Runners that start a conversation
// open a closed port; the others refuse one, since a port that closed under
// them lost whatever state the earlier commands set up.
enum class PortGuard { Open, IsOpened };

using CommandBuilder = std::string (CPhoneCardBase::*)();
using ReplyParser = COM_CMD_OPERATE_RESULT_t (CPhoneCardBase::*)(std::string);

// Once the port passes the guard, writes the command that the model object's
// builder makes and judges the reply with the model's parser within the
// budget, pausing on `clock`: true when the parser found it done.
bool RunBuiltCommand(CPhoneCardBase *phone, CComPortBase *port, PortGuard guard,
                     CommandBuilder builder, ReplyParser parser, const CommandBudget &budget,
                     CommandClock &clock = RunnerClock());

// Microseconds since the epoch on the wall clock, and a sleep until such a
// time. Only the delete-all runner's extra wait sleeps so.
std::uint64_t time_usec2();
int usleep_until2(std::uint64_t targetUsec);

// One keystroke from standard input with the terminal raw for just that
// key; -1 when standard input is no terminal or the key cannot be read.
int getchLinux();

#endif
