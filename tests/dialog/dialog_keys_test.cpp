/* dialog_keys_test.cpp - the dialog from the keyboard: Tab order, Alt with the mnemonics,
 * Enter pressing OK from any field, Escape doing nothing, and the ways to close unsaved. */
#include <gtest/gtest.h>

#include "dialog_harness.h"
#include "reg_fixture.h"

class DialogKeys : public ::testing::Test {
protected:
    void SetUp() override
    {
        ClearDialogKeys();
        ASSERT_TRUE(MakeWorkDirs());
    }
    void TearDown() override { ClearDialogKeys(); }
};

static bool IsDefaultLook(HWND button)
{
    return (GetWindowLongA(button, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
}

/* The focus starts in the first field; Tab visits the fields top to bottom, then OK and
 * Cancel, and wraps. A focused button takes the default frame from OK. */
TEST_F(DialogKeys, TabVisitsFieldsThenButtonsAndWraps)
{
    DialogProcess run(ROOT_DIR);
    HWND dialog = run.WaitForDialog();
    ASSERT_TRUE(dialog != NULL);
    HWND ok = DialogButton(dialog, "&OK"), cancel = DialogButton(dialog, "&Cancel");
    struct {
        const char *name;
        HWND window;
    } order[] = {
        {"Edit2", DialogEdit(dialog, GROUP_PAGES_LIST)},
        {"Edit3", DialogEdit(dialog, GROUP_PAGE)},
        {"Edit1", DialogEdit(dialog, GROUP_LOG)},
        {"Button1", ok},
        {"Button2", cancel},
        {"Edit2 again", DialogEdit(dialog, GROUP_PAGES_LIST)},
    };
    ASSERT_TRUE(WaitForFocus(dialog, order[0].window)) << "first focus not on Edit2";
    for (size_t i = 1; i < sizeof order / sizeof order[0]; i++) {
        PostKey(order[i - 1].window, VK_TAB);
        ASSERT_TRUE(WaitForFocus(dialog, order[i].window)) << "Tab did not reach " << order[i].name;
        bool onCancel = order[i].window == cancel;
        EXPECT_EQ(!onCancel, IsDefaultLook(ok)) << "focus on " << order[i].name;
        EXPECT_EQ(onCancel, IsDefaultLook(cancel)) << "focus on " << order[i].name;
    }
}

TEST_F(DialogKeys, AltWithBoxMnemonicFocusesItsField)
{
    DialogProcess run(ROOT_DIR);
    HWND dialog = run.WaitForDialog();
    ASSERT_TRUE(dialog != NULL);
    struct {
        char letter;
        const char *group;
    } cases[] = {{'l', GROUP_LOG}, {'p', GROUP_PAGE}, {'D', GROUP_PAGES_LIST}, {'L', GROUP_LOG}};
    HWND focus = DialogEdit(dialog, GROUP_PAGES_LIST);
    ASSERT_TRUE(WaitForFocus(dialog, focus));
    for (const auto &c : cases) {
        HWND field = DialogEdit(dialog, c.group);
        PostAltKey(focus, c.letter);
        ASSERT_TRUE(WaitForFocus(dialog, field)) << "Alt+" << c.letter << " to " << c.group;
        focus = field;
    }
}

/* Escape is pressed in a field, then Tab: once the focus has moved, the Escape before it
 * has been handled, and the dialog is still there with nothing written. */
TEST_F(DialogKeys, EscapeDoesNothing)
{
    DialogProcess run(ROOT_DIR);
    HWND dialog = run.WaitForDialog();
    ASSERT_TRUE(dialog != NULL);
    HWND pages = DialogEdit(dialog, GROUP_PAGES_LIST), page = DialogEdit(dialog, GROUP_PAGE);
    ASSERT_TRUE(WaitForFocus(dialog, pages));
    PostKey(pages, VK_ESCAPE);
    PostKey(pages, VK_TAB);
    ASSERT_TRUE(WaitForFocus(dialog, page));
    EXPECT_TRUE(run.Running());
    EXPECT_TRUE(IsWindowVisible(dialog));
    EXPECT_FALSE(KeyExists(T_FILTER_KEY));
}

/* Each way of pressing OK saves what the fields hold; the list was empty, so the notice
 * follows. */
TEST_F(DialogKeys, EnterInAnyFieldAndAltOPressOk)
{
    struct {
        const char *how;
        const char *group; /* field the key is pressed in */
        bool alt;          /* Alt+O instead of Enter */
    } cases[] = {
        {"Enter in Edit2", GROUP_PAGES_LIST, false},
        {"Enter in Edit3", GROUP_PAGE, false},
        {"Enter in Edit1", GROUP_LOG, false},
        {"Alt+O in Edit3", GROUP_PAGE, true},
    };
    for (const auto &c : cases) {
        ClearDialogKeys();
        DialogProcess run(ROOT_DIR);
        HWND dialog = run.WaitForDialog();
        ASSERT_TRUE(dialog != NULL) << c.how;
        ASSERT_TRUE(TypeFields(dialog, "c:\\typed.log", "typed.htm", "c:\\typed.htm")) << c.how;
        HWND field = DialogEdit(dialog, c.group);
        if (c.alt)
            PostAltKey(field, 'o');
        else
            PostKey(field, VK_RETURN);
        HWND notice = run.WaitForBox(NOTICE_CAPTION);
        ASSERT_TRUE(notice != NULL) << c.how;
        ASSERT_TRUE(PressBoxButton(notice, "OK")) << c.how;
        EXPECT_EQ(0u, run.WaitForExit()) << c.how;
        EXPECT_EQ(SzValue("c:\\typed.log"), ReadValue(T_FILTER_KEY, "LogFile")) << c.how;
        EXPECT_EQ(SzValue("typed.htm"), ReadValue(T_FILTER_KEY, "DefaultLoadFiles")) << c.how;
        EXPECT_EQ(SzValue("c:\\typed.htm"), ReadValue(T_FILTER_KEY, "NotFoundPage")) << c.how;
    }
}

/* Every way out but OK ends the program with the registry as it was, edited fields and
 * an unregistered filter notwithstanding. */
TEST_F(DialogKeys, CancelAndTheCloseBoxWriteNothing)
{
    enum How { CLICK_CANCEL, ALT_C, ENTER_ON_CANCEL, CLOSE_BOX };
    struct {
        const char *name;
        How how;
    } cases[] = {
        {"Cancel clicked", CLICK_CANCEL},
        {"Alt+C", ALT_C},
        {"Enter with the focus on Cancel", ENTER_ON_CANCEL},
        {"close box", CLOSE_BOX},
    };
    for (const auto &c : cases) {
        ClearDialogKeys();
        ASSERT_TRUE(PutValue(T_FILTER_KEY, "LogFile", SzValue("C:\\Old.log")));
        ASSERT_TRUE(PutValue(T_IIS_KEY, "Other", SzValue("kept")));
        DialogProcess run(ROOT_DIR);
        HWND dialog = run.WaitForDialog();
        ASSERT_TRUE(dialog != NULL) << c.name;
        ASSERT_TRUE(TypeFields(dialog, "c:\\new.log", "new.htm", "c:\\new.htm")) << c.name;
        HWND cancel = DialogButton(dialog, "&Cancel");
        HWND pages = DialogEdit(dialog, GROUP_PAGES_LIST);
        switch (c.how) {
        case CLICK_CANCEL:
            PostClick(cancel);
            break;
        case ALT_C:
            PostAltKey(pages, 'c');
            break;
        case ENTER_ON_CANCEL: {
            HWND ok = DialogButton(dialog, "&OK");
            PostKey(ok, VK_TAB);
            ASSERT_TRUE(WaitForFocus(dialog, cancel)) << c.name;
            PostKey(cancel, VK_RETURN);
            break;
        }
        case CLOSE_BOX:
            PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
            break;
        }
        EXPECT_EQ(0u, run.WaitForExit()) << c.name;
        EXPECT_EQ(SzValue("C:\\Old.log"), ReadValue(T_FILTER_KEY, "LogFile")) << c.name;
        EXPECT_FALSE(ReadValue(T_FILTER_KEY, "DefaultLoadFiles").exists) << c.name;
        EXPECT_FALSE(ReadValue(T_FILTER_KEY, "NotFoundPage").exists) << c.name;
        EXPECT_FALSE(ReadValue(T_IIS_KEY, "Filter DLLs").exists) << c.name;
    }
}
