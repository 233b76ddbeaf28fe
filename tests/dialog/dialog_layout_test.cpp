/* dialog_layout_test.cpp - the running dialog's windows against its layout: class, parent,
 * place, size, text and tab position of every control, and the form's frame and font. */
#include <gtest/gtest.h>

#include "dialog_harness.h"
#include "reg_fixture.h"

#define LABEL_COPYRIGHT "Copyright (C) 1998 Felmo. All rights reserved."
#define LABEL_WEB       "http://www.felmo.example/velmorin/"
#define FONT_FACE       "MS Sans Serif"
#define FONT_HEIGHT     -11 /* 8 points at 96 pixels per inch */
#define AUTO_WIDTH      -1  /* a label's width is its text's, measured in the test */
#define NO_TAB          -1
#define FACE_CHARS      LF_FACESIZE

/* One control: the windows are listed as the dialog orders them, the form's own children
 * first (tab order, then the labels), then each group box's children in tab order. */
struct LayoutRow {
    const char *name;
    const char *parent;
    const char *className;
    int left, top, width, height;
    const char *text;
    int tab; /* position among the parent's windowed controls */
};

static const LayoutRow kLayout[] = {
    {"GroupBox1", "Form1", "Button", 8, 64, 369, 89, " &Default Pages List ", 0},
    {"GroupBox3", "Form1", "Button", 8, 160, 369, 89, " Default &Page ", 1},
    {"GroupBox2", "Form1", "Button", 8, 256, 369, 89, " &Log File Name ", 2},
    {"Button1", "Form1", "Button", 296, 8, 81, 25, "&OK", 3},
    {"Button2", "Form1", "Button", 296, 35, 81, 25, "&Cancel", 4},
    {"Label1", "Form1", "Static", 8, 8, AUTO_WIDTH, 13, DIALOG_BANNER, NO_TAB},
    {"Label2", "Form1", "Static", 8, 24, AUTO_WIDTH, 13, LABEL_COPYRIGHT, NO_TAB},
    {"Label3", "Form1", "Static", 8, 40, AUTO_WIDTH, 13, LABEL_WEB, NO_TAB},
    {"Edit2", "GroupBox1", "Edit", 16, 20, 337, 21, "", 0},
    {"Label4", "GroupBox1", "Static", 16, 48, 296, 13,
     "Enter a list of default pages IIS should look for separated by \";\"", NO_TAB},
    {"Label5", "GroupBox1", "Static", 16, 64, 245, 13,
     "Exaple: default.htm;default.html;index.htm;index.html", NO_TAB},
    {"Edit3", "GroupBox3", "Edit", 16, 16, 337, 21, "", 0},
    {"Label8", "GroupBox3", "Static", 16, 48, 338, 13,
     "This page will be used if none of the pages in default pages list is found.", NO_TAB},
    {"Label9", "GroupBox3", "Static", 16, 64, 336, 13,
     "This should contain the physical path to a file such as c:\\NotFound.htm", NO_TAB},
    {"Edit1", "GroupBox2", "Edit", 16, 20, 337, 21, "", 0},
    /* 209, not the 197 of the text with the maker's shorter file name */
    {"Label6", "GroupBox2", "Static", 16, 48, 209, 13,
     "Enter a log file name such as c:\\velmorin.log", NO_TAB},
    {"Label7", "GroupBox2", "Static", 16, 64, 213, 13,
     "No log file will be created if this entry is blank.", NO_TAB},
};

struct ActualControl {
    WindowInfo info;
    HWND parent;
    int tab;
};

/* The dialog's windows in the order kLayout lists them. */
static std::vector<ActualControl> WalkDialog(HWND dialog)
{
    std::vector<ActualControl> controls;
    std::vector<HWND> boxes;
    int tab = 0;
    for (const WindowInfo &child : ChildWindows(dialog)) {
        bool windowed = child.className != "Static";
        controls.push_back({child, dialog, windowed ? tab++ : NO_TAB});
        if (child.className == "Button" && (child.style & BS_TYPEMASK) == BS_GROUPBOX)
            boxes.push_back(child.hwnd);
    }
    for (HWND box : boxes) {
        int boxTab = 0;
        for (const WindowInfo &child : ChildWindows(box)) {
            bool windowed = child.className != "Static";
            controls.push_back({child, box, windowed ? boxTab++ : NO_TAB});
        }
    }
    return controls;
}

/* Width of one line of text in the dialog's font, as a label sizes itself. */
static int TextWidth(const char *text)
{
    HDC dc = GetDC(NULL);
    HFONT font = CreateFontA(FONT_HEIGHT, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                             DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                             DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, FONT_FACE);
    HGDIOBJ old = SelectObject(dc, font);
    RECT rect = {0, 0, 0, 0};
    DrawTextA(dc, text, -1, &rect, DT_CALCRECT | DT_SINGLELINE);
    SelectObject(dc, old);
    DeleteObject(font);
    ReleaseDC(NULL, dc);
    return rect.right - rect.left;
}

class DialogLayout : public ::testing::Test {
protected:
    void SetUp() override { ClearDialogKeys(); }
    void TearDown() override { ClearDialogKeys(); }
};

/* Wine's own MS Sans Serif has the metrics of the original; without it every label width
 * below is off, so say so first. */
TEST_F(DialogLayout, WinesMsSansSerifIsInstalled)
{
    HDC dc = GetDC(NULL);
    HFONT font = CreateFontA(FONT_HEIGHT, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                             DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                             DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, FONT_FACE);
    HGDIOBJ old = SelectObject(dc, font);
    char face[FACE_CHARS] = "";
    GetTextFaceA(dc, FACE_CHARS, face);
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, old);
    DeleteObject(font);
    ReleaseDC(NULL, dc);
    EXPECT_STREQ(FONT_FACE, face) << "Wine's fonts are missing from the prefix: run scripts/setup.sh";
    EXPECT_EQ(13, metrics.tmHeight);
}

TEST_F(DialogLayout, EveryControlAsLaidOut)
{
    DialogProcess run(ROOT_DIR);
    ASSERT_TRUE(run.Started());
    HWND dialog = run.WaitForDialog();
    ASSERT_TRUE(dialog != NULL);

    std::vector<ActualControl> actual = WalkDialog(dialog);
    const size_t rows = sizeof kLayout / sizeof kLayout[0];
    ASSERT_EQ(rows, actual.size());
    std::vector<std::pair<std::string, HWND>> names = {{"Form1", dialog}};
    for (size_t i = 0; i < rows; i++) {
        const LayoutRow &row = kLayout[i];
        const ActualControl &got = actual[i];
        HWND parent = NULL;
        for (const auto &name : names)
            if (name.first == row.parent)
                parent = name.second;
        int width = row.width == AUTO_WIDTH ? TextWidth(row.text) : row.width;
        EXPECT_EQ(row.className, got.info.className) << "control: " << row.name;
        EXPECT_EQ(parent, got.parent) << "control: " << row.name;
        EXPECT_EQ(row.left, got.info.rect.left) << "control: " << row.name;
        EXPECT_EQ(row.top, got.info.rect.top) << "control: " << row.name;
        EXPECT_EQ(width, got.info.rect.right - got.info.rect.left) << "control: " << row.name;
        EXPECT_EQ(row.height, got.info.rect.bottom - got.info.rect.top) << "control: " << row.name;
        EXPECT_EQ(row.text, got.info.text) << "control: " << row.name;
        EXPECT_EQ(row.tab, got.tab) << "control: " << row.name;
        EXPECT_TRUE(got.info.style & WS_VISIBLE) << "control: " << row.name;
        names.push_back({row.name, got.info.hwnd});
    }
}

TEST_F(DialogLayout, FormIsAFixedDialogCentredOnScreen)
{
    DialogProcess run(ROOT_DIR);
    ASSERT_TRUE(run.Started());
    HWND dialog = run.WaitForDialog();
    ASSERT_TRUE(dialog != NULL);

    WindowInfo form = DescribeWindow(dialog);
    RECT client = {};
    GetClientRect(dialog, &client);
    EXPECT_EQ(386, client.right);
    EXPECT_EQ(354, client.bottom);
    int width = form.rect.right - form.rect.left, height = form.rect.bottom - form.rect.top;
    EXPECT_EQ((GetSystemMetrics(SM_CXSCREEN) - width) / 2, form.rect.left);
    EXPECT_EQ((GetSystemMetrics(SM_CYSCREEN) - height) / 2, form.rect.top);
    EXPECT_EQ(static_cast<LONG>(WS_CAPTION | WS_SYSMENU), form.style & (WS_CAPTION | WS_SYSMENU));
    EXPECT_EQ(0, form.style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_CHILD));
    EXPECT_TRUE(form.exStyle & WS_EX_DLGMODALFRAME);
    EXPECT_EQ(NULL, GetWindow(dialog, GW_OWNER));
}

/* What the layout says besides places and texts: the default button, tab stops, and the
 * fields' missing length limit. */
TEST_F(DialogLayout, ButtonsAndFieldsBehaveAsDeclared)
{
    DialogProcess run(ROOT_DIR);
    ASSERT_TRUE(run.Started());
    HWND dialog = run.WaitForDialog();
    ASSERT_TRUE(dialog != NULL);

    HWND ok = DialogButton(dialog, "&OK"), cancel = DialogButton(dialog, "&Cancel");
    ASSERT_TRUE(ok && cancel);
    EXPECT_EQ(BS_DEFPUSHBUTTON, GetWindowLongA(ok, GWL_STYLE) & BS_TYPEMASK);
    EXPECT_EQ(BS_PUSHBUTTON, GetWindowLongA(cancel, GWL_STYLE) & BS_TYPEMASK);
    EXPECT_TRUE(GetWindowLongA(ok, GWL_STYLE) & WS_TABSTOP);
    EXPECT_TRUE(GetWindowLongA(cancel, GWL_STYLE) & WS_TABSTOP);

    const char *groups[] = {GROUP_PAGES_LIST, GROUP_PAGE, GROUP_LOG};
    for (const char *group : groups) {
        HWND edit = DialogEdit(dialog, group);
        ASSERT_TRUE(edit != NULL) << "group: " << group;
        LONG style = GetWindowLongA(edit, GWL_STYLE);
        EXPECT_TRUE(style & WS_TABSTOP) << "group: " << group;
        EXPECT_EQ(0, style & ES_MULTILINE) << "group: " << group;
        DWORD_PTR limit = 0;
        SendMessageTimeoutA(edit, EM_GETLIMITTEXT, 0, 0, SMTO_ABORTIFHUNG, 5000, &limit);
        EXPECT_GT(limit, 0x7FFF0000u) << "group: " << group;
    }
}
