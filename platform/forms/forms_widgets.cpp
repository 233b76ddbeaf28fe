/* forms_widgets.cpp - the four kinds of control: label, group box, edit and push button. */
#include "forms.h"

TLabel::TLabel(TWinControl *parent) : TControl(parent) {}

/* No word wrap: the label is exactly as wide as its one line of text. */
DWORD TLabel::WindowStyle() const
{
    return SS_LEFTNOWORDWRAP;
}

void TLabel::HandleCreated()
{
    AdjustSize();
}

void TLabel::CaptionChanged()
{
    AdjustSize();
}

/* Measures the caption as the static control draws it (the form's font, "&" marking a
 * mnemonic) and takes that size; an empty caption keeps the height of one line. Until the
 * window exists the size set by SetBounds stands. */
void TLabel::AdjustSize()
{
    TForm *form = Form();
    if (!handle_ || !form)
        return;
    std::string text = caption_.empty() ? std::string(" ") : caption_;
    HDC dc = GetDC(handle_);
    if (!dc)
        return;
    HGDIOBJ oldFont = SelectObject(dc, form->Font());
    RECT rect = {0, 0, 0, 0};
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &rect,
              DT_CALCRECT | DT_EXPANDTABS | DT_SINGLELINE);
    SelectObject(dc, oldFont);
    ReleaseDC(handle_, dc);
    SetBounds(left_, top_, rect.right - rect.left, rect.bottom - rect.top);
}

TGroupBox::TGroupBox(TWinControl *parent) : TWinControl(parent) {}

DWORD TGroupBox::WindowStyle() const
{
    return BS_GROUPBOX | WS_CLIPCHILDREN;
}

bool TGroupBox::DialogChar()
{
    return SelectFirst();
}

/* The button class paints only the frame and caption of a group box and relies on the
 * parent to paint behind it; the form clips its children, so the box fills its own
 * background, and hands its children's notifications on like any container. */
bool TGroupBox::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT *result)
{
    if (msg == WM_ERASEBKGND) {
        RECT rect;
        GetClientRect(handle_, &rect);
        FillRect(reinterpret_cast<HDC>(wParam), &rect, GetSysColorBrush(COLOR_BTNFACE));
        *result = 1;
        return true;
    }
    return TWinControl::HandleMessage(msg, wParam, lParam, result);
}

TEdit::TEdit(TWinControl *parent) : TControl(parent) {}

DWORD TEdit::WindowStyle() const
{
    return ES_AUTOHSCROLL | ES_LEFT | WS_TABSTOP;
}

/* EM_LIMITTEXT 0 lifts the class's default limit on typed text. */
void TEdit::HandleCreated()
{
    SendMessageA(handle_, EM_LIMITTEXT, 0, 0);
}

/* Entering the field by keyboard selects its text, so typing replaces it; a mouse click
 * places the caret where it was clicked instead. */
bool TEdit::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT *result)
{
    if (msg != WM_SETFOCUS)
        return false;
    *result = CallClassProc(msg, wParam, lParam);
    if (GetKeyState(VK_LBUTTON) >= 0)
        SendMessageA(handle_, EM_SETSEL, 0, -1);
    return true;
}

TButton::TButton(TWinControl *parent) : TControl(parent), Default(false), Cancel(false) {}

DWORD TButton::WindowStyle() const
{
    return (Default ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) | WS_TABSTOP;
}

void TButton::Click()
{
    Application->CallEvent(OnClick, this);
}

void TButton::ShowAsDefault(bool isDefault)
{
    if (handle_)
        SendMessageA(handle_, BM_SETSTYLE, isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

void TButton::Notify(WORD code)
{
    if (code == BN_CLICKED)
        Click();
}

bool TButton::DialogChar()
{
    if (!CanFocus())
        return false;
    Click();
    return true;
}

/* A focused button is the one Enter presses, so it takes the default frame; when the
 * focus leaves it the Default button gets the frame back. */
bool TButton::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT *result)
{
    if (msg != WM_SETFOCUS && msg != WM_KILLFOCUS)
        return false;
    *result = CallClassProc(msg, wParam, lParam);
    TForm *form = Form();
    if (form)
        form->SetActiveButton(msg == WM_SETFOCUS ? this : NULL);
    return true;
}
