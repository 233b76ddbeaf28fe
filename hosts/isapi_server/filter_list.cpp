/* filter_list.cpp - reads "Filter DLLs", loads each filter DLL and asks for its version */
#include "filter_list.h"
#include "win_error.h"

#include <algorithm>
#include <cstring>

std::vector<std::string> SplitFilterDllList(const std::string &text)
{
    std::vector<std::string> entries;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(',', start);
        if (end == std::string::npos)
            end = text.size();
        size_t first = start, last = end;
        while (first < last && (text[first] == ' ' || text[first] == '\t'))
            first++;
        while (last > first && (text[last - 1] == ' ' || text[last - 1] == '\t'))
            last--;
        if (last > first)
            entries.push_back(text.substr(first, last - first));
        start = end + 1;
    }
    return entries;
}

bool ReadFilterDllList(std::string *text, std::string *error)
{
    text->clear();
    HKEY key = nullptr;
    LONG rc = RegOpenKeyExA(HKEY_LOCAL_MACHINE, IIS_PARAMETERS_KEY, 0, KEY_READ, &key);
    if (rc != ERROR_SUCCESS)
        return true;  /* no key: no filters, as on a server where none was installed */

    DWORD type = 0, size = 0;
    bool ok = true;
    rc = RegQueryValueExA(key, FILTER_DLLS_VALUE, nullptr, &type, nullptr, &size);
    if (rc == ERROR_FILE_NOT_FOUND) {
        ok = true;
    } else if (rc != ERROR_SUCCESS) {
        *error = DescribeWin32Error("RegQueryValueExA", FILTER_DLLS_VALUE, (unsigned long)rc);
        ok = false;
    } else if (type != REG_SZ && type != REG_EXPAND_SZ) {
        *error = std::string("\"" FILTER_DLLS_VALUE "\" is not a text (type ") + std::to_string(type) + ")";
        ok = false;
    } else if (size > MAX_FILTER_DLLS_BYTES) {
        *error = "\"" FILTER_DLLS_VALUE "\" is longer than " + std::to_string(MAX_FILTER_DLLS_BYTES) + " bytes";
        ok = false;
    } else if (size > 0) {
        std::vector<char> data(size + 1, '\0');  /* one more: the data may lack their NUL */
        DWORD got = size;
        rc = RegQueryValueExA(key, FILTER_DLLS_VALUE, nullptr, &type, (BYTE *)data.data(), &got);
        if (rc != ERROR_SUCCESS) {
            *error = DescribeWin32Error("RegQueryValueExA", FILTER_DLLS_VALUE, (unsigned long)rc);
            ok = false;
        } else {
            *text = std::string(data.data(), strnlen(data.data(), got));
        }
    }
    RegCloseKey(key);
    return ok;
}

FilterLoadResult LoadFilter(const std::string &path, LoadedFilter *filter, std::string *error)
{
    HMODULE module = LoadLibraryA(path.c_str());
    if (module == nullptr) {
        *error = DescribeWin32Error("LoadLibraryA", path, GetLastError());
        return FILTER_LOAD_FAILED;
    }
    PFN_GET_FILTER_VERSION getVersion = (PFN_GET_FILTER_VERSION)(void *)GetProcAddress(module, "GetFilterVersion");
    PFN_HTTP_FILTER_PROC proc = (PFN_HTTP_FILTER_PROC)(void *)GetProcAddress(module, "HttpFilterProc");
    if (getVersion == nullptr || proc == nullptr) {
        *error = path + ": exports no GetFilterVersion or no HttpFilterProc";
        FreeLibrary(module);
        return FILTER_LOAD_FAILED;
    }

    HTTP_FILTER_VERSION version = {};
    version.dwServerFilterVersion = SERVER_FILTER_VERSION;
    if (!getVersion(&version)) {
        *error = path + ": GetFilterVersion returned FALSE";
        FreeLibrary(module);
        return FILTER_LOAD_FAILED;
    }
    version.lpszFilterDesc[SF_MAX_FILTER_DESC_LEN - 1] = '\0';

    filter->path = path;
    filter->module = module;
    filter->proc = proc;
    filter->terminate = (PFN_TERMINATE_FILTER)(void *)GetProcAddress(module, "TerminateFilter");
    filter->flags = version.dwFlags;
    filter->version = version.dwFilterVersion;
    std::memcpy(filter->description, version.lpszFilterDesc, SF_MAX_FILTER_DESC_LEN);

    if ((version.dwFlags & SF_NOTIFY_URL_MAP) == 0) {
        UnloadFilter(filter);
        return FILTER_NOT_URL_MAP;
    }
    return FILTER_LOADED;
}

/* 0 for the filters called first. */
static int PriorityRank(DWORD flags)
{
    if (flags & SF_NOTIFY_ORDER_HIGH)
        return 0;
    if (flags & SF_NOTIFY_ORDER_MEDIUM)
        return 1;
    return 2;
}

void OrderFilters(std::vector<LoadedFilter> *filters)
{
    std::stable_sort(filters->begin(), filters->end(), [](const LoadedFilter &a, const LoadedFilter &b) {
        return PriorityRank(a.flags) < PriorityRank(b.flags);
    });
}

void UnloadFilter(LoadedFilter *filter)
{
    if (filter->module == nullptr)
        return;
    if (filter->terminate != nullptr)
        filter->terminate(HSE_TERM_MUST_UNLOAD);
    FreeLibrary(filter->module);
    filter->module = nullptr;
    filter->proc = nullptr;
    filter->terminate = nullptr;
}
