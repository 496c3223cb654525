#include "ProbeSteps.h"

#include <string>

#include "ProbeText.h"

namespace {

bool AnswersAt(CProbeSession &session, int baudRate, ProbeFindings &findings)
{
    // A line that refuses this speed is still asked: the answer decides.
    session.SetSpeed(baudRate);
    findings.baudText = std::to_string(baudRate);
    findings.isAtOk = Contains(session.Send("AT\r"), "OK");
    return findings.isAtOk;
}

}  // namespace

void RunPortProbe(CProbeLine &line, ProbeFindings &findings)
{
    CProbeSession session(line);
    if (!AnswersAt(session, kProbeFirstBaud, findings)) {
        if (session.Failed() || !AnswersAt(session, kProbeSecondBaud, findings))
            return;
    }
    session.Send("ATE0\r");
    session.Send("AT+CMEE=1\r");
    IdentifyModemModel(session, findings);
    ReadDeviceSerialNumber(session, findings);
    if (ReadSmsCardNumber(session, findings))
        ReadSignalStrength(session, findings);
}
