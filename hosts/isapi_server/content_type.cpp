/* content_type.cpp - the extension table of the server's Content-Type */
#include "content_type.h"

#include <cstring>

struct ExtensionType {
    const char *extension;  /* lowercase, without "." */
    const char *type;
};

static const ExtensionType kTypes[] = {
    {"htm", "text/html"},          {"html", "text/html"},
    {"txt", "text/plain"},         {"log", "text/plain"},
    {"css", "text/css"},           {"js", "application/javascript"},
    {"gif", "image/gif"},          {"jpg", "image/jpeg"},
    {"jpeg", "image/jpeg"},        {"png", "image/png"},
    {"ico", "image/x-icon"},       {"xml", "text/xml"},
    {"zip", "application/zip"},    {"exe", "application/octet-stream"},
    {"class", "application/java-vm"},
    {"tvn", "application/tvn"},    /* the plug-in's download lists */
};

#define MAX_EXTENSION_CHARS 15  /* longer extensions are unknown */

const char *ContentTypeFor(const char *path)
{
    const char *name = path;
    for (const char *p = path; *p != '\0'; p++)
        if (*p == '\\' || *p == '/')
            name = p + 1;
    const char *dot = std::strrchr(name, '.');
    if (dot == nullptr || std::strlen(dot + 1) > MAX_EXTENSION_CHARS)
        return "application/octet-stream";
    char ext[MAX_EXTENSION_CHARS + 1] = {};
    size_t n = 0;
    for (const char *p = dot + 1; *p != '\0' && n < MAX_EXTENSION_CHARS; p++)
        ext[n++] = (*p >= 'A' && *p <= 'Z') ? (char)(*p - 'A' + 'a') : *p;
    for (const ExtensionType &t : kTypes)
        if (std::strcmp(ext, t.extension) == 0)
            return t.type;
    return "application/octet-stream";
}
