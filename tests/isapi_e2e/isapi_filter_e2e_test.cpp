/* isapi_filter_e2e_test.cpp - Velmorin.dll behind isapi_server over real HTTP, registered
 * and configured in the registry as an administrator does: default pages in list order,
 * the not-found page, file URLs untouched, settings changed between requests, the log */
#include "e2e_env.h"
#include "http_client.h"
#include "server_process.h"

#include <gtest/gtest.h>

#include <thread>

/* The filter's settings and the web server's list, as an administrator sees them. */
#define SETTINGS_KEY "SOFTWARE\\Felmo\\Velmorin\\Parameters\\"
#define SERVER_KEY   "SYSTEM\\CurrentControlSet\\Services\\W3SVC\\Parameters\\"
#define FULL_LIST    "default.htm;default.html;index.htm;index.html"

#define LOG_THREADS  8
#define LOG_REQUESTS 50  /* per thread */

class FilterE2E : public ::testing::Test
{
protected:
    static std::string scratch, site, notFoundPage, logFile, dll;
    static ServerProcess *server;

    static void SetUpTestSuite()
    {
        scratch = MakeScratchFolder("filter_e2e");
        site = scratch + "\\Site";
        notFoundPage = scratch + "\\pages\\NotFound.htm";
        logFile = scratch + "\\logs\\filter.log";
        dll = WindowsPathOf(VELMORIN_DLL);
        WriteTextFile(site + "\\index.html", "root index");
        WriteTextFile(site + "\\both\\default.htm", "both default");
        WriteTextFile(site + "\\both\\index.html", "both index");
        WriteTextFile(site + "\\WithIndex\\index.html", "withindex index");
        WriteTextFile(site + "\\WithIndex\\page.htm", "withindex page");
        WriteTextFile(site + "\\withdefault\\default.htm", "withdefault default");
        WriteTextFile(site + "\\neither\\readme.txt", "neither readme");
        WriteTextFile(site + "\\neither\\index.html\\inner.txt", "a folder named like a page");
        WriteTextFile(notFoundPage, "not found page");
        WriteTextFile(scratch + "\\logs\\keep.txt", "");

        SetMachineValue(SERVER_KEY, "Filter DLLs", "," + dll);  /* as the settings dialog leaves it */
        Configure(FULL_LIST, false, false);
        server = new ServerProcess();
        std::string error;
        if (!StartServer(WindowsPathOf(ISAPI_SERVER_EXE), {"--root", site}, server, &error))
            ADD_FAILURE() << error;
    }

    static void TearDownTestSuite()
    {
        EXPECT_EQ(0, StopServer(server)) << ServerOutput(server);
        delete server;
        DeleteMachineValue(SERVER_KEY, "Filter DLLs");
        DeleteMachineValue(SETTINGS_KEY, "DefaultLoadFiles");
        DeleteMachineValue(SETTINGS_KEY, "LogFile");
        DeleteMachineValue(SETTINGS_KEY, "NotFoundPage");
        RemoveFolder(scratch);
    }

    /* Writes the three settings the way the settings dialog stores them. */
    static void Configure(const std::string &list, bool withNotFound, bool withLog)
    {
        ASSERT_TRUE(SetMachineValue(SETTINGS_KEY, "DefaultLoadFiles", list));
        ASSERT_TRUE(SetMachineValue(SETTINGS_KEY, "NotFoundPage", withNotFound ? notFoundPage : ""));
        ASSERT_TRUE(SetMachineValue(SETTINGS_KEY, "LogFile", withLog ? logFile : ""));
    }

    void SetUp() override
    {
        ASSERT_NE(0, server->port) << "server did not start";
        RemoveFolder(logFile);
    }
};

std::string FilterE2E::scratch, FilterE2E::site, FilterE2E::notFoundPage, FilterE2E::logFile, FilterE2E::dll;
ServerProcess *FilterE2E::server = nullptr;

TEST_F(FilterE2E, IsLoadedFromFilterDllsWithItsDescription)
{
    std::string output = ServerOutput(server);
    EXPECT_NE(std::string::npos, output.find("\"Filter DLLs\" lists 1 filter(s)")) << output;
    EXPECT_NE(std::string::npos, output.find("loaded filter " + dll + ": Velmorin 1.0 for IIS -- ")) << output;
}

TEST_F(FilterE2E, AnswersDirectoryUrlsFromTheSettingsOfThatRequest)
{
    /* consecutive rows change the settings, so each row also shows that a change made
     * between two requests applies to the second */
    struct Case {
        const char *list;
        bool withNotFound;
        const char *target;
        int status;
        const char *body;
    };
    const Case cases[] = {
        {FULL_LIST, true, "/WithIndex/", 200, "withindex index"},
        {FULL_LIST, true, "/withindex/", 200, "withindex index"},
        {FULL_LIST, true, "/withdefault/", 200, "withdefault default"},
        {FULL_LIST, true, "/both/", 200, "both default"},          /* first in list order wins */
        {"index.html;default.htm", true, "/both/", 200, "both index"},
        {"INDEX.HTML", true, "/both/", 200, "both index"},           /* the list is lowercased */
        {"missing.htm;;index.html", true, "/WithIndex/", 200, "withindex index"},
        {FULL_LIST, true, "/", 200, "root index"},
        {FULL_LIST, true, "/neither/", 200, "not found page"},       /* its index.html is a folder */
        {FULL_LIST, false, "/neither/", 403, "403 Forbidden\r\n"},   /* no page: the folder stays */
        {";;", true, "/WithIndex/", 200, "not found page"},          /* only separators: nothing tried */
        {"", true, "/WithIndex/", 403, "403 Forbidden\r\n"},         /* empty list: filter inactive */
        {" index.html", true, "/WithIndex/", 200, "not found page"}, /* the blank is part of the name */
    };
    for (const Case &c : cases) {
        Configure(c.list, c.withNotFound, false);
        HttpAnswer a = HttpGet(server->port, c.target);
        std::string row = std::string("list: \"") + c.list + "\" target: " + c.target;
        EXPECT_EQ(c.status, a.status) << row << " " << a.error;
        EXPECT_EQ(c.body, a.body) << row;
    }
}

TEST_F(FilterE2E, ASavedChangeAppliesToTheNextRequest)
{
    Configure("default.htm;index.html", true, false);
    EXPECT_EQ("both default", HttpGet(server->port, "/both/").body);
    Configure("index.html;default.htm", true, false);
    EXPECT_EQ("both index", HttpGet(server->port, "/both/").body);
    Configure("", true, false);
    EXPECT_EQ(403, HttpGet(server->port, "/both/").status);
}

TEST_F(FilterE2E, LeavesFileUrlsAsMapped)
{
    Configure("default.htm", true, true);
    struct Case {
        const char *target;
        int status;
        const char *body;
        const char *location;
    };
    const Case cases[] = {
        {"/WithIndex/page.htm", 200, "withindex page", ""},
        {"/both/index.html", 200, "both index", ""},  /* not replaced by the list's default.htm */
        {"/neither/readme.txt", 200, "neither readme", ""},
        {"/neither/nothing.htm", 404, "404 Not Found\r\n", ""},  /* no not-found page for files */
        {"/WithIndex", 301, "301 Moved Permanently\r\n", "/WithIndex/"},
        {"/both", 301, "301 Moved Permanently\r\n", "/both/"},
    };
    for (const Case &c : cases) {
        HttpAnswer a = HttpGet(server->port, c.target);
        EXPECT_EQ(c.status, a.status) << "target: " << c.target;
        EXPECT_EQ(c.body, a.body) << "target: " << c.target;
        EXPECT_EQ(c.location, a.fields["location"]) << "target: " << c.target;
    }
    EXPECT_EQ("", ReadTextFile(logFile)) << "a file URL was logged";
}

TEST_F(FilterE2E, LogsEachSubstitutionFromTheListAsOneLine)
{
    Configure(FULL_LIST, true, true);
    EXPECT_EQ("withindex index", HttpGet(server->port, "/WithIndex/").body);
    EXPECT_EQ("both default", HttpGet(server->port, "/both/").body);
    EXPECT_EQ("not found page", HttpGet(server->port, "/neither/").body);  /* not logged */
    EXPECT_EQ("withindex page", HttpGet(server->port, "/WithIndex/page.htm").body);  /* not logged */
    std::string expected = "/WithIndex/, " + site + "\\WithIndex\\, " + site + "\\WithIndex\\index.html\r\n" +
                           "/both/, " + site + "\\both\\, " + site + "\\both\\default.htm\r\n";
    EXPECT_EQ(expected, ReadTextFile(logFile));

    Configure(FULL_LIST, true, false);  /* log switched off */
    EXPECT_EQ("withindex index", HttpGet(server->port, "/WithIndex/").body);
    EXPECT_EQ(expected, ReadTextFile(logFile));
}

TEST_F(FilterE2E, LogKeepsEveryLineOfConcurrentRequestsWhole)
{
    Configure(FULL_LIST, true, true);
    std::vector<std::thread> clients;
    int failures[LOG_THREADS] = {};
    for (int t = 0; t < LOG_THREADS; t++)
        clients.emplace_back([t, &failures] {
            for (int i = 0; i < LOG_REQUESTS; i++)
                failures[t] += HttpGet(server->port, "/WithIndex/").body != "withindex index";
        });
    for (std::thread &c : clients)
        c.join();
    for (int t = 0; t < LOG_THREADS; t++)
        EXPECT_EQ(0, failures[t]) << "client " << t;
    std::string line = "/WithIndex/, " + site + "\\WithIndex\\, " + site + "\\WithIndex\\index.html\r\n";
    std::string log = ReadTextFile(logFile);
    size_t whole = 0;
    for (size_t at = log.find(line); at != std::string::npos; at = log.find(line, at + line.size()))
        whole++;
    EXPECT_EQ((size_t)LOG_THREADS * LOG_REQUESTS, whole);
    EXPECT_EQ(whole * line.size(), log.size()) << "log holds broken lines";
}

TEST_F(FilterE2E, RefusesUrlsLeavingTheRootWithTheFilterLoaded)
{
    Configure(FULL_LIST, true, true);
    const std::pair<const char *, int> cases[] = {
        {"/../pages/NotFound.htm", 400},
        {"/%2e%2e/pages/", 400},
        {"/WithIndex/..%5c..%5cpages%5cNotFound.htm", 400},
        {"/WithIndex/%2E%2E/%2E%2E/", 400},
        {"/Z:/tmp/", 400},
    };
    for (const auto &c : cases) {
        HttpAnswer a = HttpGet(server->port, c.first);
        EXPECT_EQ(c.second, a.status) << "target: " << c.first;
        EXPECT_NE("not found page", a.body) << "target: " << c.first;
    }
    EXPECT_EQ("", ReadTextFile(logFile)) << "a refused URL reached the filter";
}
