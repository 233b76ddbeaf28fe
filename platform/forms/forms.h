/* forms.h - a small form library over Win32 windows: the application object, forms, and
 * the controls label, group box, single-line edit and push button. */
#ifndef FORMS_H
#define FORMS_H

#include <windows.h>
#include <functional>
#include <string>
#include <vector>

#define FORMS_DESIGN_PPI 96 /* positions and font heights are pixels at this density */
#define FORMS_NO_TAB     -1 /* TabOrder of a control that is never focused (a label) */

class TObject {
public:
    virtual ~TObject() {}
};

typedef std::function<void(TObject *Sender)> TNotifyEvent;

enum TFormBorderStyle { bsSizeable, bsDialog };
enum TPosition { poDesigned, poScreenCenter };

class TWinControl;
class TForm;
class TButton;

/* Any control: its place in the parent's client area, its caption, and (once the form
 * has created its windows) its window. Property changes reach the window at once. */
class TControl : public TObject {
public:
    explicit TControl(TWinControl *parent); /* the parent owns and deletes it */
    ~TControl() override;

    void SetBounds(int left, int top, int width, int height);
    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }

    void SetCaption(const std::string &text);
    std::string Caption() const; /* the window's text once it exists */

    /* Tab position among the parent's windowed controls; FORMS_NO_TAB for none. */
    void SetTabOrder(int order) { tabOrder_ = order; }
    int TabOrder() const { return tabOrder_; }

    TWinControl *Parent() const { return parent_; }
    TForm *Form() const;
    HWND Handle() const { return handle_; }

    /* Whether the control can take the focus now: a tab stop, shown and enabled. */
    bool CanFocus() const;

    /* The mnemonic of the caption: the letter after a single "&", upper-cased; 0 for none. */
    char Accelerator() const;

    /* Creates this control's window (and its children's) inside the parent's window.
     * Raises Exception naming the Win32 call that failed; windows made so far stay. */
    virtual void CreateHandle();

    /* Called for the control's WM_COMMAND notifications. */
    virtual void Notify(WORD code) { (void)code; }

    /* Alt with the control's mnemonic; true when the control acted on it. */
    virtual bool DialogChar() { return false; }

    /* Whether Tab moves into the control itself (group boxes only hold tab stops). */
    virtual bool IsTabStop() const { return false; }

    /* The control whose window this is; NULL for a window of no control. */
    static TControl *FromHandle(HWND hwnd);

protected:
    virtual const char *WindowClass() const = 0;
    virtual DWORD WindowStyle() const = 0;
    virtual DWORD WindowExStyle() const { return 0; }
    virtual void CaptionChanged() {}
    virtual void HandleCreated() {}

    /* A message for the control's window; returns true with *result set when handled,
     * false to leave it to the window class. */
    virtual bool HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT *result);

    /* Passes a message to the window class's own procedure. */
    LRESULT CallClassProc(UINT msg, WPARAM wParam, LPARAM lParam);

    /* Binds the window to this control (called once it exists). */
    void Attach(HWND hwnd);

    TWinControl *parent_;
    HWND handle_;
    int left_, top_, width_, height_;
    std::string caption_;
    int tabOrder_;

    /* The procedure of every window of the library: the control's HandleMessage first,
     * then the window class's own procedure (DefWindowProc for a form). */
    static LRESULT CALLBACK ControlProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

private:
    WNDPROC classProc_; /* the window class's own procedure; NULL for a form */

    TControl(const TControl &) = delete;
    TControl &operator=(const TControl &) = delete;
    friend class TWinControl;
};

/* A control that holds other controls. */
class TWinControl : public TControl {
public:
    explicit TWinControl(TWinControl *parent);
    ~TWinControl() override; /* deletes the children */

    const std::vector<TControl *> &Controls() const { return controls_; }

    /* Children in the order Tab visits them (windowed controls by TabOrder, stable),
     * followed by the controls without a tab position. */
    std::vector<TControl *> TabList() const;

    /* Focuses the first control Tab reaches inside; false when there is none. */
    bool SelectFirst();

    /* Appends the controls Tab reaches inside, in the order it reaches them. */
    void CollectTabStops(std::vector<TControl *> &stops) const;

    void CreateHandle() override;

protected:
    /* Hands a child's WM_COMMAND notification to that child. */
    bool HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT *result) override;

private:
    std::vector<TControl *> controls_; /* in the order of declaration */
    friend class TControl;
};

/* A text that sizes itself to its caption in the form's font. */
class TLabel : public TControl {
public:
    explicit TLabel(TWinControl *parent);

protected:
    const char *WindowClass() const override { return "Static"; }
    DWORD WindowStyle() const override;
    void CaptionChanged() override;
    void HandleCreated() override;

private:
    void AdjustSize();
};

/* A framed box with a caption that holds controls; Alt with its mnemonic focuses the
 * first of them. */
class TGroupBox : public TWinControl {
public:
    explicit TGroupBox(TWinControl *parent);
    bool DialogChar() override;

protected:
    const char *WindowClass() const override { return "Button"; }
    DWORD WindowStyle() const override;
    DWORD WindowExStyle() const override { return WS_EX_CONTROLPARENT; }
    bool HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT *result) override;
};

/* A single-line edit field without a length limit. */
class TEdit : public TControl {
public:
    explicit TEdit(TWinControl *parent);
    std::string Text() const { return Caption(); }
    void SetText(const std::string &text) { SetCaption(text); }
    bool IsTabStop() const override { return true; }

protected:
    const char *WindowClass() const override { return "Edit"; }
    DWORD WindowStyle() const override;
    DWORD WindowExStyle() const override { return WS_EX_CLIENTEDGE; }
    void HandleCreated() override;
    bool HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT *result) override;
};

/* A push button. Enter presses the focused button, else the form's Default button;
 * Escape presses the form's Cancel button, if it has one. */
class TButton : public TControl {
public:
    explicit TButton(TWinControl *parent);

    TNotifyEvent OnClick;
    bool Default; /* pressed by Enter when no other button has the focus */
    bool Cancel;  /* pressed by Escape */

    /* Runs OnClick; an exception it raises goes to the application's error display. */
    void Click();

    /* Shows the button with (or without) the thick frame of the button Enter presses. */
    void ShowAsDefault(bool isDefault);

    bool IsTabStop() const override { return true; }
    void Notify(WORD code) override;
    bool DialogChar() override;

protected:
    const char *WindowClass() const override { return "Button"; }
    DWORD WindowStyle() const override;
    bool HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT *result) override;
};

/* A top-level window of its own window class (named like the form's class). */
class TForm : public TWinControl {
public:
    explicit TForm(const char *className);
    ~TForm() override; /* destroys the window, then deletes the controls */

    TNotifyEvent OnCreate; /* run once the windows exist */

    TFormBorderStyle BorderStyle;
    TPosition Position;
    std::string FontName;
    int FontSize; /* points */

    void SetClientSize(int width, int height);
    int ClientWidth() const { return clientWidth_; }
    int ClientHeight() const { return clientHeight_; }

    HFONT Font() const { return font_; }

    void CreateHandle() override;

    /* Runs OnCreate; an exception it raises goes to the application's error display and
     * the form is used as far as OnCreate got. */
    void DoCreate();

    /* Places the window (centred when Position says so) and shows it with the focus on
     * the first control in tab order. */
    void Show();

    /* Closes the form; closing the main form ends the application's message loop. */
    void Close();

    /* Handles the dialog keys of a message meant for this form's windows (Tab, Enter,
     * Escape, Alt with a mnemonic); false when the message is to be dispatched as usual. */
    bool IsDialogKey(const MSG &msg);

    /* Shows the button that Enter would press now: focused, or none for the Default one. */
    void SetActiveButton(TButton *focused);

protected:
    const char *WindowClass() const override { return className_.c_str(); }
    DWORD WindowStyle() const override;
    DWORD WindowExStyle() const override;
    bool HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT *result) override;

private:
    void RegisterFormClass();
    void SelectNext(HWND from, bool forward);
    TButton *FindButton(bool cancel) const;
    bool DialogChar(char key, const std::vector<TControl *> &controls);

    std::string className_;
    int clientWidth_, clientHeight_;
    HFONT font_;
    HWND lastFocus_; /* focused control when the form was last deactivated */
};

/* The program: its title, its forms and its message loop. */
class TApplication : public TObject {
public:
    TApplication();
    ~TApplication() override; /* deletes the forms */

    /* Takes the program's instance and its default title (the program file's name). */
    void Initialize();

    std::string Title;

    /* Creates a form of class F, stores it in *reference, creates its windows and runs its
     * OnCreate. The first form created is the main form. A form whose windows cannot be
     * created is reported through ShowException and ends the program's Run at once. */
    template <class F> void CreateForm(F **reference)
    {
        F *form = new F();
        *reference = form;
        AddForm(form);
    }

    /* Shows the main form and dispatches messages until it is closed. */
    void Run();

    /* Ends Run once the current message is handled. */
    void Terminate();

    TForm *MainForm() const { return mainForm_; }
    HINSTANCE Instance() const { return instance_; }

    /* Runs event for sender when it is set; an exception it raises goes to HandleException
     * and ends there. */
    void CallEvent(const TNotifyEvent &event, TObject *sender);

    /* Call inside a catch block: shows the caught exception through ShowException. */
    void HandleException(TObject *sender);

    /* The default error display: message followed by "." in a message box captioned with
     * the title, with the error icon and an OK button. */
    void ShowException(const std::string &message);

private:
    void AddForm(TForm *form);

    std::vector<TForm *> forms_;
    TForm *mainForm_;
    HINSTANCE instance_;
    bool failed_; /* a form's windows could not be created */
};

/* The program's one application object, as the class library names it. */
extern TApplication *Application;

#endif /* FORMS_H */
