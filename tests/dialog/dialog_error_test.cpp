/* dialog_error_test.cpp - errors of the dialog as the user meets them: a mistyped setting
 * at start, a mistyped list on OK, and keys the user may not write. */
#include <gtest/gtest.h>

#include "dialog_harness.h"
#include "reg_fixture.h"

#define CREATE_FILTER_KEY_FAILED "Failed to create key SOFTWARE\\Felmo\\Velmorin\\Parameters\\."
#define CREATE_IIS_KEY_FAILED \
    "Failed to create key SYSTEM\\CurrentControlSet\\Services\\W3SVC\\Parameters\\."

static const RegValue kNumber = {true, REG_DWORD, std::string("\x01\0\0\0", 4)};

class DialogErrors : public ::testing::Test {
protected:
    void SetUp() override { ClearDialogKeys(); }
    void TearDown() override { ClearDialogKeys(); }
};

/* The default error display: the message and ".", the program's title, the error icon
 * and an OK button. */
static void ExpectErrorBox(HWND box, const char *text, const char *name)
{
    ASSERT_TRUE(box != NULL) << name << ": no error box";
    MessageBoxInfo info = ReadMessageBox(box);
    EXPECT_EQ(DIALOG_BANNER, info.caption) << name;
    EXPECT_EQ(text, info.text) << name;
    EXPECT_EQ(std::vector<std::string>{"OK"}, info.buttons) << name;
    EXPECT_TRUE(info.hasIcon) << name;
}

/* Answers an error box raised by OK and checks that the dialog is back, open and usable,
 * with no notice shown. */
static void AnswerAndExpectDialogStays(DialogProcess &run, HWND dialog, HWND box,
                                       const char *name)
{
    EXPECT_EQ(dialog, GetWindow(box, GW_OWNER)) << name;
    ASSERT_TRUE(PressBoxButton(box, "OK")) << name;
    ASSERT_TRUE(WaitForWindowGone(box)) << name;
    HWND pages = DialogEdit(dialog, GROUP_PAGES_LIST), page = DialogEdit(dialog, GROUP_PAGE);
    PostKey(pages, VK_TAB); /* handled only once the click has ended */
    EXPECT_TRUE(WaitForFocus(dialog, page)) << name << ": dialog does not respond";
    EXPECT_TRUE(run.Running()) << name;
    EXPECT_TRUE(IsWindowVisible(dialog)) << name;
    EXPECT_TRUE(run.FindBox(NOTICE_CAPTION) == NULL) << name;
}

/* Presses OK, expects the error box with text, answers it and expects the dialog to stay. */
static void PressOkExpectingError(DialogProcess &run, HWND dialog, const char *text,
                                  const char *name)
{
    PostClick(DialogButton(dialog, "&OK"));
    HWND box = run.WaitForBox(DIALOG_BANNER);
    ExpectErrorBox(box, text, name);
    if (box)
        AnswerAndExpectDialogStays(run, dialog, box, name);
}

/* A setting of another type stops the filling at its field: the fields before it show
 * the settings, it and the ones after keep their layout texts. */
TEST_F(DialogErrors, MistypedSettingAtStart)
{
    struct {
        const char *mistyped;
        const char *message;
        Fields shown;
    } cases[] = {
        {"LogFile", "Invalid data type for 'LogFile'.", {"Edit1", "Edit2", "Edit3"}},
        {"DefaultLoadFiles", "Invalid data type for 'DefaultLoadFiles'.",
         {"c:\\web.log", "Edit2", "Edit3"}},
        {"NotFoundPage", "Invalid data type for 'NotFoundPage'.",
         {"c:\\web.log", "index.htm", "Edit3"}},
    };
    for (const auto &c : cases) {
        ClearDialogKeys();
        ASSERT_TRUE(PutValue(T_FILTER_KEY, "LogFile", SzValue("C:\\Web.log")));
        ASSERT_TRUE(PutValue(T_FILTER_KEY, "DefaultLoadFiles", SzValue("INDEX.htm")));
        ASSERT_TRUE(PutValue(T_FILTER_KEY, "NotFoundPage", SzValue("C:\\Missing.htm")));
        ASSERT_TRUE(PutValue(T_FILTER_KEY, c.mistyped, kNumber));
        DialogProcess run(ROOT_DIR);
        HWND box = run.WaitForBox(DIALOG_BANNER);
        ExpectErrorBox(box, c.message, c.mistyped);
        ASSERT_TRUE(PressBoxButton(box, "OK")) << c.mistyped;
        HWND dialog = run.WaitForDialog();
        ASSERT_TRUE(dialog != NULL) << c.mistyped << ": dialog not shown after the error";
        Fields shown = ReadFields(dialog);
        EXPECT_EQ(c.shown.log, shown.log) << c.mistyped;
        EXPECT_EQ(c.shown.pages, shown.pages) << c.mistyped;
        EXPECT_EQ(c.shown.page, shown.page) << c.mistyped;
        PostClick(DialogButton(dialog, "&Cancel"));
        EXPECT_EQ(0u, run.WaitForExit()) << c.mistyped;
        EXPECT_EQ(kNumber, ReadValue(T_FILTER_KEY, c.mistyped)) << c.mistyped;
    }
}

/* The three settings are saved before the list is read; the list stays as it was. */
TEST_F(DialogErrors, MistypedListOnOk)
{
    ASSERT_TRUE(PutValue(T_IIS_KEY, "Filter DLLs", kNumber));
    DialogProcess run(ROOT_DIR);
    HWND dialog = run.WaitForDialog();
    ASSERT_TRUE(dialog != NULL);
    ASSERT_TRUE(TypeFields(dialog, "c:\\a.log", "a.htm", "c:\\a.htm"));
    PressOkExpectingError(run, dialog, "Invalid data type for 'Filter DLLs'.", "list");
    EXPECT_EQ(SzValue("c:\\a.log"), ReadValue(T_FILTER_KEY, "LogFile"));
    EXPECT_EQ(SzValue("a.htm"), ReadValue(T_FILTER_KEY, "DefaultLoadFiles"));
    EXPECT_EQ(SzValue("c:\\a.htm"), ReadValue(T_FILTER_KEY, "NotFoundPage"));
    EXPECT_EQ(kNumber, ReadValue(T_IIS_KEY, "Filter DLLs"));
}

/* A user who may only read the filter key sees empty fields (the key cannot be opened for
 * full access), and OK fails at the first write with nothing written. Once the rights are
 * back, OK again saves and registers. */
TEST_F(DialogErrors, FilterKeyWithoutWriteRights)
{
    ASSERT_TRUE(PutValue(T_FILTER_KEY, "LogFile", SzValue("c:\\old.log")));
    ASSERT_TRUE(DenyWrites(T_FILTER_KEY));
    DialogProcess run(ROOT_DIR);
    HWND dialog = run.WaitForDialog();
    ASSERT_TRUE(dialog != NULL);
    Fields shown = ReadFields(dialog);
    EXPECT_EQ("", shown.log);
    EXPECT_EQ("", shown.pages);
    EXPECT_EQ("", shown.page);
    ASSERT_TRUE(TypeFields(dialog, "c:\\new.log", "new.htm", "c:\\new.htm"));
    PressOkExpectingError(run, dialog, CREATE_FILTER_KEY_FAILED, "filter key");
    EXPECT_EQ(SzValue("c:\\old.log"), ReadValue(T_FILTER_KEY, "LogFile"));
    EXPECT_FALSE(ReadValue(T_FILTER_KEY, "DefaultLoadFiles").exists);
    EXPECT_FALSE(KeyExists(T_IIS_KEY));

    ASSERT_TRUE(AllowAll(T_FILTER_KEY));
    PostClick(DialogButton(dialog, "&OK"));
    HWND notice = run.WaitForBox(NOTICE_CAPTION);
    ASSERT_TRUE(notice != NULL) << "second OK did not register the filter";
    ASSERT_TRUE(PressBoxButton(notice, "OK"));
    EXPECT_EQ(0u, run.WaitForExit());
    EXPECT_EQ(SzValue("c:\\new.log"), ReadValue(T_FILTER_KEY, "LogFile"));
    EXPECT_EQ(SzValue("new.htm"), ReadValue(T_FILTER_KEY, "DefaultLoadFiles"));
    EXPECT_EQ(SzValue("c:\\new.htm"), ReadValue(T_FILTER_KEY, "NotFoundPage"));
    EXPECT_EQ(SzValue(",C:\\Velmorin.dll"), ReadValue(T_IIS_KEY, "Filter DLLs"));
}

/* Without rights on IIS's key the list reads as empty and its write fails: the settings
 * written before stay written, the list stays as it was. */
TEST_F(DialogErrors, IisKeyWithoutWriteRights)
{
    ASSERT_TRUE(PutValue(T_IIS_KEY, "Filter DLLs", SzValue("c:\\winnt\\isapi.dll")));
    ASSERT_TRUE(DenyWrites(T_IIS_KEY));
    DialogProcess run(ROOT_DIR);
    HWND dialog = run.WaitForDialog();
    ASSERT_TRUE(dialog != NULL);
    ASSERT_TRUE(TypeFields(dialog, "c:\\b.log", "b.htm", "c:\\b.htm"));
    PressOkExpectingError(run, dialog, CREATE_IIS_KEY_FAILED, "IIS key");
    EXPECT_EQ(SzValue("c:\\b.log"), ReadValue(T_FILTER_KEY, "LogFile"));
    EXPECT_EQ(SzValue("b.htm"), ReadValue(T_FILTER_KEY, "DefaultLoadFiles"));
    EXPECT_EQ(SzValue("c:\\b.htm"), ReadValue(T_FILTER_KEY, "NotFoundPage"));
    EXPECT_EQ(SzValue("c:\\winnt\\isapi.dll"), ReadValue(T_IIS_KEY, "Filter DLLs"));
    PostClick(DialogButton(dialog, "&Cancel"));
    EXPECT_EQ(0u, run.WaitForExit());
}
