/* url_path.cpp - decodes and checks a request target, maps a URL into the site folder */
#include "url_path.h"

#include <cstring>
#include <vector>

/* Value of one hex digit, or -1. */
static int HexValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

/* Returns 0 with *out holding the %-decoded path, or 400. */
static int PercentDecode(const std::string &raw, std::string *out)
{
    std::string text;
    text.reserve(raw.size());
    for (size_t i = 0; i < raw.size(); i++) {
        unsigned char c = (unsigned char)raw[i];
        if (c == '%') {
            if (i + 2 >= raw.size())
                return 400;  /* "%" without two digits after it */
            int hi = HexValue(raw[i + 1]), lo = HexValue(raw[i + 2]);
            if (hi < 0 || lo < 0)
                return 400;
            c = (unsigned char)(hi * 16 + lo);
            i += 2;
        }
        if (c < 0x20 || c == 0x7F)
            return 400;  /* NUL and control bytes name no file */
        text += (char)c;
    }
    *out = text;
    return 0;
}

/* True when name (one segment) is a Windows device: CON, PRN, AUX, NUL, COM1-9, LPT1-9,
 * CONIN$, CONOUT$, CLOCK$, with or without an extension. */
static bool IsDeviceName(const std::string &segment)
{
    static const char *const kDevices[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$", "CLOCK$"};
    std::string base = segment.substr(0, segment.find('.'));
    while (!base.empty() && base.back() == ' ')
        base.pop_back();
    for (char &c : base)
        if (c >= 'a' && c <= 'z')
            c = (char)(c - 'a' + 'A');
    for (const char *d : kDevices)
        if (base == d)
            return true;
    return base.size() == 4 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0) &&
           base[3] >= '1' && base[3] <= '9';
}

/* Returns 0 when one decoded segment (not empty, not ".") may name a file under the root,
 * else 400 or 404 as told in url_path.h. */
static int CheckSegment(const std::string &segment)
{
    if (segment == "..")
        return 400;
    if (segment.find_first_of("\\:<>\"|?*") != std::string::npos)
        return 400;
    char last = segment.back();
    if (last == '.' || last == ' ')
        return 404;  /* Windows drops these, so "a.htm." would open a.htm */
    if (IsDeviceName(segment))
        return 404;
    return 0;
}

int DecodeRequestTarget(const std::string &target, std::string *url, std::string *query)
{
    if (target.size() > MAX_TARGET_BYTES)
        return 414;
    if (target.empty() || target[0] != '/')
        return 400;  /* "*", absolute URLs and anything else that is no path */
    size_t mark = target.find('?');
    std::string raw = target.substr(0, mark);
    std::string decoded;
    int status = PercentDecode(raw, &decoded);
    if (status != 0)
        return status;

    std::vector<std::string> segments;
    bool trailing = false;  /* the URL names a directory: it ends with "/" or "/." */
    size_t start = 1;
    while (start <= decoded.size()) {
        size_t end = decoded.find('/', start);
        if (end == std::string::npos)
            end = decoded.size();
        std::string segment = decoded.substr(start, end - start);
        bool isLast = end == decoded.size();
        if (segment.empty() || segment == ".") {
            if (isLast)
                trailing = true;
        } else {
            status = CheckSegment(segment);
            if (status != 0)
                return status;
            segments.push_back(segment);
            trailing = false;
        }
        start = end + 1;
    }

    std::string normal;
    for (const std::string &segment : segments)
        normal += "/" + segment;
    if (normal.empty() || trailing)
        normal += "/";
    *url = normal;
    *query = mark == std::string::npos ? std::string() : target.substr(mark + 1);
    return 0;
}

bool MapUrlToPath(const std::string &root, const std::string &url, char *buf, size_t bufBytes)
{
    if (bufBytes == 0)
        return false;
    buf[0] = '\0';
    if (root.size() + url.size() + 1 > bufBytes)
        return false;
    size_t n = 0;
    for (char c : root)
        buf[n++] = c;
    for (char c : url)
        buf[n++] = c == '/' ? '\\' : c;
    buf[n] = '\0';
    return true;
}

std::string EncodeUrlPath(const std::string &url)
{
    static const char kHex[] = "0123456789ABCDEF";
    static const char kKeep[] = "-._~!$&'()*+,;=:@/";
    std::string out;
    for (unsigned char c : url) {
        bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                     (c != '\0' && std::strchr(kKeep, c) != nullptr);
        if (plain) {
            out += (char)c;
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        }
    }
    return out;
}
