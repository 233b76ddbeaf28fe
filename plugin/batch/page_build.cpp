/* page_build.cpp - writes the Batch Download Window into a new browser window from the
 * listing copy: head, script, the listing with its checkboxes, status line and buttons. */
#include "batch_engine.h"
#include "page_text.h"

#include <stdlib.h>
#include <string.h>

#define ESCAPE_PIECE_CHARS 40                            /* escaped and written at a time */
#define ESCAPE_CHUNK_BYTES (ESCAPE_PIECE_CHARS * 6 + 1)  /* "&quot;" is the longest reference */

/* Writes text escaped for a quoted attribute, a piece at a time, whatever its length. */
static void WriteEscaped(NPP instance, NPStream *page, const char *text)
{
    size_t length = strlen(text);
    for (size_t at = 0; at < length; at += ESCAPE_PIECE_CHARS) {
        char piece[ESCAPE_PIECE_CHARS + 1];
        size_t count = length - at < ESCAPE_PIECE_CHARS ? length - at : ESCAPE_PIECE_CHARS;
        memcpy(piece, text + at, count);
        piece[count] = '\0';
        char chunk[ESCAPE_CHUNK_BYTES];
        HtmlEscape(piece, chunk, sizeof chunk);
        WriteText(instance, page, chunk);
    }
}

/* Writes one listing line transformed, composed in pageLine, or in a block of its own
 * size when it is longer (a long listUrl, many escaped characters). */
static void WriteListingLine(NPP instance, NPStream *page, const char *line,
                             const char *listUrl)
{
    int transformed = 0;
    size_t needed = TransformListingLine(line, listUrl, gPlugin.pageLine, PAGE_LINE_BYTES,
                                         &transformed);
    if (needed < PAGE_LINE_BYTES) {
        WriteText(instance, page, gPlugin.pageLine);
        return;
    }
    char *longLine = (char *)malloc(needed + 1);
    if (longLine == NULL) {
        WriteText(instance, page, line);      /* no memory: the line without its checkbox */
        return;
    }
    TransformListingLine(line, listUrl, longLine, needed + 1, &transformed);
    WriteText(instance, page, longLine);
    free(longLine);
}

/* Copies the listing into the page: lines up to and with the first "</embed>" and every
 * line holding "</BODY>" are left out, the others are transformed. The listing is read in
 * pieces of at most LINE_BUFFER_BYTES - 1 characters, each with its line feed if the line
 * fits; a link cut by a piece's end is copied unchanged. */
static void CopyListing(NPP instance, NPStream *page, FILE *listing, const char *listUrl)
{
    char line[LINE_BUFFER_BYTES];
    int embedSeen = 0;
    while (fgets(line, sizeof line, listing) != NULL) {
        if (!embedSeen) {
            embedSeen = strstr(line, EMBED_END_MARK) != NULL;
            continue;
        }
        if (strstr(line, BODY_END_MARK) != NULL)
            continue;
        WriteListingLine(instance, page, line, listUrl);
    }
}

/* Writes the Batch Download Window for the listing copy into a new window ("_blank") and
 * deletes the listing copy. Returns at once, writing and showing nothing, when the listing
 * copy cannot be opened. When the browser gives no page stream, the listing copy is kept,
 * nothing is written and "Unable to open the Batch Download Window" is shown. pageBuilt
 * is set while the page is written. The listing is read through a reader and a line
 * buffer of its own, and listUrl is copied first, so that whatever the browser does inside
 * its calls (a stream end, a new instance) cannot change them under the generator. */
void BuildBatchPage(NPP instance)
{
    char listingPath[QUEUE_PATH_BYTES];
    if (ComposeDirFilePath(LISTING_FILE_NAME, listingPath, sizeof listingPath) != 0)
        return;
    FILE *listing = fopen(listingPath, "r");
    if (listing == NULL)
        return;
    gPlugin.pageBuilt = 1;
    char *listUrl = _strdup(gPlugin.listUrl != NULL ? gPlugin.listUrl : "");
    NPStream *page = NULL;
    NPError result = NPN_NewStream(instance, (NPMIMEType)PAGE_MIME_TYPE, PAGE_TARGET, &page);
    if (result != NPERR_NO_ERROR || page == NULL || listUrl == NULL) {
        if (result == NPERR_NO_ERROR && page != NULL)
            NPN_DestroyStream(instance, page, NPRES_DONE);
        fclose(listing);
        free(listUrl);
        ShowStatus(instance, MSG_NO_WINDOW);
        gPlugin.pageBuilt = 0;
        return;
    }
    WriteText(instance, page, PAGE_HEAD_START);
    WriteEscaped(instance, page, listUrl);
    WriteText(instance, page, PAGE_HEAD_END);
    for (size_t i = 0; pageScriptLines[i][0] != '\0'; i++)
        WriteText(instance, page, pageScriptLines[i]);
    WriteText(instance, page, PAGE_BODY_START);
    CopyListing(instance, page, listing, listUrl);
    fclose(listing);
    remove(listingPath);
    WriteText(instance, page, PAGE_STATUS_EMBED);
    WriteText(instance, page, PAGE_BUTTONS);
    NPN_DestroyStream(instance, page, NPRES_DONE);
    free(listUrl);
    gPlugin.pageBuilt = 0;
}
