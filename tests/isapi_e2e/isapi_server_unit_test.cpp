/* isapi_server_unit_test.cpp - the server's own rules as tables: URL checks and mapping,
 * the "Filter DLLs" list, the command line, content types, and the filter call contract
 * with in-process fake filters */
#include "content_type.h"
#include "filter_call.h"
#include "filter_list.h"
#include "server_options.h"
#include "url_path.h"

#include <gtest/gtest.h>

#include <cstring>

struct TargetCase {
    const char *target;
    int status;
    const char *url;
    const char *query;
};

TEST(DecodeRequestTarget, DecodesNormalisesAndRefuses)
{
    const std::string longOk = "/" + std::string(MAX_TARGET_BYTES - 1, 'a');
    const std::string longBad = "/" + std::string(MAX_TARGET_BYTES, 'a');
    const TargetCase cases[] = {
        {"/", 0, "/", ""},
        {"/docs/", 0, "/docs/", ""},
        {"/docs", 0, "/docs", ""},
        {"/a//b///", 0, "/a/b/", ""},
        {"/./a/./b", 0, "/a/b", ""},
        {"/a/.", 0, "/a/", ""},
        {"/a%20b.htm", 0, "/a b.htm", ""},
        {"/%41%62", 0, "/Ab", ""},
        {"/%e9t%C3.htm", 0, "/\xe9t\xc3.htm", ""},
        {"/x.htm?q=1&r=../..", 0, "/x.htm", "q=1&r=../.."},
        {"/?", 0, "/", ""},
        {"/com0", 0, "/com0", ""},
        {"/console.htm", 0, "/console.htm", ""},
        {longOk.c_str(), 0, longOk.c_str(), ""},
        /* not a path */
        {"", 400, "", ""},
        {"*", 400, "", ""},
        {"http://127.0.0.1/x", 400, "", ""},
        /* leaving the root, plain or encoded */
        {"/../etc", 400, "", ""},
        {"/a/../b", 400, "", ""},
        {"/a/..", 400, "", ""},
        {"/%2e%2e/x", 400, "", ""},
        {"/%2E%2e", 400, "", ""},
        {"/.%2e/", 400, "", ""},
        {"/a\\b", 400, "", ""},
        {"/%5c..%5cwin.ini", 400, "", ""},
        {"/C:/windows/win.ini", 400, "", ""},
        {"/c%3a/x", 400, "", ""},
        {"/a.txt::$DATA", 400, "", ""},
        /* bytes that name no file */
        {"/a%00.htm", 400, "", ""},
        {"/%0d%0aX:%20y", 400, "", ""},
        {"/%7f", 400, "", ""},
        {"/a*.htm", 400, "", ""},
        {"/a%3f", 400, "", ""},
        {"/a%22", 400, "", ""},
        {"/a|b", 400, "", ""},
        {"/%3Cx%3E", 400, "", ""},
        /* broken escapes */
        {"/%", 400, "", ""},
        {"/%4", 400, "", ""},
        {"/a%2", 400, "", ""},
        {"/%zz", 400, "", ""},
        /* names Windows would open as something else */
        {"/index.htm.", 404, "", ""},
        {"/index.htm%20", 404, "", ""},
        {"/...", 404, "", ""},
        {"/con", 404, "", ""},
        {"/CON.txt", 404, "", ""},
        {"/docs/nul", 404, "", ""},
        {"/com1.htm", 404, "", ""},
        {"/lpt9", 404, "", ""},
        {"/CONIN$", 404, "", ""},
        {"/aux%20.txt", 404, "", ""},
        {longBad.c_str(), 414, "", ""},
    };
    for (const TargetCase &c : cases) {
        std::string url = "unchanged", query = "unchanged";
        int status = DecodeRequestTarget(c.target, &url, &query);
        std::string row = std::string("target: ") + c.target;
        EXPECT_EQ(c.status, status) << row;
        if (c.status == 0) {
            EXPECT_EQ(c.url, url) << row;
            EXPECT_EQ(c.query, query) << row;
        } else {
            EXPECT_EQ("unchanged", url) << row;
            EXPECT_EQ("unchanged", query) << row;
        }
    }
}

TEST(MapUrlToPath, JoinsRootAndUrlWithinTheBuffer)
{
    struct Case {
        const char *root;
        std::string url;
        size_t bufBytes;
        bool ok;
        std::string path;
    };
    const Case cases[] = {
        {"C:\\site", "/", MAX_PATH, true, "C:\\site\\"},
        {"C:\\site", "/docs/", MAX_PATH, true, "C:\\site\\docs\\"},
        {"C:\\site", "/docs/a.htm", MAX_PATH, true, "C:\\site\\docs\\a.htm"},
        {"C:", "/x", MAX_PATH, true, "C:\\x"},
        {"C:\\s", "/" + std::string(10, 'a'), 16, true, "C:\\s\\" + std::string(10, 'a')},  /* 15 + NUL: at the limit */
        {"C:\\s", "/" + std::string(11, 'a'), 16, false, ""},                              /* one past */
        {"C:\\s", "/", 0, false, ""},
    };
    for (const Case &c : cases) {
        char buf[MAX_PATH];
        std::memset(buf, '#', sizeof buf);
        bool ok = MapUrlToPath(c.root, c.url, buf, c.bufBytes);
        std::string row = std::string("root: ") + c.root + " url: " + c.url + " bytes: " + std::to_string(c.bufBytes);
        EXPECT_EQ(c.ok, ok) << row;
        if (c.bufBytes > 0) {
            EXPECT_EQ(c.path, std::string(buf)) << row;
        }
        if (c.bufBytes < sizeof buf) {
            EXPECT_EQ('#', buf[c.bufBytes]) << row << ": wrote past the buffer";
        }
    }
}

TEST(EncodeUrlPath, EscapesWhatCannotStandInAPath)
{
    const std::pair<const char *, const char *> cases[] = {
        {"/docs/", "/docs/"},         {"/a b/", "/a%20b/"},   {"/100%/", "/100%25/"},
        {"/\xe9/", "/%E9/"},          {"/a#b", "/a%23b"},     {"/a?b", "/a%3Fb"},
        {"/~x-y_z.htm", "/~x-y_z.htm"}, {"/a\"<>", "/a%22%3C%3E"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.second, EncodeUrlPath(c.first)) << "url: " << c.first;
}

TEST(SplitFilterDllList, SplitsAtCommasAndSkipsEmptyEntries)
{
    const std::pair<const char *, std::vector<std::string>> cases[] = {
        {"", {}},
        {",", {}},
        {" , ,", {}},
        {",C:\\kit\\Velmorin.dll", {"C:\\kit\\Velmorin.dll"}},
        {"a.dll, b.dll", {"a.dll", "b.dll"}},
        {" a.dll ,, ,b.dll,", {"a.dll", "b.dll"}},
        {"C:\\Program Files\\x.dll", {"C:\\Program Files\\x.dll"}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.second, SplitFilterDllList(c.first)) << "list: \"" << c.first << "\"";
}

TEST(ParseServerOptions, AcceptsTheDocumentedOptionsOnly)
{
    struct Case {
        std::vector<const char *> args;
        bool ok;
        const char *errorPart;  /* part of the error text when !ok */
    };
    const Case cases[] = {
        {{"--root", "C:\\s"}, true, ""},
        {{"--root", "C:\\s", "--port", "65535", "--threads", "64", "--max-seconds", "5"}, true, ""},
        {{"--port", "80"}, false, "--root DIR is required"},
        {{"--root", "C:\\s", "--port", "65536"}, false, "--port"},
        {{"--root", "C:\\s", "--port", "-1"}, false, "--port"},
        {{"--root", "C:\\s", "--port", "8x"}, false, "--port"},
        {{"--root", "C:\\s", "--port"}, false, "missing value"},
        {{"--root", "C:\\s", "--threads", "0"}, false, "--threads"},
        {{"--root", "C:\\s", "--threads", "65"}, false, "--threads"},
        {{"--root", "C:\\s", "--drop-after", "1000"}, false, "--drop-after"},
        {{"--root", "C:\\s", "--drop-after", "x:/a"}, false, "--drop-after"},
        {{"--root", "C:\\s", "--drop-after", "10:big.bin"}, false, "--drop-after"},
        {{"--root", ""}, false, "--root"},
        {{"--root", "C:\\s", "--bogus", "1"}, false, "unknown option"},
    };
    for (const Case &c : cases) {
        std::vector<const char *> argv = {"isapi_server"};
        argv.insert(argv.end(), c.args.begin(), c.args.end());
        ServerOptions opts;
        std::string error;
        std::string row = "args:";
        for (const char *a : c.args)
            row += std::string(" ") + a;
        EXPECT_EQ(c.ok, ParseServerOptions((int)argv.size(), argv.data(), &opts, &error)) << row;
        if (!c.ok) {
            EXPECT_NE(std::string::npos, error.find(c.errorPart)) << row << " error: " << error;
        }
    }
}

TEST(ParseServerOptions, FillsTheRecord)
{
    const char *argv[] = {"isapi_server", "--root", "C:\\s", "--filter", "a.dll", "--filter", "b.dll",
                          "--drop-after", "1000:/big.bin", "--stop-on-eof", "--verbose", "--port", "0"};
    ServerOptions opts;
    std::string error;
    ASSERT_TRUE(ParseServerOptions(13, argv, &opts, &error)) << error;
    EXPECT_EQ("C:\\s", opts.root);
    EXPECT_EQ(0u, opts.port);
    EXPECT_EQ((std::vector<std::string>{"a.dll", "b.dll"}), opts.filters);
    ASSERT_EQ(1u, opts.drops.size());
    EXPECT_EQ("/big.bin", opts.drops[0].url);
    EXPECT_EQ(1000u, opts.drops[0].bytes);
    EXPECT_TRUE(opts.stopOnEof);
    EXPECT_TRUE(opts.verbose);
    EXPECT_EQ((unsigned)SERVER_DEFAULT_THREADS, opts.threads);
    EXPECT_EQ(0u, opts.maxSeconds);
}

TEST(ContentTypeFor, ChoosesByExtensionOfTheLastComponent)
{
    const std::pair<const char *, const char *> cases[] = {
        {"C:\\s\\index.html", "text/html"},
        {"C:\\s\\DEFAULT.HTM", "text/html"},
        {"C:\\s\\list.tvn", "application/tvn"},
        {"C:\\s\\a.txt", "text/plain"},
        {"C:\\s.d\\noext", "application/octet-stream"},
        {"C:\\s\\a.", "application/octet-stream"},
        {"C:\\s\\a.abcdefghijklmnopq", "application/octet-stream"},
        {"C:\\s\\a.gif", "image/gif"},
    };
    for (const auto &c : cases)
        EXPECT_STREQ(c.second, ContentTypeFor(c.first)) << "path: " << c.first;
}

/* ---- RunUrlMap with fake filters ---- */

static int g_calls = 0;  /* fake filter calls in the current test */
static std::string g_seenPaths;

static DWORD WINAPI AppendIndex(HTTP_FILTER_CONTEXT *, DWORD, LPVOID n)
{
    HTTP_FILTER_URL_MAP *map = (HTTP_FILTER_URL_MAP *)n;
    g_calls++;
    g_seenPaths += std::string(map->pszPhysicalPath) + ";";
    size_t used = std::strlen(map->pszPhysicalPath);
    lstrcpynA(map->pszPhysicalPath + used, "index.htm", (int)(map->cbPathBuff - used));
    return SF_STATUS_REQ_NEXT_NOTIFICATION;
}
static DWORD WINAPI Overrun(HTTP_FILTER_CONTEXT *, DWORD, LPVOID n)
{
    HTTP_FILTER_URL_MAP *map = (HTTP_FILTER_URL_MAP *)n;
    std::memset(map->pszPhysicalPath, 'x', map->cbPathBuff + 1);
    return SF_STATUS_REQ_NEXT_NOTIFICATION;
}
static DWORD WINAPI NoNul(HTTP_FILTER_CONTEXT *, DWORD, LPVOID n)
{
    HTTP_FILTER_URL_MAP *map = (HTTP_FILTER_URL_MAP *)n;
    std::memset(map->pszPhysicalPath, 'x', map->cbPathBuff);
    return SF_STATUS_REQ_NEXT_NOTIFICATION;
}
static DWORD WINAPI Finished(HTTP_FILTER_CONTEXT *, DWORD, LPVOID) { g_calls++; return SF_STATUS_REQ_FINISHED; }
static DWORD WINAPI Handled(HTTP_FILTER_CONTEXT *, DWORD, LPVOID) { g_calls++; return SF_STATUS_REQ_HANDLED_NOTIFICATION; }
static DWORD WINAPI Failing(HTTP_FILTER_CONTEXT *, DWORD, LPVOID) { return SF_STATUS_REQ_ERROR; }
static DWORD WINAPI Unknown(HTTP_FILTER_CONTEXT *, DWORD, LPVOID) { return 12345; }

static LoadedFilter Fake(PFN_HTTP_FILTER_PROC proc, const char *name)
{
    LoadedFilter f = {};
    f.path = name;
    f.proc = proc;
    f.flags = SF_NOTIFY_URL_MAP;
    return f;
}

static RequestInfo ProbeRequest()
{
    RequestInfo r;
    r.method = "GET";
    r.url = "/docs/";
    r.query = "a=1";
    r.remoteAddr = "127.0.0.1";
    r.serverPort = 8080;
    r.headers = {{"Host", "127.0.0.1"}, {"User-Agent", "probe/1"}, {"X-Long-Name", "v"}};
    return r;
}

TEST(RunUrlMap, ChainsFiltersAndChecksWhatTheyLeave)
{
    struct Case {
        const char *name;
        std::vector<LoadedFilter> filters;
        UrlMapOutcome outcome;
        const char *finalPath;    /* for URL_MAP_DONE */
        int calls;                /* calls of the counting fakes */
        const char *failurePart;  /* for URL_MAP_ERROR */
    };
    const Case cases[] = {
        {"no filter", {}, URL_MAP_DONE, "C:\\site\\docs\\", 0, ""},
        {"one", {Fake(AppendIndex, "a")}, URL_MAP_DONE, "C:\\site\\docs\\index.htm", 1, ""},
        {"second sees first's path", {Fake(AppendIndex, "a"), Fake(AppendIndex, "b")}, URL_MAP_DONE,
         "C:\\site\\docs\\index.htmindex.htm", 2, ""},
        {"handled ends the chain", {Fake(Handled, "h"), Fake(AppendIndex, "a")}, URL_MAP_DONE, "C:\\site\\docs\\", 1, ""},
        {"finished", {Fake(Finished, "f"), Fake(AppendIndex, "a")}, URL_MAP_FINISHED, "", 1, ""},
        {"error status", {Fake(Failing, "e")}, URL_MAP_ERROR, "", 0, "returned status"},
        {"unknown status", {Fake(Unknown, "u")}, URL_MAP_ERROR, "", 0, "returned status 12345"},
        {"overrun", {Fake(Overrun, "o.dll")}, URL_MAP_ERROR, "", 0, "o.dll wrote past the 260-byte path buffer"},
        {"no NUL", {Fake(NoNul, "n.dll")}, URL_MAP_ERROR, "", 0, "n.dll left the path buffer without its NUL"},
    };
    for (const Case &c : cases) {
        g_calls = 0;
        std::string finalPath = "unchanged", failure;
        std::vector<HeaderField> added;
        UrlMapOutcome outcome = RunUrlMap(c.filters, ProbeRequest(), "C:\\site\\docs\\", &finalPath, &added, &failure);
        EXPECT_EQ(c.outcome, outcome) << c.name;
        EXPECT_EQ(c.calls, g_calls) << c.name;
        if (c.outcome == URL_MAP_DONE) {
            EXPECT_EQ(c.finalPath, finalPath) << c.name;
        }
        if (c.outcome == URL_MAP_ERROR) {
            EXPECT_NE(std::string::npos, failure.find(c.failurePart)) << c.name << ": " << failure;
        }
    }
}

TEST(RunUrlMap, HandsEachFilterTheWholeBufferAndMappedPath)
{
    g_seenPaths.clear();
    std::string finalPath, failure;
    std::vector<HeaderField> added;
    std::string longest(PATH_BUFFER_BYTES - 1, 'p');  /* fills the buffer up to its NUL */
    EXPECT_EQ(URL_MAP_DONE, RunUrlMap({Fake(AppendIndex, "a")}, ProbeRequest(), longest, &finalPath, &added, &failure));
    EXPECT_EQ(longest + ";", g_seenPaths);
    EXPECT_EQ(longest, finalPath);  /* nothing fitted after it */
    std::string tooLong(PATH_BUFFER_BYTES, 'p');
    EXPECT_EQ(URL_MAP_ERROR, RunUrlMap({}, ProbeRequest(), tooLong, &finalPath, &added, &failure));
}

/* What the context callbacks answer, captured by a fake filter. */
struct VariableCase {
    const char *name;
    DWORD bufferBytes;
    BOOL ok;
    DWORD error;       /* when !ok */
    const char *value; /* when ok */
    DWORD size;        /* *lpdwSize after the call */
};
static const VariableCase *g_variable = nullptr;
static BOOL g_varOk;
static DWORD g_varError, g_varSize;
static std::string g_varValue;

static DWORD WINAPI ReadOneVariable(HTTP_FILTER_CONTEXT *pfc, DWORD, LPVOID)
{
    char buffer[64] = {};
    DWORD size = g_variable->bufferBytes;
    SetLastError(0);
    g_varOk = pfc->GetServerVariable(pfc, (LPSTR)g_variable->name, buffer, &size);
    g_varError = GetLastError();
    g_varSize = size;
    g_varValue = buffer;
    return SF_STATUS_REQ_NEXT_NOTIFICATION;
}

TEST(FilterContext, GetServerVariableAnswersAndReportsSizes)
{
    const VariableCase cases[] = {
        {"URL", 64, TRUE, 0, "/docs/", 7},
        {"PATH_INFO", 64, TRUE, 0, "/docs/", 7},
        {"QUERY_STRING", 64, TRUE, 0, "a=1", 4},
        {"REQUEST_METHOD", 64, TRUE, 0, "GET", 4},
        {"SERVER_PORT", 64, TRUE, 0, "8080", 5},
        {"REMOTE_ADDR", 64, TRUE, 0, "127.0.0.1", 10},
        {"HTTP_USER_AGENT", 64, TRUE, 0, "probe/1", 8},
        {"HTTP_X_LONG_NAME", 64, TRUE, 0, "v", 2},
        {"URL", 7, TRUE, 0, "/docs/", 7},                 /* exactly enough */
        {"URL", 6, FALSE, ERROR_INSUFFICIENT_BUFFER, "", 7}, /* one short */
        {"HTTP_ACCEPT", 64, FALSE, ERROR_INVALID_INDEX, "", 64},
        {"NO_SUCH", 64, FALSE, ERROR_INVALID_INDEX, "", 64},
    };
    for (const VariableCase &c : cases) {
        g_variable = &c;
        std::string finalPath, failure;
        std::vector<HeaderField> added;
        RunUrlMap({Fake(ReadOneVariable, "v")}, ProbeRequest(), "C:\\s\\", &finalPath, &added, &failure);
        std::string row = std::string("variable: ") + c.name + " buffer: " + std::to_string(c.bufferBytes);
        EXPECT_EQ(c.ok, g_varOk) << row;
        EXPECT_EQ(c.size, g_varSize) << row;
        if (c.ok) {
            EXPECT_EQ(c.value, g_varValue) << row;
        } else {
            EXPECT_EQ(c.error, g_varError) << row;
        }
    }
}

static const char *g_headerText = nullptr;
static BOOL g_headerOk;
static DWORD WINAPI AddHeaders(HTTP_FILTER_CONTEXT *pfc, DWORD, LPVOID)
{
    g_headerOk = pfc->AddResponseHeaders(pfc, (LPSTR)g_headerText, 0);
    return SF_STATUS_REQ_NEXT_NOTIFICATION;
}

TEST(FilterContext, AddResponseHeadersTakesOnlyWellFormedLines)
{
    struct Case {
        const char *text;
        BOOL ok;
        std::vector<HeaderField> fields;
    };
    const Case cases[] = {
        {"X-A: 1\r\n", TRUE, {{"X-A", "1"}}},
        {"X-A: 1\r\nX-B:2\r\n", TRUE, {{"X-A", "1"}, {"X-B", "2"}}},
        {"X-A: 1", TRUE, {{"X-A", "1"}}},
        {"", TRUE, {}},
        {"Bad Name: 1\r\n", FALSE, {}},
        {"NoColon\r\n", FALSE, {}},
        {"X-A: 1\r\n\r\n", FALSE, {}},
        {"X-A: a\rb\r\n", FALSE, {}},
        {"X-A: a\nSet-Cookie: b\r\n", FALSE, {}},
        {": v\r\n", FALSE, {}},
    };
    for (const Case &c : cases) {
        g_headerText = c.text;
        std::string finalPath, failure;
        std::vector<HeaderField> added;
        RunUrlMap({Fake(AddHeaders, "h")}, ProbeRequest(), "C:\\s\\", &finalPath, &added, &failure);
        EXPECT_EQ(c.ok, g_headerOk) << "text: " << c.text;
        EXPECT_EQ(c.fields, added) << "text: " << c.text;
    }
}

static void *g_blocks[3];
static bool g_zeroed;
static DWORD WINAPI Allocate(HTTP_FILTER_CONTEXT *pfc, DWORD, LPVOID)
{
    g_blocks[0] = pfc->AllocMem(pfc, 100, 0);
    g_zeroed = g_blocks[0] != nullptr;
    for (int i = 0; g_zeroed && i < 100; i++)
        g_zeroed = ((char *)g_blocks[0])[i] == '\0';
    g_blocks[1] = pfc->AllocMem(pfc, MAX_FILTER_ALLOC, 0);  /* past what is left */
    g_blocks[2] = pfc->AllocMem(pfc, 0, 0);
    if (g_blocks[0] != nullptr)
        std::memset(g_blocks[0], 'x', 100);  /* must be writable */
    return SF_STATUS_REQ_NEXT_NOTIFICATION;
}

TEST(FilterContext, AllocMemGivesZeroedBlocksUpToItsLimit)
{
    std::string finalPath, failure;
    std::vector<HeaderField> added;
    RunUrlMap({Fake(Allocate, "m")}, ProbeRequest(), "C:\\s\\", &finalPath, &added, &failure);
    EXPECT_NE(nullptr, g_blocks[0]);
    EXPECT_TRUE(g_zeroed);
    EXPECT_EQ(nullptr, g_blocks[1]);
    EXPECT_NE(nullptr, g_blocks[2]);
}
