/* dialog_harness.h - one run of VelmorinCfg.exe for a test: started in a chosen folder,
 * waited for, and ended if the test leaves it running. */
#ifndef DIALOG_HARNESS_H
#define DIALOG_HARNESS_H

#include <windows.h>
#include <string>

#include "dialog_drive.h"

#define NOTICE_TEXT      "You must restart IIS in order for changes to take place."
#define ROOT_DIR         "C:\\"
#define SUB_DIR_PARENT   "C:\\velmorin dialog test"
#define SUB_DIR          "C:\\velmorin dialog test\\Sub Folder"

/* What the three fields show. */
struct Fields {
    std::string log;   /* Edit1, in the log file box */
    std::string pages; /* Edit2, in the default pages list box */
    std::string page;  /* Edit3, in the default page box */
};

class DialogProcess {
public:
    /* Starts the program with workDir as its current directory. */
    explicit DialogProcess(const char *workDir);
    ~DialogProcess(); /* ends the program when it still runs */

    bool Started() const { return started_; }
    HANDLE Process() const { return info_.hProcess; }
    DWORD Pid() const { return info_.dwProcessId; }
    bool Running() const;

    /* The dialog once it is on screen; NULL when it does not come. */
    HWND WaitForDialog();

    /* A message box of the program with this caption once it is on screen; NULL when the
     * program ends first or none comes. */
    HWND WaitForBox(const char *caption);

    /* A visible message box of the program with this caption right now, or NULL. */
    HWND FindBox(const char *caption) const;

    /* The exit code once the program has ended, STILL_ACTIVE when it does not end. */
    DWORD WaitForExit();

private:
    PROCESS_INFORMATION info_;
    bool started_;
};

Fields ReadFields(HWND dialog);

/* Types each non-NULL text into its field. */
bool TypeFields(HWND dialog, const char *log, const char *pages, const char *page);

/* Creates the folders the tests start the program in. */
bool MakeWorkDirs(void);

#endif /* DIALOG_HARNESS_H */
