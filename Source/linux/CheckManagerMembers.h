// The part of CCheckManager's body that only the Linux build has (the class
// is declared in CheckManager.h, which includes this file inside it): the
// runners of the probe, device detection in the Linux form, and the members
// that nothing in the program calls.
#ifndef ZARVEX_CHECK_MANAGER_MEMBERS_LINUX_H
#define ZARVEX_CHECK_MANAGER_MEMBERS_LINUX_H

public:
    // The probe's runners; the Windows probe asks its modules otherwise.
    static bool RunComCmdAT(CPhoneCardBase *phone, CComPortBase *port);
    static bool RunComCmdATI(CPhoneCardBase *phone, CComPortBase *port);
    static bool RunComCmdGetSerialNumber(CPhoneCardBase *phone, CComPortBase *port);
    static bool RunComCmdGetSmsCardNumber(CPhoneCardBase *phone, CComPortBase *port);
    static bool RunComCmdGetSignalStrength(CPhoneCardBase *phone, CComPortBase *port);

    // Device detection: the device paths of the listing, probe records
    // sorted by path.
    static std::vector<DeviceBaseComInfo> DetectAllDevice();
    static std::vector<std::string> GetAllComPort();
    // The scan's records, appended by its probe threads under vecLock.
    static std::vector<DeviceBaseComInfo> g_comVec;

    // Nothing in the program calls these (in the offered library).
    bool RunComCmdDelAllSms(CPhoneCardBase *phone, CComPortBase *port);
    bool DeleteAllSmsByPhone(CPhoneCardBase *phone, CComPortBase *port);
    bool ReadAllSmsByPhoneME(CPhoneCardBase *phone, CComPortBase *port);
    void PrintSendPduSmsResultAsPlainText();

#endif
