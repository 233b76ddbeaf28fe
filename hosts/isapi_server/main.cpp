/* main.cpp - isapi_server: serves a site folder on 127.0.0.1 the way the web server of the
 * filter does, calling the ISAPI filters of "Filter DLLs" (or of --filter) on URL mapping */
#include "filter_list.h"
#include "http_server.h"
#include "win_error.h"

#include <cstdio>
#include <thread>

#define ROOT_PATH_BYTES MAX_PATH  /* bytes of the site folder's full path, NUL included */
#define STDIN_CHUNK_BYTES 256     /* bytes read at a time while waiting for end of input */

/* Returns true with *root set to the full path of dir without trailing "\"; false with
 * *error set when dir is no existing folder or its full path is too long. */
static bool ResolveRoot(const std::string &dir, std::string *root, std::string *error)
{
    char full[ROOT_PATH_BYTES] = {};
    DWORD n = GetFullPathNameA(dir.c_str(), ROOT_PATH_BYTES, full, nullptr);
    if (n == 0) {
        *error = DescribeWin32Error("GetFullPathNameA", dir, GetLastError());
        return false;
    }
    if (n >= ROOT_PATH_BYTES) {
        *error = dir + ": full path longer than " + std::to_string(ROOT_PATH_BYTES - 1) + " bytes";
        return false;
    }
    DWORD attributes = GetFileAttributesA(full);
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        *error = std::string(full) + ": no such folder";
        return false;
    }
    std::string text = full;
    while (!text.empty() && (text.back() == '\\' || text.back() == '/'))
        text.pop_back();
    *root = text;
    return true;
}

/* Loads the filters named by --filter, or else by "Filter DLLs", printing one line for each:
 * loaded with its description, skipped, or not loadable. Cannot fail; a filter that cannot
 * be loaded is left out, as the web server does. */
static void LoadFilters(const ServerOptions &opts, std::vector<LoadedFilter> *filters)
{
    std::vector<std::string> paths = opts.filters;
    if (paths.empty()) {
        std::string text, error;
        if (!ReadFilterDllList(&text, &error))
            PrintLine("isapi_server: cannot read \"" FILTER_DLLS_VALUE "\": " + error);
        paths = SplitFilterDllList(text);
        PrintLine("isapi_server: \"" FILTER_DLLS_VALUE "\" lists " + std::to_string(paths.size()) + " filter(s)");
    }
    for (const std::string &path : paths) {
        LoadedFilter filter = {};
        std::string error;
        switch (LoadFilter(path, &filter, &error)) {
        case FILTER_LOADED:
            PrintLine("isapi_server: loaded filter " + path + ": " + filter.description);
            filters->push_back(filter);
            break;
        case FILTER_NOT_URL_MAP:
            PrintLine("isapi_server: skipped filter " + path + ": " + filter.description +
                      " (asks for no URL mapping)");
            break;
        case FILTER_LOAD_FAILED:
            PrintLine("isapi_server: cannot load filter " + path + ": " + error);
            break;
        }
    }
    OrderFilters(filters);
}

static BOOL WINAPI OnConsoleControl(DWORD)
{
    RequestServerStop();
    return TRUE;
}

/* --stop-on-eof: reads standard input until it ends or fails, then asks for the stop. */
static void WatchStandardInput()
{
    HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    char chunk[STDIN_CHUNK_BYTES];
    DWORD got = 0;
    while (input != nullptr && input != INVALID_HANDLE_VALUE && ReadFile(input, chunk, sizeof chunk, &got, nullptr) &&
           got > 0) {
    }
    RequestServerStop();
}

int main(int argc, char **argv)
{
    ServerOptions opts;
    std::string error;
    if (!ParseServerOptions(argc, argv, &opts, &error)) {
        if (error.empty()) {
            std::fputs(SERVER_USAGE, stdout);
            return 0;
        }
        std::fprintf(stderr, "isapi_server: %s\n%s", error.c_str(), SERVER_USAGE);
        return 2;
    }
    std::string root;
    if (!ResolveRoot(opts.root, &root, &error)) {
        std::fprintf(stderr, "isapi_server: %s\n", error.c_str());
        return 1;
    }

    std::vector<LoadedFilter> filters;
    LoadFilters(opts, &filters);
    ServerSite site = {};
    site.root = root;
    site.filters = &filters;
    site.drops = &opts.drops;

    SetConsoleCtrlHandler(OnConsoleControl, TRUE);
    if (opts.stopOnEof)
        std::thread(WatchStandardInput).detach();
    int rc = RunHttpServer(opts, &site);
    for (LoadedFilter &filter : filters)
        UnloadFilter(&filter);
    if (rc == 0)
        PrintLine("isapi_server: stopped");
    return rc;
}
