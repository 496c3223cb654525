// PDUs too long for a table row, read from their files in
// tools/fixtures/pdu (the folder PDU_FIXTURE_DIR names).
#ifndef ZARVEX_PDU_FIXTURES_H
#define ZARVEX_PDU_FIXTURES_H

#include <fstream>
#include <string>
#include <vector>

// The lines of a fixture file in order, comment lines (starting with '#')
// and empty ones left out.
inline std::vector<std::string> FixtureLines(const std::string &name)
{
    std::ifstream in(std::string(PDU_FIXTURE_DIR) + "/" + name);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        if (!line.empty() && line[0] != '#')
            lines.push_back(line);
    return lines;
}

#endif
