/* batch_engine.h - the downloader's own constants, its state notes and the procedures its
 * files share with each other, with the instance callbacks and with the page natives.
 *
 * States of the batch (all in gPlugin, one batch per process):
 *   idle        filesRequested == 0. A stream that begins goes to the queue file, or to
 *               the listing copy when pageMode is set; its end builds the page (listing)
 *               or begins a batch (BeginBatch, via AdvanceQueue).
 *   fetching k  filesRequested == k >= 1, queueReader open, batchInstance set. When
 *               awaitingStream is set one NPN_GetURL is out: the next stream of
 *               batchInstance is entry k, written under DOWNLOAD_TEMP_NAME and renamed to
 *               downloadPath when it ends with NPRES_DONE (removed otherwise). Every other
 *               stream is refused (discarded, with a status message), so a new document
 *               never lands in a download and a download never lands in the queue file.
 *               Moved on by NPP_DestroyStream -> AdvanceQueue -> FetchNextEntry.
 *   done        filesRequested == entries + 1, queueReader closed, queue file deleted.
 *               Streams that still arrive are discarded; instance creation or StartBatch
 *               returns to idle.
 * StartBatch (the page's BATCH DOWNLOAD) is refused while fetching. NPP_Destroy of
 * batchInstance while fetching abandons the batch (AbandonBatch) and keeps the queue file,
 * so a later start picks it up where it stopped.
 *
 * States of one downloaded file: requested (awaitingStream, URL in lineBuffer) -> receiving
 * (temporary file open, URL in downloadUrl) -> stored under its name (NPRES_DONE, every
 * byte written) or removed and reported (any other end). */
#ifndef BATCH_ENGINE_H
#define BATCH_ENGINE_H

#include <stdarg.h>

#include "plugin_api.h"

#define DOWNLOAD_TEMP_NAME   "brenmar.part"   /* a download until its stream ends complete */
#define NATIVE_LINE_BYTES    1000            /* lines the page natives read, NUL included */

/* What the open output file is (gPlugin.outputKind). */
#define OUTPUT_NONE      0
#define OUTPUT_QUEUE     1    /* the queue file, an "application/tvn" document */
#define OUTPUT_LISTING   2    /* the listing copy of page mode */
#define OUTPUT_DOWNLOAD  3    /* a queue entry, under DOWNLOAD_TEMP_NAME */

/* Channels of a report (ReportStatus). */
#define REPORT_SHOW  0x1   /* status line */
#define REPORT_SEND  0x2   /* Java console */
#define REPORT_LOG   0x4   /* activity log */

/* Verdicts on the local name of a URL (ComposeLocalPath). */
#define LOCAL_NAME_OK        0
#define LOCAL_NAME_EMPTY     1   /* the path is the download directory itself */
#define LOCAL_NAME_UNSAFE    2   /* ".", "..", ":", control or reserved character, device */
#define LOCAL_NAME_TOO_LONG  3   /* the path does not fit its buffer */

/* Messages of the downloader. */
#define MSG_QUEUE_EMPTY      "Batch Download Queue is empty"
#define MSG_NO_FILES         "Sorry - no files to download"
#define MSG_UPGRADE          "Plugin is vs %s; server is using vs %03.1f.  Pls upgrade your plugin."
#define MSG_SELECTED         "You have selected %d files for downloading..."
#define MSG_EXISTS           "%s already exists..."
#define MSG_DOWNLOADING      "Downloading file #%d of %d: %s..."
#define MSG_END_OF_QUEUE     "%d files/%ld bytes were in queue.  No more files to download..."
#define MSG_INTO_GETIT       "Into getIt2()"
#define MSG_BATCH_RUNNING    "Sorry - a batch download is already running.  Please wait until it is done..."
#define MSG_DOC_REFUSED      "Sorry - a batch download is running.  Not taken: %s"
#define MSG_UNSAFE_NAME      "%s: not a safe file name - skipped..."
#define MSG_NAME_TOO_LONG    "%s: local file name too long - skipped..."
#define MSG_ENTRY_TOO_LONG   "Entry longer than %d characters - skipped: %.60s..."
#define MSG_REQUEST_REFUSED  "%s: request refused by the browser - batch stopped"
#define MSG_FAILED_NETWORK   "%s: Unable to download"
#define MSG_FAILED_USER      "%s: User Abort"
#define MSG_FAILED_OTHER     "%s: Unknown error"
#define MSG_NOT_STORED       "%s: could not be stored"
#define MSG_NO_WINDOW        "Unable to open the Batch Download Window"

/* One line of a text file, read whole: the first size-1 characters land in the buffer,
 * the rest of a longer line is passed over. */
typedef struct QueueLine {
    int gotLine;     /* 0 at the end of the file */
    int tooLong;     /* the line did not fit: the buffer holds only its start */
    int hasLessThan; /* a "<" stands anywhere in the line, kept part or not */
} QueueLine;

QueueLine ReadQueueLine(FILE *file, char *buffer, size_t bufferBytes);
double    ReadHeaderVersion(const char *line);

int  ComposeLocalPath(const char *name, char *output, size_t outputBytes);
int  ComposeDirFilePath(const char *fileName, char *output, size_t outputBytes);

void ReportStatus(NPP instance, int channels, const char *format, ...);

int  BatchIsFetching(void);
int  StreamIsRefused(const NPStream *stream);
void AbandonBatch(void);
void CloseOutputFile(NPP instance, NPReason reason);
void EndStream(NPP instance, NPReason reason);
void RunDeferredStreamEnd(void);

/* Page generation. */
extern const char *const pageScriptLines[];
size_t HtmlEscape(const char *text, char *output, size_t outputBytes);
void   HtmlUnescapeInPlace(char *text);
size_t TransformListingLine(const char *line, const char *listUrl, char *output,
                            size_t outputBytes, int *transformed);

/* The queue as the page natives fill it. */
#define QUEUE_ADD_ADDED     0
#define QUEUE_ADD_DUPLICATE 1
#define QUEUE_ADD_REFUSED   2   /* not a URL the queue can hold */
#define QUEUE_ADD_FAILED    3   /* the queue file could not be written */
int AppendToQueue(const char *url);

#endif /* BATCH_ENGINE_H */
