// The part of CCheckManager's body that only the Windows build has (the
// class is declared in CheckManager.h, which includes this file inside it):
// device detection in the Windows form.
#ifndef ZARVEX_CHECK_MANAGER_MEMBERS_WINDOWS_H
#define ZARVEX_CHECK_MANAGER_MEMBERS_WINDOWS_H

public:
    // Device detection: the registry's COM names, rows appended in the order
    // the probes ended. The count of listed ports that got no probe goes to
    // *unprobedCount when it is given.
    static void DetectAllDevice(std::vector<Win32::CommInfo> &rows,
                                std::size_t *unprobedCount = nullptr);
    static bool GetAllComPort(std::vector<std::string> &comNames);

#endif
