/* map_default_page.cpp - rewrites the physical path of a directory request to its default
 * page; settings are read from the registry on every call, nothing is kept between calls. */
#include "map_default_page.h"

#include <string.h>

#include "config_store.h"
#include "log_append.h"
#include "split_path.h"
#include "tokens.h"
#include "vcl_file.h"

/* Copies path and its NUL into the host's buffer. Returns false, leaving the buffer
 * unchanged, when they do not fit in its cbPathBuff bytes. */
static bool ReplacePath(HTTP_FILTER_URL_MAP *urlMap, const std::string &path)
{
    if (path.size() >= urlMap->cbPathBuff)
        return false;
    memcpy(urlMap->pszPhysicalPath, path.c_str(), path.size() + 1);
    return true;
}

/* The list cut after the last whole entry within MAX_LIST_CHARS characters. */
static std::string ListWithinLimit(const std::string &list)
{
    if (list.size() <= MAX_LIST_CHARS)
        return list;
    size_t lastSeparator = list.rfind(LIST_SEPARATOR, MAX_LIST_CHARS);
    return lastSeparator == std::string::npos ? std::string() : list.substr(0, lastSeparator);
}

/* An existing candidate: logs the substitution and puts the candidate in place, or
 * refuses it (path and log untouched) when it does not fit the host's buffer. */
static void Substitute(HTTP_FILTER_URL_MAP *urlMap, const std::string &url,
                       const std::string &mapped, const std::string &candidate,
                       const std::string &logName)
{
    if (candidate.size() >= urlMap->cbPathBuff)
        return;
    if (!logName.empty())
        AppendLine(logName, url + LOG_FIELD_SEPARATOR + mapped + LOG_FIELD_SEPARATOR + candidate);
    ReplacePath(urlMap, candidate);
}

void MapDefaultPage(HTTP_FILTER_URL_MAP *urlMap)
{
    if (urlMap == NULL || urlMap->pszURL == NULL || urlMap->pszPhysicalPath == NULL
        || urlMap->cbPathBuff == 0)
        return;
    std::string url(urlMap->pszURL);
    /* The host's text is read within its buffer, terminated or not. */
    std::string mapped(urlMap->pszPhysicalPath,
                       strnlen(urlMap->pszPhysicalPath, urlMap->cbPathBuff));

    if (!SplitPath(url).fileName.empty())
        return;
    std::string prefix = SplitPath(mapped).dirPrefix;

    std::string list = LowerAscii(ReadConfigString(FILTER_KEY, VALUE_DEFAULT_LOAD_FILES, ""));
    std::string logName = LowerAscii(ReadConfigString(FILTER_KEY, VALUE_LOG_FILE, ""));
    if (list.empty())
        return;

    list = ListWithinLimit(list);
    size_t count = CountTokens(list, LIST_SEPARATOR);
    bool found = false;
    for (size_t k = 1; !found && k <= count; k++) {
        std::string entry = GetToken(list, LIST_SEPARATOR, k);
        if (entry.empty())
            continue;
        std::string candidate = prefix + entry;

        /* An error while testing the candidate only skips it; one after it was found
         * to exist ends the search, without the not-found page. */
        try {
            found = FileExists(candidate);
        } catch (...) {
            continue;
        }
        if (!found)
            continue;
        try {
            Substitute(urlMap, url, mapped, candidate, logName);
        } catch (...) {
        }
    }
    if (found)
        return;

    std::string notFound = LowerAscii(ReadConfigString(FILTER_KEY, VALUE_NOT_FOUND_PAGE, ""));
    if (!notFound.empty() && FileExists(notFound))
        ReplacePath(urlMap, notFound);
}
