/* instance_settings.cpp - the download directory: read from the first line of
 * "\brenmar.ini" (or "\download\"), always ending in "\", and created when missing. */
#include "instance_parts.h"
#include "batch_engine.h"

#include <string.h>

/* Appends "\" to dir (of DOWNLOAD_DIR_BYTES) when it is empty or does not end with one.
 * Returns 0, or -1 with dir unchanged when there is no room for it. */
static int EndWithBackslash(char *dir)
{
    size_t length = strlen(dir);
    if (length > 0 && dir[length - 1] == '\\')
        return 0;
    if (length + 1 >= DOWNLOAD_DIR_BYTES)
        return -1;
    dir[length] = '\\';
    dir[length + 1] = '\0';
    return 0;
}

/* Sets downloadDir from "\brenmar.ini": its first line, taken unchanged but for the line
 * break, with a final "\" added when missing. A file without any line keeps the previous
 * directory (ending it with "\"). A line that does not fit downloadDir with its final "\"
 * (more than DOWNLOAD_DIR_BYTES - 1 characters in all) is refused with a console line and
 * logged, and the default is used: a cut name would be another folder. A missing settings
 * file gives the default "\download\", with the hints on the console the first time after
 * load. The settings file is read through a stream of its own. */
void ReadDownloadDir(NPP instance)
{
    FILE *settings = fopen(SETTINGS_FILE, "r");
    if (settings == NULL) {
        if (!gPlugin.startupDone)
            SendDirectoryHints(instance);
        lstrcpynA(gPlugin.downloadDir, DEFAULT_DOWNLOAD_DIR, DOWNLOAD_DIR_BYTES);
        return;
    }
    char line[DOWNLOAD_DIR_BYTES];
    QueueLine read = ReadQueueLine(settings, line, sizeof line);
    fclose(settings);
    if (!read.gotLine) {
        EndWithBackslash(gPlugin.downloadDir);
        return;
    }
    if (read.tooLong || EndWithBackslash(line) != 0) {
        ReportStatus(instance, REPORT_SEND | REPORT_LOG, MSG_DIR_TOO_LONG,
                     DOWNLOAD_DIR_BYTES - 1);
        lstrcpynA(gPlugin.downloadDir, DEFAULT_DOWNLOAD_DIR, DOWNLOAD_DIR_BYTES);
        return;
    }
    lstrcpynA(gPlugin.downloadDir, line, DOWNLOAD_DIR_BYTES);
}

/* Creates the download directory (that one level) when nothing exists under its name,
 * saying so on the console. A failure to create it is not reported here: the files that
 * cannot be stored in it are. */
void CreateDownloadDir(NPP instance)
{
    if (GetFileAttributesA(gPlugin.downloadDir) != INVALID_FILE_ATTRIBUTES)
        return;
    ReportStatus(instance, REPORT_SEND, MSG_CREATING_DIR, gPlugin.downloadDir);
    CreateDirectoryA(gPlugin.downloadDir, NULL);
}
