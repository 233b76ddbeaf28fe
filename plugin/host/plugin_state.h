/* plugin_state.h - the plug-in's process-wide state (PluginGlobals), the per-instance
 * window binding (InstanceData) and the plug-in's constants. Every part of the plug-in
 * works on these records; the browser calls us one call at a time, so nothing locks. */
#ifndef PLUGIN_STATE_H
#define PLUGIN_STATE_H

#include <windows.h>
#include <stdio.h>
#include <stdint.h>

#include "np_interface.h"

/* Buffer sizes in bytes, terminating NUL included. */
#define LINE_BUFFER_BYTES    200   /* lineBuffer: a line read from a text file, a URL */
#define DOWNLOAD_DIR_BYTES   100   /* downloadDir */
#define QUEUE_PATH_BYTES     200   /* queuePath */
#define PAGE_LINE_BYTES      500   /* pageLine: a line of the Batch Download Window */
#define HREF_BUFFER_BYTES    500   /* hrefBuffer: a link target copied from the listing */
#define STATUS_TEXT_BYTES    300   /* statusText: the one status line */
#define LOG_LINE_BYTES       200   /* one line of the activity log, line break included */
#define LOCAL_PATH_BYTES     MAX_PATH  /* a downloaded file's local path (batch/ only) */

/* Constants of the plug-in. */
#define PLUGIN_VERSION           "0.6b"
#define PLUGIN_VERSION_NUMBER    0.6   /* numeric value of PLUGIN_VERSION */
#define BANNER_FORMAT            "* * * Torvane Plugin - NPTORV32.dll vs %s * * *"
#define SETTINGS_FILE            "\\brenmar.ini"
#define DEFAULT_DOWNLOAD_DIR     "\\download\\"
#define WINDOW_PROPERTY_NAME     "instance->pdata"
#define ACTIVITY_LOG_FILE        "\\status.txt"
#define QUEUE_FILE_NAME          "brenmar.txt"
#define LISTING_FILE_NAME        "brenmar.tmp"
#define PLUGIN_MIME_TYPE         "application/tvn"

#define DEFAULT_BACKGROUND_COLOR 0x00C8D0D8   /* red 216, green 208, blue 200 */
#define WRITE_READY_SIZE         0x0FFFFFFF   /* constant answer of NPP_WriteReady */

/* The process-wide state: one per loaded DLL, shared by every instance. */
typedef struct PluginGlobals {
    NPNetscapeFuncs *navigatorFuncs;  /* browser table, saved by NP_Initialize */
    NPPluginFuncs   *pluginFuncs;     /* plug-in table, saved by NP_GetEntryPoints */
    JRIEnv          *javaEnv;         /* null: no Java bridge, instances stay inert */
    int32_t  startupDone;             /* the once-per-load start-up of NPP_New has run */
    int32_t  pageMode;                /* latest instance was created with URL */
    int32_t  inWindow;                /* latest instance was created with INWINDOW */
    char    *listUrl;                 /* heap copy of the URL parameter, or null */
    COLORREF backgroundColor;         /* fill and text background of every plug-in window */
    int32_t  writeReadySize;          /* answer of NPP_WriteReady */
    int32_t  filesRequested;          /* 0: no batch fetching; else entries handled so far */
    int32_t  outputOpen;              /* an output file is open for the current stream */
    int32_t  queueCount;              /* entries counted in the queue, or just added to it */
    int32_t  bytesReceived;           /* bytes passed to NPP_Write since the last reset */
    double   serverVersion;           /* version read from the queue's latest header line */
    int32_t  startingBatch;           /* the page's getIt native is starting a batch */
    int32_t  pageBuilt;               /* the Batch Download Window is being written */
    FILE    *listingReader;           /* listing copy open for the getString native */
    FILE    *queueReader;             /* listing copy while the page is written; queue file
                                         from the start of a batch to its end */
    int      outputHandle;            /* low-level handle of the current output file */
    char     lineBuffer[LINE_BUFFER_BYTES];
    char     downloadDir[DOWNLOAD_DIR_BYTES];   /* always ends in "\" once set */
    char     queuePath[QUEUE_PATH_BYTES];
    char     pageLine[PAGE_LINE_BYTES];
    char     hrefBuffer[HREF_BUFFER_BYTES];
    char    *linkTagPos;              /* where the link tag starts in lineBuffer */
    char    *scanPtr;                 /* scratch position in hrefBuffer or pageLine */
    char     statusText[STATUS_TEXT_BYTES];

    /* Private to the downloader (batch/, java/page_natives, host/instance_*): what keeps a
     * batch's files whole and its streams apart from other documents. Not seen by the
     * browser or by any file. */
    NPP      batchInstance;           /* instance whose requests the fetching batch awaits */
    int32_t  awaitingStream;          /* a batch request is out; its stream has not begun */
    int32_t  batchTotal;              /* the number N announced for the running batch */
    int32_t  outputKind;              /* what the open output file is (OUTPUT_* in batch/) */
    int32_t  outputFailed;            /* a write to the current output file failed */
    char     downloadUrl[LINE_BUFFER_BYTES];  /* URL of the download being received */
    char     downloadPath[LOCAL_PATH_BYTES];  /* its final path; written under a temporary
                                                 name until its stream ends complete */
    int32_t  streamEndDeferred;       /* a stream ended while startingBatch was set */
    NPP      deferredInstance;        /* ... for this instance */
    NPReason deferredReason;          /* ... with this reason */
} PluginGlobals;

extern PluginGlobals gPlugin;

/* The record as it stands right after the DLL is loaded. Cannot fail. */
PluginGlobals PluginGlobalsAtLoad(void);

/* One per instance, from the browser's allocator; attached to its bound window as the
 * property WINDOW_PROPERTY_NAME. */
typedef struct InstanceData {
    NPWindow *npWindow;         /* record of the current binding; kept when unbound */
    uint16_t  mode;             /* NP_EMBED or NP_FULL, for reference only */
    HWND      hwnd;             /* the subclassed window, or null */
    WNDPROC   previousWndProc;  /* the procedure the subclassing replaced, or null */
    HBRUSH    backgroundBrush;  /* solid brush of backgroundColor made at binding */
} InstanceData;

#endif /* PLUGIN_STATE_H */
