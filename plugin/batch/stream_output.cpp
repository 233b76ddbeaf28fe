/* stream_output.cpp - opens and closes the output file of the current stream; a download
 * is written under a temporary name and gets its own name only when it arrived whole. */
#include "batch_engine.h"

#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <string.h>
#include <sys/stat.h>

#define CACHE_MARK "\\CACHE\\"   /* in the path the browser passes for its cache file */

/* Returns 1 when text holds mark, compared with text's letters upper-cased (ASCII). */
static int ContainsUpper(const char *text, const char *mark)
{
    size_t markLength = strlen(mark);
    for (; *text != '\0'; text++) {
        size_t k = 0;
        while (k < markLength && text[k] != '\0') {
            char c = text[k];
            if (c >= 'a' && c <= 'z')
                c = (char)(c - 'a' + 'A');
            if (c != mark[k])
                break;
            k++;
        }
        if (k == markLength)
            return 1;
    }
    return 0;
}

/* Opens path emptied for reading and writing, created when missing, untranslated, shared
 * with other openers. Returns the handle, or -1. */
static int OpenEmptied(const char *path)
{
    if (path[0] == '\0')
        return -1;
    return _sopen(path, _O_RDWR | _O_CREAT | _O_TRUNC | _O_BINARY, _SH_DENYNO,
                  _S_IREAD | _S_IWRITE);
}

/* Opens the output file for the kind of stream NPP_NewStream routed (outputKind), named
 * after upperName. A download is opened under DOWNLOAD_TEMP_NAME with its own path kept
 * in downloadPath, and announced with "Downloading file #%d of %d: %s...". A failed open
 * leaves outputHandle -1: the bytes are counted but not stored. */
static void OpenOutputFile(NPP instance, const char *upperName)
{
    char path[LOCAL_PATH_BYTES] = "";
    gPlugin.outputHandle = -1;
    gPlugin.outputFailed = 0;
    if (gPlugin.outputKind == OUTPUT_QUEUE || gPlugin.outputKind == OUTPUT_LISTING) {
        if (ComposeDirFilePath(upperName, path, sizeof path) == 0)
            gPlugin.outputHandle = OpenEmptied(path);
        return;
    }
    if (gPlugin.outputKind != OUTPUT_DOWNLOAD)
        return;                          /* no stream was routed: nothing to open */
    if (ComposeLocalPath(upperName, gPlugin.downloadPath, LOCAL_PATH_BYTES) == LOCAL_NAME_OK
        && ComposeDirFilePath(DOWNLOAD_TEMP_NAME, path, sizeof path) == 0)
        gPlugin.outputHandle = OpenEmptied(path);
    ReportStatus(instance, REPORT_SEND | REPORT_SHOW, MSG_DOWNLOADING, gPlugin.filesRequested,
                 gPlugin.batchTotal, gPlugin.downloadPath);
}

/* Opens the stream's output file, once per stream: the plug-in's own call from
 * NPP_NewStream opens it; the browser's call at the end of the stream (with its cache
 * file's path, recognised by "\CACHE\" in any letter case, or finding the output open)
 * opens nothing. Refused streams open nothing. Sets outputOpen. */
void NPP_StreamAsFile(NPP instance, NPStream *stream, const char *fname)
{
    if (fname == NULL || StreamIsRefused(stream) || ContainsUpper(fname, CACHE_MARK))
        return;
    if (!gPlugin.outputOpen) {
        char upperName[LOCAL_PATH_BYTES];
        lstrcpynA(upperName, fname, sizeof upperName);
        for (char *p = upperName; *p != '\0'; p++)
            if (*p >= 'a' && *p <= 'z')
                *p = (char)(*p - 'a' + 'A');
        OpenOutputFile(instance, upperName);
    }
    gPlugin.outputOpen = 1;
}

/* A download's stream has ended and its temporary file is closed: gives it its own name
 * when the stream ended with NPRES_DONE and every byte was stored; otherwise removes it
 * and reports the failure with the entry's URL on the status line, console and log (only
 * the log for a null instance: the batch's window is gone). */
static void FinishDownload(NPP instance, NPReason reason, int stored)
{
    char tempPath[LOCAL_PATH_BYTES] = "";
    ComposeDirFilePath(DOWNLOAD_TEMP_NAME, tempPath, sizeof tempPath);
    const int channels = instance != NULL ? REPORT_SHOW | REPORT_SEND | REPORT_LOG : REPORT_LOG;
    if (reason == NPRES_DONE && stored &&
        MoveFileExA(tempPath, gPlugin.downloadPath, MOVEFILE_REPLACE_EXISTING)) {
        /* stored under its own name */
    } else {
        if (tempPath[0] != '\0')
            DeleteFileA(tempPath);
        const char *format = reason == NPRES_DONE        ? MSG_NOT_STORED
                           : reason == NPRES_NETWORK_ERR ? MSG_FAILED_NETWORK
                           : reason == NPRES_USER_BREAK  ? MSG_FAILED_USER
                                                         : MSG_FAILED_OTHER;
        ReportStatus(instance, channels, format, gPlugin.downloadUrl);
    }
    gPlugin.downloadUrl[0] = '\0';
    gPlugin.downloadPath[0] = '\0';
}

/* Closes the output file of the stream that ended, if one is open, and clears outputOpen
 * and outputKind. A download is then stored or removed (FinishDownload). Cannot fail. */
void CloseOutputFile(NPP instance, NPReason reason)
{
    int kind = gPlugin.outputKind;
    int opened = gPlugin.outputOpen && gPlugin.outputHandle >= 0;
    int stored = opened && !gPlugin.outputFailed;
    if (opened && _close(gPlugin.outputHandle) != 0)
        stored = 0;
    gPlugin.outputHandle = -1;
    gPlugin.outputOpen = 0;
    gPlugin.outputKind = OUTPUT_NONE;
    gPlugin.outputFailed = 0;
    if (kind == OUTPUT_DOWNLOAD)
        FinishDownload(instance, reason, stored);
}
