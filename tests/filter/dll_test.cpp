/* dll_test.cpp - the filter DLL as the web server sees it: loaded with LoadLibrary, its
 * exports, GetFilterVersion's record, HttpFilterProc's answer to every notification and
 * failure, concurrent requests sharing one log, and logs that cannot be opened. */
#include <gtest/gtest.h>

#include <windows.h>

#include <map>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "guarded_buffer.h"
#include "isapi_filter.h"
#include "registry_fixture.h"
#include "test_files.h"

#define VALUE_LIST      "DefaultLoadFiles"
#define VALUE_LOG       "LogFile"
#define VALUE_NOT_FOUND "NotFoundPage"

#define LOG_THREADS  8    /* request threads appending to one log at once */
#define LOG_REQUESTS 2000 /* directory requests per thread */

static HMODULE filterDll;
static PFN_GET_FILTER_VERSION getFilterVersion;
static PFN_HTTP_FILTER_PROC httpFilterProc;

/* Names in the export directory of a loaded module. */
static std::vector<std::string> ExportedNames(HMODULE module)
{
    std::vector<std::string> names;
    const BYTE *base = (const BYTE *)module;
    const IMAGE_DOS_HEADER *dos = (const IMAGE_DOS_HEADER *)base;
    const IMAGE_NT_HEADERS *nt = (const IMAGE_NT_HEADERS *)(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY &dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    if (dir.VirtualAddress == 0)
        return names;
    const IMAGE_EXPORT_DIRECTORY *exports = (const IMAGE_EXPORT_DIRECTORY *)(base + dir.VirtualAddress);
    const DWORD *nameRvas = (const DWORD *)(base + exports->AddressOfNames);
    for (DWORD i = 0; i < exports->NumberOfNames; i++)
        names.push_back((const char *)(base + nameRvas[i]));
    return names;
}

/* One URL-map notification through HttpFilterProc. */
struct ProcOutcome {
    DWORD status;
    std::string path;
    bool guardIntact;
};

static ProcOutcome Request(DWORD type, const std::string &url, const std::string &mapped,
                           DWORD cbPathBuff = MAX_PATH)
{
    GuardedBuffer buffer = MakeGuardedBuffer(mapped, cbPathBuff);
    HTTP_FILTER_URL_MAP urlMap = {url.c_str(), buffer.bytes.data(), cbPathBuff};
    HTTP_FILTER_CONTEXT context = {};
    context.cbSize = sizeof(context);

    ProcOutcome outcome = {httpFilterProc(&context, type, &urlMap), std::string(), true};
    outcome.path = GuardedText(buffer);
    outcome.guardIntact = GuardIntact(buffer);
    return outcome;
}

class FilterDll : public ::testing::Test {
protected:
    std::string site;

    static void SetUpTestSuite()
    {
        filterDll = LoadLibraryA(VELMORIN_DLL);
        if (filterDll == NULL)
            return;
        getFilterVersion = (PFN_GET_FILTER_VERSION)(void *)GetProcAddress(filterDll, "GetFilterVersion");
        httpFilterProc = (PFN_HTTP_FILTER_PROC)(void *)GetProcAddress(filterDll, "HttpFilterProc");
    }

    static void TearDownTestSuite()
    {
        if (filterDll != NULL)
            FreeLibrary(filterDll);
    }

    void SetUp() override
    {
        ASSERT_NE((HMODULE)NULL, filterDll) << "cannot load " << VELMORIN_DLL
                                            << ", error " << GetLastError();
        ASSERT_NE((PFN_GET_FILTER_VERSION)NULL, getFilterVersion);
        ASSERT_NE((PFN_HTTP_FILTER_PROC)NULL, httpFilterProc);
        ASSERT_TRUE(ClearFilterKey());
        site = CurrentDirectory() + "Site\\";
        ASSERT_TRUE(MakeDirectory(site + "Docs"));
        ASSERT_TRUE(MakeFile(site + "Docs\\index.htm", "index"));
        ASSERT_TRUE(MakeFile(site + "Docs\\default.htm", "default"));
    }

    void TearDown() override { ClearFilterKey(); }
};

TEST_F(FilterDll, ExportsOnlyTheTwoEntryPoints)
{
    std::vector<std::string> names = ExportedNames(filterDll);
    EXPECT_EQ((std::vector<std::string>{"GetFilterVersion", "HttpFilterProc"}), names);
}

TEST_F(FilterDll, GetFilterVersionDescribesTheFilter)
{
    HTTP_FILTER_VERSION version;
    memset(&version, 0xCC, sizeof(version));
    version.dwServerFilterVersion = 0x00060000;
    EXPECT_TRUE(getFilterVersion(&version));
    EXPECT_EQ(0x00060000u, version.dwServerFilterVersion) << "the server's field is left alone";
    EXPECT_EQ(0x00010000u, version.dwFilterVersion);
    size_t length = strnlen(version.lpszFilterDesc, SF_MAX_FILTER_DESC_LEN);
    ASSERT_LT(length, (size_t)SF_MAX_FILTER_DESC_LEN) << "description ends within its field";
    EXPECT_EQ("Velmorin 1.0 for IIS -- http://www.felmo.example/",
              std::string(version.lpszFilterDesc, length));
    EXPECT_EQ((DWORD)SF_NOTIFY_URL_MAP, version.dwFlags) << "no port or order flags";

    EXPECT_FALSE(getFilterVersion(NULL));
}

TEST_F(FilterDll, OnlyUrlMapNotificationsDoWork)
{
    ASSERT_TRUE(SetSetting(VALUE_LIST, "index.htm"));
    const std::string mapped = site + "Docs\\";
    struct Case {
        DWORD type;
        std::string expected;
    } cases[] = {
        {SF_NOTIFY_URL_MAP, mapped + "index.htm"},
        {SF_NOTIFY_LOG, mapped},
        {SF_NOTIFY_PREPROC_HEADERS, mapped},
        {SF_NOTIFY_URL_MAP | SF_NOTIFY_LOG, mapped},
        {0, mapped},
    };
    for (const Case &c : cases) {
        ProcOutcome outcome = Request(c.type, "/Docs/", mapped);
        EXPECT_EQ((DWORD)SF_STATUS_REQ_NEXT_NOTIFICATION, outcome.status) << "type " << c.type;
        EXPECT_EQ(c.expected, outcome.path) << "type " << c.type;
    }
    EXPECT_EQ((DWORD)SF_STATUS_REQ_NEXT_NOTIFICATION, httpFilterProc(NULL, SF_NOTIFY_LOG, NULL));
}

TEST_F(FilterDll, SavedSettingsApplyToTheNextRequest)
{
    const std::string mapped = site + "Docs\\";
    ASSERT_TRUE(SetSetting(VALUE_LIST, "index.htm;default.htm"));
    EXPECT_EQ(mapped + "index.htm", Request(SF_NOTIFY_URL_MAP, "/Docs/", mapped).path);
    ASSERT_TRUE(SetSetting(VALUE_LIST, "DEFAULT.HTM;index.htm"));
    EXPECT_EQ(mapped + "default.htm", Request(SF_NOTIFY_URL_MAP, "/Docs/", mapped).path);
}

TEST_F(FilterDll, FailuresNeverLeaveTheFilter)
{
    const std::string mapped = site + "Docs\\";
    const std::string number("\x01\x00\x00\x00", 4);
    struct Case {
        const char *what;
        const char *badValue; /* stored as a number; NULL: none */
        std::string list;
        DWORD cbPathBuff;
    } cases[] = {
        {"no key", NULL, "", MAX_PATH},
        {"list is a number", VALUE_LIST, "", MAX_PATH},
        {"log file is a number", VALUE_LOG, "index.htm", MAX_PATH},
        {"not-found page is a number", VALUE_NOT_FOUND, "gone.htm", MAX_PATH},
        {"replacement one byte too long", NULL, "index.htm", (DWORD)(mapped.size() + 9)},
    };
    for (const Case &c : cases) {
        ASSERT_TRUE(ClearFilterKey());
        if (!c.list.empty()) {
            ASSERT_TRUE(SetSetting(VALUE_LIST, c.list)) << c.what;
        }
        if (c.badValue != NULL) {
            ASSERT_TRUE(SetRawValue(c.badValue, REG_DWORD, number)) << c.what;
        }
        ProcOutcome outcome = Request(SF_NOTIFY_URL_MAP, "/Docs/", mapped, c.cbPathBuff);
        EXPECT_EQ((DWORD)SF_STATUS_REQ_NEXT_NOTIFICATION, outcome.status) << c.what;
        EXPECT_EQ(mapped, outcome.path) << c.what;
        EXPECT_TRUE(outcome.guardIntact) << c.what;
    }
    HTTP_FILTER_CONTEXT context = {};
    EXPECT_EQ((DWORD)SF_STATUS_REQ_NEXT_NOTIFICATION,
              httpFilterProc(&context, SF_NOTIFY_URL_MAP, NULL)) << "no notification record";
}

/* Every thread requests its own folder, so each line tells which request wrote it. */
TEST_F(FilterDll, ConcurrentRequestsLeaveOneWholeLineEach)
{
    std::string log = CurrentDirectory() + "concurrent.log";
    ASSERT_TRUE(SetSetting(VALUE_LIST, "index.htm"));
    ASSERT_TRUE(SetSetting(VALUE_LOG, log));
    std::map<std::string, int> expectedLines;
    for (int t = 0; t < LOG_THREADS; t++) {
        std::string dir = site + "T" + std::to_string(t) + "\\";
        ASSERT_TRUE(MakeDirectory(dir));
        ASSERT_TRUE(MakeFile(dir + "index.htm", "x"));
        expectedLines["/T" + std::to_string(t) + "/, " + dir + ", " + dir + "index.htm"] = t;
    }

    std::vector<int> substituted(LOG_THREADS, 0);
    std::vector<std::thread> threads;
    for (int t = 0; t < LOG_THREADS; t++) {
        threads.emplace_back([this, t, &substituted]() {
            std::string url = "/T" + std::to_string(t) + "/";
            std::string dir = site + "T" + std::to_string(t) + "\\";
            for (int r = 0; r < LOG_REQUESTS; r++) {
                if (Request(SF_NOTIFY_URL_MAP, url, dir).path == dir + "index.htm")
                    substituted[t]++;
            }
        });
    }
    for (std::thread &thread : threads)
        thread.join();

    std::string text = ReadWholeFile(log);
    std::vector<int> linesOf(LOG_THREADS, 0);
    size_t lines = 0, strangers = 0, start = 0;
    for (size_t end = text.find("\r\n"); end != std::string::npos;
         start = end + 2, end = text.find("\r\n", start)) {
        lines++;
        auto known = expectedLines.find(text.substr(start, end - start));
        if (known == expectedLines.end())
            strangers++;
        else
            linesOf[known->second]++;
    }
    EXPECT_EQ((size_t)LOG_THREADS * LOG_REQUESTS, lines);
    EXPECT_EQ(0u, strangers) << "lines mixed from two requests";
    EXPECT_EQ(text.size(), start) << "text after the last line end";
    for (int t = 0; t < LOG_THREADS; t++) {
        EXPECT_EQ(LOG_REQUESTS, substituted[t]) << "thread " << t;
        EXPECT_EQ(LOG_REQUESTS, linesOf[t]) << "lines of thread " << t;
    }
}

TEST_F(FilterDll, RequestIsServedWhenTheLogCannotBeOpened)
{
    const std::string mapped = site + "Docs\\";
    const std::string held = CurrentDirectory() + "held.log";
    ASSERT_TRUE(MakeFile(held, "kept\r\n"));
    /* Another program holds this log without sharing it. */
    HANDLE holder = CreateFileA(held.c_str(), GENERIC_READ, 0, NULL, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, holder);

    struct Case {
        const char *what;
        std::string log;
    } cases[] = {
        {"folder missing", CurrentDirectory() + "NoSuchFolder\\filter.log"},
        {"held by another program", held},
        {"names a folder", site + "Docs"},
        {"not a path at all", "<>|?.log"},
    };
    ASSERT_TRUE(SetSetting(VALUE_LIST, "index.htm"));
    for (const Case &c : cases) {
        ASSERT_TRUE(SetSetting(VALUE_LOG, c.log)) << c.what;
        ProcOutcome outcome = Request(SF_NOTIFY_URL_MAP, "/Docs/", mapped);
        EXPECT_EQ((DWORD)SF_STATUS_REQ_NEXT_NOTIFICATION, outcome.status) << c.what;
        EXPECT_EQ(mapped + "index.htm", outcome.path) << c.what;
    }
    CloseHandle(holder);
    EXPECT_EQ("kept\r\n", ReadWholeFile(held));
}
