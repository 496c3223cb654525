// The application object: owns everything of a run that outlives a single
// operation. Its flows are split over CheckManager*.cpp by what they do:
// runners, scan, menu, input, send, read, command line.
#ifndef ZARVEX_CHECK_MANAGER_H
#define ZARVEX_CHECK_MANAGER_H

#include <string>
#include <vector>

#include "DeviceRecords.h"

class CPhoneCardBase;
class CComPortBase;

// Answers allowed in each of the number and port dialogues.
constexpr int MAX_INPUT_TRY_COUNT = 3;
// A destination number is shorter than this, its "+" included.
constexpr std::size_t MAX_PHONE_LEN = 30;

// Menu keys as the menu's key reading returns them.
constexpr int KEY_VALUE_ENTER = 13;
constexpr int KEY_VALUE_NUM_1 = 49;
constexpr int KEY_VALUE_NUM_2 = 50;
constexpr int KEY_VALUE_CHAR_D = 100;
constexpr int KEY_VALUE_CHAR_Q = 113;

class CCheckManager {
public:
    CCheckManager();
    ~CCheckManager();
    CCheckManager(const CCheckManager &) = delete;
    CCheckManager &operator=(const CCheckManager &) = delete;

    // Start-up.
    static void InitLog();
    // Linux: exits with status 1 unless run as root, then prepares the line
    // settings. Windows: a console buffer of 100 x 800.
    static void InitConsoleSize();
    static void OnAbout();          // the version line

    // Interactive loop and device table.
    void Start();
    int PrintBaseMenu();
    void PrintAllDevice();

    // Command runners: write one command built by the model object, poll the
    // port and let the model's parser judge the reply gathered so far. Each
    // runs its row of the runner table (CheckManagerRunners.h); the runners
    // of one build only are declared with that build's members below.
    static void RunComCmdInitPhone(CPhoneCardBase *phone, CComPortBase *port);
    static bool RunComCmdQuerySMSC(CPhoneCardBase *phone, CComPortBase *port);
    static bool RunComCmdSendPduContext(CPhoneCardBase *phone, CComPortBase *port, std::string pdu);
    static bool RunComCmdSendPduLen(CPhoneCardBase *phone, CComPortBase *port, std::string cmd);
    static bool RunComCmdReadAllSmsToPhone(CPhoneCardBase *phone, CComPortBase *port);
    static bool RunComCmdSetRecvSmsCompatibleMode(CPhoneCardBase *phone, CComPortBase *port);
    static bool RunComCmdSetPduMode(CPhoneCardBase *phone, CComPortBase *port);
    bool RunComCmdReadME_Sms(CPhoneCardBase *phone, CComPortBase *port);
    bool RunComCmdReadSM_Sms(CPhoneCardBase *phone, CComPortBase *port);

    // Device detection, defined in the platform folder; each build's own
    // forms of DetectAllDevice and GetAllComPort are among its members below.
    void OnScanPort();

    // Destination numbers, target ports and message text.
    bool InputCheckSendPduSmsPhoneNumbers(std::vector<std::string> &numbers);
    std::vector<std::string> SplitUserPhoneNumber(std::string answer);
    bool CheckReceiveNumber(std::string number);
    std::vector<std::string> SplitComPorts(std::string answer);
    bool InputToSendPduSmsComPort(const std::string &portIds, std::vector<ComPortBaseInfo_t> &ports);
    bool InputCheckSendPduSmsComPorts(std::vector<ComPortBaseInfo_t> &ports);
    bool InputReadAllSmsComPort(std::vector<ComPortBaseInfo_t> &ports);
    bool InputToSendPduSmsContext(std::string &text);
    bool InputCheckSendPduSmsContext(std::string &text);

    // Send process and results.
    void OnSendPDUSms();
    std::string AddTimeStampToSmsContextByPhoneNum(std::string text, std::string number,
                                                   std::string time);
    void HandleSendPduSmsProcess(const std::vector<ComPortBaseInfo_t> &ports,
                                 const std::vector<std::string> &numbers, const std::string &text);
    bool SendPduSmsByPhone(CPhoneCardBase *phone, CComPortBase *port, std::string number,
                           std::string text);
    SMS_CODE_ENUM GetSmsErrorCode(ComPortBaseInfo_t port);
    void HandleSendSmsResultByMode(SendSmsResult_t result);
    void PrintOneSendSmsResultPlainText(const SendSmsResult_t &result);

    // Read flow.
    void OnReadAllSms();
    void HandleReadAllSms(std::vector<ComPortBaseInfo_t> ports);
    bool ReadAllSmsByPhoneSM(CPhoneCardBase *phone, CComPortBase *port);
    void PrintRecvSms(std::vector<SmsRecvStruct_t> messages);
    void OnDelAllSms();

    // Command-line mode.
    void OnCmdParams(int argc, char **argv);
    int HandleCmdParams(int argc, char **argv);
    void PrintSendPduSmsResultAsJson();
    std::string RemoveDoubleQuotationMarksOfStringBothSide(std::string text);
    void PrintHelpInfo();

    // What only this build's manager has: CheckManagerMembers.h of the
    // platform folder is part of this body.
#include "CheckManagerMembers.h"

protected:
    // Protected so that tests can set up device rows and read results through
    // a derived class; nothing else derives from the manager.
    std::vector<Win32::CommInfo> m_commInfoVec;
    std::string m_strScanTime;
    // Listed ports the last scan did not probe (Windows: those beyond the
    // probe table); the table says how many.
    std::size_t m_unprobedPortCount = 0;
    std::vector<SendSmsResult_t> m_sendResultVec;
    bool m_bInteractive = true;
};

// Free functions of the application; those of one build only are declared in
// its platform folder.
bool LessDeviceBaseComInfo(const DeviceBaseComInfo &a, const DeviceBaseComInfo &b);
std::string GetPortId(std::string path);
bool IsDigitString(const std::string &text);

#endif
