/* dialog_drive.h - drives a running VelmorinCfg from another process through its windows:
 * finds the dialog and its message boxes, reads and sets what they show, presses keys and
 * buttons. Shared by the dialog's tests and the demo's driver. */
#ifndef DIALOG_DRIVE_H
#define DIALOG_DRIVE_H

#include <windows.h>
#include <string>
#include <vector>

#define DIALOG_CLASS   "TForm1"
#define DIALOG_BANNER  "Velmorin 1.0 for IIS"
#define MSGBOX_CLASS   "#32770"
#define NOTICE_CAPTION "Notice"
#define GROUP_PAGES_LIST " &Default Pages List " /* captions of the boxes around the fields */
#define GROUP_PAGE       " Default &Page "
#define GROUP_LOG        " &Log File Name "
#define WAIT_WINDOW_MS 30000 /* a window or a process end is waited for this long at most */

/* One window as another process sees it. */
struct WindowInfo {
    HWND hwnd;
    std::string className;
    std::string text;
    RECT rect; /* in the parent's client coordinates (screen for a top-level window) */
    LONG style;
    LONG exStyle;
};

/* One message box as another process sees it. */
struct MessageBoxInfo {
    std::string caption;
    std::string text;
    std::vector<std::string> buttons; /* texts of the visible buttons */
    bool hasIcon;                     /* a visible icon is shown beside the text */
    HWND owner;
};

/* The text of any window, also of another process. Empty when it has none. */
std::string WindowText(HWND hwnd);

/* Class, text, place and styles of hwnd. */
WindowInfo DescribeWindow(HWND hwnd);

/* The direct children of parent in the windows' own order (Z order, top first). */
std::vector<WindowInfo> ChildWindows(HWND parent);

/* The visible top-level window of process pid with the given class and caption (NULL for
 * any caption). Waits until it exists, the process ends or WAIT_WINDOW_MS pass; returns
 * NULL in the last two cases. */
HWND WaitForTopWindow(HANDLE process, DWORD pid, const char *className, const char *caption);

/* The visible top-level window as WaitForTopWindow finds it (pid 0: of any process), right
 * now; NULL when there is none. */
HWND FindTopWindow(DWORD pid, const char *className, const char *caption);

/* Like WaitForTopWindow, for any process. */
HWND WaitForAnyTopWindow(const char *className, const char *caption);

/* Waits until no visible top-level window hwnd remains (destroyed or hidden). */
bool WaitForWindowGone(HWND hwnd);

/* The edit field inside the group box of the dialog whose caption is groupCaption (for
 * example " &Log File Name "); NULL when there is none. */
HWND DialogEdit(HWND dialog, const char *groupCaption);

/* The direct child button of the dialog with the given text ("&OK"); NULL when none. */
HWND DialogButton(HWND dialog, const char *text);

/* Caption, text, buttons, icon and owner of a message box. */
MessageBoxInfo ReadMessageBox(HWND box);

/* Presses the box's button with the given text ("OK"). Returns false when it has none. */
bool PressBoxButton(HWND box, const char *buttonText);

/* Sets the text of an edit field of another process (WM_SETTEXT, carried across). */
bool SetEditText(HWND edit, const std::string &text);

/* Presses a button without waiting for what its click does (a click may open a modal box). */
void PostClick(HWND button);

/* Posts a key press (down and up) to a window as if it had the keyboard focus; the
 * program's own translation makes the character of it. */
void PostKey(HWND hwnd, UINT virtualKey);

/* Posts Alt with a letter key (A to Z) the same way. */
void PostAltKey(HWND hwnd, char letter);

/* The window that has the keyboard focus in the thread that runs hwnd. */
HWND FocusedWindow(HWND hwnd);

/* Waits until the focus in hwnd's thread is on expected; false after WAIT_WINDOW_MS. */
bool WaitForFocus(HWND hwnd, HWND expected);

/* Waits for the process to end; returns its exit code, or STILL_ACTIVE after the wait. */
DWORD WaitForExit(HANDLE process);

/* The Windows path of a file of this machine (Wine shows the root as drive Z:). */
std::string WindowsPath(const std::string &unixPath);

#endif /* DIALOG_DRIVE_H */
