/* cfg_drive.cpp - works a running VelmorinCfg the way an administrator would, for the demo:
 *   cfg_drive fill LOGFILE DEFAULTPAGES NOTFOUNDPAGE   waits for the dialog, types the three
 *                                                      settings into its fields
 *   cfg_drive ok                                       presses OK, answers the notice, waits
 *                                                      until the dialog is gone
 * Prints what the dialog showed; exits with 1 when the dialog or its answer does not come. */
#include <stdio.h>
#include <string.h>

#include "dialog_drive.h"

static int Fill(HWND dialog, const char *log, const char *pages, const char *page)
{
    HWND logEdit = DialogEdit(dialog, GROUP_LOG);
    HWND pagesEdit = DialogEdit(dialog, GROUP_PAGES_LIST);
    HWND pageEdit = DialogEdit(dialog, GROUP_PAGE);
    printf("dialog \"%s\" shows:\n  Default Pages List: \"%s\"\n  Default Page:       \"%s\"\n"
           "  Log File Name:      \"%s\"\n",
           WindowText(dialog).c_str(), WindowText(pagesEdit).c_str(),
           WindowText(pageEdit).c_str(), WindowText(logEdit).c_str());
    if (!SetEditText(pagesEdit, pages) || !SetEditText(pageEdit, page) ||
        !SetEditText(logEdit, log)) {
        fprintf(stderr, "cfg_drive: cannot type into the dialog's fields\n");
        return 1;
    }
    printf("typed:\n  Default Pages List: \"%s\"\n  Default Page:       \"%s\"\n"
           "  Log File Name:      \"%s\"\n",
           pages, page, log);
    return 0;
}

/* After OK either the notice comes or the dialog closes at once (filter listed already);
 * an error box would come with the program's title. */
static int PressOk(HWND dialog)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(dialog, &pid);
    PostClick(DialogButton(dialog, "&OK"));
    printf("pressed OK\n");
    DWORD start = GetTickCount();
    for (;;) {
        if (GetTickCount() - start > WAIT_WINDOW_MS) {
            fprintf(stderr, "cfg_drive: the dialog did not close\n");
            return 1;
        }
        HWND box = FindTopWindow(pid, MSGBOX_CLASS, NULL);
        if (box) {
            MessageBoxInfo info = ReadMessageBox(box);
            printf("message box \"%s\": %s\n", info.caption.c_str(), info.text.c_str());
            PressBoxButton(box, "OK");
            printf("answered OK\n");
            if (!WaitForWindowGone(box))
                return 1;
            if (info.caption != NOTICE_CAPTION)
                return 1; /* an error: the dialog stays open */
            continue;
        }
        if (!IsWindow(dialog) || !IsWindowVisible(dialog))
            break;
        Sleep(10);
    }
    printf("dialog closed\n");
    return 0;
}

int main(int argc, char **argv)
{
    if (argc == 5 && strcmp(argv[1], "fill") == 0) {
        HWND dialog = WaitForAnyTopWindow(DIALOG_CLASS, DIALOG_BANNER);
        if (!dialog) {
            fprintf(stderr, "cfg_drive: no dialog on screen\n");
            return 1;
        }
        return Fill(dialog, argv[2], argv[3], argv[4]);
    }
    if (argc == 2 && strcmp(argv[1], "ok") == 0) {
        HWND dialog = WaitForAnyTopWindow(DIALOG_CLASS, DIALOG_BANNER);
        if (!dialog) {
            fprintf(stderr, "cfg_drive: no dialog on screen\n");
            return 1;
        }
        return PressOk(dialog);
    }
    fprintf(stderr, "usage: cfg_drive fill LOGFILE DEFAULTPAGES NOTFOUNDPAGE | cfg_drive ok\n");
    return 2;
}
