/* url_path.h - from a request target to the URL the filters see and the physical path it maps to */
#ifndef URL_PATH_H
#define URL_PATH_H

#include <stddef.h>
#include <string>

#define MAX_TARGET_BYTES 4096  /* bytes of a request target; a longer one is answered 414 */

/* Returns 0 with *url set to the decoded, normalised URL path (starts with "/"; repeated
 * "/" and "." segments removed; ends with "/" when the target did) and *query to the raw
 * text after "?"; or the HTTP status that refuses the target, *url and *query unchanged:
 *   400 not a path, a bad %-escape, a control byte or NUL, "\" (also %5C), a ".." segment
 *       (also %2E%2E), ":" (drive letters, streams) or one of < > " | ? *
 *   404 a segment that Windows would silently rename (trailing "." or blank) or a device
 *       name (CON, NUL, COM1, ...)
 *   414 a target longer than MAX_TARGET_BYTES. */
int DecodeRequestTarget(const std::string &target, std::string *url, std::string *query);

/* Writes root, then url with every "/" turned into "\", into buf (bufBytes bytes, NUL
 * included): "/" maps to root followed by "\", "/docs/" to root\docs\. Returns true; false
 * when the path does not fit, buf then holding the empty text (when bufBytes > 0). */
bool MapUrlToPath(const std::string &root, const std::string &url, char *buf, size_t bufBytes);

/* Returns url with every byte %-encoded that may not stand as such in a URL path
 * (blank, %, #, ?, bytes above 126, ...). Cannot fail. */
std::string EncodeUrlPath(const std::string &url);

#endif /* URL_PATH_H */
