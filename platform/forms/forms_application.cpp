/* forms_application.cpp - the application object: title, forms, the message loop and the
 * default display of an error raised in an event handler. */
#include "forms.h"

#include "vcl_exception.h"

#define MODULE_PATH_CHARS MAX_PATH /* program file name, for the default title */

static TApplication applicationObject;
TApplication *Application = &applicationObject;

TApplication::TApplication() : mainForm_(NULL), instance_(NULL), failed_(false) {}

TApplication::~TApplication()
{
    for (TForm *form : forms_)
        delete form;
}

/* The default title is the program file's name without folder and extension. */
void TApplication::Initialize()
{
    instance_ = GetModuleHandleA(NULL);
    char path[MODULE_PATH_CHARS];
    DWORD length = GetModuleFileNameA(NULL, path, MODULE_PATH_CHARS);
    if (length == 0 || length >= MODULE_PATH_CHARS)
        return;
    std::string name(path, length);
    size_t slash = name.find_last_of("\\/");
    if (slash != std::string::npos)
        name.erase(0, slash + 1);
    size_t dot = name.rfind('.');
    if (dot != std::string::npos)
        name.erase(dot);
    Title = name;
}

void TApplication::AddForm(TForm *form)
{
    forms_.push_back(form);
    if (!mainForm_)
        mainForm_ = form;
    try {
        form->CreateHandle();
    } catch (...) {
        failed_ = true;
        HandleException(form);
        return;
    }
    form->DoCreate();
}

/* Dialog keys are offered to the form that holds the window they were pressed in before
 * the usual translation and dispatch. A modal message box runs its own loop, so its keys
 * never come by here. */
void TApplication::Run()
{
    if (failed_ || !mainForm_)
        return;
    mainForm_->Show();
    MSG msg = {};
    while (GetMessageA(&msg, NULL, 0, 0) > 0) {
        HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : NULL;
        TForm *form = dynamic_cast<TForm *>(TControl::FromHandle(root));
        if (form && form->IsDialogKey(msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    for (TForm *form : forms_)
        delete form;
    forms_.clear();
    mainForm_ = NULL;
}

void TApplication::Terminate()
{
    PostQuitMessage(0);
}

void TApplication::CallEvent(const TNotifyEvent &event, TObject *sender)
{
    if (!event)
        return;
    try {
        event(sender);
    } catch (...) {
        HandleException(sender);
    }
}

void TApplication::HandleException(TObject *sender)
{
    (void)sender;
    try {
        throw;
    } catch (const Exception &e) {
        ShowException(e.Message());
    } catch (const std::exception &e) {
        ShowException(e.what());
    } catch (...) {
        ShowException("Unexpected error");
    }
}

/* The box belongs to the main form once that is on screen (it then waits for the box);
 * before that it stands alone. */
void TApplication::ShowException(const std::string &message)
{
    HWND owner = NULL;
    if (mainForm_ && mainForm_->Handle() && IsWindowVisible(mainForm_->Handle()))
        owner = mainForm_->Handle();
    std::string text = message + ".";
    MessageBoxA(owner, text.c_str(), Title.c_str(), MB_OK | MB_ICONERROR);
}
