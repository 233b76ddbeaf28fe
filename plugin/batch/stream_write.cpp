/* stream_write.cpp - stores the bytes of a stream in its output file as they arrive. */
#include "batch_engine.h"

#include <io.h>

/* Adds len to bytesReceived and writes the bytes to the output file, whatever the offset.
 * Bytes of a refused stream are taken and dropped, and not counted. A failed or short
 * write marks the output failed, so a download cut short is never stored as complete.
 * Returns len (0 for a negative length): the plug-in always takes the whole piece. */
int32_t NPP_Write(NPP instance, NPStream *stream, int32_t offset, int32_t len, void *buffer)
{
    (void)instance;
    (void)offset;
    if (len <= 0)
        return 0;
    if (StreamIsRefused(stream))
        return len;
    /* Counted modulo 2^32 like the browser's own 32-bit counts, never overflowing. */
    gPlugin.bytesReceived = (int32_t)((uint32_t)gPlugin.bytesReceived + (uint32_t)len);
    if (!gPlugin.outputOpen || gPlugin.outputHandle < 0 || buffer == NULL)
        return len;
    const char *bytes = (const char *)buffer;
    int32_t left = len;
    while (left > 0) {
        int written = _write(gPlugin.outputHandle, bytes, (unsigned)left);
        if (written <= 0) {
            gPlugin.outputFailed = 1;
            break;
        }
        bytes += written;
        left -= written;
    }
    return len;
}
