// Small constants in which the application of the Linux build differs from
// the Windows build's; the codec library's own are in its PlatformText.h.
// Each platform folder of the application has a header of this name; the
// build picks one by its include path.
#ifndef ZARVEX_PLATFORM_CONSTANTS_H
#define ZARVEX_PLATFORM_CONSTANTS_H

// The menu's send ends with the time it took.
constexpr bool kSendShowsDuration = true;

// The version line ends with gcc's version text.
constexpr char kCompilerVersion[] = __VERSION__;

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

#endif
