/* queue_begin.cpp - opens the queue file at the start of a batch, checks and counts its
 * lines and announces the number of files. */
#include "batch_engine.h"

/* The number of files announced for the batch being begun: every entry line of the queue,
 * however the batch was started. (Announcing one less for an "application/tvn" document
 * showed three listed files as 2 and then "Downloading file #3 of 2".) Never below 0. */
static int32_t AnnouncedCount(void)
{
    return gPlugin.queueCount > 0 ? gPlugin.queueCount : 0;
}

/* Opens the queue file ("brenmar.txt" in downloadDir, path kept in queuePath), checks every
 * line and counts the entries in queueCount, rewinds it into queueReader, shows "You have
 * selected %d files for downloading..." and makes instance the batch's instance. Returns 1:
 * the caller fetches. Returns 0 when the batch may not start, with queueReader closed (not
 * left open for the next start) and filesRequested unchanged: the file is missing
 * (missingQueueText shown), a line holds "<" (an HTML page in place of a list; queueCount
 * 0), or a header names a version above ours (upgrade message). The file is never deleted
 * here. */
int BeginBatch(NPP instance, const char *missingQueueText)
{
    gPlugin.queueCount = 0;
    if (gPlugin.queueReader != NULL) {    /* left by a batch that ended early */
        fclose(gPlugin.queueReader);
        gPlugin.queueReader = NULL;
    }
    FILE *reader = NULL;
    if (ComposeDirFilePath(QUEUE_FILE_NAME, gPlugin.queuePath, QUEUE_PATH_BYTES) == 0)
        reader = fopen(gPlugin.queuePath, "r");
    if (reader == NULL) {
        ShowStatus(instance, missingQueueText);
        return 0;
    }
    for (;;) {
        QueueLine line = ReadQueueLine(reader, gPlugin.lineBuffer, LINE_BUFFER_BYTES);
        if (!line.gotLine)
            break;
        if (line.hasLessThan) {
            ShowStatus(instance, MSG_NO_FILES);
            gPlugin.queueCount = 0;
            fclose(reader);
            return 0;
        }
        if (gPlugin.lineBuffer[0] == '*') {
            gPlugin.serverVersion = ReadHeaderVersion(gPlugin.lineBuffer);
            if (PLUGIN_VERSION_NUMBER < gPlugin.serverVersion) {
                ReportStatus(instance, REPORT_SHOW, MSG_UPGRADE, PLUGIN_VERSION,
                             gPlugin.serverVersion);
                fclose(reader);
                return 0;
            }
        } else {
            gPlugin.queueCount++;
        }
    }
    gPlugin.lineBuffer[0] = '\0';
    rewind(reader);
    gPlugin.queueReader = reader;
    gPlugin.batchInstance = instance;
    gPlugin.awaitingStream = 0;
    gPlugin.batchTotal = AnnouncedCount();
    ReportStatus(instance, REPORT_SHOW, MSG_SELECTED, gPlugin.batchTotal);
    return 1;
}
