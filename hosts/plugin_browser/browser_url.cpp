/* browser_url.cpp - parses, resolves and encodes the http URLs the browser host fetches */
#include "browser_url.h"

#include <cctype>
#include <vector>

static std::string Lower(std::string s)
{
    for (char &c : s)
        if (c >= 'A' && c <= 'Z')
            c = (char)(c - 'A' + 'a');
    return s;
}

/* Length of the scheme ("http") when text starts with one followed by ":", else 0. */
static size_t SchemeLength(const std::string &text)
{
    if (text.empty() || !std::isalpha((unsigned char)text[0]))
        return 0;
    for (size_t i = 1; i < text.size(); i++) {
        char c = text[i];
        if (c == ':')
            return i;
        if (!std::isalnum((unsigned char)c) && c != '+' && c != '-' && c != '.')
            return 0;
    }
    return 0;
}

bool ParseHttpUrl(const std::string &url, HttpUrl *out)
{
    if (Lower(url.substr(0, 7)) != "http://")
        return false;
    size_t hostStart = 7;
    size_t pathStart = url.find_first_of("/?#", hostStart);
    std::string authority = url.substr(hostStart, pathStart == std::string::npos ? std::string::npos
                                                                                 : pathStart - hostStart);
    if (authority.empty() || authority.find('@') != std::string::npos)
        return false;
    HttpUrl parsed;
    size_t colon = authority.rfind(':');
    if (colon != std::string::npos) {
        parsed.host = authority.substr(0, colon);
        parsed.port = authority.substr(colon + 1);
        if (parsed.port.empty() || parsed.port.size() > 5)
            return false;
        for (char c : parsed.port)
            if (c < '0' || c > '9')
                return false;
    } else {
        parsed.host = authority;
        parsed.port = "80";
    }
    if (parsed.host.empty())
        return false;
    parsed.path = pathStart == std::string::npos ? "/" : url.substr(pathStart);
    size_t hash = parsed.path.find('#');
    if (hash != std::string::npos)
        parsed.path.erase(hash);
    if (parsed.path.empty() || parsed.path[0] != '/')
        parsed.path.insert(0, "/");
    *out = parsed;
    return true;
}

/* The path part of a path-and-query with "." and ".." segments removed; the query is kept
 * as it is. A ".." never climbs above the root. */
static std::string RemoveDotSegments(const std::string &pathAndQuery)
{
    size_t q = pathAndQuery.find_first_of("?#");
    std::string path = pathAndQuery.substr(0, q);
    std::string rest = q == std::string::npos ? "" : pathAndQuery.substr(q);
    std::vector<std::string> out;
    size_t pos = 0;
    bool endsInDir = false;
    if (!path.empty() && path[0] == '/')
        pos = 1;
    while (pos <= path.size()) {
        size_t slash = path.find('/', pos);
        std::string seg = path.substr(pos, slash == std::string::npos ? std::string::npos : slash - pos);
        bool last = slash == std::string::npos;
        if (seg == ".") {
            endsInDir = last;
        } else if (seg == "..") {
            if (!out.empty())
                out.pop_back();
            endsInDir = last;
        } else {
            out.push_back(seg);
            endsInDir = false;
        }
        if (last)
            break;
        pos = slash + 1;
    }
    std::string result = "/";
    for (size_t i = 0; i < out.size(); i++) {
        result += out[i];
        if (i + 1 < out.size())
            result += "/";
    }
    if (endsInDir && result.back() != '/')
        result += "/";
    return result + rest;
}

std::string ResolveUrl(const std::string &base, const std::string &reference)
{
    if (SchemeLength(reference) > 0) {
        HttpUrl u;
        if (!ParseHttpUrl(reference, &u))
            return reference;
        size_t pathStart = reference.find_first_of("/?#", 7);
        std::string head = pathStart == std::string::npos ? reference : reference.substr(0, pathStart);
        return head + RemoveDotSegments(u.path);
    }
    HttpUrl b;
    if (!ParseHttpUrl(base, &b))
        return reference;
    size_t pathStart = base.find_first_of("/?#", 7);
    std::string head = pathStart == std::string::npos ? base : base.substr(0, pathStart);
    if (reference.compare(0, 2, "//") == 0)
        return ResolveUrl("", "http:" + reference);
    if (reference.empty())
        return head + b.path;
    if (reference[0] == '/')
        return head + RemoveDotSegments(reference);
    if (reference[0] == '?') {
        size_t q = b.path.find('?');
        return head + b.path.substr(0, q) + reference;
    }
    if (reference[0] == '#')
        return head + b.path;
    std::string dir = b.path.substr(0, b.path.find('?'));
    dir.erase(dir.rfind('/') + 1);
    return head + RemoveDotSegments(dir + reference);
}

std::string EncodeRequestTarget(const std::string &path)
{
    static const char hex[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : path) {
        bool bad = c <= 0x20 || c >= 0x7F || c == '"' || c == '<' || c == '>' || c == '\\' ||
                   c == '^' || c == '`' || c == '{' || c == '|' || c == '}';
        if (bad) {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        } else {
            out += (char)c;
        }
    }
    return out;
}

std::string UrlExtension(const std::string &url)
{
    std::string path = url.substr(0, url.find_first_of("?#"));
    size_t slash = path.rfind('/');
    std::string last = slash == std::string::npos ? path : path.substr(slash + 1);
    size_t dot = last.rfind('.');
    if (dot == std::string::npos)
        return "";
    return Lower(last.substr(dot + 1));
}
