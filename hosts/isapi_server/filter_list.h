/* filter_list.h - the server's ISAPI filters: "Filter DLLs" from the registry, each DLL
 * loaded and asked for its version, kept when it wants the URL-map notification */
#ifndef FILTER_LIST_H
#define FILTER_LIST_H

#include "isapi_filter.h"

#include <string>
#include <vector>

#define IIS_PARAMETERS_KEY    "SYSTEM\\CurrentControlSet\\Services\\W3SVC\\Parameters\\"
#define FILTER_DLLS_VALUE     "Filter DLLs"
#define MAX_FILTER_DLLS_BYTES 65536       /* most bytes of "Filter DLLs" read */
#define SERVER_FILTER_VERSION 0x00010000  /* interface version offered to GetFilterVersion */

/* What TerminateFilter is told when the server unloads a filter. */
#define HSE_TERM_MUST_UNLOAD 0x00000001

typedef BOOL(WINAPI *PFN_TERMINATE_FILTER)(DWORD dwFlags);

struct LoadedFilter {
    std::string path;
    HMODULE module;
    PFN_HTTP_FILTER_PROC proc;
    PFN_TERMINATE_FILTER terminate;  /* optional export; may be null */
    DWORD flags;                     /* dwFlags from GetFilterVersion */
    DWORD version;                   /* dwFilterVersion */
    char description[SF_MAX_FILTER_DESC_LEN];  /* always NUL-terminated */
};

enum FilterLoadResult {
    FILTER_LOADED,       /* kept: asks for SF_NOTIFY_URL_MAP */
    FILTER_NOT_URL_MAP,  /* loaded and asked, but wants no URL mapping; unloaded again */
    FILTER_LOAD_FAILED   /* not loaded, or no entry points, or GetFilterVersion said FALSE */
};

/* Returns the entries of a "Filter DLLs" text: split at ",", blanks around an entry
 * removed, empty entries skipped. Cannot fail. */
std::vector<std::string> SplitFilterDllList(const std::string &text);

/* Returns true with *text holding "Filter DLLs" (the empty text when the key or the value
 * is missing); false when the value exists but is no text or cannot be read, *error then
 * saying why and *text empty. */
bool ReadFilterDllList(std::string *text, std::string *error);

/* Loads the DLL at path and calls its GetFilterVersion. Returns FILTER_LOADED with
 * *filter filled and the module kept; FILTER_NOT_URL_MAP with *filter filled but the
 * module freed; FILTER_LOAD_FAILED with *error naming the failed call, nothing kept. */
FilterLoadResult LoadFilter(const std::string &path, LoadedFilter *filter, std::string *error);

/* Orders filters as the server calls them: SF_NOTIFY_ORDER_HIGH first, then MEDIUM, then
 * LOW or none, keeping the list order within one priority. Cannot fail. */
void OrderFilters(std::vector<LoadedFilter> *filters);

/* Calls TerminateFilter when the filter exports it, then frees its module. Cannot fail. */
void UnloadFilter(LoadedFilter *filter);

#endif /* FILTER_LIST_H */
