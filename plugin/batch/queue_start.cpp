/* queue_start.cpp - the two ways into a batch: the page's BATCH DOWNLOAD (StartBatch) and
 * the end of a stream (AdvanceQueue), and the test for a batch that is fetching. */
#include "batch_engine.h"

/* Returns 1 while a batch is fetching: entries handled and the queue still open. */
int BatchIsFetching(void)
{
    return gPlugin.filesRequested != 0 && gPlugin.queueReader != NULL;
}

/* Starts a batch from the page: logs "Into getIt2()"; with a null instance returns. While
 * a batch is fetching the start is refused with a message and nothing is requested.
 * Otherwise a finished batch is left behind (files numbered from 1 again, bytes counted
 * afresh), the queue is counted and announced with every entry it holds ("Batch Download
 * Queue is empty" when it is missing), and the first missing file is requested. */
void StartBatch(NPP instance)
{
    LogActivity(MSG_INTO_GETIT);
    if (instance == NULL)
        return;
    if (BatchIsFetching()) {
        ReportStatus(instance, REPORT_SHOW | REPORT_SEND, MSG_BATCH_RUNNING);
        return;
    }
    if (gPlugin.filesRequested != 0) {
        gPlugin.filesRequested = 0;
        gPlugin.bytesReceived = 0;
    }
    if (BeginBatch(instance, MSG_QUEUE_EMPTY))
        FetchNextEntry(instance);
}

/* Moves the batch on after a stream end: begins it when idle ("Sorry - no files to
 * download" when the queue file is missing), then fetches the next entry. */
void AdvanceQueue(NPP instance)
{
    if (gPlugin.filesRequested == 0 && !BeginBatch(instance, MSG_NO_FILES))
        return;
    FetchNextEntry(instance);
}
