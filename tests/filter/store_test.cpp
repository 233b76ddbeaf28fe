/* store_test.cpp - the settings store against the real registry: round trips, the stored
 * form, the accepted types, the defaults, and every error text, with registry calls made
 * to fail at a chosen point through the wrapper's call table. */
#include <gtest/gtest.h>

#include <string>

#include "config_store.h"
#include "registry_fixture.h"
#include "vcl_exception.h"
#include "vcl_registry_calls.h"

/* Counts the keys the wrapper opens or creates and the ones it closes, and makes one
 * kind of call fail from its n-th use on. */
static LONG openedKeys, closedKeys;
static int failOpenAt, failCreateAt, failQueryAt, failSetAt; /* 0: never fail */
static int openCalls, createCalls, queryCalls, setCalls;

static bool FailsNow(int *calls, int failAt)
{
    ++*calls;
    return failAt != 0 && *calls >= failAt;
}

static LONG WINAPI CountingOpen(HKEY root, LPCSTR path, DWORD options, REGSAM access, PHKEY key)
{
    if (FailsNow(&openCalls, failOpenAt))
        return ERROR_ACCESS_DENIED;
    LONG rc = RegOpenKeyExA(root, path, options, access, key);
    if (rc == ERROR_SUCCESS)
        openedKeys++;
    return rc;
}

static LONG WINAPI CountingCreate(HKEY root, LPCSTR path, DWORD reserved, LPSTR keyClass,
                                  DWORD options, REGSAM access, LPSECURITY_ATTRIBUTES security,
                                  PHKEY key, LPDWORD disposition)
{
    if (FailsNow(&createCalls, failCreateAt))
        return ERROR_ACCESS_DENIED;
    LONG rc = RegCreateKeyExA(root, path, reserved, keyClass, options, access, security, key,
                              disposition);
    if (rc == ERROR_SUCCESS)
        openedKeys++;
    return rc;
}

static LONG WINAPI FailingQuery(HKEY key, LPCSTR name, LPDWORD reserved, LPDWORD type,
                                LPBYTE data, LPDWORD size)
{
    if (FailsNow(&queryCalls, failQueryAt))
        return ERROR_ACCESS_DENIED;
    return RegQueryValueExA(key, name, reserved, type, data, size);
}

static LONG WINAPI FailingSet(HKEY key, LPCSTR name, DWORD reserved, DWORD type,
                              const BYTE *data, DWORD size)
{
    if (FailsNow(&setCalls, failSetAt))
        return ERROR_ACCESS_DENIED;
    return RegSetValueExA(key, name, reserved, type, data, size);
}

static LONG WINAPI CountingClose(HKEY key)
{
    closedKeys++;
    return RegCloseKey(key);
}

class Store : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(ClearFilterKey());
        openedKeys = closedKeys = 0;
        failOpenAt = failCreateAt = failQueryAt = failSetAt = 0;
        openCalls = createCalls = queryCalls = setCalls = 0;
        vclRegistryCalls.openKeyEx = CountingOpen;
        vclRegistryCalls.createKeyEx = CountingCreate;
        vclRegistryCalls.queryValueEx = FailingQuery;
        vclRegistryCalls.setValueEx = FailingSet;
        vclRegistryCalls.closeKey = CountingClose;
    }

    void TearDown() override
    {
        /* Every call closes what it opened, whatever its outcome. */
        EXPECT_EQ(openedKeys, closedKeys) << "registry keys left open";
        RestoreRegistryCalls();
        ClearFilterKey();
    }

    /* Runs the read and returns its text, or "raised: <message>". */
    static std::string ReadOutcome(const std::string &name, const std::string &def = "")
    {
        try {
            return ReadConfigString(FILTER_KEY, name, def);
        } catch (const ERegistryException &e) {
            return "raised: " + e.Message();
        }
    }

    static std::string WriteOutcome(const std::string &name, const std::string &text)
    {
        try {
            WriteConfigString(FILTER_KEY, name, text);
            return "written";
        } catch (const ERegistryException &e) {
            return "raised: " + e.Message();
        }
    }
};

TEST_F(Store, RoundTripsKeepTheTextAndItsStoredForm)
{
    const std::string texts[] = {
        "default.htm;default.html;index.htm;index.html",
        "C:\\LOGS\\WEB.LOG",          /* the store keeps the case */
        "",                           /* a single NUL byte */
        " padded ;  ",                /* nothing is trimmed */
        "caf\xE9\xFF",                /* bytes above 127 */
        std::string(5000, 'x'),
    };
    for (const std::string &text : texts) {
        ASSERT_EQ("written", WriteOutcome(VALUE_DEFAULT_LOAD_FILES, text)) << "text: " << text;
        EXPECT_EQ(text, ReadOutcome(VALUE_DEFAULT_LOAD_FILES)) << "text: " << text;
        RawValue raw = GetRawValue(VALUE_DEFAULT_LOAD_FILES);
        EXPECT_EQ((DWORD)REG_SZ, raw.type) << "text: " << text;
        EXPECT_EQ(text.size() + 1, raw.data.size()) << "byte count, text: " << text;
        EXPECT_EQ(text + std::string(1, '\0'), raw.data) << "text: " << text;
    }
}

TEST_F(Store, ReadersLowercaseWhatTheyRead)
{
    ASSERT_EQ("written", WriteOutcome(VALUE_LOG_FILE, "C:\\LOGS\\WEB\xC9.LOG"));
    EXPECT_EQ("c:\\logs\\web\xC9.log", LowerAscii(ReadOutcome(VALUE_LOG_FILE)));
    EXPECT_EQ(std::string("C:\\LOGS\\WEB\xC9.LOG") + '\0', GetRawValue(VALUE_LOG_FILE).data);
}

TEST_F(Store, ReadsValuesAsStored)
{
    struct Case {
        const char *what;
        DWORD type;
        std::string data, result;
    } cases[] = {
        {"plain text", REG_SZ, std::string("index.htm\0", 10), "index.htm"},
        {"expand text, unexpanded", REG_EXPAND_SZ, std::string("%SystemRoot%\\x.log\0", 19),
         "%SystemRoot%\\x.log"},
        {"NUL inside", REG_SZ, std::string("ab\0cd\0", 6), "ab"},
        {"empty data", REG_SZ, std::string(), ""},
        {"only a NUL", REG_SZ, std::string(1, '\0'), ""},
        {"no NUL at the end", REG_SZ, "abc", "abc"},
        {"number", REG_DWORD, std::string("\x01\x00\x00\x00", 4),
         "raised: Invalid data type for 'NotFoundPage'"},
        {"binary", REG_BINARY, "abc", "raised: Invalid data type for 'NotFoundPage'"},
        {"multi text", REG_MULTI_SZ, std::string("a\0b\0\0", 5),
         "raised: Invalid data type for 'NotFoundPage'"},
        {"empty binary: nothing to read", REG_BINARY, std::string(), ""},
    };
    for (const Case &c : cases) {
        ASSERT_TRUE(SetRawValue(VALUE_NOT_FOUND_PAGE, c.type, c.data)) << c.what;
        EXPECT_EQ(c.result, ReadOutcome(VALUE_NOT_FOUND_PAGE, "default")) << c.what;
    }
}

TEST_F(Store, MissingKeyOrValueGivesTheDefault)
{
    EXPECT_EQ("", ReadOutcome(VALUE_DEFAULT_LOAD_FILES));
    EXPECT_EQ("default", ReadOutcome(VALUE_DEFAULT_LOAD_FILES, "default")) << "no key";
    ASSERT_TRUE(SetSetting(VALUE_LOG_FILE, "x"));
    EXPECT_EQ("default", ReadOutcome(VALUE_DEFAULT_LOAD_FILES, "default")) << "no value";
    ASSERT_TRUE(SetSetting(VALUE_DEFAULT_LOAD_FILES, ""));
    EXPECT_EQ("", ReadOutcome(VALUE_DEFAULT_LOAD_FILES, "default")) << "empty value";
}

TEST_F(Store, FirstWriteCreatesTheKeyAndLeavesOtherValues)
{
    ASSERT_EQ("written", WriteOutcome(VALUE_LOG_FILE, "a.log"));
    ASSERT_EQ("written", WriteOutcome(VALUE_NOT_FOUND_PAGE, "nf.htm"));
    ASSERT_EQ("written", WriteOutcome(VALUE_LOG_FILE, "b.log"));
    EXPECT_EQ("b.log", ReadOutcome(VALUE_LOG_FILE));
    EXPECT_EQ("nf.htm", ReadOutcome(VALUE_NOT_FOUND_PAGE));
}

TEST_F(Store, KeyWithoutFullAccessReadsAsTheDefault)
{
    ASSERT_TRUE(SetSetting(VALUE_LOG_FILE, "x.log"));
    failOpenAt = 1;
    EXPECT_EQ("default", ReadOutcome(VALUE_LOG_FILE, "default"));
}

TEST_F(Store, FailedDataReadRaisesGetData)
{
    ASSERT_TRUE(SetSetting(VALUE_DEFAULT_LOAD_FILES, "index.htm"));
    /* Existence and size are asked first; the third query reads the data. */
    failQueryAt = 3;
    EXPECT_EQ("raised: Failed to get data for 'DefaultLoadFiles'",
              ReadOutcome(VALUE_DEFAULT_LOAD_FILES));
}

TEST_F(Store, WriteFailures)
{
    struct Case {
        const char *what;
        int *failAt;
        int at;
        std::string outcome;
    } cases[] = {
        {"key cannot be created", &failCreateAt, 1,
         "raised: Failed to create key SOFTWARE\\Felmo\\Velmorin\\Parameters\\"},
        {"key cannot be opened after creation", &failOpenAt, 1, "written"},
        {"data cannot be set", &failSetAt, 1, "raised: Failed to set data for 'LogFile'"},
    };
    for (const Case &c : cases) {
        ASSERT_TRUE(SetSetting(VALUE_LOG_FILE, "old.log")) << c.what;
        openCalls = createCalls = queryCalls = setCalls = 0;
        *c.failAt = c.at;
        EXPECT_EQ(c.outcome, WriteOutcome(VALUE_LOG_FILE, "new.log")) << c.what;
        *c.failAt = 0;
        EXPECT_EQ(std::string("old.log") + '\0', GetRawValue(VALUE_LOG_FILE).data)
            << c.what << ": the value stays as it was";
    }
}

TEST_F(Store, EarlierWritesStayWhenALaterOneFails)
{
    ASSERT_EQ("written", WriteOutcome(VALUE_LOG_FILE, "kept.log"));
    setCalls = 0;
    failSetAt = 1;
    EXPECT_EQ("raised: Failed to set data for 'DefaultLoadFiles'",
              WriteOutcome(VALUE_DEFAULT_LOAD_FILES, "index.htm"));
    failSetAt = 0;
    EXPECT_EQ("kept.log", ReadOutcome(VALUE_LOG_FILE));
    EXPECT_FALSE(GetRawValue(VALUE_DEFAULT_LOAD_FILES).exists);
}

TEST_F(Store, ErrorsAreTheLibrarysExceptions)
{
    ASSERT_TRUE(SetRawValue(VALUE_LOG_FILE, REG_DWORD, std::string(4, '\0')));
    try {
        ReadConfigString(FILTER_KEY, VALUE_LOG_FILE, "");
        FAIL() << "a number read as text";
    } catch (const Exception &e) {
        EXPECT_EQ("Invalid data type for 'LogFile'", e.Message());
        EXPECT_STREQ("Invalid data type for 'LogFile'", e.what());
    }
}
