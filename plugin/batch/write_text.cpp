/* write_text.cpp - writes one whole text to a browser stream. */
#include "batch_engine.h"

#include <string.h>

/* Passes text to NPN_Write with its length and no terminating NUL. Returns the browser's
 * count; 0 without writing for a null or empty text. */
int32_t WriteText(NPP instance, NPStream *stream, const char *text)
{
    if (text == NULL || text[0] == '\0')
        return 0;
    return NPN_Write(instance, stream, (int32_t)strlen(text), (void *)text);
}
