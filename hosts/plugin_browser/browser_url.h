/* browser_url.h - http URLs as the browser host reads them: parse, resolve against a base,
 * encode a request target */
#ifndef BROWSER_URL_H
#define BROWSER_URL_H

#include <string>

struct HttpUrl {
    std::string host;     /* name or address, without the port */
    std::string port;     /* "80" when the URL names none */
    std::string path;     /* from the first "/" on, query included; "/" at least */
};

/* Returns true with *out filled for an absolute "http://host[:port]/path" URL (scheme
 * compared without regard to case); false for anything else, *out then unchanged. */
bool ParseHttpUrl(const std::string &url, HttpUrl *out);

/* The absolute URL that reference names when read on a page at base, with "." and ".."
 * segments removed as browsers remove them. A reference that is already absolute
 * (has a scheme) is returned with its dot segments removed. Cannot fail; a base that is
 * not absolute leaves relative references as they are. */
std::string ResolveUrl(const std::string &base, const std::string &reference);

/* The path with every byte that may not stand in an HTTP request target (controls,
 * blank, quote, "<", ">", "\", "^", "`", "{", "|", "}", bytes above 127) written as %XX.
 * Cannot fail. */
std::string EncodeRequestTarget(const std::string &path);

/* The last path segment's extension, lower-cased, without the dot ("tvn"); the query
 * and fragment are not part of the path. Empty when there is none. */
std::string UrlExtension(const std::string &url);

#endif /* BROWSER_URL_H */
