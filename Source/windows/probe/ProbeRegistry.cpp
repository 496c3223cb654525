#include "ProbeRegistry.h"

#include <cstring>

bool ComNameFromRegistryValue(unsigned long type, const char *data, std::size_t length,
                              std::string &name)
{
    if (type != kRegistryTypeString && type != kRegistryTypeExpandString)
        return false;
    if (data == nullptr)
        return false;
    const void *nul = std::memchr(data, '\0', length);
    const std::size_t textLength =
        nul ? static_cast<std::size_t>(static_cast<const char *>(nul) - data) : length;
    if (textLength == 0)
        return false;
    name.assign(data, textLength);
    return true;
}

std::vector<std::string> CollectComNames(
    const std::function<RegistryValueRead(unsigned long index)> &readValue)
{
    std::vector<std::string> names;
    for (unsigned long index = 0; index < kRegistryValueLimit; ++index) {
        const RegistryValueRead value = readValue(index);
        if (value.outcome == RegistryValueRead::End)
            break;
        std::string name;
        if (value.outcome == RegistryValueRead::Read &&
            ComNameFromRegistryValue(value.type, value.data.data(), value.data.size(), name))
            names.push_back(name);
    }
    return names;
}
