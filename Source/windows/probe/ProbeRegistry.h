// The rules for reading COM names out of the registry's serial port map,
// apart from the registry calls themselves.
#ifndef ZARVEX_PROBE_REGISTRY_H
#define ZARVEX_PROBE_REGISTRY_H

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

// Value types as the registry numbers them (REG_SZ, REG_EXPAND_SZ).
constexpr unsigned long kRegistryTypeString = 1;
constexpr unsigned long kRegistryTypeExpandString = 2;

// The COM name held by one value: its data as far as the length that the
// registry returned, up to the first NUL if there is one (the data need not
// end in one). False for a value that is not a string or holds no name.
bool ComNameFromRegistryValue(unsigned long type, const char *data, std::size_t length,
                              std::string &name);

// One step of walking the values of a key.
struct RegistryValueRead {
    enum Outcome {
        Read,    // type and data hold the value
        Skip,    // this value could not be read (it changed, or did not fit)
        End,     // no value at this index or after it
    } outcome = End;
    unsigned long type = 0;
    std::string data;  // exactly the bytes the registry returned
};

// The most values looked at in one listing: a bound for a registry that
// keeps answering Skip.
constexpr unsigned long kRegistryValueLimit = 4096;

// The COM names of the values at index 0, 1, 2, ... until End, in that
// order; a value that cannot be read or is no COM name is passed over.
std::vector<std::string> CollectComNames(
    const std::function<RegistryValueRead(unsigned long index)> &readValue);

#endif
