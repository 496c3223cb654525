// The radio modules that the Windows probe tells apart, and what it records
// for each. These codes are the probe's own; they are not modem model types
// and are never converted into them.
#ifndef ZARVEX_PROBE_MODULE_H
#define ZARVEX_PROBE_MODULE_H

#include <string>

enum PROBE_MODULE_t {
    PROBE_MODULE_OTHER = -1,  // an unknown module whose ATI3 reply has a "."
    PROBE_MODULE_NONE = 0,
    PROBE_MODULE_MG301 = 1,
    PROBE_MODULE_SIEMENS = 2,
    PROBE_MODULE_MC323 = 3,
    PROBE_MODULE_WISMOQ = 4,
    PROBE_MODULE_Q2406B = 5,
    PROBE_MODULE_ME909S = 6,
};

// What the probe learns about one port. The Windows scan copies it into the
// port's device row.
struct ProbeFindings {
    bool isAtOk = false;     // "AT" was answered with OK at baudText
    std::string baudText;    // the last speed tried: "9600" or "115200"
    std::string atiResponse;
    std::string modelName;
    int modelCode = PROBE_MODULE_NONE;  // PROBE_MODULE_t
    std::string serialNumber;
    std::string smsCardNumber;
    std::string signalStrength;
};

#endif
