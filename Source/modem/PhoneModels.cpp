#include "PhoneModels.h"

#include <iterator>

namespace {

constexpr const char *kTarnelSample = "\r\nQuectel_Ltd\r\n"
                                      "Quectel_M35\r\n"
                                      "Revision: M35FBR02A03\r\n"
                                      "\r\nOK\r\n";
constexpr const char *kVelkorNc5Sample = "\r\nManufacturer: Yuga Co.,Ltd.\r\n"
                                         "Model: CLM920_NC5\r\n"
                                         "Revision: CLM920_NC5-V1 [Jul 31 2017 14:44:25]\r\n"
                                         "IMEI: 869012030045678\r\n"
                                         "+GCAP: +CGSM\r\n"
                                         "EFS_SVN: cn_efs_20170731_2k\r\n"
                                         "\r\nOK\r\n";
constexpr const char *kVelkorMeSample = "\r\nManufacturer: Huawei Technologies Co., Ltd.\r\n"
                                        "Model: ME909s-821\r\n"
                                        "Revision: 11.617.05.00.00\r\n"
                                        "IMEI: 866123034567890\r\n"
                                        "+GCAP: +CGSM,+DS,+ES\r\n"
                                        "\r\nOK\r\n";
constexpr const char *kPimsorSample = "\r\nManufacture: HUAWEI\r\n"
                                      "Model: MG301\r\n"
                                      "Revision: 11.310.21.03.00\r\n"
                                      "IMEI: 861234030112233\r\n"
                                      "+GCAP: +CGSM\r\n"
                                      "\r\nOK\r\n";
constexpr const char *kOrvastSample = "\r\n WAVECOM MODEM\r\n"
                                      "\r\n MULTIBAND  900E  1800 \r\n"
                                      "\r\nOK\r\n";
// A CDMA module: an ESN of 8 hexadecimal digits instead of an IMEI.
constexpr const char *kSudrelSample = "\r\nManufacturer:HUAWEI TECHNOLOGIES CO., LTD\r\n"
                                      "Model:MC323-a\r\n"
                                      "Revision:12.102.29.00.00\r\n"
                                      "ESN:80A1B2C3\r\n"
                                      "\r\nOK\r\n";

// The order decides a reply that names two modules; it stays as it has
// always been, so that no device changes its model.
constexpr PhoneModel kModels[] = {
    {PHONE_TYPE_TARNEL, "Tarnel", "M35", kTarnelSample},
    {PHONE_TYPE_VELKOR_NC5, "Velkor_NC5", "CLM920_NC5", kVelkorNc5Sample},
    {PHONE_TYPE_VELKOR_ME, "Velkor_ME", "ME909s-821", kVelkorMeSample},
    {PHONE_TYPE_PIMSOR, "Pimsor", "MG301", kPimsorSample},
    {PHONE_TYPE_ORVAST, "Orvast", "WAVECOM", kOrvastSample},
    {PHONE_TYPE_SUDREL, "Sudrel", "MC323", kSudrelSample},
};

}  // namespace

PhoneModelList AllPhoneModels()
{
    return {kModels, std::size(kModels)};
}

const PhoneModel *FindPhoneModel(PHONE_TYPE_t type)
{
    for (const PhoneModel &model : AllPhoneModels())
        if (model.type == type)
            return &model;
    return nullptr;
}

const char *PhoneModelName(PHONE_TYPE_t type)
{
    const PhoneModel *model = FindPhoneModel(type);
    return model ? model->typeName : nullptr;
}
