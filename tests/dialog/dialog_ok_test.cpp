/* dialog_ok_test.cpp - what the dialog shows at start and what OK leaves in the registry:
 * the three settings, IIS's "Filter DLLs" list and the restart notice. */
#include <gtest/gtest.h>

#include "dialog_harness.h"
#include "reg_fixture.h"

#define ENTRY_IN_ROOT ",C:\\Velmorin.dll"
#define ENTRY_IN_SUB  ",C:\\velmorin dialog test\\Sub Folder\\Velmorin.dll"

struct StoredValue {
    const char *key;
    const char *name;
    RegValue value;
};

static RegValue Typed(DWORD type, const std::string &data)
{
    return RegValue{true, type, data};
}

static const RegValue kMissing = {false, REG_NONE, std::string()};

struct OkCase {
    const char *name;
    std::vector<StoredValue> before;
    const char *workDir;
    Fields shown;                            /* the fields right after start */
    const char *typed[3];                    /* log, pages, page; NULL leaves the field */
    RegValue log, pages, page, filterDlls;   /* afterwards */
    bool notice;
};

static std::vector<OkCase> OkCases()
{
    return {
        {"no settings and no IIS key: three empty values, list created",
         {}, ROOT_DIR, {"", "", ""}, {NULL, NULL, NULL},
         SzValue(""), SzValue(""), SzValue(""), SzValue(ENTRY_IN_ROOT), true},
        {"capitals shown lowercased and saved lowercased",
         {{T_FILTER_KEY, "LogFile", SzValue("C:\\LOGS\\Web.LOG")},
          {T_FILTER_KEY, "DefaultLoadFiles", SzValue("Default.HTM;INDEX.html")},
          {T_FILTER_KEY, "NotFoundPage", SzValue("C:\\NotFound.HTM")},
          {T_IIS_KEY, "Filter DLLs", SzValue("C:\\InetSrv\\VELMORIN.DLL")}},
         ROOT_DIR, {"c:\\logs\\web.log", "default.htm;index.html", "c:\\notfound.htm"},
         {NULL, NULL, NULL},
         SzValue("c:\\logs\\web.log"), SzValue("default.htm;index.html"),
         SzValue("c:\\notfound.htm"), SzValue("C:\\InetSrv\\VELMORIN.DLL"), false},
        {"typed texts stored as typed, spaces and case kept",
         {{T_FILTER_KEY, "LogFile", SzValue("c:\\old.log")},
          {T_IIS_KEY, "Filter DLLs", SzValue("c:\\x\\velmorin.dll")}},
         ROOT_DIR, {"c:\\old.log", "", ""},
         {" D:\\Logs\\Site A.LOG ", "Index.HTM; Default.htm", ""},
         SzValue(" D:\\Logs\\Site A.LOG "), SzValue("Index.HTM; Default.htm"), SzValue(""),
         SzValue("c:\\x\\velmorin.dll"), false},
        {"list missing, IIS key there, started in a sub-folder",
         {{T_IIS_KEY, "Other", SzValue("kept")}},
         SUB_DIR, {"", "", ""}, {NULL, NULL, NULL},
         SzValue(""), SzValue(""), SzValue(""), SzValue(ENTRY_IN_SUB), true},
        {"list empty: it begins with an empty entry",
         {{T_IIS_KEY, "Filter DLLs", SzValue("")}},
         ROOT_DIR, {"", "", ""}, {NULL, NULL, NULL},
         SzValue(""), SzValue(""), SzValue(""), SzValue(ENTRY_IN_ROOT), true},
        {"other filters listed: written back lowercased, entry appended",
         {{T_IIS_KEY, "Filter DLLs",
           SzValue("C:\\WINNT\\System32\\inetsrv\\ISAPI.DLL,D:\\Filters\\Compress.dll")}},
         SUB_DIR, {"", "", ""}, {NULL, NULL, NULL},
         SzValue(""), SzValue(""), SzValue(""),
         SzValue(std::string("c:\\winnt\\system32\\inetsrv\\isapi.dll,d:\\filters\\compress.dll") +
                 ENTRY_IN_SUB),
         true},
        {"listed in another folder and case: nothing added",
         {{T_IIS_KEY, "Filter DLLs", SzValue("D:\\Other\\Place\\VeLmOrIn.DlL")}},
         SUB_DIR, {"", "", ""}, {NULL, NULL, NULL},
         SzValue(""), SzValue(""), SzValue(""), SzValue("D:\\Other\\Place\\VeLmOrIn.DlL"), false},
        {"a name that merely contains velmorin.dll counts as listed",
         {{T_IIS_KEY, "Filter DLLs", SzValue("c:\\inetsrv\\oldvelmorin.dll")}},
         ROOT_DIR, {"", "", ""}, {NULL, NULL, NULL},
         SzValue(""), SzValue(""), SzValue(""), SzValue("c:\\inetsrv\\oldvelmorin.dll"), false},
        {"list stored as REG_EXPAND_SZ: taken literally, written back as REG_SZ",
         {{T_IIS_KEY, "Filter DLLs", Typed(REG_EXPAND_SZ, std::string("%SystemRoot%\\A.dll") + '\0')}},
         ROOT_DIR, {"", "", ""}, {NULL, NULL, NULL},
         SzValue(""), SzValue(""), SzValue(""),
         SzValue(std::string("%systemroot%\\a.dll") + ENTRY_IN_ROOT), true},
        {"setting stored as REG_EXPAND_SZ shown unexpanded",
         {{T_FILTER_KEY, "LogFile", Typed(REG_EXPAND_SZ, std::string("%WINDIR%\\Web.LOG") + '\0')},
          {T_IIS_KEY, "Filter DLLs", SzValue("velmorin.dll")}},
         ROOT_DIR, {"%windir%\\web.log", "", ""}, {NULL, NULL, NULL},
         SzValue("%windir%\\web.log"), SzValue(""), SzValue(""), SzValue("velmorin.dll"), false},
        {"setting with a NUL inside shown up to it",
         {{T_FILTER_KEY, "DefaultLoadFiles", Typed(REG_SZ, std::string("a.htm\0junk\0", 11))},
          {T_IIS_KEY, "Filter DLLs", SzValue("velmorin.dll")}},
         ROOT_DIR, {"", "a.htm", ""}, {NULL, NULL, NULL},
         SzValue(""), SzValue("a.htm"), SzValue(""), SzValue("velmorin.dll"), false},
    };
}

class DialogOk : public ::testing::Test {
protected:
    void SetUp() override
    {
        ClearDialogKeys();
        ASSERT_TRUE(MakeWorkDirs());
    }
    void TearDown() override { ClearDialogKeys(); }
};

/* Presses OK and answers the notice if one comes, checking it. Returns whether one came;
 * the program has ended when it returns. */
static bool PressOkAndAnswerNotice(DialogProcess &run, HWND dialog, const char *name)
{
    PostClick(DialogButton(dialog, "&OK"));
    HWND box = run.WaitForBox(NULL);
    if (box) {
        MessageBoxInfo notice = ReadMessageBox(box);
        EXPECT_EQ(NOTICE_CAPTION, notice.caption) << name;
        EXPECT_EQ(NOTICE_TEXT, notice.text) << name;
        EXPECT_EQ(std::vector<std::string>{"OK"}, notice.buttons) << name;
        EXPECT_FALSE(notice.hasIcon) << name;
        EXPECT_EQ(dialog, notice.owner) << name;
        EXPECT_FALSE(IsWindowEnabled(dialog)) << name << ": the notice is not modal";
        EXPECT_TRUE(PressBoxButton(box, "OK")) << name;
    }
    EXPECT_EQ(0u, run.WaitForExit()) << name;
    return box != NULL;
}

TEST_F(DialogOk, RegistryCases)
{
    for (const OkCase &c : OkCases()) {
        ClearDialogKeys();
        for (const StoredValue &v : c.before)
            ASSERT_TRUE(PutValue(v.key, v.name, v.value)) << c.name;
        DialogProcess run(c.workDir);
        HWND dialog = run.WaitForDialog();
        ASSERT_TRUE(dialog != NULL) << c.name;
        Fields shown = ReadFields(dialog);
        EXPECT_EQ(c.shown.log, shown.log) << c.name;
        EXPECT_EQ(c.shown.pages, shown.pages) << c.name;
        EXPECT_EQ(c.shown.page, shown.page) << c.name;
        ASSERT_TRUE(TypeFields(dialog, c.typed[0], c.typed[1], c.typed[2])) << c.name;

        EXPECT_EQ(c.notice, PressOkAndAnswerNotice(run, dialog, c.name)) << c.name;
        RegValue log = ReadValue(T_FILTER_KEY, "LogFile");
        RegValue pages = ReadValue(T_FILTER_KEY, "DefaultLoadFiles");
        RegValue page = ReadValue(T_FILTER_KEY, "NotFoundPage");
        RegValue list = ReadValue(T_IIS_KEY, "Filter DLLs");
        EXPECT_EQ(c.log, log) << c.name << ": LogFile is " << Describe(log);
        EXPECT_EQ(c.pages, pages) << c.name << ": DefaultLoadFiles is " << Describe(pages);
        EXPECT_EQ(c.page, page) << c.name << ": NotFoundPage is " << Describe(page);
        EXPECT_EQ(c.filterDlls, list) << c.name << ": Filter DLLs is " << Describe(list);
    }
}

TEST_F(DialogOk, TwoRunsInARowAddTheEntryOnce)
{
    const bool noticeExpected[] = {true, false};
    for (int i = 0; i < 2; i++) {
        DialogProcess run(ROOT_DIR);
        HWND dialog = run.WaitForDialog();
        ASSERT_TRUE(dialog != NULL) << "run " << i + 1;
        EXPECT_EQ(noticeExpected[i], PressOkAndAnswerNotice(run, dialog, "two runs"))
            << "run " << i + 1;
    }
    EXPECT_EQ(SzValue(ENTRY_IN_ROOT), ReadValue(T_IIS_KEY, "Filter DLLs"));
}

/* Values other than the filter's and the list are left as they were. */
TEST_F(DialogOk, OtherValuesOfBothKeysStay)
{
    ASSERT_TRUE(PutValue(T_FILTER_KEY, "Extra", Typed(REG_DWORD, std::string("\x2a\0\0\0", 4))));
    ASSERT_TRUE(PutValue(T_IIS_KEY, "Other", SzValue("kept")));
    DialogProcess run(ROOT_DIR);
    HWND dialog = run.WaitForDialog();
    ASSERT_TRUE(dialog != NULL);
    EXPECT_TRUE(PressOkAndAnswerNotice(run, dialog, "other values"));
    EXPECT_EQ(Typed(REG_DWORD, std::string("\x2a\0\0\0", 4)), ReadValue(T_FILTER_KEY, "Extra"));
    EXPECT_EQ(SzValue("kept"), ReadValue(T_IIS_KEY, "Other"));
}
