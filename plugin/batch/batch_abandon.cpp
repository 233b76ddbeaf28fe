/* batch_abandon.cpp - stops a fetching batch whose instance the browser destroys, so the
 * process is not left waiting for streams that can no longer come. */
#include "batch_engine.h"

/* Removes the download being received (if any), closes the queue and returns the batch to
 * idle. The queue file is kept: the next start skips the files already stored and fetches
 * the rest. Logged, since no window is left to show it. Cannot fail. */
void AbandonBatch(void)
{
    if (gPlugin.outputKind == OUTPUT_DOWNLOAD)
        CloseOutputFile(NULL, NPRES_USER_BREAK);
    if (gPlugin.queueReader != NULL) {
        fclose(gPlugin.queueReader);
        gPlugin.queueReader = NULL;
    }
    gPlugin.filesRequested = 0;
    gPlugin.awaitingStream = 0;
    gPlugin.batchInstance = NULL;
    gPlugin.lineBuffer[0] = '\0';
    LogActivity("Batch download stopped: its window was closed");
}
