// The version line and the help text, whose wording differs between the
// builds. Both builds' texts live here so that the tests of either build
// check both; PlatformConstants.h picks the build's own as kProgramTexts,
// and the compiler's version as kCompilerVersion.
#ifndef ZARVEX_CHECK_MANAGER_PROGRAM_TEXTS_H
#define ZARVEX_CHECK_MANAGER_PROGRAM_TEXTS_H

#include <string>

constexpr int HELP_LINE_COUNT = 9;

struct ProgramTexts {
    // The version line: this text, the build date, a blank, the build time,
    // the compiler lead and the compiler's version.
    const char *versionLead;
    const char *compilerLead;
    // The help text's lines under its banner.
    const char *helpLines[HELP_LINE_COUNT];
};

extern const ProgramTexts kLinuxProgramTexts;
extern const ProgramTexts kWindowsProgramTexts;

// The build date and time in the compiler's forms ("Jun  6 2019",
// "10:22:32"), and the compiler's version as the line shows it.
std::string VersionLine(const ProgramTexts &texts, const std::string &buildDate,
                        const std::string &buildTime, const std::string &compilerVersion);

// gcc's own version text ("12.2.0"), shown as it is.
std::string CompilerVersionText(const char *versionText);
// A version number, shown in decimal.
std::string CompilerVersionText(int versionNumber);

#endif
