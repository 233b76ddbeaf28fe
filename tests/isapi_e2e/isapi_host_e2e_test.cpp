/* isapi_host_e2e_test.cpp - isapi_server over real HTTP with the test filters: serving,
 * redirects, refusals before any filter, what a filter is handed, filter answers,
 * concurrency, large files, the drop fault, "Filter DLLs" and the clean stop */
#include "e2e_env.h"
#include "filter_list.h"
#include "http_client.h"
#include "isapi_filter.h"
#include "server_process.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <thread>

#define BIG_FILE_BYTES (8 << 20)
#define DROP_AFTER_BYTES 1000

static std::string ServerExe() { return WindowsPathOf(ISAPI_SERVER_EXE); }
static std::string UrlMapFilterDll() { return WindowsPathOf(URL_MAP_TEST_FILTER); }
static std::string LogOnlyFilterDll() { return WindowsPathOf(LOG_ONLY_TEST_FILTER); }

static std::string Pattern(size_t bytes)
{
    std::string data(bytes, '\0');
    for (size_t i = 0; i < bytes; i++)
        data[i] = (char)((i * 7 + i / 251) & 0xFF);
    return data;
}

/* The lines of the trace written by the URL-map test filter. */
static std::vector<std::string> TraceLines(const std::string &trace)
{
    std::vector<std::string> lines;
    std::string text = ReadTextFile(trace), line;
    for (char c : text) {
        if (c == '\n') {
            lines.push_back(line);
            line.clear();
        } else {
            line += c;
        }
    }
    return lines;
}

class HostE2E : public ::testing::Test
{
protected:
    static std::string scratch, site, trace;
    static ServerProcess *server;

    static void SetUpTestSuite()
    {
        scratch = MakeScratchFolder("host_e2e");
        site = scratch + "\\site";
        trace = scratch + "\\trace.txt";
        WriteTextFile(site + "\\index.html", "root index");
        WriteTextFile(site + "\\docs\\index.html", "docs index");
        WriteTextFile(site + "\\docs\\page.htm", "docs page");
        WriteTextFile(site + "\\docs\\notes.txt", "notes");
        WriteTextFile(site + "\\empty\\readme.txt", "readme");
        WriteTextFile(site + "\\a b\\x.gif", "gif");
        WriteTextFile(site + "\\barrier-met.txt", "met");
        WriteTextFile(site + "\\__vars.txt", "vars");
        WriteTextFile(site + "\\big.bin", Pattern(BIG_FILE_BYTES));
        WriteTextFile(site + "\\drop.bin", Pattern(BIG_FILE_BYTES));
        SetEnvironmentVariableA("HOST_TEST_FILTER_TRACE", trace.c_str());
        server = new ServerProcess();
        std::string error;
        if (!StartServer(ServerExe(),
                         {"--root", site, "--filter", UrlMapFilterDll(), "--threads", "4", "--drop-after",
                          std::to_string(DROP_AFTER_BYTES) + ":/drop.bin"},
                         server, &error))
            ADD_FAILURE() << error;
    }

    static void TearDownTestSuite()
    {
        int code = StopServer(server);
        std::string output = ServerOutput(server);
        EXPECT_EQ(0, code) << output;
        EXPECT_NE(std::string::npos, output.find("isapi_server: stopped")) << output;
        delete server;
        server = nullptr;
        RemoveFolder(scratch);
    }

    void SetUp() override { ASSERT_NE(0, server->port) << "server did not start"; }
};

std::string HostE2E::scratch, HostE2E::site, HostE2E::trace;
ServerProcess *HostE2E::server = nullptr;

TEST_F(HostE2E, PrintsTheLoadedFilterWithItsDescription)
{
    std::string output = ServerOutput(server);
    EXPECT_NE(std::string::npos, output.find("loaded filter " + UrlMapFilterDll() + ": url-map test filter")) << output;
    EXPECT_EQ(std::string::npos, output.find("Filter DLLs")) << "--filter must not read the registry: " << output;
}

TEST_F(HostE2E, ServesFilesWithTheirTypeAndDirectoriesThroughTheFilter)
{
    struct Case {
        const char *target;
        int status;
        const char *type;
        const char *body;
    };
    const Case cases[] = {
        {"/docs/page.htm", 200, "text/html", "docs page"},
        {"/docs/notes.txt", 200, "text/plain", "notes"},
        {"/DOCS/PAGE.HTM", 200, "text/html", "docs page"},
        {"/a%20b/x.gif", 200, "image/gif", "gif"},
        {"/docs/", 200, "text/html", "docs index"},         /* the filter chose index.html */
        {"/", 200, "text/html", "root index"},
        {"/docs/./", 200, "text/html", "docs index"},
        {"//docs//page.htm", 200, "text/html", "docs page"},
        {"/empty/", 403, "text/plain", "403 Forbidden\r\n"},  /* still a folder after the filter */
        {"/missing.htm", 404, "text/plain", "404 Not Found\r\n"},
        {"/missing/", 404, "text/plain", "404 Not Found\r\n"},
    };
    for (const Case &c : cases) {
        HttpAnswer a = HttpGet(server->port, c.target);
        EXPECT_EQ(c.status, a.status) << "target: " << c.target << " " << a.error;
        EXPECT_EQ(c.type, a.fields["content-type"]) << "target: " << c.target;
        EXPECT_EQ(c.body, a.body) << "target: " << c.target;
        EXPECT_TRUE(a.complete) << "target: " << c.target << " " << a.error;
    }
}

TEST_F(HostE2E, RedirectsADirectoryUrlWithoutSlash)
{
    const std::pair<const char *, const char *> cases[] = {
        {"/docs", "/docs/"},
        {"/empty", "/empty/"},
        {"/a%20b", "/a%20b/"},
        {"/docs?x=1", "/docs/?x=1"},
        {"/Docs", "/Docs/"},
    };
    for (const auto &c : cases) {
        HttpAnswer a = HttpGet(server->port, c.first);
        EXPECT_EQ(301, a.status) << "target: " << c.first;
        EXPECT_EQ(c.second, a.fields["location"]) << "target: " << c.first;
    }
}

TEST_F(HostE2E, RefusesUrlsLeavingTheRootBeforeAnyFilterSeesThem)
{
    const std::pair<const char *, int> cases[] = {
        {"/../site/index.html", 400},
        {"/docs/../../trace.txt", 400},
        {"/%2e%2e/trace.txt", 400},
        {"/docs/..%5c..%5ctrace.txt", 400},
        {"/docs/%2E%2E/%2e%2e/trace.txt", 400},
        {"/C:/windows/win.ini", 400},
        {"/docs/page.htm::$DATA", 400},
        {"/docs%00/page.htm", 400},
        {"/con", 404},
        {"/docs/page.htm.", 404},
        {"/docs/page.htm%20", 404},
    };
    size_t before = TraceLines(trace).size();
    for (const auto &c : cases) {
        HttpAnswer a = HttpGet(server->port, c.first);
        EXPECT_EQ(c.second, a.status) << "target: " << c.first;
        EXPECT_EQ(std::string::npos, a.body.find("trace")) << "target: " << c.first;
    }
    HttpAnswer post = HttpRequest(server->port, "POST", "/docs/");
    EXPECT_EQ(405, post.status);
    EXPECT_EQ("GET, HEAD", post.fields["allow"]);
    EXPECT_EQ(before, TraceLines(trace).size()) << "a refused request reached the filter";
}

TEST_F(HostE2E, HandsTheFilterTheMappedPathInAMaxPathBuffer)
{
    struct Case {
        const char *target;
        std::string url;
        std::string path;
    };
    const Case cases[] = {
        {"/docs/", "/docs/", site + "\\docs\\"},
        {"/docs", "/docs", site + "\\docs"},
        {"/", "/", site + "\\"},
        {"/a%20b/x.gif", "/a b/x.gif", site + "\\a b\\x.gif"},
        {"/docs/page.htm?q=1", "/docs/page.htm", site + "\\docs\\page.htm"},
    };
    for (const Case &c : cases) {
        HttpGet(server->port, c.target);
        std::vector<std::string> lines = TraceLines(trace);
        ASSERT_FALSE(lines.empty()) << "target: " << c.target;
        std::string expected = "url-map|" + std::to_string(SF_NOTIFY_URL_MAP) + "|" + c.url + "|" + c.path + "|" +
                               std::to_string(MAX_PATH) + "|" + std::to_string(sizeof(HTTP_FILTER_CONTEXT)) + "|ok";
        EXPECT_EQ(expected, lines.back()) << "target: " << c.target;
    }
}

TEST_F(HostE2E, TurnsFilterFaultsAndAnswersIntoStatuses)
{
    const std::pair<const char *, int> cases[] = {
        {"/__overrun", 500},      /* wrote past cbPathBuff: caught by the guard */
        {"/__unterminated", 500}, /* no NUL left in the buffer */
        {"/__error", 500},        /* SF_STATUS_REQ_ERROR */
        {"/__finished", 0},       /* SF_STATUS_REQ_FINISHED: closed without answer */
    };
    for (const auto &c : cases) {
        HttpAnswer a = HttpGet(server->port, c.first);
        EXPECT_EQ(c.second, a.status) << "target: " << c.first << " " << a.error;
    }
    EXPECT_NE(std::string::npos, ServerOutput(server).find("wrote past the 260-byte path buffer"));
    EXPECT_EQ(200, HttpGet(server->port, "/docs/page.htm").status) << "server no longer serves";
}

TEST_F(HostE2E, GivesFiltersServerVariablesMemoryAndResponseFields)
{
    HttpAnswer a = HttpRequest(server->port, "GET", "/__vars.txt?q=1", {{"X-Probe", "hello"}});
    EXPECT_EQ(200, a.status);
    EXPECT_EQ("vars", a.body);
    EXPECT_EQ("URL=/__vars.txt;REQUEST_METHOD=GET;QUERY_STRING=q=1;HTTP_X_PROBE=hello;NO_SUCH_VARIABLE!" +
                  std::to_string(ERROR_INVALID_INDEX) + ";small=" + std::to_string(ERROR_INSUFFICIENT_BUFFER) +
                  "/12;alloc=ok",
              a.fields["x-vars"]);
}

TEST_F(HostE2E, HeadGivesTheLengthWithoutBody)
{
    HttpAnswer a = HttpRequest(server->port, "HEAD", "/docs/page.htm");
    EXPECT_EQ(200, a.status);
    EXPECT_EQ("9", a.fields["content-length"]);
    EXPECT_EQ("", a.body);
    HttpAnswer dir = HttpRequest(server->port, "HEAD", "/docs/");
    EXPECT_EQ("10", dir.fields["content-length"]);
    EXPECT_EQ(404, HttpRequest(server->port, "HEAD", "/missing.htm").status);
    EXPECT_EQ(200, HttpGet(server->port, "/docs/notes.txt").status) << "HEAD left the server confused";
}

TEST_F(HostE2E, RunsSeveralRequestsInsideTheFilterAtOnce)
{
    /* each call waits in the filter until three are inside; one at a time they never meet */
    HttpAnswer answers[3];
    std::vector<std::thread> clients;
    for (HttpAnswer &a : answers)
        clients.emplace_back([&a] { a = HttpGet(server->port, "/__barrier.txt"); });
    for (std::thread &t : clients)
        t.join();
    for (int i = 0; i < 3; i++) {
        EXPECT_EQ(200, answers[i].status) << "client " << i;
        EXPECT_EQ("met", answers[i].body) << "client " << i;
    }
}

TEST_F(HostE2E, SendsALargeFileWhole)
{
    HttpAnswer a = HttpGet(server->port, "/big.bin");
    EXPECT_EQ(200, a.status);
    EXPECT_EQ("application/octet-stream", a.fields["content-type"]);
    EXPECT_TRUE(a.complete) << a.error;
    EXPECT_TRUE(a.body == Pattern(BIG_FILE_BYTES)) << "got " << a.body.size() << " bytes";
}

TEST_F(HostE2E, DropsTheConnectionInTheMiddleOfTheChosenFile)
{
    HttpAnswer a = HttpGet(server->port, "/drop.bin");
    EXPECT_EQ(200, a.status);
    EXPECT_EQ(std::to_string(BIG_FILE_BYTES), a.fields["content-length"]);
    EXPECT_FALSE(a.complete);
    EXPECT_EQ(Pattern(BIG_FILE_BYTES).substr(0, DROP_AFTER_BYTES), a.body);
    EXPECT_EQ(200, HttpGet(server->port, "/docs/page.htm").status) << "server no longer serves";
}

/* ---- "Filter DLLs" read at start ---- */

class FilterDllsE2E : public ::testing::Test
{
protected:
    std::string scratch, site, trace;

    void SetUp() override
    {
        scratch = MakeScratchFolder("filter_dlls_e2e");
        site = scratch + "\\site";
        trace = scratch + "\\trace.txt";
        WriteTextFile(site + "\\docs\\index.html", "docs index");
        SetEnvironmentVariableA("HOST_TEST_FILTER_TRACE", trace.c_str());
    }

    void TearDown() override
    {
        DeleteMachineValue(IIS_PARAMETERS_KEY, FILTER_DLLS_VALUE);
        RemoveFolder(scratch);
    }
};

TEST_F(FilterDllsE2E, LoadsTheListedFiltersThatAskForUrlMapping)
{
    std::string missing = scratch + "\\missing.dll";
    ASSERT_TRUE(SetMachineValue(IIS_PARAMETERS_KEY, FILTER_DLLS_VALUE,
                                " ," + LogOnlyFilterDll() + " , " + UrlMapFilterDll() + ",," + missing));
    ServerProcess server;
    std::string error;
    ASSERT_TRUE(StartServer(ServerExe(), {"--root", site}, &server, &error)) << error;
    HttpAnswer a = HttpGet(server.port, "/docs/");
    std::string output = ServerOutput(&server);
    EXPECT_NE(std::string::npos, output.find("\"Filter DLLs\" lists 3 filter(s)")) << output;
    EXPECT_NE(std::string::npos, output.find("skipped filter " + LogOnlyFilterDll() + ": log-only test filter")) << output;
    EXPECT_NE(std::string::npos, output.find("loaded filter " + UrlMapFilterDll() + ": url-map test filter")) << output;
    EXPECT_NE(std::string::npos, output.find("cannot load filter " + missing + ": LoadLibraryA")) << output;
    EXPECT_EQ(200, a.status);
    EXPECT_EQ("docs index", a.body);
    std::vector<std::string> lines = TraceLines(trace);
    ASSERT_EQ(1u, lines.size()) << ReadTextFile(trace);
    EXPECT_EQ(0u, lines[0].find("url-map|")) << lines[0];
    EXPECT_EQ(0, StopServer(&server));
}

TEST_F(FilterDllsE2E, RunsWithoutFiltersWhenTheListIsMissingOrNoText)
{
    struct Case {
        const char *name;
        bool set;
        const char *value;
        bool isNumber;
        const char *outputPart;
    };
    const Case cases[] = {
        {"missing", false, "", false, "\"Filter DLLs\" lists 0 filter(s)"},
        {"only commas", true, ",, ,", false, "\"Filter DLLs\" lists 0 filter(s)"},
        {"a number", true, "7", true, "cannot read \"Filter DLLs\""},
    };
    for (const Case &c : cases) {
        DeleteMachineValue(IIS_PARAMETERS_KEY, FILTER_DLLS_VALUE);
        if (c.set) {
            ASSERT_TRUE(SetMachineValue(IIS_PARAMETERS_KEY, FILTER_DLLS_VALUE, c.value, c.isNumber)) << c.name;
        }
        ServerProcess server;
        std::string error;
        ASSERT_TRUE(StartServer(ServerExe(), {"--root", site}, &server, &error)) << c.name << ": " << error;
        EXPECT_EQ(403, HttpGet(server.port, "/docs/").status) << c.name << ": no filter, so the folder stays";
        EXPECT_EQ(200, HttpGet(server.port, "/docs/index.html").status) << c.name;
        EXPECT_NE(std::string::npos, ServerOutput(&server).find(c.outputPart)) << c.name << ": " << ServerOutput(&server);
        EXPECT_EQ(0, StopServer(&server)) << c.name;
    }
}
