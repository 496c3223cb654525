// Small constants in which the Linux build differs from the Windows build.
// Each platform folder has a header of this name; the build picks one by its
// include path.
#ifndef ZARVEX_PLATFORM_CONSTANTS_H
#define ZARVEX_PLATFORM_CONSTANTS_H

#include "ConsoleEncoding.h"

// Modem replies are cut into lines at a line feed; the carriage return before
// it stays at the end of its line.
constexpr char kReplyLineSeparator[] = "\n";

// ---- Console texts -----------------------------------------------------
// The console reads and writes UTF-8.
constexpr ConsoleEncoding kConsoleEncoding = ConsoleEncoding::Utf8;

// The port names, the device table and the version and help texts: both
// builds' forms are shared code, tested on either build; here each build
// picks its own.
struct PortNaming;
struct DeviceTableLayout;
struct ProgramTexts;
extern const PortNaming kLinuxPortNaming;
extern const DeviceTableLayout kLinuxDeviceTableLayout;
extern const ProgramTexts kLinuxProgramTexts;
inline constexpr const PortNaming &kPortNaming = kLinuxPortNaming;
inline constexpr const DeviceTableLayout &kDeviceTableLayout = kLinuxDeviceTableLayout;
inline constexpr const ProgramTexts &kProgramTexts = kLinuxProgramTexts;

// The menu's send ends with the time it took.
constexpr bool kSendShowsDuration = true;

// The version line ends with gcc's version text.
constexpr char kCompilerVersion[] = __VERSION__;

#endif
