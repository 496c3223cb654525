// The six model classes: the exact command text of every slot per model, the
// initialisation lists, identification in detection order, and the factory.
#include <map>
#include <ostream>

#include "ModemTestSupport.h"

namespace {

const std::vector<PHONE_TYPE_t> kAllTypes = modem_test::BaseAndModelTypes();

using CmdBuilder = std::string (*)(CPhoneCardBase &);

struct CommandCase {
    const char *name;
    CmdBuilder build;
    std::string baseText;
    // The models whose text differs from the base's.
    std::map<PHONE_TYPE_t, std::string> overrides;
};

void PrintTo(const CommandCase &c, std::ostream *os)
{
    *os << c.name;
}

const CommandCase kCommands[] = {
    {"At", [](CPhoneCardBase &m) { return m.GetATCmd(); }, "AT\r\n", {}},
    {"Ati", [](CPhoneCardBase &m) { return m.GetAtiCmd(); }, "ATI\r\n", {}},
    {"Ccid", [](CPhoneCardBase &m) { return m.GetCCIDCmd(); }, "ATI+CCID\r\n", {}},
    {"Call",
     [](CPhoneCardBase &m) { return m.GetCallCmd("13800138000"); },
     "ATD13800138000;\r\n",
     {{PHONE_TYPE_SUDREL, "AT+CDV13800138000\r\n"}}},
    {"HangUp",
     [](CPhoneCardBase &m) { return m.GetHungUpCmd(); },
     "ATH\r\n",
     {{PHONE_TYPE_VELKOR_NC5, "at+chup;\r\n"},
      {PHONE_TYPE_VELKOR_ME, "at+chup;\r\n"},
      {PHONE_TYPE_SUDREL, "AT+CHV\r\n"}}},
    {"TextMode", [](CPhoneCardBase &m) { return m.SetSmsModeTextCmd(); }, "at+cmgf=1\r\n", {}},
    {"PduMode",
     [](CPhoneCardBase &m) { return m.SetSmsPDUModeCmd(); },
     "at+cmgf=0\r\n",
     {{PHONE_TYPE_SUDREL, "AT^HSMSSS=0,0,6,0\r\n"}}},
    {"TextSendNumber",
     [](CPhoneCardBase &m) { return m.GetSendSMS_PhoneCmd("13800138000"); },
     "at+cmgs=\"13800138000\"\r\n",
     {{PHONE_TYPE_SUDREL, "AT^HCMGS=\"13800138000\"\r\n"}}},
    {"Receive",
     [](CPhoneCardBase &m) { return m.GetReceiveSmsCmd(); },
     "at+cmgr=1\r\n",
     {{PHONE_TYPE_SUDREL, "at^hcmgr=1\r\n"}}},
    {"SetReceiveStore",
     [](CPhoneCardBase &m) { return m.GetSetReceiveSmsStoreCmd(); },
     "at+cpms=\"SM\"\r\n",
     {}},
    {"QueryReceiveStore",
     [](CPhoneCardBase &m) { return m.GetQueryReceiveSmsStoreCmd(); },
     "at + cpms?\r\n",
     {}},
    {"SimCardNumber",
     [](CPhoneCardBase &m) { return m.GetIMSI_Cmd(); },
     "AT+CCID\r\n",
     {{PHONE_TYPE_VELKOR_ME, "AT^ICCID?\r\n"}}},
    {"SerialNumber", [](CPhoneCardBase &m) { return m.GetIMEI_Cmd(); }, "AT+CGSN\r\n", {}},
    {"Signal", [](CPhoneCardBase &m) { return m.GetSignalStrengthCmd(); }, "at+csq\r\n", {}},
    {"SmsCenter",
     [](CPhoneCardBase &m) { return m.GetQuerySmsCenterCmd(); },
     "AT+CSCA?\r\n",
     {{PHONE_TYPE_SUDREL, "AT\r"}}},
    {"DeleteAll", [](CPhoneCardBase &m) { return m.GetDelAllSmsCmd(); }, "AT+CMGD=0,4\r\n", {}},
    {"CompatibleMode",
     [](CPhoneCardBase &m) { return m.GetRecvSmsCompatibleModeCmd(); },
     "AT\r",
     {{PHONE_TYPE_VELKOR_NC5, "AT+ATVER=1\r"}}},
    {"ListStorage",
     [](CPhoneCardBase &m) { return m.GetReadAllSmsCmd(); },
     "AT+CMGL=4\r\n",
     {{PHONE_TYPE_VELKOR_NC5, "AT+CMGD=?\r\n"}, {PHONE_TYPE_SUDREL, "AT^HCMGL=4\r\n"}}},
    // Before a listing the one-by-one readers have nothing to fetch.
    {"ReadNext",
     [](CPhoneCardBase &m) { return m.GetReadNextSmsCmd(); },
     "AT\r\n",
     {{PHONE_TYPE_VELKOR_NC5, ""}, {PHONE_TYPE_SUDREL, ""}}},
    {"DeviceStorage",
     [](CPhoneCardBase &m) { return m.GetReadSmsOnMeCmd(); },
     "AT+CPMS=\"ME\"\r\n",
     {}},
    {"SimStorage", [](CPhoneCardBase &m) { return m.GetReadSmsOnSmCmd(); }, "AT+CPMS=\"SM\"\r\n", {}},
    {"TextSendBody",
     [](CPhoneCardBase &m) { return m.GetSendSMS_ContextCmd("hi"); },
     "hi TYPE_UNKNOWN\r\x1A",
     {{PHONE_TYPE_VELKOR_NC5, "hi Velkor_NC5\r\x1A"},
      {PHONE_TYPE_TARNEL, "hi Tarnel\r\x1A"},
      {PHONE_TYPE_VELKOR_ME, "hi Velkor_ME\r\x1A"},
      {PHONE_TYPE_PIMSOR, "hi Pimsor\r\x1A"},
      {PHONE_TYPE_ORVAST, "hi Orvast\r\x1A"},
      {PHONE_TYPE_SUDREL, "hi Sudrel\r\x1A"}}},
};

class CommandText : public ::testing::TestWithParam<CommandCase> {};

TEST_P(CommandText, ExactPerModel)
{
    const CommandCase &c = GetParam();
    for (PHONE_TYPE_t type : kAllTypes) {
        auto modem = modem_test::MakeModem(type);
        const auto override = c.overrides.find(type);
        const std::string expected = override == c.overrides.end() ? c.baseText : override->second;
        EXPECT_EQ(c.build(*modem), expected) << PhoneTypeToString(type);
    }
}

INSTANTIATE_TEST_SUITE_P(Slots, CommandText, ::testing::ValuesIn(kCommands),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(ModelCommands, InitialisationListsAppendToTheBaseList)
{
    const std::vector<std::string> base = {"AT+CMEE=1\r\n", "AT+CPMS=\"SM\"\r\n", "ATE0\r\n"};
    for (PHONE_TYPE_t type : kAllTypes) {
        std::vector<std::string> expected = base;
        if (type == PHONE_TYPE_VELKOR_ME)
            expected.push_back("AT^CURC=0\r\n");
        if (type == PHONE_TYPE_SUDREL)
            expected.push_back("AT^RSSIREP=0\r\n");
        EXPECT_EQ(modem_test::MakeModem(type)->GetInitAtCmd(), expected) << PhoneTypeToString(type);
    }
}

TEST(ModelCommands, FreshObjectsHoldNothing)
{
    for (PHONE_TYPE_t type : kAllTypes) {
        auto modem = modem_test::MakeModem(type);
        EXPECT_EQ(modem->GetPhoneType(), type);
        EXPECT_FALSE(modem->HasME());
        EXPECT_FALSE(modem->NotFinished());
        EXPECT_FALSE(modem->IsSendPduSmsRetry());
        EXPECT_EQ(modem->GetSmsCardNumber(), "");
        EXPECT_EQ(modem->GetSignalStrength(), "");
        EXPECT_EQ(modem->GetSerialNumber(), "");
        EXPECT_EQ(modem->GetAtiRspString(), "");
        EXPECT_EQ(modem->GetErrorMessage(), "");
        EXPECT_TRUE(modem->GetReadSms().empty());
    }
}

// The type detection records for an identification reply: that of the model
// that claims it, or the base type when none does.
PHONE_TYPE_t Detect(const std::string &ati)
{
    const DetectionModels models = CreateDetectionModels();
    CPhoneCardBase *model = FindModelForAti(models, ati);
    return model ? model->GetPhoneType() : PHONE_TYPE_BASE;
}

// A reply that names two modules goes to the first of them in this order.
TEST(Identification, ModelsAreAskedInTheirFixedOrder)
{
    std::vector<PHONE_TYPE_t> order;
    for (const auto &model : CreateDetectionModels())
        order.push_back(model->GetPhoneType());
    EXPECT_EQ(order, (std::vector<PHONE_TYPE_t> {PHONE_TYPE_TARNEL, PHONE_TYPE_VELKOR_NC5,
                                                 PHONE_TYPE_VELKOR_ME, PHONE_TYPE_PIMSOR,
                                                 PHONE_TYPE_ORVAST, PHONE_TYPE_SUDREL}));
}

TEST(Identification, EachSampleIsClaimedByItsModelAndNoneBefore)
{
    const DetectionModels models = CreateDetectionModels();
    for (std::size_t i = 0; i < models.size(); ++i) {
        const std::string sample = models[i]->Get_ATI_Rsp();
        EXPECT_TRUE(models[i]->IsATI_RspMatch(sample)) << PhoneTypeToString(models[i]->GetPhoneType());
        for (std::size_t j = 0; j < i; ++j)
            EXPECT_FALSE(models[j]->IsATI_RspMatch(sample))
                << PhoneTypeToString(models[j]->GetPhoneType()) << " claims the sample of "
                << PhoneTypeToString(models[i]->GetPhoneType());
        EXPECT_EQ(Detect(sample), models[i]->GetPhoneType());
    }
    // A modem that matched no model has no sample of its own.
    EXPECT_EQ(CPhoneCardBase().Get_ATI_Rsp(), "");
}

TEST(Identification, RepliesAsModulesSendThem)
{
    const struct {
        const char *fixture;
        PHONE_TYPE_t type;
    } cases[] = {
        {"tarnel/ati.txt", PHONE_TYPE_TARNEL},       {"velkor_nc5/ati.txt", PHONE_TYPE_VELKOR_NC5},
        {"velkor_me/ati.txt", PHONE_TYPE_VELKOR_ME}, {"pimsor/ati.txt", PHONE_TYPE_PIMSOR},
        {"orvast/ati.txt", PHONE_TYPE_ORVAST},       {"sudrel/ati.txt", PHONE_TYPE_SUDREL},
        {"unknown/ati.txt", PHONE_TYPE_BASE},
    };
    for (const auto &c : cases)
        EXPECT_EQ(Detect(modem_test::Fixture(c.fixture)), c.type) << c.fixture;
}

TEST(Identification, RulesAreCaseSensitiveSubstrings)
{
    const struct {
        const char *reply;
        PHONE_TYPE_t type;
    } cases[] = {
        // The first model in the order wins when two names appear.
        {"\r\nMC323 M35\r\n\r\nOK\r\n", PHONE_TYPE_TARNEL},
        // Velkor_NC5 needs the final OK as well.
        {"\r\nModel: CLM920_NC5\r\n", PHONE_TYPE_BASE},
        {"\r\nModel: CLM920_NC5\r\n\r\nOK\r\n", PHONE_TYPE_VELKOR_NC5},
        {"\r\nModel: me909s-821\r\n\r\nOK\r\n", PHONE_TYPE_BASE},
        {"Model: XME909s-821-A", PHONE_TYPE_VELKOR_ME},
        {"\r\nwavecom modem\r\n\r\nOK\r\n", PHONE_TYPE_BASE},
        {"", PHONE_TYPE_BASE},
    };
    for (const auto &c : cases)
        EXPECT_EQ(Detect(c.reply), c.type) << c.reply;
}

TEST(Factory, ModelTypesGiveTheirClass)
{
    for (PHONE_TYPE_t type : kAllTypes) {
        if (type == PHONE_TYPE_BASE)
            continue;
        std::unique_ptr<CPhoneCardBase> modem(GetPhoneByType(type));
        ASSERT_NE(modem, nullptr) << type;
        EXPECT_EQ(modem->GetPhoneType(), type);
    }
    for (int type : {0, 1, 8, -1, 1000})
        EXPECT_EQ(GetPhoneByType(static_cast<PHONE_TYPE_t>(type)), nullptr) << type;
}

}  // namespace
