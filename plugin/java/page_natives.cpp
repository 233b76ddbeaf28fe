/* page_natives.cpp - the native methods of the Java class Simple behind the Batch Download
 * Window's two buttons: saveString fills the queue, getIt starts the batch; getString,
 * printToStdout and tricky serve the class's other callers. */
#include "batch_engine.h"
#include "page_natives.h"

#include <string.h>

#define MSG_ADDED        "%d new files added to batch.  Click [BATCH DOWNLOAD] button to actually download..."
#define MSG_NOTHING      "Nothing to add..."
#define MSG_NOT_QUEUED   "%s: not a file address the batch queue can hold - not added"
#define MSG_QUEUE_FAILED "Unable to write the Batch Download Queue - %s not added"

/* The plug-in instance of the receiving Simple object (its peer), or null. */
static NPP PeerInstance(JRIEnv *env, jref self)
{
    if (env == NULL || self == NULL)
        return NULL;
    return (NPP)(intptr_t)netscape_plugin_Plugin_getPeer(env, self);
}

/* The characters of a Java string (UTF-8), or null. */
static const char *StringChars(JRIEnv *env, jref string)
{
    if (env == NULL || string == NULL)
        return NULL;
    return (*env)->GetStringUTFChars(env, JRI_OP_GetStringUTFChars, string);
}

/* Index 0 opens an "ADD TO BATCH" press: the count of added files goes to 0, nothing else
 * is looked at. Index -1 closes it: the count is shown and sent ("Nothing to add..." for
 * 0) and kept. Any other index appends the URL to the queue file unless a line there
 * equals it, and counts it; a URL the queue cannot hold or a queue that cannot be written
 * is reported and not counted; a null URL is ignored. */
extern "C" void native_Simple_saveString(JRIEnv *env, jref self, jref url, jint index)
{
    if (index == 0) {
        gPlugin.queueCount = 0;
        return;
    }
    if (index == -1) {
        NPP instance = PeerInstance(env, self);
        if (gPlugin.queueCount != 0)
            ReportStatus(instance, REPORT_SHOW | REPORT_SEND, MSG_ADDED, gPlugin.queueCount);
        else
            ReportStatus(instance, REPORT_SHOW | REPORT_SEND, MSG_NOTHING);
        return;
    }
    const char *text = StringChars(env, url);
    if (text == NULL)
        return;
    switch (AppendToQueue(text)) {
    case QUEUE_ADD_ADDED:
        gPlugin.queueCount++;
        break;
    case QUEUE_ADD_REFUSED:
        ReportStatus(PeerInstance(env, self), REPORT_SHOW | REPORT_SEND, MSG_NOT_QUEUED, text);
        break;
    case QUEUE_ADD_FAILED:
        ReportStatus(PeerInstance(env, self), REPORT_SHOW | REPORT_SEND, MSG_QUEUE_FAILED, text);
        break;
    default:
        break;                            /* already queued: shows only in the count */
    }
}

/* Starts the batch download on the receiving object's instance with startingBatch set
 * around StartBatch, then handles a stream end that arrived meanwhile. Returns 1 always;
 * StartBatch reports its own failures. */
extern "C" jint native_Simple_getIt(JRIEnv *env, jref self)
{
    gPlugin.startingBatch = 1;
    StartBatch(PeerInstance(env, self));
    gPlugin.startingBatch = 0;
    RunDeferredStreamEnd();
    return 1;
}

/* Reads the next line of the listing copy (opened at the first call, in pieces of at most
 * NATIVE_LINE_BYTES - 1 characters). Returns 1 while a line was read; at the end
 * closes the listing and returns 0, so the next call starts again at the first line.
 * Returns 0 when the listing copy cannot be opened. The argument is not used. */
extern "C" jbool native_Simple_getString(JRIEnv *env, jref self, jref s)
{
    (void)env;
    (void)self;
    (void)s;
    if (gPlugin.listingReader == NULL) {
        char path[QUEUE_PATH_BYTES];
        if (ComposeDirFilePath(LISTING_FILE_NAME, path, sizeof path) != 0)
            return 0;
        gPlugin.listingReader = fopen(path, "r");
        if (gPlugin.listingReader == NULL)
            return 0;
    }
    char line[NATIVE_LINE_BYTES];
    if (fgets(line, sizeof line, gPlugin.listingReader) != NULL) {
        line[strcspn(line, "\n")] = '\0';
        return 1;
    }
    fclose(gPlugin.listingReader);
    gPlugin.listingReader = NULL;
    return 0;
}

/* Writes the text's characters to standard output exactly as they are (no line end, no
 * format directives) and flushes them. A null text writes nothing. */
extern "C" void native_Simple_printToStdout(JRIEnv *env, jref self, jref text)
{
    (void)self;
    const char *chars = StringChars(env, text);
    if (chars == NULL)
        return;
    fputs(chars, stdout);
    fflush(stdout);
}

/* Does nothing. */
extern "C" void native_Simple_tricky(JRIEnv *env, jref self, jref jsobj, jint i)
{
    (void)env;
    (void)self;
    (void)jsobj;
    (void)i;
}
