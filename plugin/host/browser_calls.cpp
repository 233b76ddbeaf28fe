/* browser_calls.cpp - every call the plug-in makes into the browser, through the table the
 * browser gave NP_Initialize, gated on the browser's minor version where the call is newer
 * than the oldest browser we accept. */
#include "plugin_api.h"

/* The browser function, or null when there is no table (before NP_Initialize, after
 * NP_Shutdown) or the browser left that member empty: the wrappers then answer as a
 * failed call instead of jumping through null. */
#define BROWSER_FUNC(member) \
    (gPlugin.navigatorFuncs != NULL ? gPlugin.navigatorFuncs->member : NULL)

/* Whether the browser's minor version has stream output. Cannot fail. */
static int HasStreamOutput(void)
{
    return gPlugin.navigatorFuncs != NULL &&
           (gPlugin.navigatorFuncs->version & 0xFF) >= NPVERS_HAS_STREAMOUTPUT;
}

/* Asks the browser to fetch a URL into the given target (null: as a stream to the
 * instance). Returns the browser's answer; NPERR_INVALID_FUNCTABLE_ERROR without a table. */
NPError NPN_GetURL(NPP instance, const char *url, const char *window)
{
    NPN_GetURLProcPtr call = BROWSER_FUNC(geturl);
    if (call == NULL)
        return NPERR_INVALID_FUNCTABLE_ERROR;
    return call(instance, url, window);
}

/* Opens a stream from the plug-in to a browser window. Returns the browser's answer;
 * NPERR_INCOMPATIBLE_VERSION_ERROR for a browser before minor 8 (not called);
 * NPERR_INVALID_FUNCTABLE_ERROR without a table. *stream is untouched when not called. */
NPError NPN_NewStream(NPP instance, NPMIMEType type, const char *window, NPStream **stream)
{
    if (gPlugin.navigatorFuncs != NULL && !HasStreamOutput())
        return NPERR_INCOMPATIBLE_VERSION_ERROR;
    NPN_NewStreamProcPtr call = BROWSER_FUNC(newstream);
    if (call == NULL)
        return NPERR_INVALID_FUNCTABLE_ERROR;
    return call(instance, type, window, stream);
}

/* Writes bytes to a stream opened by NPN_NewStream. Returns the browser's count; -1 for a
 * browser before minor 8 or without a table (not called). */
int32_t NPN_Write(NPP instance, NPStream *stream, int32_t len, void *buffer)
{
    if (!HasStreamOutput())
        return -1;
    NPN_WriteProcPtr call = BROWSER_FUNC(write);
    if (call == NULL)
        return -1;
    return call(instance, stream, len, buffer);
}

/* Closes a stream with a reason. Returns the browser's answer;
 * NPERR_INCOMPATIBLE_VERSION_ERROR for a browser before minor 8 (not called);
 * NPERR_INVALID_FUNCTABLE_ERROR without a table. */
NPError NPN_DestroyStream(NPP instance, NPStream *stream, NPReason reason)
{
    if (gPlugin.navigatorFuncs != NULL && !HasStreamOutput())
        return NPERR_INCOMPATIBLE_VERSION_ERROR;
    NPN_DestroyStreamProcPtr call = BROWSER_FUNC(destroystream);
    if (call == NULL)
        return NPERR_INVALID_FUNCTABLE_ERROR;
    return call(instance, stream, reason);
}

/* Returns a block of size bytes from the browser's allocator, or null (also without a
 * table). */
void *NPN_MemAlloc(uint32_t size)
{
    NPN_MemAllocProcPtr call = BROWSER_FUNC(memalloc);
    return call != NULL ? call(size) : NULL;
}

/* Gives a block back to the browser's allocator; without a table the block is kept. */
void NPN_MemFree(void *ptr)
{
    NPN_MemFreeProcPtr call = BROWSER_FUNC(memfree);
    if (call != NULL)
        call(ptr);
}

/* Returns the browser's Java environment, or null (none, or no table). */
JRIEnv *NPN_GetJavaEnv(void)
{
    NPN_GetJavaEnvProcPtr call = BROWSER_FUNC(getJavaEnv);
    return call != NULL ? call() : NULL;
}

/* Returns the instance's Java peer object, or null (none, or no table). */
jref NPN_GetJavaPeer(NPP instance)
{
    NPN_GetJavaPeerProcPtr call = BROWSER_FUNC(getJavaPeer);
    return call != NULL ? call(instance) : NULL;
}
