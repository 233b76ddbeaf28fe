/* np_interface.h - the browser plug-in interface as the plug-in and our browser host use it:
 * the records passed between browser and plug-in, the two function tables, error and reason
 * codes. Written for this kit from what the plug-in needs; nothing else of the interface. */
#ifndef NP_INTERFACE_H
#define NP_INTERFACE_H

#include <windows.h>
#include <stddef.h>
#include <stdint.h>

#include "jri_interface.h"

typedef unsigned char NPBool;
typedef int16_t       NPError;
typedef int16_t       NPReason;
typedef char         *NPMIMEType;

/* Error codes (NPError). */
#define NPERR_NO_ERROR                    0
#define NPERR_GENERIC_ERROR               1
#define NPERR_INVALID_INSTANCE_ERROR      2
#define NPERR_INVALID_FUNCTABLE_ERROR     3
#define NPERR_MODULE_LOAD_FAILED_ERROR    4
#define NPERR_OUT_OF_MEMORY_ERROR         5
#define NPERR_INVALID_PLUGIN_ERROR        6
#define NPERR_INVALID_PLUGIN_DIR_ERROR    7
#define NPERR_INCOMPATIBLE_VERSION_ERROR  8
#define NPERR_INVALID_PARAM               9
#define NPERR_INVALID_URL                 10
#define NPERR_FILE_NOT_FOUND              11
#define NPERR_NO_DATA                     12
#define NPERR_STREAM_NOT_SEEKABLE         13

/* Why a stream or a notifying request ended (NPReason). */
#define NPRES_DONE          0
#define NPRES_NETWORK_ERR   1
#define NPRES_USER_BREAK    2

/* How an instance is shown. */
#define NP_EMBED  1
#define NP_FULL   2

/* How the plug-in wants a stream delivered. */
#define NP_NORMAL      1
#define NP_SEEK        2
#define NP_ASFILE      3
#define NP_ASFILEONLY  4

/* The interface version this plug-in speaks: major 0, minor 9. */
#define NP_VERSION_MAJOR 0
#define NP_VERSION_MINOR 9
#define NPVERS_HAS_STREAMOUTPUT      8   /* first minor with NPN_NewStream/Write/DestroyStream */
#define NPVERS_HAS_NOTIFICATION      9   /* first minor with URL notification */
#define NPVERS_HAS_LIVECONNECT       9   /* first minor with the Java bridge */

/* One plug-in instance: pdata is the plug-in's, ndata the browser's. */
typedef struct _NPP {
    void *pdata;
    void *ndata;
} NPP_t, *NPP;

typedef struct _NPStream {
    void       *pdata;       /* plug-in's */
    void       *ndata;       /* browser's */
    const char *url;
    uint32_t    end;         /* length in bytes, 0 when unknown */
    uint32_t    lastmodified;
    void       *notifyData;
} NPStream;

typedef struct _NPSavedData {
    int32_t len;
    void   *buf;
} NPSavedData;

typedef struct _NPRect {
    uint16_t top, left, bottom, right;
} NPRect;

typedef struct _NPWindow {
    void    *window;         /* the HWND on Windows */
    int32_t  x, y;
    uint32_t width, height;
    NPRect   clipRect;
} NPWindow;

typedef struct _NPFullPrint {
    NPBool pluginPrinted;    /* set false to let the browser print the page itself */
    NPBool printOne;
    void  *platformPrint;
} NPFullPrint;

typedef struct _NPEmbedPrint {
    NPWindow window;
    void    *platformPrint;
} NPEmbedPrint;

typedef struct _NPPrint {
    uint16_t mode;           /* NP_FULL or NP_EMBED */
    union {
        NPFullPrint  fullPrint;
        NPEmbedPrint embedPrint;
    } print;
} NPPrint;

/* Plug-in callbacks, called through the browser's copy of NPPluginFuncs (C calling convention). */
typedef NPError (*NPP_NewProcPtr)(NPMIMEType pluginType, NPP instance, uint16_t mode,
                                  int16_t argc, char *argn[], char *argv[], NPSavedData *saved);
typedef NPError (*NPP_DestroyProcPtr)(NPP instance, NPSavedData **save);
typedef NPError (*NPP_SetWindowProcPtr)(NPP instance, NPWindow *window);
typedef NPError (*NPP_NewStreamProcPtr)(NPP instance, NPMIMEType type, NPStream *stream,
                                        NPBool seekable, uint16_t *stype);
typedef NPError (*NPP_DestroyStreamProcPtr)(NPP instance, NPStream *stream, NPReason reason);
typedef void    (*NPP_StreamAsFileProcPtr)(NPP instance, NPStream *stream, const char *fname);
typedef int32_t (*NPP_WriteReadyProcPtr)(NPP instance, NPStream *stream);
typedef int32_t (*NPP_WriteProcPtr)(NPP instance, NPStream *stream, int32_t offset,
                                    int32_t len, void *buffer);
typedef void    (*NPP_PrintProcPtr)(NPP instance, NPPrint *platformPrint);
typedef int16_t (*NPP_HandleEventProcPtr)(NPP instance, void *event);
typedef void    (*NPP_URLNotifyProcPtr)(NPP instance, const char *url, NPReason reason,
                                        void *notifyData);

/* The table the browser owns and the plug-in fills (NP_GetEntryPoints, NP_Initialize). */
typedef struct _NPPluginFuncs {
    uint16_t                 size;
    uint16_t                 version;        /* major in the high byte, minor in the low */
    NPP_NewProcPtr           newp;
    NPP_DestroyProcPtr       destroy;
    NPP_SetWindowProcPtr     setwindow;
    NPP_NewStreamProcPtr     newstream;
    NPP_DestroyStreamProcPtr destroystream;
    NPP_StreamAsFileProcPtr  asfile;
    NPP_WriteReadyProcPtr    writeready;
    NPP_WriteProcPtr         write;
    NPP_PrintProcPtr         print;
    NPP_HandleEventProcPtr   event;
    NPP_URLNotifyProcPtr     urlnotify;
    JRIGlobalRef             javaClass;      /* the plug-in's Java class, or null */
} NPPluginFuncs;

/* Browser functions, called by the plug-in through its saved NPNetscapeFuncs. */
typedef NPError  (*NPN_GetURLProcPtr)(NPP instance, const char *url, const char *window);
typedef NPError  (*NPN_PostURLProcPtr)(NPP instance, const char *url, const char *window,
                                       uint32_t len, const char *buf, NPBool file);
typedef NPError  (*NPN_RequestReadProcPtr)(NPStream *stream, void *rangeList);
typedef NPError  (*NPN_NewStreamProcPtr)(NPP instance, NPMIMEType type, const char *window,
                                         NPStream **stream);
typedef int32_t  (*NPN_WriteProcPtr)(NPP instance, NPStream *stream, int32_t len, void *buffer);
typedef NPError  (*NPN_DestroyStreamProcPtr)(NPP instance, NPStream *stream, NPReason reason);
typedef void     (*NPN_StatusProcPtr)(NPP instance, const char *message);
typedef const char *(*NPN_UserAgentProcPtr)(NPP instance);
typedef void    *(*NPN_MemAllocProcPtr)(uint32_t size);
typedef void     (*NPN_MemFreeProcPtr)(void *ptr);
typedef uint32_t (*NPN_MemFlushProcPtr)(uint32_t size);
typedef void     (*NPN_ReloadPluginsProcPtr)(NPBool reloadPages);
typedef JRIEnv  *(*NPN_GetJavaEnvProcPtr)(void);
typedef jref     (*NPN_GetJavaPeerProcPtr)(NPP instance);
typedef NPError  (*NPN_GetURLNotifyProcPtr)(NPP instance, const char *url, const char *window,
                                            void *notifyData);
typedef NPError  (*NPN_PostURLNotifyProcPtr)(NPP instance, const char *url, const char *window,
                                             uint32_t len, const char *buf, NPBool file,
                                             void *notifyData);

typedef struct _NPNetscapeFuncs {
    uint16_t                 size;
    uint16_t                 version;        /* major in the high byte, minor in the low */
    NPN_GetURLProcPtr        geturl;
    NPN_PostURLProcPtr       posturl;
    NPN_RequestReadProcPtr   requestread;
    NPN_NewStreamProcPtr     newstream;
    NPN_WriteProcPtr         write;
    NPN_DestroyStreamProcPtr destroystream;
    NPN_StatusProcPtr        status;
    NPN_UserAgentProcPtr     uagent;
    NPN_MemAllocProcPtr      memalloc;
    NPN_MemFreeProcPtr       memfree;
    NPN_MemFlushProcPtr      memflush;
    NPN_ReloadPluginsProcPtr reloadplugins;
    NPN_GetJavaEnvProcPtr    getJavaEnv;
    NPN_GetJavaPeerProcPtr   getJavaPeer;
    NPN_GetURLNotifyProcPtr  geturlnotify;
    NPN_PostURLNotifyProcPtr posturlnotify;
} NPNetscapeFuncs;

/* The three entry points the browser finds by name (Windows calling convention). */
typedef NPError (WINAPI *NP_GetEntryPointsFunc)(NPPluginFuncs *pFuncs);
typedef NPError (WINAPI *NP_InitializeFunc)(NPNetscapeFuncs *pFuncs);
typedef NPError (WINAPI *NP_ShutdownFunc)(void);

#if defined(__cplusplus) && defined(__i386__)
/* The 32-bit layouts the browser sees. */
static_assert(sizeof(NPP_t) == 8, "NPP_t");
static_assert(sizeof(NPStream) == 24, "NPStream");
static_assert(offsetof(NPStream, url) == 8 && offsetof(NPStream, notifyData) == 20, "NPStream members");
static_assert(sizeof(NPSavedData) == 8, "NPSavedData");
static_assert(sizeof(NPWindow) == 28, "NPWindow");
static_assert(offsetof(NPPrint, print) == 4, "NPPrint union at 4");
static_assert(offsetof(NPPluginFuncs, version) == 2, "plug-in table: version");
static_assert(offsetof(NPPluginFuncs, newp) == 4, "plug-in table: newp");
static_assert(offsetof(NPPluginFuncs, destroy) == 8, "plug-in table: destroy");
static_assert(offsetof(NPPluginFuncs, setwindow) == 12, "plug-in table: setwindow");
static_assert(offsetof(NPPluginFuncs, newstream) == 16, "plug-in table: newstream");
static_assert(offsetof(NPPluginFuncs, destroystream) == 20, "plug-in table: destroystream");
static_assert(offsetof(NPPluginFuncs, asfile) == 24, "plug-in table: asfile");
static_assert(offsetof(NPPluginFuncs, writeready) == 28, "plug-in table: writeready");
static_assert(offsetof(NPPluginFuncs, write) == 32, "plug-in table: write");
static_assert(offsetof(NPPluginFuncs, print) == 36, "plug-in table: print");
static_assert(offsetof(NPPluginFuncs, event) == 40, "plug-in table: event");
static_assert(offsetof(NPPluginFuncs, urlnotify) == 44, "plug-in table: urlnotify");
static_assert(offsetof(NPPluginFuncs, javaClass) == 48, "plug-in table: javaClass");
static_assert(sizeof(NPPluginFuncs) == 52, "plug-in table size");
static_assert(offsetof(NPNetscapeFuncs, version) == 2, "browser table: version");
static_assert(offsetof(NPNetscapeFuncs, geturl) == 4, "browser table: geturl");
static_assert(offsetof(NPNetscapeFuncs, newstream) == 16, "browser table: newstream");
static_assert(offsetof(NPNetscapeFuncs, write) == 20, "browser table: write");
static_assert(offsetof(NPNetscapeFuncs, destroystream) == 24, "browser table: destroystream");
static_assert(offsetof(NPNetscapeFuncs, memalloc) == 36, "browser table: memalloc");
static_assert(offsetof(NPNetscapeFuncs, memfree) == 40, "browser table: memfree");
static_assert(offsetof(NPNetscapeFuncs, getJavaEnv) == 52, "browser table: getJavaEnv");
static_assert(offsetof(NPNetscapeFuncs, getJavaPeer) == 56, "browser table: getJavaPeer");
static_assert(sizeof(NPNetscapeFuncs) == 68, "browser table size");
#endif

#endif /* NP_INTERFACE_H */
