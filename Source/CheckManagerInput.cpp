// What a person types, or a script passes, turned into destination numbers,
// target ports and the message text.
#include <iostream>

#include "CheckManager.h"
#include "CheckManagerInput.h"
#include "CheckManagerMenu.h"
#include "ColorCout.h"
#include "PhoneCardBase.h"
#include "PhoneFactory.h"
#include "PlatformConstants.h"
#include "StringUtil.h"

namespace {

const char kNumberPrompt[] = "请输入接收短信的号码: ";
const char kNumberRefused[] = "您输入的号码有误，请重新输入";
const char kPortRefused[] = "您输入的设备端口号有误，请重新输入";
const char kTooManyTries[] = "输入的错误次数过多，返回主界面";
const char kTextPrompt[] = "请输入短信内容:";
const char kTextRefused[] = "您输入的短信内容含有空字符(NUL)，无法完整发送，请重新输入";
const char kDefaultSmsText[] = " 北京Korvane短信为您服务 ";

// A number is at least this long, its "+" included.
constexpr std::size_t MIN_PHONE_LEN = 5;

constexpr int UNKNOWN_PORT_BAUD_RATE = 115200;

const char kListSeparator = ',';

// Blanks and semicolons separate items as commas do.
std::vector<std::string> SplitList(const std::string &answer)
{
    const std::string commas =
        StringReplaceChar(StringReplaceChar(answer, ' ', kListSeparator), ';', kListSeparator);
    return SplitStringByChar(commas, kListSeparator);
}

// The end-of-input state of both streams: std::cin reads through the C
// stream, whose own end-of-file flag clear() does not reset; left set, it
// ends every later read at once.
void ClearInputState()
{
    std::cin.clear();
    std::clearerr(stdin);
}

// One answer line. At a terminal, Ctrl-D on an empty line ends the input
// for one read only: that is no answer (false), never the empty answer,
// which would choose every port. Anywhere else, once the input is
// exhausted every answer is empty.
bool ReadAnswerLine(std::string &answer)
{
    const bool terminal = IsInputTerminal();
    if (terminal)
        ClearInputState();
    answer.clear();
    std::getline(std::cin, answer);
    const bool nothingRead = std::cin.fail();
    std::cin.clear();
    if (!terminal)
        return true;
    // The menu takes a C stream at its end for a terminal that has gone: a
    // read error stays for it to see, Ctrl-D's end of file does not.
    if (std::ferror(stdin) == 0)
        std::clearerr(stdin);
    return !nothingRead;
}

void PrintGiveUp()
{
    CColorCout::CoutRedMessage(kTooManyTries);
    std::cout << std::endl << std::endl << std::endl;
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

ComPortBaseInfo_t TakeOverRow(const Win32::CommInfo &row, const DetectionModels *models)
{
    ComPortBaseInfo_t port;
    port.comPath = row.comPath;
    port.baudRate = ReadInt(row.baudText);
    port.isAtOk = row.isAtOk;
    port.smsCardNumber = row.smsCardNumber;
    port.signalStrength = row.signalStrength;
    port.serialNumber = row.serialNumber;
    // The program's own terminal is no line to open (see ComPortBaseInfo_t).
    port.isPortExist = !row.isOwnTerminal;
    if (row.phoneType != PHONE_TYPE_UN_KNOWN) {
        port.phoneType = row.phoneType;
    } else if (models != nullptr) {
        if (CPhoneCardBase *model = FindModelForAti(*models, row.atiResponse))
            port.phoneType = model->GetPhoneType();
    }
    return port;
}

// See ComPortBaseInfo_t: the record of a port that no scan found.
ComPortBaseInfo_t NotExistingPort(const PortNaming &naming, const std::string &id)
{
    ComPortBaseInfo_t port;
    port.comPath = MissingPortPath(naming, id);
    port.baudRate = UNKNOWN_PORT_BAUD_RATE;
    port.isAtOk = false;
    port.phoneType = PHONE_TYPE_BASE;
    port.isPortExist = false;
    return port;
}

bool HasAllValues(const Win32::CommInfo &row)
{
    return !row.smsCardNumber.empty() && !row.serialNumber.empty() && !row.signalStrength.empty();
}

// No ids given: the fully read modems, else the identified ones, else every
// port found.
void ChooseAutomatically(const std::vector<Win32::CommInfo> &rows, const DetectionModels &models,
                         std::vector<ComPortBaseInfo_t> &ports)
{
    for (const Win32::CommInfo &row : rows)
        if (row.isAtOk && HasAllValues(row))
            ports.push_back(TakeOverRow(row, &models));
    if (!ports.empty())
        return;
    for (const Win32::CommInfo &row : rows)
        if (row.isAtOk)
            ports.push_back(TakeOverRow(row, &models));
    if (!ports.empty())
        return;
    for (const Win32::CommInfo &row : rows)
        ports.push_back(TakeOverRow(row, nullptr));
}

// Ids are compared as text: "03" is not the id of COM3.
const Win32::CommInfo *FindRowById(const PortNaming &naming,
                                   const std::vector<Win32::CommInfo> &rows, const std::string &id)
{
    for (const Win32::CommInfo &row : rows)
        if (PortIdIn(naming, row.comPath) == id)
            return &row;
    return nullptr;
}

}  // namespace

std::vector<std::string> SplitPortAnswer(const PortNaming &naming, const std::string &answer)
{
    std::vector<std::string> ids;
    for (const std::string &piece : SplitList(answer)) {
        // An empty piece would name the bare prefix: "/dev/tty" is the
        // controlling terminal.
        if (piece.empty())
            continue;
        if (naming.digitIdsOnly && !IsDigitString(piece))
            return {};
        ids.push_back(piece);
    }
    return ids;
}

bool ChooseTypedPorts(const PortNaming &naming, const std::string &answer,
                      const std::vector<Win32::CommInfo> &rows,
                      std::vector<ComPortBaseInfo_t> &ports)
{
    ports.clear();
    const DetectionModels models = CreateDetectionModels();
    bool anyMatched = false;
    for (const std::string &id : SplitPortAnswer(naming, answer)) {
        if (const Win32::CommInfo *row = FindRowById(naming, rows, id)) {
            ports.push_back(TakeOverRow(*row, &models));
            anyMatched = true;
        } else {
            ports.push_back(NotExistingPort(naming, id));
        }
    }
    return anyMatched;
}

std::string GetPortId(std::string path)
{
    return PortIdIn(kPortNaming, path);
}

bool IsDigitString(const std::string &text)
{
    if (text.empty())
        return false;
    for (char c : text)
        if (!IsDigit(c))
            return false;
    return true;
}

bool CCheckManager::CheckReceiveNumber(std::string number)
{
    if (number.size() < MIN_PHONE_LEN || number.size() >= MAX_PHONE_LEN)
        return false;
    if (number[0] != '+' && !IsDigit(number[0]))
        return false;
    for (std::string::size_type i = 1; i < number.size(); ++i)
        if (!IsDigit(number[i]))
            return false;
    return true;
}

std::vector<std::string> CCheckManager::SplitUserPhoneNumber(std::string answer)
{
    std::vector<std::string> numbers;
    for (const std::string &piece : SplitList(answer)) {
        if (piece.empty())
            continue;
        if (!CheckReceiveNumber(piece))
            return {};
        numbers.push_back(piece);
    }
    return numbers;
}

// The Windows build's reading of a port answer, whichever build calls it.
std::vector<std::string> CCheckManager::SplitComPorts(std::string answer)
{
    return SplitPortAnswer(kWindowsPortNaming, answer);
}

bool CCheckManager::InputCheckSendPduSmsPhoneNumbers(std::vector<std::string> &numbers)
{
    numbers.clear();
    for (int attempt = 0; attempt < MAX_INPUT_TRY_COUNT; ++attempt) {
        std::cout << std::endl;
        CColorCout::CoutGreenMessage(kNumberPrompt);
        std::string answer;
        const bool answered = ReadAnswerLine(answer);
        std::cout << std::endl;
        numbers = answered ? SplitUserPhoneNumber(answer) : std::vector<std::string>();
        if (!numbers.empty())
            return true;
        CColorCout::CoutRedMessage(kNumberRefused);
        std::cout << std::endl;
    }
    PrintGiveUp();
    return false;
}

bool CCheckManager::InputToSendPduSmsComPort(const std::string &portIds,
                                             std::vector<ComPortBaseInfo_t> &ports)
{
    ports.clear();
    if (!portIds.empty())
        return ChooseTypedPorts(kPortNaming, portIds, m_commInfoVec, ports);
    ChooseAutomatically(m_commInfoVec, CreateDetectionModels(), ports);
    return true;
}

bool CCheckManager::InputCheckSendPduSmsComPorts(std::vector<ComPortBaseInfo_t> &ports)
{
    for (int attempt = 0; attempt < MAX_INPUT_TRY_COUNT; ++attempt) {
        ports.clear();
        std::cout << std::endl;
        CColorCout::CoutGreenMessage(kPortNaming.portPrompt);
        std::string answer;
        const bool answered = ReadAnswerLine(answer);
        std::cout << std::endl;
        if (answered && InputToSendPduSmsComPort(answer, ports))
            return true;
        CColorCout::CoutRedMessage(kPortRefused);
        std::cout << std::endl;
    }
    ports.clear();
    PrintGiveUp();
    return false;
}

bool CCheckManager::InputReadAllSmsComPort(std::vector<ComPortBaseInfo_t> &ports)
{
    return InputCheckSendPduSmsComPorts(ports);
}

bool CCheckManager::InputToSendPduSmsContext(std::string &text)
{
    if (text.empty())
        text = kDefaultSmsText;
    return true;
}

bool CCheckManager::InputCheckSendPduSmsContext(std::string &text)
{
    for (int attempt = 0; attempt < MAX_INPUT_TRY_COUNT; ++attempt) {
        std::cout << std::endl;
        CColorCout::CoutGreenMessage(kTextPrompt);
        // Ctrl-D gives the default text, as an empty line does.
        ReadAnswerLine(text);
        std::cout << std::endl;
        // A typed line keeps a NUL, but the text reaches the modem as a C
        // string, which ends there: the rest would be dropped without a word
        // and the message reported sent. A text goes whole or not at all.
        if (text.find('\0') == std::string::npos)
            return InputToSendPduSmsContext(text);
        CColorCout::CoutRedMessage(kTextRefused);
        std::cout << std::endl;
    }
    text.clear();
    PrintGiveUp();
    return false;
}
