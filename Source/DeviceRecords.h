// The check manager's records: the result of probing one port, one row of the
// device table, and the outcome of one message to one number.
#ifndef ZARVEX_DEVICE_RECORDS_H
#define ZARVEX_DEVICE_RECORDS_H

#include <cstring>
#include <string>

#include "DeviceRow.h"
#include "PhoneCardDefine.h"

// Result of probing one port: fixed-size fields so that a probe thread can
// hand it over by a plain copy under the scan lock.
struct DeviceBaseComInfo {
    char comPath[32];
    int baudRate;
    int phoneType;  // PHONE_TYPE_t
    char smsCardNumber[64];
    char signalStrength[64];
    char serialNumber[64];
    char atiResponse[512];
    bool isAtOk;
    bool isPortOk;
    // The port is the program's own terminal and was never opened.
    bool isOwnTerminal;

    DeviceBaseComInfo()
    {
        std::memset(comPath, 0, sizeof comPath);
        baudRate = 0;
        phoneType = PHONE_TYPE_BASE;
        std::memset(smsCardNumber, 0, sizeof smsCardNumber);
        std::memset(signalStrength, 0, sizeof signalStrength);
        std::memset(serialNumber, 0, sizeof serialNumber);
        std::memset(atiResponse, 0, sizeof atiResponse);
        isAtOk = false;
        isPortOk = false;
        isOwnTerminal = false;
    }
};

// Stores a text in a fixed field of DeviceBaseComInfo. A text longer than the
// field is cut to fit, always leaving the terminator: modems report far shorter
// values, and a cut value beats a record that overruns its neighbour.
template <std::size_t N>
void SetDeviceField(char (&field)[N], const std::string &text)
{
    const std::size_t length = text.size() < N - 1 ? text.size() : N - 1;
    std::memcpy(field, text.data(), length);
    std::memset(field + length, 0, N - length);
}

namespace Win32 {
// The values of one row of the device table, the same in both builds.
struct CommInfoFields {
    bool isAtOk = false;
    bool isPortOk = false;
    std::string comPath;
    std::string smsCardNumber;
    std::string baudText;
    std::string serialNumber;
    std::string signalStrength;
    std::string modelName;  // only the Windows probe fills it
    int modelCode = 0;      // only the Windows probe fills it (PROBE_MODULE_t)
    std::string atiResponse;
    // The model the scan identified the device as, PHONE_TYPE_BASE for none.
    // The Linux probe names it from the whole identification reply, which
    // its record may keep only in part (a zero byte or its length cuts it),
    // so the flows take it from here. PHONE_TYPE_UN_KNOWN: the scan did not
    // say (the Windows probe tells modules apart by other replies), and the
    // flows pick the model by atiResponse.
    PHONE_TYPE_t phoneType = PHONE_TYPE_UN_KNOWN;
    // The port is the program's own terminal (Linux: a serial console), which
    // no scan or flow opens.
    bool isOwnTerminal = false;
};

// One row of the device table: what only this build's row carries
// (PlatformRowFields, DeviceRow.h of the platform folder: the Windows probe's
// open handle of the port), then the shared values.
struct CommInfo : PlatformRowFields, CommInfoFields {};
}  // namespace Win32

// Outcome of one message to one number through one port.
struct SendSmsResult_t {
    std::string comPath;
    std::string phoneNumber;
    std::string sendTime;  // GetCurTimeStr form
    int resultCode = SMS_CODE_FAILED_UNKNOWN_REASON;  // SMS_CODE_ENUM; every send path sets it
    std::string resultMessage;
};

// One target port of a send or read, taken over from a device row of the last
// scan, or made up for a typed port id that matched no device.
//
// A record with isPortExist false names a path that no scan found (its comPath
// is built from what was typed), or the program's own terminal. No flow may
// ever open such a path as a serial line: as root, a typed id could otherwise
// reach an arbitrary terminal device, and opening the own terminal would
// leave the operator's console raw at the port's speed. A send gives it the
// results of a port without SIM card number (code 4); a read names a typed
// path as a port that does not exist.
struct ComPortBaseInfo_t {
    std::string comPath;
    int baudRate = 9600;
    bool isAtOk = false;
    std::string smsCardNumber;
    std::string signalStrength;
    std::string serialNumber;
    PHONE_TYPE_t phoneType = PHONE_TYPE_BASE;
    bool isPortExist = true;
};

#endif
