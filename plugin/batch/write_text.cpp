/* write_text.cpp - writes one whole text to a browser stream. */
#include "batch_engine.h"

#include <string.h>

/* Passes text to NPN_Write with its length and no terminating NUL; when the browser takes
 * only part of it, the rest is passed again until all is taken or the browser takes
 * nothing (0 or a negative count). Returns the count taken in all, or the browser's
 * negative answer when it took nothing; 0 without a call for a null or empty text. */
int32_t WriteText(NPP instance, NPStream *stream, const char *text)
{
    if (text == NULL || text[0] == '\0')
        return 0;
    int32_t left = (int32_t)strlen(text);
    int32_t taken = 0;
    while (left > 0) {
        int32_t count = NPN_Write(instance, stream, left, (void *)(text + taken));
        if (count <= 0)
            return taken > 0 ? taken : count;
        if (count > left)
            count = left;
        taken += count;
        left -= count;
    }
    return taken;
}
