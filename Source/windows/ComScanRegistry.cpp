#include <algorithm>
#include <vector>

#include "ComScan.h"
#include "ProbeRegistry.h"

namespace {

constexpr char kSerialPortMapKey[] = "Hardware\\DeviceMap\\SerialComm";

// Reads value `index` of an open key into buffers sized for the key's
// largest name and data, so that no value is cut.
class RegistryValueReader {
public:
    explicit RegistryValueReader(HKEY key) : m_key(key)
    {
        DWORD longestName = 0;
        DWORD longestData = 0;
        if (RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                             &longestName, &longestData, nullptr, nullptr) == ERROR_SUCCESS) {
            m_name.resize(longestName + 1);
            m_data.resize(longestData + 1);
        }
    }

    RegistryValueRead Read(unsigned long index)
    {
        RegistryValueRead value;
        DWORD nameSize = static_cast<DWORD>(m_name.size());
        DWORD dataSize = static_cast<DWORD>(m_data.size());
        DWORD type = 0;
        const LONG status = RegEnumValueA(m_key, index, m_name.data(), &nameSize, nullptr, &type,
                                          reinterpret_cast<BYTE *>(m_data.data()), &dataSize);
        if (status == ERROR_NO_MORE_ITEMS) {
            value.outcome = RegistryValueRead::End;
        } else if (status != ERROR_SUCCESS) {
            // Grown since the sizes were taken, or gone: pass over it.
            value.outcome = RegistryValueRead::Skip;
        } else {
            value.outcome = RegistryValueRead::Read;
            value.type = type;
            value.data.assign(m_data.data(), std::min<std::size_t>(dataSize, m_data.size()));
        }
        return value;
    }

private:
    HKEY m_key;
    std::vector<char> m_name = std::vector<char>(256);
    std::vector<char> m_data = std::vector<char>(256);
};

}  // namespace

bool ListComNamesUnderKey(HKEY root, const std::string &subKey, std::vector<std::string> &names)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, subKey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegistryValueReader reader(key);
    const std::vector<std::string> found =
        CollectComNames([&reader](unsigned long index) { return reader.Read(index); });
    RegCloseKey(key);
    names.insert(names.end(), found.begin(), found.end());
    return !found.empty();
}

bool ListRegistryComNames(std::vector<std::string> &names)
{
    return ListComNamesUnderKey(HKEY_LOCAL_MACHINE, kSerialPortMapKey, names);
}
