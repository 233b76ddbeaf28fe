/* stream_destroy.cpp - the end of a stream: closes its output file and moves the page or
 * the batch on; a stream end that arrives while the page's getIt starts a batch is held
 * until that start is over. */
#include "batch_engine.h"

/* Handles the end of the stream whose output is open: closes it (a download is stored or
 * removed), then builds the Batch Download Window when that stream was the listing and no
 * page is being written, else moves the batch on. */
void EndStream(NPP instance, NPReason reason)
{
    int wasListing = gPlugin.outputKind == OUTPUT_LISTING ||
                     (gPlugin.outputKind == OUTPUT_NONE && gPlugin.pageMode);
    CloseOutputFile(instance, reason);
    if (wasListing && !gPlugin.pageBuilt)
        BuildBatchPage(instance);
    else
        AdvanceQueue(instance);
}

/* Returns NPERR_INVALID_INSTANCE_ERROR for a null instance; else NPERR_NO_ERROR. The end
 * of a refused stream does nothing. While startingBatch is set the end is only noted, the
 * output file stays open and nothing else happens until RunDeferredStreamEnd, which
 * getIt calls once StartBatch is over (the queue and buffers are in use until then). */
NPError NPP_DestroyStream(NPP instance, NPStream *stream, NPReason reason)
{
    if (instance == NULL)
        return NPERR_INVALID_INSTANCE_ERROR;
    if (StreamIsRefused(stream)) {
        stream->pdata = NULL;
        return NPERR_NO_ERROR;
    }
    if (gPlugin.startingBatch) {
        gPlugin.streamEndDeferred = 1;
        gPlugin.deferredInstance = instance;
        gPlugin.deferredReason = reason;
        return NPERR_NO_ERROR;
    }
    EndStream(instance, reason);
    return NPERR_NO_ERROR;
}

/* Handles a stream end held back while startingBatch was set; nothing when none was. */
void RunDeferredStreamEnd(void)
{
    if (!gPlugin.streamEndDeferred || gPlugin.startingBatch)
        return;
    gPlugin.streamEndDeferred = 0;
    EndStream(gPlugin.deferredInstance, gPlugin.deferredReason);
}
