/* queue_append.cpp - adds one file address to the queue file unless it is there already. */
#include "batch_engine.h"

#include <string.h>

/* Returns 1 when url can stand as one entry of the queue: it fits a queue line, holds no
 * "<" (which marks the whole queue as an HTML page) and no control character (a line
 * break would split it), and does not begin with "*" (a header line). */
static int IsQueueableUrl(const char *url)
{
    if (strlen(url) > LINE_BUFFER_BYTES - 1 || url[0] == '*')
        return 0;
    for (const char *p = url; *p != '\0'; p++)
        if (*p == '<' || (unsigned char)*p < 0x20 || *p == 0x7F)
            return 0;
    return 1;
}

/* Returns 1 when the file at path is not empty and does not end with a line feed (an
 * "application/tvn" document may end without one): the next entry needs one first. */
static int NeedsLineBreak(const char *path)
{
    FILE *file = fopen(path, "rb");
    if (file == NULL)
        return 0;
    int last = EOF;
    if (fseek(file, -1, SEEK_END) == 0)
        last = fgetc(file);
    fclose(file);
    return last != EOF && last != '\n';
}

/* Returns QUEUE_ADD_DUPLICATE when a line of the queue file equals url byte for byte
 * (nothing written), QUEUE_ADD_REFUSED for an address the queue cannot hold (nothing
 * written), QUEUE_ADD_FAILED when the queue file cannot be created or written, else
 * appends url and a line break (the file is created when missing) and returns
 * QUEUE_ADD_ADDED. */
int AppendToQueue(const char *url)
{
    if (url == NULL || !IsQueueableUrl(url))
        return QUEUE_ADD_REFUSED;
    char path[QUEUE_PATH_BYTES];
    if (ComposeDirFilePath(QUEUE_FILE_NAME, path, sizeof path) != 0)
        return QUEUE_ADD_FAILED;
    FILE *queue = fopen(path, "r");
    if (queue != NULL) {
        char line[NATIVE_LINE_BYTES];
        for (;;) {
            QueueLine read = ReadQueueLine(queue, line, sizeof line);
            if (!read.gotLine)
                break;
            if (!read.tooLong && strcmp(line, url) == 0) {
                fclose(queue);
                return QUEUE_ADD_DUPLICATE;
            }
        }
        fclose(queue);
    }
    int lineBreakFirst = NeedsLineBreak(path);
    queue = fopen(path, "a");
    if (queue == NULL)
        return QUEUE_ADD_FAILED;
    int ok = fprintf(queue, "%s%s\n", lineBreakFirst ? "\n" : "", url) > 0;
    if (fclose(queue) != 0)
        ok = 0;
    return ok ? QUEUE_ADD_ADDED : QUEUE_ADD_FAILED;
}
