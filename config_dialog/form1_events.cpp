/* form1_events.cpp - what the settings dialog does: fills its fields from the registry when
 * created, saves them and registers the filter with IIS on OK, and closes on Cancel. */
#include "form1.h"

#include "config_store.h"
#include "vcl_exception.h"

#define PRODUCT_BANNER   "Velmorin 1.0 for IIS"
#define COPYRIGHT_NOTICE "Copyright (C) 1998 Felmo. All rights reserved."
#define WEB_ADDRESS      "http://www.felmo.example/velmorin/"
#define FILTER_DLL_NAME  "Velmorin.dll"
#define FILTER_LIST_SEP  ","
#define RESTART_NOTICE   "You must restart IIS in order for changes to take place."
#define NOTICE_CAPTION   "Notice"

/* Returns the process's current directory. Raises Exception when Win32 cannot tell it. */
static std::string CurrentDirectory()
{
    DWORD needed = GetCurrentDirectoryA(0, NULL); /* characters including the NUL */
    if (needed == 0)
        throw Exception(FormatOne("Cannot read the current directory (error %s)",
                                  std::to_string(GetLastError())));
    std::string directory(needed, '\0');
    DWORD length = GetCurrentDirectoryA(needed, &directory[0]);
    if (length == 0 || length >= needed)
        throw Exception(FormatOne("Cannot read the current directory (error %s)",
                                  std::to_string(GetLastError())));
    directory.resize(length);
    return directory;
}

/* A mistyped setting raises out of here; the fields after it keep their layout texts. */
void TForm1::FormCreate(TObject *Sender)
{
    (void)Sender;
    Application->Title = PRODUCT_BANNER;
    SetCaption(PRODUCT_BANNER);
    Label1->SetCaption(PRODUCT_BANNER);
    Label2->SetCaption(COPYRIGHT_NOTICE);
    Label3->SetCaption(WEB_ADDRESS);
    Edit1->SetText(LowerAscii(ReadConfigString(FILTER_KEY, VALUE_LOG_FILE, "")));
    Edit2->SetText(LowerAscii(ReadConfigString(FILTER_KEY, VALUE_DEFAULT_LOAD_FILES, "")));
    Edit3->SetText(LowerAscii(ReadConfigString(FILTER_KEY, VALUE_NOT_FOUND_PAGE, "")));
}

/* The settings are written as typed. IIS's list counts the filter as registered when any
 * entry merely contains the file name, in any folder and case; otherwise the list comes
 * back lowercased with the path of the filter in the current directory appended. An error
 * ends the click where it arose: what was written stays, the dialog stays open. */
void TForm1::Button1Click(TObject *Sender)
{
    (void)Sender;
    WriteConfigString(FILTER_KEY, VALUE_LOG_FILE, Edit1->Text());
    WriteConfigString(FILTER_KEY, VALUE_DEFAULT_LOAD_FILES, Edit2->Text());
    WriteConfigString(FILTER_KEY, VALUE_NOT_FOUND_PAGE, Edit3->Text());
    std::string lowered = LowerAscii(ReadConfigString(IIS_KEY, VALUE_FILTER_DLLS, ""));
    if (lowered.find(LowerAscii(FILTER_DLL_NAME)) == std::string::npos) {
        std::string path = CurrentDirectory();
        if (path.empty() || path[path.size() - 1] != '\\')
            path += '\\';
        path += FILTER_DLL_NAME;
        WriteConfigString(IIS_KEY, VALUE_FILTER_DLLS, lowered + FILTER_LIST_SEP + path);
        MessageBoxA(Handle(), RESTART_NOTICE, NOTICE_CAPTION, MB_OK);
    }
    Close();
}

void TForm1::Button2Click(TObject *Sender)
{
    (void)Sender;
    Close();
}
