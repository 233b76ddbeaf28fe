/* map_test.cpp - the URL-map work against real folders and files in the test's temporary
 * drive, with the settings in the real registry: which path a request ends with, the log
 * it leaves, the host's buffer limits and the setting errors. */
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config_store.h"
#include "guarded_buffer.h"
#include "map_default_page.h"
#include "registry_fixture.h"
#include "test_files.h"
#include "vcl_exception.h"

/* What one URL-map call left behind. */
struct MapOutcome {
    std::string path;   /* the physical path after the call */
    std::string raised; /* message of an error raised, or empty */
    bool guardIntact;   /* nothing written past cbPathBuff */
};

static MapOutcome MapWithBuffer(const std::string &url, const std::string &mapped, DWORD cbPathBuff)
{
    GuardedBuffer buffer = MakeGuardedBuffer(mapped, cbPathBuff);
    HTTP_FILTER_URL_MAP urlMap = {url.c_str(), buffer.bytes.data(), cbPathBuff};

    MapOutcome outcome = {std::string(), std::string(), true};
    try {
        MapDefaultPage(&urlMap);
    } catch (const Exception &e) {
        outcome.raised = e.Message();
    }
    outcome.path = GuardedText(buffer);
    outcome.guardIntact = GuardIntact(buffer);
    return outcome;
}

static MapOutcome Map(const std::string &url, const std::string &mapped)
{
    return MapWithBuffer(url, mapped, MAX_PATH);
}

/* n names of files that do not exist, ";"-separated. */
static std::string MissingEntries(size_t n)
{
    std::string list;
    for (size_t i = 1; i <= n; i++)
        list += (i > 1 ? ";m" : "m") + std::to_string(i) + ".htm";
    return list;
}

class UrlMap : public ::testing::Test {
protected:
    std::string site; /* ...\Site\ : mixed case, so the kept case of prefixes shows */

    void SetUp() override
    {
        ASSERT_TRUE(ClearFilterKey());
        site = CurrentDirectory() + "Site\\";
        ASSERT_TRUE(MakeDirectory(site + "Docs\\sub"));
        ASSERT_TRUE(MakeDirectory(site + "Big"));
        ASSERT_TRUE(MakeDirectory(site + "Only"));
        ASSERT_TRUE(MakeDirectory(CurrentDirectory() + "Logs"));
        const char *files[] = {"index.htm", "nf.htm", "Docs\\index.htm", "Docs\\default.htm",
                               "Docs\\page.htm", "Docs\\sub\\index.htm", "Big\\index.htm"};
        for (const char *file : files)
            ASSERT_TRUE(MakeFile(site + file, file));
    }

    void TearDown() override { ClearFilterKey(); }

    void Settings(const std::string &list, const std::string &logFile, const std::string &notFound)
    {
        ClearFilterKey();
        if (!list.empty()) {
            ASSERT_TRUE(SetSetting(VALUE_DEFAULT_LOAD_FILES, list));
        }
        if (!logFile.empty()) {
            ASSERT_TRUE(SetSetting(VALUE_LOG_FILE, logFile));
        }
        if (!notFound.empty()) {
            ASSERT_TRUE(SetSetting(VALUE_NOT_FOUND_PAGE, notFound));
        }
    }
};

TEST_F(UrlMap, ChoosesThePathOfEachRequest)
{
    /* mapped and the expected path are below site; expected "=" means as mapped; notFound
     * names a file below site ("NF.HTM" exists as nf.htm, "gone.htm" does not). */
    struct Case {
        const char *what;
        std::string list, notFound, url, mapped, expected;
    } cases[] = {
        {"site root", "default.htm;index.htm", "", "/", "", "index.htm"},
        {"first existing entry wins", "default.htm;index.htm", "", "/Docs/", "Docs\\", "Docs\\default.htm"},
        {"list order decides", "index.htm;default.htm", "", "/Docs/", "Docs\\", "Docs\\index.htm"},
        {"URL names a file", "index.htm", "", "/Docs", "Docs", "="},
        {"URL names a page", "index.htm", "", "/Docs/page.htm", "Docs\\page.htm", "="},
        {"mapped path without separator: the parent", "index.htm", "", "/Docs/", "Docs", "index.htm"},
        {"empty entries are skipped", "m.htm;;index.htm;", "", "/Big/", "Big\\", "Big\\index.htm"},
        {"a leading blank is part of the name", "m.htm; index.htm", "", "/Big/", "Big\\", "="},
        {"entry in a subfolder", "sub\\index.htm", "", "/Docs/", "Docs\\", "Docs\\sub\\index.htm"},
        {"a folder never matches", "sub;index.htm", "", "/Docs/", "Docs\\", "Docs\\index.htm"},
        {"a pattern names no file", "*.htm;index.htm", "", "/Docs/", "Docs\\", "Docs\\index.htm"},
        {"list in capitals", "INDEX.HTM", "", "/Docs/", "Docs\\", "Docs\\index.htm"},
        {"empty list: inactive, no not-found page", "", "NF.HTM", "/Only/", "Only\\", "="},
        {"nothing found, no not-found page", "index.htm", "", "/Only/", "Only\\", "="},
        {"nothing found, not-found page missing", "index.htm", "gone.htm", "/Only/", "Only\\", "="},
        {"nothing found: the not-found page", "index.htm", "NF.HTM", "/Only/", "Only\\", "nf.htm"},
        {"only separators", ";;;", "NF.HTM", "/Docs/", "Docs\\", "nf.htm"},
        {"blank entry misses: not-found page", "m.htm; index.htm", "NF.HTM", "/Big/", "Big\\", "nf.htm"},
        {"entry 300 of 300", MissingEntries(299) + ";index.htm", "", "/Big/", "Big\\", "Big\\index.htm"},
        {"entry 256 of 256", MissingEntries(255) + ";index.htm", "", "/Big/", "Big\\", "Big\\index.htm"},
        {"entry past character 255", std::string(300, 'x') + ";index.htm", "", "/Big/", "Big\\",
         "Big\\index.htm"},
        /* MAX_LIST_CHARS is 4096: whole entries ending within it are searched. */
        {"entry ends at the list limit", std::string(4087, ';') + "index.htm;m.htm", "NF.HTM",
         "/Big/", "Big\\", "Big\\index.htm"},
        {"entry ends one past the limit", std::string(4088, ';') + "index.htm;m.htm", "NF.HTM",
         "/Big/", "Big\\", "nf.htm"},
        {"entry far past the limit", std::string(9000, ';') + "index.htm", "NF.HTM", "/Big/",
         "Big\\", "nf.htm"},
        {"one entry longer than the limit", std::string(5000, 'x'), "NF.HTM", "/Big/", "Big\\",
         "nf.htm"},
    };
    for (const Case &c : cases) {
        Settings(c.list, "", c.notFound.empty() ? "" : site + c.notFound);
        std::string mapped = site + c.mapped;
        std::string expected = c.expected == "=" ? mapped : site + c.expected;
        if (c.expected == "nf.htm")
            expected = LowerAscii(site + c.notFound); /* read as a lowercased setting */
        MapOutcome outcome = Map(c.url, mapped);
        EXPECT_EQ(expected, outcome.path) << c.what;
        EXPECT_EQ("", outcome.raised) << c.what;
        EXPECT_TRUE(outcome.guardIntact) << c.what;
    }
}

TEST_F(UrlMap, LogsEachSubstitutionFromTheList)
{
    std::string log = CurrentDirectory() + "Logs\\Filter.LOG";
    Settings("index.htm", log, site + "nf.htm");
    ASSERT_EQ(site + "Docs\\index.htm", Map("/Docs/", site + "Docs\\").path);
    ASSERT_EQ(site + "index.htm", Map("/", site).path);
    ASSERT_EQ(site + "Docs\\page.htm", Map("/Docs/page.htm", site + "Docs\\page.htm").path);
    ASSERT_EQ(LowerAscii(site + "nf.htm"), Map("/Only/", site + "Only\\").path);
    EXPECT_EQ("/Docs/, " + site + "Docs\\, " + site + "Docs\\index.htm\r\n"
              "/, " + site + ", " + site + "index.htm\r\n",
              ReadWholeFile(log))
        << "file URLs and the not-found page are not logged";
}

TEST_F(UrlMap, UnusableLogCostsOnlyTheLine)
{
    std::string noFolder = CurrentDirectory() + "NoSuchFolder\\filter.log";
    Settings("index.htm", noFolder, "");
    EXPECT_EQ(site + "Docs\\index.htm", Map("/Docs/", site + "Docs\\").path);
    EXPECT_EQ("<missing>", ReadWholeFile(noFolder));

    Settings("index.htm", site + "Docs", ""); /* a folder, not a file */
    EXPECT_EQ(site + "Docs\\index.htm", Map("/Docs/", site + "Docs\\").path);
}

TEST_F(UrlMap, ReplacementThatDoesNotFitLeavesThePathAsMapped)
{
    std::string log = CurrentDirectory() + "Logs\\fit.log";
    Settings("index.htm", log, site + "nf.htm");
    std::string mapped = site + "Docs\\";
    std::string candidate = mapped + "index.htm";
    struct Case {
        DWORD cbPathBuff;
        std::string expected;
    } cases[] = {
        {(DWORD)candidate.size() + 1, candidate}, /* exactly fits with its NUL */
        {(DWORD)candidate.size(), mapped},        /* one byte short */
        {(DWORD)mapped.size() + 1, mapped},
    };
    for (const Case &c : cases) {
        MapOutcome outcome = MapWithBuffer("/Docs/", mapped, c.cbPathBuff);
        EXPECT_EQ(c.expected, outcome.path) << "cbPathBuff " << c.cbPathBuff;
        EXPECT_TRUE(outcome.guardIntact) << "cbPathBuff " << c.cbPathBuff;
    }
    EXPECT_EQ("/Docs/, " + mapped + ", " + candidate + "\r\n", ReadWholeFile(log))
        << "a refused replacement is not logged";

    Settings("gone.htm", "", site + "nf.htm");
    MapOutcome outcome = MapWithBuffer("/Docs/", mapped, (DWORD)mapped.size() + 1);
    EXPECT_EQ(mapped, outcome.path) << "not-found page too long for the buffer";
    EXPECT_TRUE(outcome.guardIntact);
}

TEST_F(UrlMap, SettingErrors)
{
    const std::string number("\x07\x00\x00\x00", 4);
    struct Case {
        const char *what;
        const char *badValue;
        std::string list, expected, raised;
    } cases[] = {
        {"list is a number", VALUE_DEFAULT_LOAD_FILES, "", "=",
         "Invalid data type for 'DefaultLoadFiles'"},
        {"log file is a number", VALUE_LOG_FILE, "index.htm", "=",
         "Invalid data type for 'LogFile'"},
        {"not-found page is a number, nothing found", VALUE_NOT_FOUND_PAGE, "gone.htm", "=",
         "Invalid data type for 'NotFoundPage'"},
        {"not-found page is a number, not needed", VALUE_NOT_FOUND_PAGE, "index.htm",
         "Docs\\index.htm", ""},
    };
    for (const Case &c : cases) {
        Settings(c.list, "", "");
        ASSERT_TRUE(SetRawValue(c.badValue, REG_DWORD, number)) << c.what;
        MapOutcome outcome = Map("/Docs/", site + "Docs\\");
        EXPECT_EQ(c.expected == "=" ? site + "Docs\\" : site + c.expected, outcome.path) << c.what;
        EXPECT_EQ(c.raised, outcome.raised) << c.what;
    }

    ASSERT_TRUE(ClearFilterKey());
    MapOutcome outcome = Map("/Docs/", site + "Docs\\");
    EXPECT_EQ(site + "Docs\\", outcome.path) << "no key at all";
    EXPECT_EQ("", outcome.raised) << "no key at all";
}

TEST_F(UrlMap, DegenerateNotificationsAreLeftAlone)
{
    Settings("index.htm", "", "");
    MapDefaultPage(NULL);

    char path[MAX_PATH] = "unchanged";
    HTTP_FILTER_URL_MAP noUrl = {NULL, path, sizeof(path)};
    MapDefaultPage(&noUrl);
    HTTP_FILTER_URL_MAP noPath = {"/", NULL, sizeof(path)};
    MapDefaultPage(&noPath);
    HTTP_FILTER_URL_MAP noRoom = {"/", path, 0};
    MapDefaultPage(&noRoom);
    EXPECT_STREQ("unchanged", path);

    /* A mapped path that fills its buffer with no NUL is read within the buffer only. */
    std::string full = site + "Docs\\";
    MapOutcome outcome = MapWithBuffer("/Docs/", full, (DWORD)full.size());
    EXPECT_EQ(full, outcome.path);
    EXPECT_TRUE(outcome.guardIntact);
}
