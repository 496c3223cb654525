#include "ProbeSteps.h"

#include <string>

#include "PromptCancel.h"
#include "ProbeText.h"

namespace {

bool AnswersAt(CProbeSession &session, int baudRate, ProbeFindings &findings)
{
    // A line that refuses this speed is still asked: the answer decides.
    session.SetSpeed(baudRate);
    // A modem left at its prompt takes every command for message text; it
    // hears only the speed its line is at, so each speed gives it up first.
    session.WriteAlone(kCancelMessageBody, kProbeCancelSettleMs);
    findings.baudText = std::to_string(baudRate);
    findings.isAtOk = Contains(session.Send("AT\r"), "OK");
    return findings.isAtOk;
}

// After the first speed got no answer in time, an OK at the second may still
// be the late answer from the first: it counts once a second AT is answered
// at this speed as well.
bool AnswersAtAgain(CProbeSession &session, int baudRate, ProbeFindings &findings)
{
    if (!AnswersAt(session, baudRate, findings))
        return false;
    findings.isAtOk = Contains(session.Send("AT\r"), "OK");
    return findings.isAtOk;
}

}  // namespace

void RunPortProbe(CProbeLine &line, ProbeFindings &findings)
{
    CProbeSession session(line);
    if (!AnswersAt(session, kProbeFirstBaud, findings)) {
        if (session.Failed() || !AnswersAtAgain(session, kProbeSecondBaud, findings))
            return;
    }
    session.Send("ATE0\r");
    session.Send("AT+CMEE=1\r");
    IdentifyModemModel(session, findings);
    ReadDeviceSerialNumber(session, findings);
    if (ReadSmsCardNumber(session, findings))
        ReadSignalStrength(session, findings);
}
