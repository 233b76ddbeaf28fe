/* dialog_harness.cpp - starts, waits for and ends VelmorinCfg.exe for the dialog's tests. */
#include "dialog_harness.h"

#include <gtest/gtest.h>

#include "reg_fixture.h"

/* Before any test: the program's windows are Wine's own to manage. */
class UnmanagedDialogWindows : public ::testing::Environment {
public:
    void SetUp() override { ASSERT_TRUE(UseUnmanagedWindows("VelmorinCfg.exe")); }
};

static ::testing::Environment *const unmanagedDialogWindows =
    ::testing::AddGlobalTestEnvironment(new UnmanagedDialogWindows);

DialogProcess::DialogProcess(const char *workDir) : info_(), started_(false)
{
    std::string exe = WindowsPath(VELMORIN_CFG_EXE);
    std::string commandLine = "\"" + exe + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    started_ = CreateProcessA(exe.c_str(), &commandLine[0], NULL, NULL, FALSE, 0, NULL,
                              workDir, &startup, &info_) != 0;
}

DialogProcess::~DialogProcess()
{
    if (!started_)
        return;
    if (Running()) {
        TerminateProcess(info_.hProcess, 1);
        WaitForSingleObject(info_.hProcess, WAIT_WINDOW_MS);
    }
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
}

bool DialogProcess::Running() const
{
    return started_ && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

HWND DialogProcess::WaitForDialog()
{
    if (!started_)
        return NULL;
    return WaitForTopWindow(info_.hProcess, info_.dwProcessId, DIALOG_CLASS, DIALOG_BANNER);
}

HWND DialogProcess::WaitForBox(const char *caption)
{
    if (!started_)
        return NULL;
    return WaitForTopWindow(info_.hProcess, info_.dwProcessId, MSGBOX_CLASS, caption);
}

HWND DialogProcess::FindBox(const char *caption) const
{
    return started_ ? FindTopWindow(info_.dwProcessId, MSGBOX_CLASS, caption) : NULL;
}

DWORD DialogProcess::WaitForExit()
{
    return started_ ? ::WaitForExit(info_.hProcess) : STILL_ACTIVE;
}

Fields ReadFields(HWND dialog)
{
    Fields fields;
    fields.log = WindowText(DialogEdit(dialog, GROUP_LOG));
    fields.pages = WindowText(DialogEdit(dialog, GROUP_PAGES_LIST));
    fields.page = WindowText(DialogEdit(dialog, GROUP_PAGE));
    return fields;
}

bool TypeFields(HWND dialog, const char *log, const char *pages, const char *page)
{
    bool done = true;
    if (log)
        done = SetEditText(DialogEdit(dialog, GROUP_LOG), log) && done;
    if (pages)
        done = SetEditText(DialogEdit(dialog, GROUP_PAGES_LIST), pages) && done;
    if (page)
        done = SetEditText(DialogEdit(dialog, GROUP_PAGE), page) && done;
    return done;
}

bool MakeWorkDirs(void)
{
    CreateDirectoryA(SUB_DIR_PARENT, NULL);
    CreateDirectoryA(SUB_DIR, NULL);
    return GetFileAttributesA(SUB_DIR) != INVALID_FILE_ATTRIBUTES;
}
