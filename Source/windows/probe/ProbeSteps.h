// The probe of one port, step by step, over a CProbeSession. Each step sends
// its commands and writes what it learns into the findings; a step whose
// replies do not give a value leaves that value empty. Once the line has
// failed, every further step returns at once without values.
#ifndef ZARVEX_PROBE_STEPS_H
#define ZARVEX_PROBE_STEPS_H

#include "ProbeExchange.h"
#include "ProbeLine.h"
#include "ProbeModule.h"

// The speeds tried, in this order; the second only when the first got no OK.
constexpr int kProbeFirstBaud = 9600;
constexpr int kProbeSecondBaud = 115200;
// At each speed, before "AT": the ESC that gives up a message body a modem
// may still wait for at its ">" prompt, and the time its answer, one short
// final result, has to arrive before that "AT" drops it as nobody's reply.
// Taken for the AT's own, it would shift every later reply of the probe by
// one command. Six bytes take 6 ms at 9600 baud; a USB adapter may hold
// them back some milliseconds more.
constexpr int kProbeCancelSettleMs = 20;

// The whole probe of an open line: the speed at which "AT" is answered, echo
// off, numeric error reports, then the module, its serial number, the SIM
// card number and, only when a SIM card number was read, the signal.
void RunPortProbe(CProbeLine &line, ProbeFindings &findings);

// atiResponse, modelName and modelCode from the manufacturer, model and
// identification replies. Always true.
bool IdentifyModemModel(CProbeSession &session, ProbeFindings &findings);

// serialNumber by the module's own rule; a Huawei MC323 without one gets a
// generated number kept in phonebook entry 1 under "WMSN". True when
// serialNumber is not empty afterwards.
bool ReadDeviceSerialNumber(CProbeSession &session, ProbeFindings &findings);

// smsCardNumber with the command the module uses; true when one was read.
bool ReadSmsCardNumber(CProbeSession &session, ProbeFindings &findings);

// atiResponse asked again, then signalStrength.
void ReadSignalStrength(CProbeSession &session, ProbeFindings &findings);

#endif
