/* browser_host.h - the browser host's records (loaded plug-ins, instances, windows, the
 * work queue) and the procedures its files call across each other */
#ifndef BROWSER_HOST_H
#define BROWSER_HOST_H

#include <windows.h>

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "browser_options.h"
#include "html_page.h"
#include "np_interface.h"
#include "plugin_finder.h"

#define BROWSER_USER_AGENT  "Mozilla/3.01 (Win95; I) plugin_browser"
#define BROWSER_PREFIX      "[browser] "       /* the host's own report lines */
#define PAGE_WINDOW_WIDTH   760                /* client width of every page window */
#define MAX_VISIBLE_BOXES   16                 /* checkboxes shown as controls; the rest are counted */

/* One loaded plug-in DLL. */
struct PluginModule {
    std::string path;
    HMODULE library;
    NPPluginFuncs funcs;        /* the browser-owned table the plug-in filled */
    bool nativesRegistered;     /* register_Simple was called and returned the class */
};

struct PageWindow;

/* One plug-in instance, with the storage of its parameters and its window. */
struct HostInstance {
    NPP_t npp;
    PluginModule *module;
    PageWindow *page;                 /* the window whose document holds it */
    std::string mimeType;
    std::string name;                 /* NAME parameter: how the page's script reaches it */
    std::vector<std::string> argNames, argValues;
    std::vector<char *> argn, argv;   /* point into argNames/argValues */
    HWND hwnd;                        /* the child window given in NPP_SetWindow */
    NPWindow npWindow;
    jref peer;                        /* Java peer, made on the first NPN_GetJavaPeer */
    bool alive;                       /* between NPP_New and NPP_Destroy */
};

/* One browser window and its document. */
struct PageWindow {
    std::string url;                  /* the document's address (the opener's for "_blank") */
    std::string base;                 /* what relative URLs resolve against */
    std::string mimeType;             /* of the document */
    std::string html;                 /* the document's text, as written or fetched */
    bool fromPlugin;                  /* written by a plug-in through NPN_NewStream */
    bool complete;                    /* its stream ended (or it was fetched whole) */
    HtmlPage model;
    HWND hwnd;
    std::vector<HWND> boxControls;    /* the first MAX_VISIBLE_BOXES checkboxes */
    std::vector<bool> checked;        /* every checkbox of model */
    std::vector<std::string> adata;   /* the page script's ticked names, slot 1 first */
    std::string status;               /* window.status as the page's script sets it */
    int nextY;                        /* where the next control goes */
};

/* A stream a plug-in writes into a window (NPN_NewStream). */
struct OutStream {
    NPStream stream;
    PageWindow *page;
    HostInstance *writer;
    bool open;
};

enum TaskKind {
    TASK_FETCH,          /* fetch url and deliver it to instance as a stream */
    TASK_CREATE_EMBEDS,  /* create the instances of page's embeds */
    TASK_PAGE_ACTIONS    /* act for the user on page: ticks, "ADD TO BATCH", "BATCH DOWNLOAD" */
};

struct Task {
    TaskKind kind;
    HostInstance *instance;
    PageWindow *page;
    std::string url;
    bool notify;
    void *notifyData;
};

/* The whole browser: one per process. */
struct BrowserHost {
    BrowserOptions opts;
    std::vector<PluginInfo> plugins;
    std::vector<std::unique_ptr<PluginModule>> modules;
    NPNetscapeFuncs navigatorFuncs;
    std::vector<std::unique_ptr<HostInstance>> instances;
    std::vector<std::unique_ptr<PageWindow>> pages;
    std::vector<std::unique_ptr<OutStream>> outStreams;
    std::deque<Task> tasks;
    std::vector<void *> memBlocks;    /* NPN_MemAlloc blocks not yet freed */
    std::string cacheFolder;          /* ends in "\CACHE\" */
    unsigned cacheSerial;
    int faults;                       /* misuse of the browser interface seen */
    int failures;                     /* transfers and actions that failed */
    int pagesSaved;
    bool actionsDone;
    int requests;                     /* GETs made for instances */
    long long bytesDelivered;         /* bytes handed to instances in NPP_Write */
};

extern BrowserHost gHost;

/* Reports a line on standard output, prefixed with BROWSER_PREFIX. */
void Report(const char *format, ...);
/* Reports a misuse of the browser interface on standard error and counts it. */
void Fault(const char *format, ...);

/* browser_funcs.cpp: the browser table handed to NP_Initialize. Cannot fail. */
void FillNavigatorFuncs(NPNetscapeFuncs *funcs, uint16_t version);
/* The host instance behind npp, or null when npp is not a live instance of ours. */
HostInstance *FindInstance(NPP npp);
/* Memory the plug-in allocated and did not free; the blocks are freed. */
int ReleaseLeakedBlocks(void);

/* plugin_module.cpp */
/* The loaded module of info (loading it on first use: NP_GetEntryPoints, NP_Initialize,
 * natives registered as the options say). Null after reporting why it failed. */
PluginModule *LoadPluginModule(const PluginInfo &info);
/* NP_Shutdown and unload of every loaded module. Cannot fail. */
void UnloadPluginModules(void);

/* host_instances.cpp */
/* Creates an instance of module for page in a new child window of size w x h at the
 * page's next place (NPP_New, then NPP_SetWindow). Returns it, or null after reporting
 * NPP_New's error. */
HostInstance *CreateInstance(PluginModule *module, PageWindow *page, const std::string &mimeType, uint16_t mode,
                             const std::vector<HtmlAttribute> &params, int w, int h);
/* Creates the instances of every embed of page whose type a plug-in declares. */
void CreateEmbeds(PageWindow *page);
/* NPP_Destroy of every live instance, newest first. Cannot fail. */
void DestroyInstances(void);

/* page_window.cpp */
/* A new page record (no window yet). */
PageWindow *NewPage(const std::string &url, const std::string &mimeType, bool fromPlugin);
/* Parses the page's document and shows it: a top-level window titled after it with its
 * checkboxes and buttons; embeds are placed by CreateInstance. */
void ShowPage(PageWindow *page);
/* A child window of page for a plug-in instance, w x h, placed below what is there. */
HWND CreateEmbedWindow(PageWindow *page, int w, int h);
/* Registers the window classes. Returns false after reporting why not. */
bool RegisterWindowClasses(void);
/* Repaints every window now and dispatches what is waiting. Cannot fail. */
void PumpMessages(void);
/* Saves page's window (client area) as a 24-bit BMP. Returns false after reporting. */
bool SaveScreenshot(PageWindow *page, const std::string &path);
/* Shows a checkbox's state in its control, if it has one. */
void ShowCheckbox(PageWindow *page, size_t index);

/* stream_delivery.cpp */
/* Creates the cache folder. Returns false after reporting. */
bool PrepareCache(void);
/* Removes the cache folder if the host made it. Cannot fail. */
void RemoveCache(void);
/* True while a stream is being delivered. */
bool DeliveryActive(void);
/* Delivers the next piece of the current stream, or ends it. */
void DeliveryStep(void);
/* Fetches url for instance; the answer becomes a stream (see the file's notes). */
void StartFetch(HostInstance *instance, const std::string &url, bool notify, void *notifyData);
/* Delivers an exchange already opened with HttpOpen (the document of a full-page instance). */
void StartDeliveryOfOpened(HostInstance *instance, const std::string &url, const std::string &mimeType,
                           long long contentLength);
/* Ends the current delivery with reason because the plug-in asked (NPN_DestroyStream). */
bool CancelDelivery(NPStream *stream, NPReason reason);

/* page_actions.cpp */
/* Acts on page for the user, as the options say. Returns false when an action could not
 * be carried out (reported). */
bool RunPageActions(PageWindow *page);

#endif /* BROWSER_HOST_H */
