/* np_entry_points.cpp - the three entry points the browser finds by name: hand over the
 * plug-in's callbacks, keep the browser's table, bind Java, and let go at unload. */
#include "plugin_api.h"

/* The browser's version word: major version in the high byte, minor in the low. */
#define VERSION_MAJOR(word)  (((word) >> 8) & 0xFF)
#define VERSION_MINOR(word)  ((word) & 0xFF)

/* Fills the browser-owned plug-in table in place (all but urlnotify and javaClass, which
 * wait for the browser's version) and keeps its address for NP_Initialize. The size
 * member is neither read nor written.
 * Returns NPERR_NO_ERROR, or NPERR_INVALID_FUNCTABLE_ERROR for a null table (nothing
 * changed). */
extern "C" NPError WINAPI NP_GetEntryPoints(NPPluginFuncs *pFuncs)
{
    if (pFuncs == NULL)
        return NPERR_INVALID_FUNCTABLE_ERROR;
    pFuncs->version = (NP_VERSION_MAJOR << 8) | NP_VERSION_MINOR;
    pFuncs->newp = NPP_New;
    pFuncs->destroy = NPP_Destroy;
    pFuncs->setwindow = NPP_SetWindow;
    pFuncs->newstream = NPP_NewStream;
    pFuncs->destroystream = NPP_DestroyStream;
    pFuncs->asfile = NPP_StreamAsFile;
    pFuncs->writeready = NPP_WriteReady;
    pFuncs->write = NPP_Write;
    pFuncs->print = NPP_Print;
    pFuncs->event = NULL;                 /* the plug-in handles no platform events */
    gPlugin.pluginFuncs = pFuncs;
    return NPERR_NO_ERROR;
}

/* Completes the plug-in table for a browser with URL notification and Java: the
 * notification callback and a global reference to the class Simple (null when the
 * plug-in runs without its Java bridge). Cannot fail. */
static void CompletePluginTable(NPPluginFuncs *table)
{
    table->urlnotify = NPP_URLNotify;
    table->javaClass = NULL;
    jref javaClass = NPP_GetJavaClass();
    if (javaClass == NULL)
        return;
    /* The reference is made through the environment the browser gives now; the browser
     * owns it from here, the plug-in never releases it. */
    JRIEnv *env = NPN_GetJavaEnv();
    if (env != NULL)
        table->javaClass = (*env)->NewGlobalRef(env, JRI_OP_NewGlobalRef, javaClass);
}

/* Keeps the browser's table (also when its version is refused) and, for a browser of
 * minor version 9 or more, completes the plug-in table and binds the Java classes.
 * Called before NP_GetEntryPoints there is no plug-in table to complete: the plug-in
 * then runs without its Java bridge, as with an older browser.
 * Returns NPERR_NO_ERROR; NPERR_INVALID_FUNCTABLE_ERROR for a null table (nothing
 * changed); NPERR_INCOMPATIBLE_VERSION_ERROR for a major version other than 0. */
extern "C" NPError WINAPI NP_Initialize(NPNetscapeFuncs *pFuncs)
{
    if (pFuncs == NULL)
        return NPERR_INVALID_FUNCTABLE_ERROR;
    gPlugin.navigatorFuncs = pFuncs;
    if (VERSION_MAJOR(pFuncs->version) != NP_VERSION_MAJOR)
        return NPERR_INCOMPATIBLE_VERSION_ERROR;
    if (VERSION_MINOR(pFuncs->version) >= NPVERS_HAS_NOTIFICATION && gPlugin.pluginFuncs != NULL)
        CompletePluginTable(gPlugin.pluginFuncs);
    return NPP_Initialize();
}

/* Releases the Java bindings and forgets the browser's table: no browser call can be
 * made after this. Returns NPERR_NO_ERROR; cannot fail. */
extern "C" NPError WINAPI NP_Shutdown(void)
{
    NPP_Shutdown();
    gPlugin.navigatorFuncs = NULL;
    return NPERR_NO_ERROR;
}
