// Small constants in which the application of the Windows build differs from
// the Linux build's; the codec library's own are in its PlatformText.h.
// Each platform folder of the application has a header of this name; the
// build picks one by its include path.
#ifndef ZARVEX_PLATFORM_CONSTANTS_H
#define ZARVEX_PLATFORM_CONSTANTS_H

// The menu's send ends with its last result line: this build has no text
// for the time it took.
constexpr bool kSendShowsDuration = false;

// The version line ends with the compiler's version as one decimal number,
// as Windows compilers give it. gcc has none: major * 100 + minor stands in
// (1200 for gcc 12.0), which orders as the versions do.
constexpr int kCompilerVersion = __GNUC__ * 100 + __GNUC_MINOR__;

// The port names, the device table and the version and help texts: both
// builds' forms are shared code, tested on either build; here each build
// picks its own.
struct PortNaming;
struct DeviceTableLayout;
struct ProgramTexts;
extern const PortNaming kWindowsPortNaming;
extern const DeviceTableLayout kWindowsDeviceTableLayout;
extern const ProgramTexts kWindowsProgramTexts;
inline constexpr const PortNaming &kPortNaming = kWindowsPortNaming;
inline constexpr const DeviceTableLayout &kDeviceTableLayout = kWindowsDeviceTableLayout;
inline constexpr const ProgramTexts &kProgramTexts = kWindowsProgramTexts;

#endif
