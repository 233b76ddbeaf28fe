/* queue_fetch.cpp - moves the batch to its next entry: skips headers, files that exist and
 * names that cannot be stored, requests the next file, or ends the queue. */
#include "batch_engine.h"

/* Returns 1 when something exists under path (a file or a folder). */
static int PathExists(const char *path)
{
    return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

/* End of the queue: reports the totals on the status line and console, closes and deletes
 * the queue file and leaves the batch done (filesRequested one past the last entry). */
static void EndOfQueue(NPP instance)
{
    ReportStatus(instance, REPORT_SHOW | REPORT_SEND, MSG_END_OF_QUEUE, gPlugin.batchTotal,
                 (long)gPlugin.bytesReceived);
    fclose(gPlugin.queueReader);
    gPlugin.queueReader = NULL;
    remove(gPlugin.queuePath);
    gPlugin.filesRequested++;
    gPlugin.batchInstance = NULL;
    gPlugin.awaitingStream = 0;
}

/* Reports why the entry in lineBuffer is skipped, or returns 0 when it is to be requested.
 * Every skipped entry is reported on the status line and console. */
static int SkipEntry(NPP instance, const QueueLine *line)
{
    if (line->tooLong) {
        ReportStatus(instance, REPORT_SHOW | REPORT_SEND, MSG_ENTRY_TOO_LONG,
                     LINE_BUFFER_BYTES - 1, gPlugin.lineBuffer);
        return 1;
    }
    char path[LOCAL_PATH_BYTES];
    int verdict = ComposeLocalPath(gPlugin.lineBuffer, path, sizeof path);
    if (verdict == LOCAL_NAME_TOO_LONG) {
        ReportStatus(instance, REPORT_SHOW | REPORT_SEND, MSG_NAME_TOO_LONG, gPlugin.lineBuffer);
        return 1;
    }
    if (verdict == LOCAL_NAME_UNSAFE || (verdict == LOCAL_NAME_EMPTY && !PathExists(path))) {
        ReportStatus(instance, REPORT_SHOW | REPORT_SEND, MSG_UNSAFE_NAME, gPlugin.lineBuffer);
        return 1;
    }
    if (PathExists(path)) {     /* an empty name is the download folder itself */
        ReportStatus(instance, REPORT_SHOW | REPORT_SEND, MSG_EXISTS, path);
        return 1;
    }
    return 0;
}

/* Reads entries from queueReader until one is requested from the browser (NPN_GetURL with
 * a null target; the batch then awaits its stream) or the queue ends (totals reported,
 * queue file deleted). Every entry read counts in filesRequested, whether skipped or
 * requested. A request the browser refuses at once is reported as that entry's failure and
 * the next entry follows. Does nothing when no queue is open (the batch is done). */
void FetchNextEntry(NPP instance)
{
    while (gPlugin.queueReader != NULL) {
        QueueLine line = ReadQueueLine(gPlugin.queueReader, gPlugin.lineBuffer,
                                       LINE_BUFFER_BYTES);
        if (!line.gotLine) {
            EndOfQueue(instance);
            return;
        }
        if (gPlugin.lineBuffer[0] == '*')
            continue;                       /* header lines are not entries */
        gPlugin.filesRequested++;
        if (SkipEntry(instance, &line))
            continue;
        /* Await the stream before asking: a browser may deliver it inside the call. */
        gPlugin.awaitingStream = 1;
        gPlugin.batchInstance = instance;
        NPError result = NPN_GetURL(instance, gPlugin.lineBuffer, NULL);
        if (result == NPERR_NO_ERROR || !gPlugin.awaitingStream)
            return;
        gPlugin.awaitingStream = 0;
        ReportStatus(instance, REPORT_SHOW | REPORT_SEND | REPORT_LOG, MSG_FAILED_NETWORK,
                     gPlugin.lineBuffer);
    }
}
