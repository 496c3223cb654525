// Device detection of the Linux build: every serial device of the listing
// probed at the same time, one thread per port, each with its own port and
// model objects; the records meet in CCheckManager::g_comVec under vecLock
// and become the device rows.
#include <pthread.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <ctime>

#include "CheckManager.h"
#include "CheckManagerLinux.h"
#include "CheckManagerPortLine.h"
#include "CheckManagerScan.h"
#include "CommandBudgets.h"
#include "ComPortBase.h"
#include "OwnTerminal.h"
#include "PhoneCardBase.h"
#include "PhoneFactory.h"
#include "PromptCancel.h"
#include "StringUtil.h"

pthread_mutex_t vecLock = PTHREAD_MUTEX_INITIALIZER;
std::vector<DeviceBaseComInfo> CCheckManager::g_comVec;

namespace {

const char kListUsbSerialCommand[] = "ls /dev/ttyUSB* 2> /dev/null";
const char kDevicePathMark[] = "dev";
// Built-in ports, probed in every scan whether they exist or not.
const char *const kBuiltInPorts[] = {"/dev/ttyS0", "/dev/ttyS1"};

// Tried in this order; a modem is read at the first speed it is identified at.
const int kProbeBaudRates[] = {9600, 115200};
// The speed a record reports when nothing was identified.
constexpr int UNIDENTIFIED_BAUD_RATE = 115200;

const char kEchoOffCommand[] = "ATE0\r\n";
// One read, as long as the port's gathering takes.
constexpr int ECHO_OFF_POLLS = 1;

constexpr std::size_t CMD_OUTPUT_CHUNK = 1024;

// Stack of one probe thread: a probe needs a few kilobytes. The default (the
// process's stack limit, 8 MB as a rule) would spend the 32-bit address space
// on a few hundred ports and leave the rest of a long port list without a
// thread, so unprobed.
constexpr std::size_t PROBE_THREAD_STACK_SIZE = 512 * 1024;

class VecLockGuard {
public:
    VecLockGuard() { pthread_mutex_lock(&vecLock); }
    ~VecLockGuard() { pthread_mutex_unlock(&vecLock); }
    VecLockGuard(const VecLockGuard &) = delete;
    VecLockGuard &operator=(const VecLockGuard &) = delete;
};

// Reads the claimed modem's values into the record. The card number decides
// whether the signal is worth asking for; the values are taken whatever the
// runners said, so a value never read stays empty.
void ReadIdentifiedModem(CPhoneCardBase *model, CComPortBase *port, DeviceBaseComInfo &record)
{
    CCheckManager::RunComCmdInitPhone(model, port);
    CCheckManager::RunComCmdGetSerialNumber(model, port);
    if (CCheckManager::RunComCmdGetSmsCardNumber(model, port))
        CCheckManager::RunComCmdGetSignalStrength(model, port);
    SetDeviceField(record.smsCardNumber, model->GetSmsCardNumber());
    SetDeviceField(record.serialNumber, model->GetSerialNumber());
    SetDeviceField(record.signalStrength, model->GetSignalStrength());
}

enum class ProbeOutcome { Identified, NotIdentified, PortRefused };

// The process had no descriptor to spare for the port (the line settings
// table counts as many as the process may hold): its own limits, not the
// device, kept the port from being asked anything.
bool IsRefusedForWantOfDescriptors(const CComPortBase &port)
{
    const int error = port.GetErrorCode();
    return error == EMFILE || error == ENFILE;
}

// One speed of the probe.
ProbeOutcome ProbeAtBaudRate(const DetectionModels &models, const char *path, int baudRate,
                             DeviceBaseComInfo &record)
{
    CComPortBase port(path, baudRate);
    if (!port.Open())
        return IsRefusedForWantOfDescriptors(port) ? ProbeOutcome::PortRefused
                                                   : ProbeOutcome::NotIdentified;
    // A modem left at its ">" prompt would take every command below for
    // message text: the ESC gives that message up first, at each speed, since
    // a modem hears only the speed its line is at. Nothing waits for an
    // answer to it: what a cancelled prompt answers comes within the echo-off
    // exchange's one read, whose reply nobody judges.
    port.WriteWithoutPause(kCancelMessageBody);
    // Modems start with echo on. Whatever the answer says, it is awaited
    // for one read: one that comes later is still the line's to settle
    // before the next command's reply counts.
    RunPortCommandToEnd(port, kEchoOffCommand, RunnerBudget(ECHO_OFF_POLLS, SHORT_REPLY_BOUND));

    bool found = false;
    CPhoneCardBase *generic = models.front().get();
    if (CCheckManager::RunComCmdAT(generic, &port)) {
        CCheckManager::RunComCmdATI(generic, &port);
        const std::string ati = generic->GetAtiRspString();
        if (CPhoneCardBase *model = FindModelForAti(models, ati)) {
            found = true;
            record.baudRate = baudRate;
            record.phoneType = model->GetPhoneType();
            SetDeviceField(record.atiResponse, ati);
            record.isAtOk = true;
            record.isPortOk = true;
            ReadIdentifiedModem(model, &port, record);
        }
    }
    port.Close();
    return found ? ProbeOutcome::Identified : ProbeOutcome::NotIdentified;
}

}  // namespace

std::string cmd_system(const char *command)
{
    std::string output;
    FILE *stream = popen(command, "r");
    if (stream == nullptr)
        return output;
    char chunk[CMD_OUTPUT_CHUNK];
    while (std::fgets(chunk, sizeof chunk, stream) != nullptr)
        output += chunk;
    pclose(stream);
    return output;
}

std::vector<std::string> CCheckManager::GetAllComPort()
{
    std::vector<std::string> ports;
    for (const std::string &line : SplitStringByChar(cmd_system(kListUsbSerialCommand), '\n'))
        if (line.find(kDevicePathMark) != std::string::npos)
            ports.push_back(line);
    for (const char *builtIn : kBuiltInPorts)
        ports.push_back(builtIn);
    return ports;
}

void GetInfoOnPort(const char *path)
{
    DeviceBaseComInfo record;
    SetDeviceField(record.comPath, path);
    if (IsOwnTerminal(path)) {
        // The listing names the built-in ports whether or not they are the
        // console this program runs on; that one is never opened.
        record.isOwnTerminal = true;
        VecLockGuard lock;
        CCheckManager::g_comVec.push_back(record);
        return;
    }

    const DetectionModels models = CreateDetectionModels();
    bool found = false;
    bool refused = false;
    for (int baudRate : kProbeBaudRates) {
        const ProbeOutcome outcome = ProbeAtBaudRate(models, path, baudRate, record);
        found = outcome == ProbeOutcome::Identified;
        refused = refused || outcome == ProbeOutcome::PortRefused;
        if (found)
            break;
    }
    if (!found) {
        record.baudRate = UNIDENTIFIED_BAUD_RATE;
        record.isAtOk = false;
        // A modem may sit behind a port that could not be opened at one of
        // the speeds: the row says the port failed, not that nothing answered.
        record.isPortOk = !refused;
    }

    VecLockGuard lock;
    CCheckManager::g_comVec.push_back(record);
}

void *ThreadFunc(void *path)
{
    GetInfoOnPort(static_cast<const char *>(path));
    return nullptr;
}

std::vector<DeviceBaseComInfo> DetectDevicesOnPorts(const std::vector<std::string> &paths)
{
    {
        VecLockGuard lock;
        CCheckManager::g_comVec.clear();
    }
    pthread_attr_t probeAttributes;
    const bool sized = pthread_attr_init(&probeAttributes) == 0;
    if (sized)
        pthread_attr_setstacksize(&probeAttributes, PROBE_THREAD_STACK_SIZE);
    // A port whose thread cannot be started yields no record; only the
    // threads that run are joined.
    std::vector<pthread_t> threads;
    threads.reserve(paths.size());
    for (const std::string &path : paths) {
        pthread_t thread;
        if (pthread_create(&thread, sized ? &probeAttributes : nullptr, ThreadFunc,
                           const_cast<char *>(path.c_str()))
            == 0)
            threads.push_back(thread);
    }
    if (sized)
        pthread_attr_destroy(&probeAttributes);
    for (pthread_t thread : threads)
        pthread_join(thread, nullptr);

    VecLockGuard lock;
    std::sort(CCheckManager::g_comVec.begin(), CCheckManager::g_comVec.end(),
              LessDeviceBaseComInfo);
    return CCheckManager::g_comVec;
}

std::vector<DeviceBaseComInfo> CCheckManager::DetectAllDevice()
{
    return DetectDevicesOnPorts(GetAllComPort());
}

void CCheckManager::OnScanPort()
{
    m_commInfoVec.clear();
    const std::time_t start = std::time(nullptr);
    const std::vector<DeviceBaseComInfo> records = DetectAllDevice();
    const std::time_t end = std::time(nullptr);
    m_commInfoVec = MakeDeviceRows(records);
    m_strScanTime = FormatScanTime(start, end);
}
