/* stream_new.cpp - decides where the bytes of a stream that begins are stored: the queue
 * file, the listing copy, the awaited download, or nowhere (refused). */
#include "batch_engine.h"

/* Marks a stream refused in its pdata (the plug-in's member): its bytes and its end are
 * ignored. */
static char refusedStreamMark;
#define REFUSED_STREAM ((void *)&refusedStreamMark)

/* Returns 1 when stream was refused by NPP_NewStream. */
int StreamIsRefused(const NPStream *stream)
{
    return stream != NULL && stream->pdata == REFUSED_STREAM;
}

/* Asks for every stream as a file (stream type NP_ASFILE, also for a null instance) and
 * opens its output file through NPP_StreamAsFile: with the batch idle the queue file, or
 * the listing copy in page mode; the batch's own awaited stream goes to the local file of
 * the entry requested last (lineBuffer, emptied afterwards). Any other stream while a batch
 * runs belongs to another document: it is refused (status line and console say so while
 * the batch is fetching) so that it never mixes with the batch's files. Returns
 * NPERR_INVALID_INSTANCE_ERROR for a null instance, else NPERR_NO_ERROR. */
NPError NPP_NewStream(NPP instance, NPMIMEType type, NPStream *stream, NPBool seekable,
                      uint16_t *stype)
{
    (void)type;
    (void)seekable;
    if (stype != NULL)
        *stype = NP_ASFILE;
    if (instance == NULL)
        return NPERR_INVALID_INSTANCE_ERROR;
    if (stream != NULL)
        stream->pdata = NULL;
    if (gPlugin.filesRequested == 0) {
        gPlugin.outputKind = gPlugin.pageMode ? OUTPUT_LISTING : OUTPUT_QUEUE;
        NPP_StreamAsFile(instance, stream, gPlugin.pageMode ? LISTING_FILE_NAME
                                                            : QUEUE_FILE_NAME);
        return NPERR_NO_ERROR;
    }
    if (BatchIsFetching() && gPlugin.awaitingStream && instance == gPlugin.batchInstance) {
        gPlugin.awaitingStream = 0;
        lstrcpynA(gPlugin.downloadUrl, gPlugin.lineBuffer, LINE_BUFFER_BYTES);
        gPlugin.outputKind = OUTPUT_DOWNLOAD;
        NPP_StreamAsFile(instance, stream, gPlugin.lineBuffer);
        gPlugin.lineBuffer[0] = '\0';
        return NPERR_NO_ERROR;
    }
    if (stream != NULL)
        stream->pdata = REFUSED_STREAM;
    if (BatchIsFetching())
        ReportStatus(instance, REPORT_SHOW | REPORT_SEND, MSG_DOC_REFUSED,
                     (stream != NULL && stream->url != NULL) ? stream->url : "");
    return NPERR_NO_ERROR;
}
