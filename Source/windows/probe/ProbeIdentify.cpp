#include "ProbeReplies.h"
#include "ProbeSteps.h"
#include "StringUtil.h"

namespace {

struct KnownModel {
    const char *marker;  // in the reply that names the model
    const char *name;    // stored as modelName
    PROBE_MODULE_t code;
};

// Huawei modules named by their AT+CGMM reply, after an upper-case
// manufacturer reply.
constexpr KnownModel kHuaweiModels[] = {
    {"MG301", "HuaWeiMG301", PROBE_MODULE_MG301},
    {"MC323", "HuaWeiMC323", PROBE_MODULE_MC323},
};
constexpr KnownModel kHuaweiMixedCaseModel = {"ME909s-821", "HuaWeiME909s", PROBE_MODULE_ME909S};
// Wavecom modules named by their ATI3 reply.
constexpr KnownModel kWavecomModels[] = {
    {"WISMOQ", "WISMOQ", PROBE_MODULE_WISMOQ},
    {"Q2406B", "Q2406B", PROBE_MODULE_Q2406B},
};

void Identify(ProbeFindings &findings, const KnownModel &model)
{
    findings.modelName = model.name;
    findings.modelCode = model.code;
}

bool IsAnsweredModel(const std::string &reply, const KnownModel &model)
{
    return Contains(reply, "OK") && Contains(reply, model.marker);
}

}  // namespace

bool IdentifyModemModel(CProbeSession &session, ProbeFindings &findings)
{
    findings.atiResponse = session.Send("ATI\r");
    findings.modelName.clear();
    findings.modelCode = PROBE_MODULE_NONE;

    // The last reply read: the manufacturer's, or the model's once asked.
    std::string reply = session.Send("AT+CGMI\r");
    if (Contains(reply, "HUAWEI")) {
        reply = session.Send("AT+CGMM\r");
        for (const KnownModel &model : kHuaweiModels) {
            if (IsAnsweredModel(reply, model)) {
                Identify(findings, model);
                return true;
            }
        }
    }
    if (Contains(reply, "Huawei")) {
        reply = session.Send("AT+CGMM\r");
        if (IsAnsweredModel(reply, kHuaweiMixedCaseModel)) {
            Identify(findings, kHuaweiMixedCaseModel);
            return true;
        }
    }

    reply = session.Send("ATI3\r");
    for (const KnownModel &model : kWavecomModels) {
        if (Contains(reply, model.marker)) {
            Identify(findings, model);
            return true;
        }
    }
    if (Contains(reply, ".")) {
        findings.modelName = ModelNameAfterDot(reply);
        findings.modelCode = PROBE_MODULE_OTHER;
        return true;
    }

    if (Contains(session.Send("ATI\r"), "SIEMENS"))
        findings.modelCode = PROBE_MODULE_SIEMENS;
    return true;
}
