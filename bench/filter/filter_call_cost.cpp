/* filter_call_cost.cpp - microseconds per HttpFilterProc call of a filter DLL in this process,
 * for a directory URL against a file URL, beside the system calls a directory request costs
 * (one settings read from the registry, file searches, one attribute query), so the HTTP
 * figures of bench_filter.sh can be read against them.
 *   bench_filter_call_cost DLL DIR_URL DIR_PATH FILE_URL FILE_PATH [CALLS] */
#include "isapi_filter.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#define PATH_BYTES    MAX_PATH  /* the path buffer a server hands the filter */
#define DEFAULT_CALLS 2000
#define SETTINGS_KEY  "SOFTWARE\\Felmo\\Velmorin\\Parameters\\"
#define VALUE_BYTES   1024      /* bytes of one setting read */

static double Now()
{
    static LARGE_INTEGER frequency = {};
    if (frequency.QuadPart == 0)
        QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return (double)t.QuadPart / (double)frequency.QuadPart;
}

static PFN_HTTP_FILTER_PROC g_proc = nullptr;
static const char *g_url = nullptr;
static const char *g_path = nullptr;
static char g_lastPath[PATH_BYTES];

static void CallFilter()
{
    char path[PATH_BYTES];
    lstrcpynA(path, g_path, sizeof path);
    HTTP_FILTER_CONTEXT context = {};
    context.cbSize = sizeof context;
    HTTP_FILTER_URL_MAP map = {g_url, path, sizeof path};
    g_proc(&context, SF_NOTIFY_URL_MAP, &map);
    lstrcpynA(g_lastPath, path, sizeof g_lastPath);
}

static void ReadOneSetting()
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, SETTINGS_KEY, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        return;
    char value[VALUE_BYTES];
    DWORD type = 0, size = 0;
    RegQueryValueExA(key, "DefaultLoadFiles", nullptr, &type, nullptr, &size);
    size = sizeof value;
    RegQueryValueExA(key, "DefaultLoadFiles", nullptr, &type, (BYTE *)value, &size);
    RegCloseKey(key);
}

static void SearchOneFile()
{
    WIN32_FIND_DATAA found = {};
    HANDLE h = FindFirstFileA(g_lastPath, &found);
    if (h != INVALID_HANDLE_VALUE)
        FindClose(h);
}

static void QueryAttributes() { GetFileAttributesA(g_lastPath); }

static char g_missingPath[PATH_BYTES];  /* a name that is not in the directory */

static void SearchMissingFile()
{
    WIN32_FIND_DATAA found = {};
    HANDLE h = FindFirstFileA(g_missingPath, &found);
    if (h != INVALID_HANDLE_VALUE)
        FindClose(h);
}

/* Microseconds per call of work, over calls calls. */
static double Time(void (*work)(), int calls)
{
    double start = Now();
    for (int i = 0; i < calls; i++)
        work();
    return (Now() - start) * 1e6 / calls;
}

int main(int argc, char **argv)
{
    if (argc < 6) {
        std::fprintf(stderr, "usage: bench_filter_call_cost DLL DIR_URL DIR_PATH FILE_URL FILE_PATH [CALLS]\n");
        return 2;
    }
    int calls = argc > 6 ? std::atoi(argv[6]) : DEFAULT_CALLS;
    if (calls <= 0)
        calls = DEFAULT_CALLS;
    HMODULE dll = LoadLibraryA(argv[1]);
    if (dll == nullptr) {
        std::fprintf(stderr, "LoadLibraryA(%s) failed: error %lu\n", argv[1], GetLastError());
        return 2;
    }
    g_proc = (PFN_HTTP_FILTER_PROC)(void *)GetProcAddress(dll, "HttpFilterProc");
    if (g_proc == nullptr) {
        std::fprintf(stderr, "%s exports no HttpFilterProc\n", argv[1]);
        return 2;
    }

    g_url = argv[2];
    g_path = argv[3];
    CallFilter();
    std::printf("in process, %d calls each, microseconds per call:\n", calls);
    std::printf("  HttpFilterProc, directory URL %-18s %8.1f  (-> %s)\n", g_url, Time(CallFilter, calls), g_lastPath);
    std::printf("    one settings read (open, 2 queries, close) %8.1f\n", Time(ReadOneSetting, calls));
    std::printf("    one FindFirstFileA, name found             %8.1f\n", Time(SearchOneFile, calls));
    snprintf(g_missingPath, sizeof g_missingPath, "%s%s", g_path, "no-such-page.htm");
    std::printf("    one FindFirstFileA, name missing           %8.1f\n", Time(SearchMissingFile, calls));
    std::printf("    one GetFileAttributesA                     %8.1f\n", Time(QueryAttributes, calls));
    g_url = argv[4];
    g_path = argv[5];
    std::printf("  HttpFilterProc, file URL %-23s %8.1f\n", g_url, Time(CallFilter, calls));
    FreeLibrary(dll);
    return 0;
}
