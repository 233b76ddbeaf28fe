/* forms_test.cpp - the form library's default error display, in process: an exception
 * raised in a click handler is shown with the application's title, the text and ".", the
 * error icon and an OK button, and the form goes on afterwards. */
#include <gtest/gtest.h>

#include <thread>

#include "dialog_drive.h"
#include "forms.h"
#include "reg_fixture.h"
#include "vcl_exception.h"

#define TEST_FORM_CLASS   "TTestForm"
#define TEST_FORM_CAPTION "Forms test"

class TTestForm : public TForm {
public:
    TTestForm() : TForm(TEST_FORM_CLASS)
    {
        SetCaption(TEST_FORM_CAPTION);
        BorderStyle = bsDialog;
        Position = poScreenCenter;
        SetClientSize(200, 80);
        Button = new TButton(this);
        Button->SetBounds(8, 8, 81, 25);
        Button->SetCaption("&Raise");
        Button->SetTabOrder(0);
        Button->OnClick = [this](TObject *) {
            clicks++;
            if (clicks == 1)
                throw ERegistryException("Failed to create key A\\B\\");
            throw std::runtime_error("plain C++ error");
        };
    }
    TButton *Button;
    int clicks = 0;
};

static TTestForm *testForm;

/* What the driver thread saw of one error box. */
struct SeenBox {
    MessageBoxInfo info;
    HICON icon;
};

static SeenBox ClickAndReadBox(HWND form, HWND button, const char *title)
{
    SeenBox seen = {};
    PostClick(button);
    HWND box = WaitForTopWindow(GetCurrentProcess(), GetCurrentProcessId(), MSGBOX_CLASS, title);
    if (!box)
        return seen;
    seen.info = ReadMessageBox(box);
    for (const WindowInfo &child : ChildWindows(box))
        if (child.className == "Static" && (child.style & SS_TYPEMASK) == SS_ICON)
            seen.icon = reinterpret_cast<HICON>(SendMessageA(child.hwnd, STM_GETICON, 0, 0));
    PressBoxButton(box, "OK");
    WaitForWindowGone(box);
    (void)form;
    return seen;
}

/* Both errors are shown in turn; the form is then closed from outside. */
TEST(FormsErrorDisplay, ShowsMessageAndDotWithTitleErrorIconAndOk)
{
    ASSERT_TRUE(UseUnmanagedWindows("forms_test.exe"));
    Application->Initialize();
    EXPECT_EQ("forms_test", Application->Title) << "default title: the program's name";
    Application->Title = "Title of the test";
    Application->CreateForm(&testForm);
    HWND button = testForm->Button->Handle();
    HWND formHandle = testForm->Handle();

    SeenBox first = {}, second = {};
    bool formGone = false;
    std::thread driver([&] {
        HWND form = WaitForTopWindow(GetCurrentProcess(), GetCurrentProcessId(),
                                     TEST_FORM_CLASS, TEST_FORM_CAPTION);
        if (!form)
            return;
        first = ClickAndReadBox(form, button, "Title of the test");
        second = ClickAndReadBox(form, button, "Title of the test");
        PostMessageA(form, WM_CLOSE, 0, 0);
        formGone = WaitForWindowGone(form);
    });
    Application->Run();
    driver.join();

    HICON errorIcon = LoadIconA(NULL, reinterpret_cast<LPCSTR>(IDI_ERROR));
    EXPECT_EQ("Title of the test", first.info.caption);
    EXPECT_EQ("Failed to create key A\\B\\.", first.info.text);
    EXPECT_EQ(std::vector<std::string>{"OK"}, first.info.buttons);
    EXPECT_EQ(errorIcon, first.icon) << "not the error icon";
    EXPECT_EQ(formHandle, first.info.owner) << "the box does not hold the form";
    EXPECT_EQ("plain C++ error.", second.info.text) << "the form did not go on after an error";
    EXPECT_EQ(errorIcon, second.icon);
    EXPECT_TRUE(formGone);
}
