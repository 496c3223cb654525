#include "ProbeRandomSerial.h"
#include "ProbeReplies.h"
#include "ProbeSteps.h"
#include "StringUtil.h"

namespace {

constexpr char kSerialCommand[] = "AT+CGSN\r";
constexpr int kSignalReportOffTries = 3;
// How long the line must stay quiet after entry 1 was read as empty before
// it is written. A module answers the read within a few tens of
// milliseconds; when the probe is one reply behind, the entry's true reply
// comes in this time.
constexpr int kPhonebookQuietMs = 300;

// A Huawei MC323 reports no serial number of its own on some firmware; the
// probe then keeps one of its own making in the device's phonebook entry 1.
// Only an entry the modem plainly calls empty is ever written, and only by a
// probe whose every exchange at this speed got its own answer in time: an
// entry that is not the probe's own belongs to the user and is left alone,
// and a modem that gives no clear answer, or answers out of step, is not
// written to at all.
std::string PhonebookSerial(CProbeSession &session)
{
    const std::string storage = session.Send("AT+CPBS=\"ME\"\r");
    if (!Contains(storage, "OK") || Contains(storage, "ERROR"))
        return std::string();

    std::string serial;
    switch (JudgePhonebookEntry(session.Send("AT^CPBR=1\r"), serial)) {
    case PhonebookSlot::Ours:
        break;
    case PhonebookSlot::Empty: {
        // "Empty" is a lone final result, which is what AT+CPBS was answered
        // with too: a modem that answered an earlier command twice has this
        // read take that OK, and the entry itself comes right after. A write
        // then would replace a person's contact, so the line must first show
        // that no reply is still on its way.
        if (!session.InStep() || !session.StaysQuiet(kPhonebookQuietMs))
            return std::string();
        const std::string written = session.Send(PhonebookWriteCommand(MakeRandomSerial()));
        if (!Contains(written, "OK") || Contains(written, "ERROR"))
            return std::string();
        if (JudgePhonebookEntry(session.Send("AT^CPBR=1\r"), serial) != PhonebookSlot::Ours)
            return std::string();
        break;
    }
    case PhonebookSlot::Foreign:
    case PhonebookSlot::Unknown:
        return std::string();
    }

    // Unsolicited signal reports would otherwise interleave with the
    // replies of every later command.
    for (int i = 0; i < kSignalReportOffTries; ++i)
        if (Contains(session.Send("AT^RSSIREP=0\r"), "OK"))
            break;
    return serial;
}

}  // namespace

bool ReadDeviceSerialNumber(CProbeSession &session, ProbeFindings &findings)
{
    switch (findings.modelCode) {
    case PROBE_MODULE_WISMOQ:
        return false;
    case PROBE_MODULE_MC323: {
        // Only a module that plainly has no number of its own gets one in
        // its phonebook: a reply that is unclear shows no serial instead.
        const std::string reply = session.Send(kSerialCommand);
        findings.serialNumber = SerialFromCgsnReply(reply);
        if (findings.serialNumber.empty() && CgsnReplyHasNoSerial(reply))
            findings.serialNumber = PhonebookSerial(session);
        break;
    }
    case PROBE_MODULE_NONE:
    case PROBE_MODULE_OTHER: {
        const std::string reply = session.Send("AT+WMSN\r");
        if (WmsnReplyHasSerial(reply))
            findings.serialNumber = SerialFromWmsnReply(reply);
        else
            findings.serialNumber = SerialFromCgsnReply(session.Send(kSerialCommand));
        break;
    }
    default:
        findings.serialNumber = SerialFromCgsnReply(session.Send(kSerialCommand));
        break;
    }
    return !findings.serialNumber.empty();
}
