// The port choice behind the port dialogues and the command line, for a
// given build's port naming, so that the tests of either build check both.
#ifndef ZARVEX_CHECK_MANAGER_INPUT_H
#define ZARVEX_CHECK_MANAGER_INPUT_H

#include <string>
#include <vector>

#include "CheckManagerPortNaming.h"
#include "DeviceRecords.h"

// The ids of a typed port answer: blanks and semicolons separate as commas
// do, and empty pieces are skipped. Under digit-only ids the first piece that
// is not all digits empties the list.
std::vector<std::string> SplitPortAnswer(const PortNaming &naming, const std::string &answer);

// One record per typed id, in order: the first row whose port id it is, or
// the record of a port that does not exist. True when at least one id
// matched a row; an answer without ids matches none.
bool ChooseTypedPorts(const PortNaming &naming, const std::string &answer,
                      const std::vector<Win32::CommInfo> &rows,
                      std::vector<ComPortBaseInfo_t> &ports);

#endif
