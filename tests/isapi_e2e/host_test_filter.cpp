/* host_test_filter.cpp - a filter DLL that shows the server's tests what isapi_server hands
 * a filter, and makes the server meet each filter answer. Built twice: host_test_filter.dll
 * asks for URL mapping; log_only_test_filter.dll (TEST_FILTER_LOG_ONLY) asks only for the
 * log notification, so the server must leave it out.
 *
 * Every call appends one line to the file named by the environment variable
 * HOST_TEST_FILTER_TRACE (when set): TAG|type|url|path|cbPathBuff|cbSize|callbacks, where
 * callbacks is "ok" when the context carries all five server functions. What it does by URL:
 *   ".../"           path := mapped directory + "index.html" when that file exists
 *   "/__overrun"     writes 16 bytes past cbPathBuff (the server must notice: 500)
 *   "/__unterminated" fills the whole buffer without NUL (500)
 *   "/__error"       returns SF_STATUS_REQ_ERROR (500)
 *   "/__finished"    returns SF_STATUS_REQ_FINISHED (connection closed, no answer)
 *   "/__vars.txt"    reads server variables and adds the response field X-Vars with them
 *   "/__barrier.txt" waits (10 s at most) until BARRIER_CALLS such calls have been inside the
 *                    filter at once; then maps to the file "barrier-met.txt" of the root */
#include "isapi_filter.h"

#include <cstdio>
#include <cstring>
#include <string>

#ifdef TEST_FILTER_LOG_ONLY
#define FILTER_TAG   "log-only"
#define FILTER_FLAGS (SF_NOTIFY_LOG | SF_NOTIFY_ORDER_DEFAULT)
#else
#define FILTER_TAG   "url-map"
#define FILTER_FLAGS (SF_NOTIFY_URL_MAP | SF_NOTIFY_ORDER_DEFAULT)
#endif

#define TRACE_PATH_BYTES  MAX_PATH  /* bytes of the trace file name */
#define VAR_BYTES         512       /* bytes of one server variable read */
#define BARRIER_CALLS     3         /* calls that must meet inside the filter */
#define BARRIER_WAIT_MS   10000

static CRITICAL_SECTION g_traceLock;
static volatile LONG g_callsInside = 0;  /* barrier calls inside the filter now */
static volatile LONG g_barrierMet = 0;   /* set once BARRIER_CALLS were inside together */

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
        InitializeCriticalSection(&g_traceLock);
    else if (reason == DLL_PROCESS_DETACH)
        DeleteCriticalSection(&g_traceLock);
    return TRUE;
}

extern "C" BOOL WINAPI GetFilterVersion(HTTP_FILTER_VERSION *pVer)
{
    pVer->dwFilterVersion = 0x00010000;
    lstrcpynA(pVer->lpszFilterDesc, FILTER_TAG " test filter", SF_MAX_FILTER_DESC_LEN);
    pVer->dwFlags = FILTER_FLAGS;
    return TRUE;
}

static void Trace(const std::string &line)
{
    char path[TRACE_PATH_BYTES] = {};
    DWORD n = GetEnvironmentVariableA("HOST_TEST_FILTER_TRACE", path, sizeof path);
    if (n == 0 || n >= sizeof path)
        return;
    EnterCriticalSection(&g_traceLock);
    FILE *f = std::fopen(path, "ab");
    if (f != nullptr) {
        std::fprintf(f, "%s\n", line.c_str());
        std::fclose(f);
    }
    LeaveCriticalSection(&g_traceLock);
}

/* "NAME=value" of one server variable, "NAME!error" when the call failed. */
static std::string ReadVariable(HTTP_FILTER_CONTEXT *pfc, const char *name)
{
    char value[VAR_BYTES] = {};
    DWORD size = sizeof value;
    if (!pfc->GetServerVariable(pfc, (LPSTR)name, value, &size))
        return std::string(name) + "!" + std::to_string(GetLastError());
    return std::string(name) + "=" + value;
}

/* Checks the buffer-size contract of GetServerVariable: too small a buffer gives
 * ERROR_INSUFFICIENT_BUFFER and the size needed, NUL included. */
static std::string CheckSmallBuffer(HTTP_FILTER_CONTEXT *pfc, const char *name)
{
    char one[1] = {};
    DWORD size = sizeof one;
    BOOL ok = pfc->GetServerVariable(pfc, (LPSTR)name, one, &size);
    DWORD error = GetLastError();
    return std::string("small=") + (ok ? "ok" : std::to_string(error)) + "/" + std::to_string(size);
}

static DWORD DescribeVariables(HTTP_FILTER_CONTEXT *pfc)
{
    std::string vars = ReadVariable(pfc, "URL") + ";" + ReadVariable(pfc, "REQUEST_METHOD") + ";" +
                       ReadVariable(pfc, "QUERY_STRING") + ";" + ReadVariable(pfc, "HTTP_X_PROBE") + ";" +
                       ReadVariable(pfc, "NO_SUCH_VARIABLE") + ";" + CheckSmallBuffer(pfc, "URL");
    char *block = (char *)pfc->AllocMem(pfc, 64, 0);
    vars += block != nullptr && block[0] == '\0' && block[63] == '\0' ? ";alloc=ok" : ";alloc=bad";
    std::string fields = "X-Vars: " + vars + "\r\n";
    pfc->AddResponseHeaders(pfc, (LPSTR)fields.c_str(), 0);
    return SF_STATUS_REQ_NEXT_NOTIFICATION;
}

/* Replaces the path with dir + name when that file exists; path must end with "\". */
static void UseFileIn(HTTP_FILTER_URL_MAP *map, const std::string &dir, const char *name)
{
    std::string candidate = dir + name;
    DWORD attributes = GetFileAttributesA(candidate.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY) &&
        candidate.size() < map->cbPathBuff)
        lstrcpynA(map->pszPhysicalPath, candidate.c_str(), (int)map->cbPathBuff);
}

static DWORD MeetAtBarrier(HTTP_FILTER_URL_MAP *map)
{
    if (InterlockedIncrement(&g_callsInside) >= BARRIER_CALLS)
        InterlockedExchange(&g_barrierMet, 1);  /* stays met: the others may still be waiting */
    DWORD waited = 0;
    while (g_barrierMet == 0 && waited < BARRIER_WAIT_MS) {
        Sleep(10);
        waited += 10;
    }
    bool met = g_barrierMet != 0;
    InterlockedDecrement(&g_callsInside);
    if (met) {
        std::string path = map->pszPhysicalPath;  /* root\__barrier.txt */
        UseFileIn(map, path.substr(0, path.rfind('\\') + 1), "barrier-met.txt");
    }
    return SF_STATUS_REQ_NEXT_NOTIFICATION;
}

extern "C" DWORD WINAPI HttpFilterProc(HTTP_FILTER_CONTEXT *pfc, DWORD type, LPVOID notification)
{
    HTTP_FILTER_URL_MAP *map = (HTTP_FILTER_URL_MAP *)notification;
    bool callbacks = pfc != nullptr && pfc->GetServerVariable && pfc->AddResponseHeaders && pfc->WriteClient &&
                     pfc->AllocMem && pfc->ServerSupportFunction;
    if (type != SF_NOTIFY_URL_MAP || map == nullptr) {
        Trace(std::string(FILTER_TAG) + "|" + std::to_string(type) + "|||||");
        return SF_STATUS_REQ_NEXT_NOTIFICATION;
    }
    Trace(std::string(FILTER_TAG) + "|" + std::to_string(type) + "|" + map->pszURL + "|" + map->pszPhysicalPath +
          "|" + std::to_string(map->cbPathBuff) + "|" + std::to_string(pfc->cbSize) + "|" + (callbacks ? "ok" : "missing"));

    std::string url = map->pszURL;
    if (url == "/__overrun") {
        std::memset(map->pszPhysicalPath, 'x', map->cbPathBuff + 16);  /* the fault on purpose */
        return SF_STATUS_REQ_NEXT_NOTIFICATION;
    }
    if (url == "/__unterminated") {
        std::memset(map->pszPhysicalPath, 'x', map->cbPathBuff);
        return SF_STATUS_REQ_NEXT_NOTIFICATION;
    }
    if (url == "/__error")
        return SF_STATUS_REQ_ERROR;
    if (url == "/__finished")
        return SF_STATUS_REQ_FINISHED;
    if (url == "/__vars.txt")
        return DescribeVariables(pfc);
    if (url == "/__barrier.txt")
        return MeetAtBarrier(map);
    if (!url.empty() && url.back() == '/')
        UseFileIn(map, map->pszPhysicalPath, "index.html");
    return SF_STATUS_REQ_NEXT_NOTIFICATION;
}
