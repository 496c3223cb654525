#include "PduCodec.h"
#include "PduOffered.h"
#include "PduTestSupport.h"
#include "TextLocale.h"

#include <gtest/gtest.h>

#include <cctype>
#include <clocale>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

template <typename T> std::string CaseName(const testing::TestParamInfo<T> &info) { return info.param.name; }

// The conversions change the process locale and read the environment; every
// test here puts back both as it found them.
class LocaleGuard {
public:
    LocaleGuard() : m_locale(std::setlocale(LC_ALL, nullptr))
    {
        for (const char *name : kVariables) {
            const char *value = std::getenv(name);
            m_env.push_back(value ? std::make_pair(true, std::string(value)) : std::make_pair(false, std::string()));
        }
    }
    ~LocaleGuard()
    {
        for (size_t i = 0; i < m_env.size(); i++) {
            if (m_env[i].first)
                setenv(kVariables[i], m_env[i].second.c_str(), 1);
            else
                unsetenv(kVariables[i]);
        }
        std::setlocale(LC_ALL, m_locale.c_str());
    }
    // The user's environment as a minimal sudo or a service manager leaves it.
    static void ForceEnvironment(const char *locale)
    {
        unsetenv("LANG");
        unsetenv("LC_CTYPE");
        setenv("LC_ALL", locale, 1);
    }

private:
    static constexpr const char *kVariables[] = {"LC_ALL", "LC_CTYPE", "LANG", "LOCPATH"};
    std::string m_locale;
    std::vector<std::pair<bool, std::string>> m_env;
};

const std::string kZhong = "\xE4\xB8\xAD";       // U+4E2D
const std::string kWen = "\xE6\x96\x87";         // U+6587
const std::string kGrinning = "\xF0\x9F\x98\x80";  // U+1F600
const std::string kReplacementUtf8 = "\xEF\xBF\xBD";

std::string EncodeToHex(const std::string &text)
{
    std::vector<unsigned char> out(2 * text.size() + 1);
    const int n = gsmEncodeUcs2(text.data(), out.data(), static_cast<int>(text.size()));
    EXPECT_LE(n, static_cast<int>(2 * text.size()));
    return Hex(out.data(), static_cast<size_t>(n));
}

struct EncodeCase {
    const char *name;
    std::string text;
    std::string ucs2;
    friend void PrintTo(const EncodeCase &c, std::ostream *os) { *os << c.name; }
};

const EncodeCase kEncodeCases[] = {
    {"Ascii", "AB", "00410042"},
    {"Chinese", kZhong + kWen, "4E2D6587"},
    {"Mixed", "A" + kZhong + "1", "00414E2D0031"},
    // Above U+FFFF: a surrogate pair rather than the low 16 bits.
    {"EmojiAsSurrogatePair", "x" + kGrinning, "0078D83DDE00"},
    // A byte that is not UTF-8 keeps its place as U+FFFD; the rest is sent.
    {"StrayByteReplaced", "A\xFF" "B", "0041FFFD0042"},
    {"CutSequenceReplaced", "A\xE4\xB8", "0041FFFDFFFD"},
    {"OverlongReplaced", "\xC0\xAF", "FFFDFFFD"},
    {"Empty", "", ""},
};

// The environments a user's text can meet: UTF-8 locales convert it, and the
// plain C/POSIX locale, which converts nothing above 127, reads it as the
// console's UTF-8 instead of sending an empty message.
class EncodeUcs2Test : public testing::TestWithParam<const char *> {
protected:
    LocaleGuard m_guard;
};

TEST_P(EncodeUcs2Test, EncodesEveryText)
{
    LocaleGuard::ForceEnvironment(GetParam());
    for (const EncodeCase &c : kEncodeCases)
        EXPECT_EQ(EncodeToHex(c.text), c.ucs2) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Environments, EncodeUcs2Test, testing::Values("C", "POSIX", "C.UTF-8", "en_US.utf8"),
                         [](const testing::TestParamInfo<const char *> &info) {
                             std::string name;
                             for (const char *p = info.param; *p; p++)
                                 name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
                             return name;
                         });

TEST(EncodeUcs2, ReadsCountBytesNotUpToTheTerminator)
{
    LocaleGuard guard;
    LocaleGuard::ForceEnvironment("C.UTF-8");
    unsigned char out[8];
    EXPECT_EQ(gsmEncodeUcs2("ABCD", out, 2), 4);
    EXPECT_EQ(Hex(out, 4), "00410042");
    // An embedded NUL ends the text.
    EXPECT_EQ(gsmEncodeUcs2("A\0B", out, 3), 2);
    EXPECT_EQ(gsmEncodeUcs2("AB", out, 0), 0);
    EXPECT_EQ(gsmEncodeUcs2("AB", out, -1), 0);
}

TEST(EncodeUcs2, SetsTheCharacterTypeFromTheEnvironment)
{
    LocaleGuard guard;
    LocaleGuard::ForceEnvironment("C.UTF-8");
    std::setlocale(LC_ALL, "C");
    EncodeToHex("A");
    EXPECT_STREQ(std::setlocale(LC_CTYPE, nullptr), "C.UTF-8");
}

struct DecodeCase {
    const char *name;
    std::string ucs2;  // hex
    std::string text;
    friend void PrintTo(const DecodeCase &c, std::ostream *os) { *os << c.name; }
};

class DecodeUcs2Test : public testing::TestWithParam<DecodeCase> {
protected:
    LocaleGuard m_guard;
};

TEST_P(DecodeUcs2Test, WritesUtf8WithoutTerminator)
{
    const DecodeCase &c = GetParam();
    const std::vector<unsigned char> octets = Octets(c.ucs2);
    const int count = static_cast<int>(octets.size());
    std::string buffer(3 * octets.size() / 2 + 4, 'x');
    const int n = gsmDecodeUcs2(octets.data(), &buffer[0], count);
    EXPECT_EQ(buffer.substr(0, static_cast<size_t>(n)), c.text);
    EXPECT_EQ(buffer[static_cast<size_t>(n)], 'x') << "wrote a terminator or more";
    EXPECT_LE(n, 3 * (count / 2));
    EXPECT_EQ(gsmDecodeNew2(octets.data(), count), c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, DecodeUcs2Test,
    testing::Values(DecodeCase{"Chinese", "4E2D6587", kZhong + kWen},
                    DecodeCase{"OddLastOctetIgnored", "4E2D65", kZhong},
                    DecodeCase{"EndsAtValueZero", "004100000042", "A"},
                    // A valid pair is one character; a lone half costs only itself.
                    DecodeCase{"SurrogatePair", "D83DDE00", kGrinning},
                    DecodeCase{"LoneHighSurrogate", "D83D0041", kReplacementUtf8 + "A"},
                    DecodeCase{"LoneLowSurrogate", "0041DE00", "A" + kReplacementUtf8},
                    DecodeCase{"HighSurrogateLast", "0041D83D", "A" + kReplacementUtf8},
                    DecodeCase{"Empty", "", ""}),
    CaseName<DecodeCase>);

TEST(DecodeUcs2, SeventyChineseCharactersDecodeWhole)
{
    LocaleGuard guard;
    const std::vector<unsigned char> octets = Octets(Repeat("4E2D", 70));
    std::string buffer(210, '\0');
    EXPECT_EQ(gsmDecodeUcs2(octets.data(), &buffer[0], 140), 210);
    EXPECT_EQ(buffer, Repeat(kZhong, 70));
}

TEST(DecodeUcs2, NonPositiveCountsGiveNothing)
{
    LocaleGuard guard;
    const unsigned char octets[] = {0x00, 0x41};
    char text[4] = {'x', 'x', 'x', 'x'};
    EXPECT_EQ(gsmDecodeUcs2(octets, text, 0), 0);
    EXPECT_EQ(gsmDecodeUcs2(octets, text, 1), 0);
    EXPECT_EQ(gsmDecodeUcs2(octets, text, -2), 0);
    EXPECT_EQ(text[0], 'x');
    EXPECT_EQ(gsmDecodeNew2(octets, 0), "");
    EXPECT_EQ(gsmDecodeNew2(octets, 1), "");
}

TEST(DecodeUcs2, WritesUtf8WhateverTheEnvironment)
{
    LocaleGuard guard;
    LocaleGuard::ForceEnvironment("C");
    const std::vector<unsigned char> octets = Octets("4E2D6587");
    const bool haveEnUs = std::setlocale(LC_ALL, "en_US.utf8") != nullptr;
    std::setlocale(LC_ALL, "C");
    EXPECT_EQ(gsmDecodeNew2(octets.data(), 4), kZhong + kWen);
    EXPECT_STREQ(std::setlocale(LC_ALL, nullptr), haveEnUs ? "en_US.utf8" : "C.UTF-8");
}

TEST(DecodeUcs2, FallsBackToCUtf8WithoutEnUs)
{
    LocaleGuard guard;
    LocaleGuard::ForceEnvironment("C");
    // glibc reads no locale archive under LOCPATH, so an empty directory
    // leaves this machine without en_US.utf8. Leave en_US first: a request for
    // the locale in force is answered without a look-up.
    char dir[] = "/tmp/pdu-locpath-XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    std::setlocale(LC_ALL, "C");
    setenv("LOCPATH", dir, 1);
    ASSERT_EQ(std::setlocale(LC_ALL, "en_US.utf8"), nullptr);
    const bool haveCUtf8 = std::setlocale(LC_ALL, "C.UTF-8") != nullptr;
    std::setlocale(LC_ALL, "C");

    const std::vector<unsigned char> octets = Octets("4E2D6587");
    EXPECT_EQ(gsmDecodeNew2(octets.data(), 4), kZhong + kWen);
    if (haveCUtf8) {
        EXPECT_STREQ(std::setlocale(LC_ALL, nullptr), "C.UTF-8");
    }
    unsetenv("LOCPATH");
    rmdir(dir);
}

TEST(Decode7bit, WritesUtf8WhateverTheLocale)
{
    // "£Δ€", septets 01 10 1B 65: written by the codec itself, the locale in
    // force (the plain C one here) neither consulted nor changed.
    LocaleGuard guard;
    LocaleGuard::ForceEnvironment("C");
    std::setlocale(LC_ALL, "C");
    const std::vector<unsigned char> octets = Octets("01C8A60C");
    char text[2 * 4 + 1];
    EXPECT_EQ(gsmDecode7bit(octets.data(), text, 4), 7);
    EXPECT_STREQ(text, "\xC2\xA3\xCE\x94\xE2\x82\xAC");
    EXPECT_STREQ(std::setlocale(LC_ALL, nullptr), "C");
}

struct LocaleOrderCase {
    const char *name;
    std::vector<const char *> locales;
    std::string localeAfter;  // "" when the locale must stay as it was
    friend void PrintTo(const LocaleOrderCase &c, std::ostream *os) { *os << c.name; }
};

class Utf8OutputLocaleTest : public testing::TestWithParam<LocaleOrderCase> {
protected:
    LocaleGuard m_guard;
};

TEST_P(Utf8OutputLocaleTest, UsesTheFirstLocaleThereOrItsOwnWriter)
{
    const LocaleOrderCase &c = GetParam();
    std::setlocale(LC_ALL, "C");
    const std::wstring text = {0x4E2D, 0x6587, L'A'};
    EXPECT_EQ(pdutext::UnicodeToUtf8Via(text, c.locales.data(), c.locales.size()), kZhong + kWen + "A");
    EXPECT_EQ(std::string(std::setlocale(LC_ALL, nullptr)), c.localeAfter.empty() ? "C" : c.localeAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Machines, Utf8OutputLocaleTest,
    testing::Values(LocaleOrderCase{"EnUsPresent", {"en_US.utf8", "C.UTF-8"}, "en_US.utf8"},
                    LocaleOrderCase{"EnUsMissing", {"xx_XX.missing", "C.UTF-8"}, "C.UTF-8"},
                    // Nothing to convert through: the text still comes out as UTF-8.
                    LocaleOrderCase{"NoUtf8Locale", {"xx_XX.missing", "yy_YY.missing"}, ""},
                    LocaleOrderCase{"NoCandidates", {}, ""}),
    CaseName<LocaleOrderCase>);

TEST(Utf8OutputLocale, PrefersEnUsThenCUtf8)
{
    ASSERT_EQ(pdutext::kUtf8OutputLocaleCount, 2u);
    EXPECT_STREQ(pdutext::kUtf8OutputLocales[0], "en_US.utf8");
    EXPECT_STREQ(pdutext::kUtf8OutputLocales[1], "C.UTF-8");
}

TEST(WideToUtf8, MatchesTheCLibraryOnWhatItRefuses)
{
    bool ok = false;
    EXPECT_EQ(pdutext::WideToUtf8({L'A', 0x7FF, 0x800, 0xFFFF, 0x10000, 0x10FFFF}, ok),
              "A\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF\xF0\x90\x80\x80\xF4\x8F\xBF\xBF");
    EXPECT_TRUE(ok);
    EXPECT_EQ(pdutext::WideToUtf8({L'A', 0xD800}, ok), "");
    EXPECT_FALSE(ok);
    EXPECT_EQ(pdutext::WideToUtf8({L'A', 0, L'B'}, ok), "A");
    EXPECT_TRUE(ok);
}

TEST(UnicodeToANSI, RefusesASurrogateValue)
{
    LocaleGuard guard;
    EXPECT_EQ(UnicodeToANSI(std::wstring{L'A', 0xD83D}), "");
    EXPECT_EQ(UnicodeToANSI(std::wstring{0x4E2D}), kZhong);
}

TEST(StorageConversions, ReadOnlyTheTextsBytes)
{
    LocaleGuard guard;
    // 16-bit storage form, low byte first, as the Windows build keeps it.
    EXPECT_EQ(UTF8ToUnicode(std::string("A\0B\0C", 5)), (std::wstring{L'A', L'B'}));
    EXPECT_EQ(UTF8ToUnicode(std::string("\x2D\x4E", 2)), std::wstring{0x4E2D});
    EXPECT_EQ(UTF8ToUnicode(""), L"");
    EXPECT_EQ(UnicodeToUTF8(std::wstring{L'A', L'B'}).size(), 4u);
    EXPECT_EQ(UTF8ToANSI(std::string("\x2D\x4E", 2)), kZhong);

    LocaleGuard::ForceEnvironment("C.UTF-8");
    EXPECT_EQ(ANSIToUnicode(kZhong + "A"), (std::wstring{0x4E2D, L'A'}));
    EXPECT_EQ(ANSIToUTF8("AB").size(), 4u);
}

} // namespace
