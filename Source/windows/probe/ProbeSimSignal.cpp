#include "ProbeReplies.h"
#include "ProbeSteps.h"

namespace {

CardNumberQuery CardNumberQueryOf(int modelCode)
{
    switch (modelCode) {
    case PROBE_MODULE_MG301:
    case PROBE_MODULE_ME909S:
        return CardNumberQuery::HuaweiIccid;
    case PROBE_MODULE_SIEMENS:
        return CardNumberQuery::SiemensCxxcid;
    default:
        return CardNumberQuery::Ccid;
    }
}

}  // namespace

bool ReadSmsCardNumber(CProbeSession &session, ProbeFindings &findings)
{
    const CardNumberQuery query = CardNumberQueryOf(findings.modelCode);
    std::string number;
    if (!SmsCardNumberFromReply(query, session.Send(CardNumberCommand(query)), number))
        return false;
    findings.smsCardNumber = number;
    return true;
}

void ReadSignalStrength(CProbeSession &session, ProbeFindings &findings)
{
    // The flows pick their model from the identification reply the row
    // keeps. A fresh one replaces the first only when it is whole: one that
    // came empty or cut short (the modem missed the question, the exchange's
    // bound ended it) must not take the place of the one read before.
    const std::string ati = session.Send("ATI\r");
    if (HasFinalResult(ati))
        findings.atiResponse = ati;
    std::string signal;
    if (SignalFromReply(session.Send("AT+CSQ\r"), signal))
        findings.signalStrength = signal;
}
