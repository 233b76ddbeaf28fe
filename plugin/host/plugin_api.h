/* plugin_api.h - the procedures the parts of the plug-in call across each other: the
 * browser callbacks, the browser-call wrappers, the three report channels, the batch
 * operations, and the Java glue the natives use. */
#ifndef PLUGIN_API_H
#define PLUGIN_API_H

#include "plugin_state.h"

/* Browser entry points (exported by name). */
extern "C" NPError WINAPI NP_GetEntryPoints(NPPluginFuncs *pFuncs);
extern "C" NPError WINAPI NP_Initialize(NPNetscapeFuncs *pFuncs);
extern "C" NPError WINAPI NP_Shutdown(void);

/* Initialisation hooks. */
NPError NPP_Initialize(void);
void    NPP_Shutdown(void);

/* Instance callbacks. */
NPError NPP_New(NPMIMEType pluginType, NPP instance, uint16_t mode, int16_t argc,
                char *argn[], char *argv[], NPSavedData *saved);
NPError NPP_Destroy(NPP instance, NPSavedData **save);
NPError NPP_SetWindow(NPP instance, NPWindow *window);
int32_t NPP_WriteReady(NPP instance, NPStream *stream);
void    NPP_Print(NPP instance, NPPrint *platformPrint);

/* Stream callbacks. */
NPError NPP_NewStream(NPP instance, NPMIMEType type, NPStream *stream, NPBool seekable,
                      uint16_t *stype);
int32_t NPP_Write(NPP instance, NPStream *stream, int32_t offset, int32_t len, void *buffer);
void    NPP_StreamAsFile(NPP instance, NPStream *stream, const char *fname);
NPError NPP_DestroyStream(NPP instance, NPStream *stream, NPReason reason);
void    NPP_URLNotify(NPP instance, const char *url, NPReason reason, void *notifyData);

/* The Java class handed to the browser, or null. */
jref    NPP_GetJavaClass(void);

/* Calls into the browser, through gPlugin.navigatorFuncs. */
NPError NPN_GetURL(NPP instance, const char *url, const char *window);
NPError NPN_NewStream(NPP instance, NPMIMEType type, const char *window, NPStream **stream);
int32_t NPN_Write(NPP instance, NPStream *stream, int32_t len, void *buffer);
NPError NPN_DestroyStream(NPP instance, NPStream *stream, NPReason reason);
void   *NPN_MemAlloc(uint32_t size);
void    NPN_MemFree(void *ptr);
JRIEnv *NPN_GetJavaEnv(void);
jref    NPN_GetJavaPeer(NPP instance);

/* Report channels. */
void ShowStatus(NPP instance, const char *text);
void ConsoleMessage(NPP instance, const char *text, int32_t length);
void LogActivity(const char *text);
LRESULT CALLBACK StatusWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

/* Batch download. */
void StartBatch(NPP instance);
void AdvanceQueue(NPP instance);
int  BeginBatch(NPP instance, const char *missingQueueText);
void FetchNextEntry(NPP instance);
void MakeLocalPath(const char *name, char *output, size_t outputBytes);
void BuildBatchPage(NPP instance);
int32_t WriteText(NPP instance, NPStream *stream, const char *text);

/* Java glue used inside the plug-in (exported, C names). */
extern "C" {
void Simple_doit(JRIEnv *env, jref self, jref message);
jint netscape_plugin_Plugin_getPeer(JRIEnv *env, jref self);
}

#endif /* PLUGIN_API_H */
