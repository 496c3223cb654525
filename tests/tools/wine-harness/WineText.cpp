#include "WineText.h"

#include <iconv.h>

#include <cerrno>
#include <cstdio>

namespace {
constexpr char kGbk[] = "GBK";
constexpr char kUtf8[] = "UTF-8";

// One iconv pass; false at the first byte that cannot be converted, with
// *at its offset.
bool Convert(const char *to, const char *from, const std::string &in, std::string *out, std::size_t *at)
{
    out->clear();
    *at = 0;
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return false;
    char *src = const_cast<char *>(in.data());
    std::size_t srcLeft = in.size();
    bool ok = true;
    char buf[1024];
    while (srcLeft > 0) {
        char *dst = buf;
        std::size_t dstLeft = sizeof buf;
        const std::size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
        out->append(buf, sizeof buf - dstLeft);
        if (r == static_cast<std::size_t>(-1) && errno != E2BIG) {
            ok = false;
            break;
        }
    }
    if (ok) {
        char *dst = buf;
        std::size_t dstLeft = sizeof buf;
        ok = iconv(cd, nullptr, nullptr, &dst, &dstLeft) != static_cast<std::size_t>(-1);
        out->append(buf, sizeof buf - dstLeft);
    }
    *at = in.size() - srcLeft;
    iconv_close(cd);
    return ok;
}
}  // namespace

bool Utf8ToGbk(const std::string &utf8, std::string *gbk)
{
    std::size_t at = 0;
    return Convert(kGbk, kUtf8, utf8, gbk, &at);
}

bool GbkToUtf8(const std::string &gbk, std::string *utf8)
{
    std::size_t at = 0;
    return Convert(kUtf8, kGbk, gbk, utf8, &at);
}

std::string TextModeLineEnds(const std::string &text)
{
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (char c : text) {
        if (c == '\n')
            out.push_back('\r');
        out.push_back(c);
    }
    return out;
}

std::string WineStdout(const std::string &utf8)
{
    std::string gbk;
    if (!Utf8ToGbk(utf8, &gbk))
        return "<not convertible to GBK: " + utf8 + ">";
    return TextModeLineEnds(gbk);
}

std::string ReadableGbk(const std::string &gbk)
{
    std::string out;
    std::size_t pos = 0;
    while (pos < gbk.size()) {
        std::string part;
        std::size_t at = 0;
        if (Convert(kUtf8, kGbk, gbk.substr(pos), &part, &at)) {
            out += part;
            break;
        }
        // The converted part, then the byte it stopped at.
        out += part;
        pos += at;
        if (pos < gbk.size()) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", static_cast<unsigned char>(gbk[pos]));
            out += hex;
            ++pos;
        }
    }
    return out;
}
