/* forms_form.cpp - the form: its top-level window, font, placement and closing, and the
 * dialog keys (Tab, Enter, Escape, Alt with a mnemonic) that move between its controls. */
#include "forms.h"
#include "forms_error.h"

#include <algorithm>

#define POINTS_PER_INCH 72

TForm::TForm(const char *className)
    : TWinControl(NULL), BorderStyle(bsSizeable), Position(poDesigned),
      FontName("MS Sans Serif"), FontSize(8), className_(className), clientWidth_(0),
      clientHeight_(0), font_(NULL), lastFocus_(NULL)
{
}

TForm::~TForm()
{
    if (handle_)
        DestroyWindow(handle_);
    if (font_)
        DeleteObject(font_);
}

void TForm::SetClientSize(int width, int height)
{
    clientWidth_ = width;
    clientHeight_ = height;
}

DWORD TForm::WindowStyle() const
{
    if (BorderStyle == bsDialog)
        return WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    return WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
}

DWORD TForm::WindowExStyle() const
{
    if (BorderStyle == bsDialog)
        return WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE | WS_EX_APPWINDOW;
    return WS_EX_WINDOWEDGE | WS_EX_APPWINDOW;
}

/* A second form of the same class finds the class registered already. */
void TForm::RegisterFormClass()
{
    WNDCLASSA wc = {};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = ControlProc;
    wc.hInstance = GetModuleHandleA(NULL);
    wc.hIcon = LoadIconA(NULL, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
    wc.hCursor = LoadCursorA(NULL, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = className_.c_str();
    if (!RegisterClassA(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        RaiseWin32Error("RegisterClassA", className_.c_str());
}

/* The window is made hidden at the designed place with the outer size that gives the
 * client size; Show places it for good. */
void TForm::CreateHandle()
{
    RegisterFormClass();
    if (!font_) {
        int height = -MulDiv(FontSize, FORMS_DESIGN_PPI, POINTS_PER_INCH);
        font_ = CreateFontA(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                            OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                            DEFAULT_PITCH | FF_DONTCARE, FontName.c_str());
        if (!font_)
            RaiseWin32Error("CreateFontA", FontName.c_str());
    }
    RECT frame = {0, 0, clientWidth_, clientHeight_};
    AdjustWindowRectEx(&frame, WindowStyle(), FALSE, WindowExStyle());
    width_ = frame.right - frame.left;
    height_ = frame.bottom - frame.top;
    HWND hwnd = CreateWindowExA(WindowExStyle(), className_.c_str(), caption_.c_str(),
                                WindowStyle(), left_, top_, width_, height_, NULL, NULL,
                                GetModuleHandleA(NULL), this);
    if (!hwnd)
        RaiseWin32Error("CreateWindowExA", className_.c_str());
    TWinControl::CreateHandle();
}

void TForm::DoCreate()
{
    Application->CallEvent(OnCreate, this);
}

void TForm::Show()
{
    if (!handle_)
        return;
    int left = left_, top = top_;
    if (Position == poScreenCenter) {
        left = (GetSystemMetrics(SM_CXSCREEN) - width_) / 2;
        top = (GetSystemMetrics(SM_CYSCREEN) - height_) / 2;
    }
    SetWindowPos(handle_, NULL, left, top, width_, height_, SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(handle_, SW_SHOW);
    SetForegroundWindow(handle_);
    HWND focus = GetFocus();
    if (!focus || (focus != handle_ && !IsChild(handle_, focus)))
        SelectFirst();
    UpdateWindow(handle_);
}

/* The main form stays until the message loop has ended; it is only hidden here so that
 * nothing reaches it meanwhile. */
void TForm::Close()
{
    if (!handle_)
        return;
    if (Application->MainForm() == this) {
        ShowWindow(handle_, SW_HIDE);
        Application->Terminate();
    } else {
        DestroyWindow(handle_);
    }
}

void TForm::SetActiveButton(TButton *focused)
{
    std::vector<TControl *> pending(Controls().begin(), Controls().end());
    while (!pending.empty()) {
        TControl *control = pending.back();
        pending.pop_back();
        if (TButton *button = dynamic_cast<TButton *>(control))
            button->ShowAsDefault(focused ? button == focused : button->Default);
        else if (TWinControl *box = dynamic_cast<TWinControl *>(control))
            pending.insert(pending.end(), box->Controls().begin(), box->Controls().end());
    }
}

TButton *TForm::FindButton(bool cancel) const
{
    std::vector<TControl *> pending(Controls().begin(), Controls().end());
    while (!pending.empty()) {
        TControl *control = pending.back();
        pending.pop_back();
        TButton *button = dynamic_cast<TButton *>(control);
        if (button && (cancel ? button->Cancel : button->Default))
            return button;
        if (TWinControl *box = dynamic_cast<TWinControl *>(control))
            pending.insert(pending.end(), box->Controls().begin(), box->Controls().end());
    }
    return NULL;
}

/* Moves the focus from the control whose window is (or holds) from to the next tab stop,
 * wrapping at either end; from outside every tab stop it goes to the first (or last). */
void TForm::SelectNext(HWND from, bool forward)
{
    std::vector<TControl *> stops;
    CollectTabStops(stops);
    if (stops.empty())
        return;
    size_t count = stops.size(), next = forward ? 0 : count - 1;
    for (size_t i = 0; i < count; i++) {
        HWND stop = stops[i]->Handle();
        if (stop == from || IsChild(stop, from)) {
            next = forward ? (i + 1) % count : (i + count - 1) % count;
            break;
        }
    }
    SetFocus(stops[next]->Handle());
}

bool TForm::DialogChar(char key, const std::vector<TControl *> &controls)
{
    for (TControl *control : controls) {
        HWND hwnd = control->Handle();
        if (!hwnd || !IsWindowVisible(hwnd) || !IsWindowEnabled(hwnd))
            continue;
        if (control->Accelerator() == key && control->DialogChar())
            return true;
        if (TWinControl *box = dynamic_cast<TWinControl *>(control))
            if (DialogChar(key, box->TabList()))
                return true;
    }
    return false;
}

/* Keyboard messages go to the focused window, so msg.hwnd is the control the key was
 * pressed in. Keys handled here never reach TranslateMessage, so no WM_CHAR follows them
 * (an edit would beep at Tab and Enter). */
bool TForm::IsDialogKey(const MSG &msg)
{
    if (msg.message == WM_SYSCHAR) {
        char key = static_cast<char>(msg.wParam);
        CharUpperBuffA(&key, 1);
        return DialogChar(key, TabList());
    }
    if (msg.message != WM_KEYDOWN)
        return false;
    switch (msg.wParam) {
    case VK_TAB:
        SelectNext(msg.hwnd, GetKeyState(VK_SHIFT) >= 0);
        return true;
    case VK_RETURN: {
        TButton *button = dynamic_cast<TButton *>(FromHandle(msg.hwnd));
        if (!button)
            button = FindButton(false);
        if (!button || !IsWindowEnabled(button->Handle()))
            return false;
        button->Click();
        return true;
    }
    case VK_ESCAPE: {
        TButton *button = FindButton(true);
        if (!button || !IsWindowEnabled(button->Handle()))
            return false;
        button->Click();
        return true;
    }
    default:
        return false;
    }
}

/* The form keeps the control that had the focus when it was deactivated (a message box
 * came up, another program was chosen) and gives it back when it gets the focus again. */
bool TForm::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT *result)
{
    switch (msg) {
    case WM_CLOSE:
        Close();
        *result = 0;
        return true;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            HWND focus = GetFocus();
            if (focus && IsChild(handle_, focus))
                lastFocus_ = focus;
        }
        return false;
    case WM_SETFOCUS:
        if (lastFocus_ && IsWindow(lastFocus_) && IsChild(handle_, lastFocus_))
            SetFocus(lastFocus_);
        else
            SelectFirst();
        *result = 0;
        return true;
    default:
        return TWinControl::HandleMessage(msg, wParam, lParam, result);
    }
}
