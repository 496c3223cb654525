// Shared pieces of the modem tests: fixture transcripts, model objects by type
// and the locale the text conversions need.
#ifndef ZARVEX_MODEM_TEST_SUPPORT_H
#define ZARVEX_MODEM_TEST_SUPPORT_H

#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ConsoleEnvironment.h"
#include "PhoneCardBase.h"
#include "PhoneFactory.h"
#include "PhoneModels.h"

namespace modem_test {

// A transcript under tests/tools/fixtures/<model>/<command>.txt. The files are kept
// with plain line ends; modems send CR LF, so every LF becomes CR LF.
inline std::string Fixture(const std::string &name)
{
    std::ifstream in(std::string(ZARVEX_FIXTURE_DIR) + "/" + name, std::ios::binary);
    EXPECT_TRUE(in.good()) << "missing fixture " << name;
    std::ostringstream text;
    text << in.rdbuf();
    std::string crlf;
    for (char c : text.str()) {
        if (c == '\n')
            crlf += '\r';
        crlf += c;
    }
    return crlf;
}

// The PDU lines of a listing, each as the reply to its own "AT+CMGR=" fetch
// of the index-list model.
inline std::vector<std::string> FetchRepliesOf(const std::string &listing)
{
    std::vector<std::string> replies;
    std::istringstream lines(listing);
    for (std::string line; std::getline(lines, line);)
        if (line.compare(0, 2, "08") == 0)
            replies.push_back("\r\n+CMGR: 1,,34\r\n" + line + "\n\r\nOK\r\n");
    return replies;
}

// The plain base class's type, then every model's, in the model table's order.
inline std::vector<PHONE_TYPE_t> BaseAndModelTypes()
{
    std::vector<PHONE_TYPE_t> types = {PHONE_TYPE_BASE};
    for (const PhoneModel &model : AllPhoneModels())
        types.push_back(model.type);
    return types;
}

// The model object of a type, or the plain base class for type 1.
inline std::unique_ptr<CPhoneCardBase> MakeModem(PHONE_TYPE_t type)
{
    if (type == PHONE_TYPE_BASE)
        return std::make_unique<CPhoneCardBase>();
    return std::unique_ptr<CPhoneCardBase>(GetPhoneByType(type));
}

// The members that have no getter of their own, read the way a model class
// reads them.
struct MemberAccess : CPhoneCardBase {
    static std::string SmsCenter(CPhoneCardBase &modem)
    {
        return modem.*(&MemberAccess::m_strSmsCenter);
    }
    static std::string ErrorText(CPhoneCardBase &modem)
    {
        return modem.*(&MemberAccess::m_strErrorMsg);
    }
    static std::string SendPduLenCmd(CPhoneCardBase &modem)
    {
        return modem.*(&MemberAccess::m_strSendPduLenCmd);
    }
};

inline const char *ResultName(COM_CMD_OPERATE_RESULT_t result)
{
    switch (result) {
    case COM_CMD_OK: return "OK";
    case COM_CMD_ERROR: return "ERROR";
    case COM_CMD_WAIT: return "WAIT";
    }
    return "?";
}

// The UCS2 conversions take the character type from the environment, as the
// program does when it is started from a UTF-8 console (Linux); the Windows
// build has the system's ANSI code page and nothing to set.
inline void UseUtf8Environment()
{
    UseConsoleEnvironment();
}

}  // namespace modem_test

#endif
