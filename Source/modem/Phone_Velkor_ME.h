// Huawei ME909s-821 modules. They read the SIM card number with their own
// "^ICCID" command, hang up with "+CHUP" and want their unsolicited status
// reports switched off.
#ifndef ZARVEX_PHONE_VELKOR_ME_H
#define ZARVEX_PHONE_VELKOR_ME_H

#include "PhoneCardBase.h"

class CPhone_Velkor_ME : public CPhoneCardBase {
public:
    CPhone_Velkor_ME();

    // Nothing in the program calls these three (PhoneUncalledSlots.cpp).
    bool OnCallCmdRsp(std::string reply) override;
    std::string GetHungUpCmd() override;
    bool OnHungUpCmdRsp(std::string reply) override;

    std::string GetIMSI_Cmd() override;
    // The value of the first whole "^ICCID:" line, as printed on the card;
    // no OK is needed.
    COM_CMD_OPERATE_RESULT_t OnGetIMSI_CmdRsp(std::string reply) override;
    PHONE_TYPE_t GetPhoneType() override;
    std::vector<std::string> GetInitAtCmd() override;
};

#endif
