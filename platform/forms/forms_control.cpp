/* forms_control.cpp - what every control of the form library shares: its window, its
 * place and caption, its children and tab order, and the one window procedure. */
#include "forms.h"
#include "forms_error.h"

#include <algorithm>

#define CONTROL_PROP     "FormsControl" /* window property holding the TControl pointer */
#define FIRST_CONTROL_ID 100            /* child ids start above IDOK, IDCANCEL and friends */

TControl::TControl(TWinControl *parent)
    : parent_(parent), handle_(NULL), left_(0), top_(0), width_(0), height_(0),
      tabOrder_(FORMS_NO_TAB), classProc_(NULL)
{
    if (parent_)
        parent_->controls_.push_back(this);
}

TControl::~TControl()
{
    if (handle_)
        DestroyWindow(handle_);
}

TForm *TControl::Form() const
{
    const TControl *control = this;
    while (control->parent_)
        control = control->parent_;
    return dynamic_cast<TForm *>(const_cast<TControl *>(control));
}

void TControl::SetBounds(int left, int top, int width, int height)
{
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    if (handle_ && parent_)
        SetWindowPos(handle_, NULL, left_, top_, width_, height_,
                     SWP_NOZORDER | SWP_NOACTIVATE);
}

void TControl::SetCaption(const std::string &text)
{
    caption_ = text;
    if (handle_)
        SetWindowTextA(handle_, caption_.c_str());
    CaptionChanged();
}

std::string TControl::Caption() const
{
    if (!handle_)
        return caption_;
    int length = GetWindowTextLengthA(handle_);
    if (length <= 0)
        return std::string();
    std::string text(static_cast<size_t>(length) + 1, '\0');
    int got = GetWindowTextA(handle_, &text[0], length + 1);
    text.resize(got > 0 ? static_cast<size_t>(got) : 0);
    return text;
}

bool TControl::CanFocus() const
{
    return handle_ && IsTabStop() && IsWindowVisible(handle_) && IsWindowEnabled(handle_);
}

char TControl::Accelerator() const
{
    for (size_t i = 0; i + 1 < caption_.size(); i++) {
        if (caption_[i] != '&')
            continue;
        if (caption_[i + 1] != '&') {
            char key = caption_[i + 1];
            CharUpperBuffA(&key, 1);
            return key;
        }
        i++; /* "&&" stands for one ampersand */
    }
    return 0;
}

TControl *TControl::FromHandle(HWND hwnd)
{
    return hwnd ? static_cast<TControl *>(GetPropA(hwnd, CONTROL_PROP)) : NULL;
}

void TControl::Attach(HWND hwnd)
{
    handle_ = hwnd;
    SetPropA(hwnd, CONTROL_PROP, this);
}

void TControl::CreateHandle()
{
    HWND parentWindow = parent_->Handle();
    const std::vector<TControl *> &siblings = parent_->Controls();
    size_t index = std::find(siblings.begin(), siblings.end(), this) - siblings.begin();
    HWND hwnd = CreateWindowExA(WindowExStyle(), WindowClass(), caption_.c_str(),
                                WindowStyle() | WS_CHILD | WS_VISIBLE, left_, top_, width_,
                                height_, parentWindow,
                                reinterpret_cast<HMENU>(FIRST_CONTROL_ID + index),
                                GetModuleHandleA(NULL), NULL);
    if (!hwnd)
        RaiseWin32Error("CreateWindowExA", WindowClass());
    Attach(hwnd);
    classProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ControlProc)));
    TForm *form = Form();
    if (form && form->Font())
        SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(form->Font()), FALSE);
    HandleCreated();
}

bool TControl::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT *result)
{
    (void)msg, (void)wParam, (void)lParam, (void)result;
    return false;
}

LRESULT TControl::CallClassProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (classProc_)
        return CallWindowProcA(classProc_, handle_, msg, wParam, lParam);
    return DefWindowProcA(handle_, msg, wParam, lParam);
}

/* A form is bound in WM_NCCREATE from its creation parameter (the few messages before it
 * go to DefWindowProc); a child control is bound right after CreateWindowEx returns, when
 * its class procedure is replaced by this one. WM_NCDESTROY unbinds both. */
LRESULT CALLBACK TControl::ControlProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    TControl *control = FromHandle(hwnd);
    if (!control && msg == WM_NCCREATE) {
        const CREATESTRUCTA *create = reinterpret_cast<const CREATESTRUCTA *>(lParam);
        control = static_cast<TControl *>(create->lpCreateParams);
        if (control)
            control->Attach(hwnd);
    }
    if (!control)
        return DefWindowProcA(hwnd, msg, wParam, lParam);

    if (msg == WM_NCDESTROY) {
        LRESULT result = control->CallClassProc(msg, wParam, lParam);
        RemovePropA(hwnd, CONTROL_PROP);
        if (control->classProc_)
            SetWindowLongPtrA(hwnd, GWLP_WNDPROC,
                              reinterpret_cast<LONG_PTR>(control->classProc_));
        control->handle_ = NULL;
        return result;
    }
    LRESULT result = 0;
    if (control->HandleMessage(msg, wParam, lParam, &result))
        return result;
    return control->CallClassProc(msg, wParam, lParam);
}

TWinControl::TWinControl(TWinControl *parent) : TControl(parent) {}

TWinControl::~TWinControl()
{
    if (handle_)
        DestroyWindow(handle_); /* children's windows go first, while they still exist */
    for (TControl *control : controls_)
        delete control;
}

std::vector<TControl *> TWinControl::TabList() const
{
    std::vector<TControl *> list;
    for (TControl *control : controls_)
        if (control->TabOrder() != FORMS_NO_TAB)
            list.push_back(control);
    std::stable_sort(list.begin(), list.end(), [](const TControl *a, const TControl *b) {
        return a->TabOrder() < b->TabOrder();
    });
    for (TControl *control : controls_)
        if (control->TabOrder() == FORMS_NO_TAB)
            list.push_back(control);
    return list;
}

void TWinControl::CollectTabStops(std::vector<TControl *> &stops) const
{
    for (TControl *control : TabList()) {
        if (control->TabOrder() == FORMS_NO_TAB || !control->Handle() ||
            !IsWindowVisible(control->Handle()) || !IsWindowEnabled(control->Handle()))
            continue;
        if (control->CanFocus())
            stops.push_back(control);
        else if (TWinControl *box = dynamic_cast<TWinControl *>(control))
            box->CollectTabStops(stops);
    }
}

bool TWinControl::SelectFirst()
{
    std::vector<TControl *> stops;
    CollectTabStops(stops);
    if (stops.empty())
        return false;
    SetFocus(stops.front()->Handle());
    return true;
}

/* Children are made in tab order, so that the windows' own order (the Z order, which
 * Win32's dialog functions and screen readers walk) is the tab order too. */
void TWinControl::CreateHandle()
{
    if (parent_)
        TControl::CreateHandle();
    for (TControl *control : TabList())
        control->CreateHandle();
}

bool TWinControl::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT *result)
{
    if (msg != WM_COMMAND || lParam == 0)
        return false;
    TControl *sender = FromHandle(reinterpret_cast<HWND>(lParam));
    if (sender && sender->Parent() == this)
        sender->Notify(HIWORD(wParam));
    *result = 0;
    return true;
}
