/* browser_funcs.cpp - the browser side of the plug-in interface: every NPN_ function the
 * host hands the plug-in in its table, with the checks a careful browser makes */
#include "browser_host.h"

#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>

#include <algorithm>

#include "browser_url.h"
#include "java_runtime.h"

BrowserHost gHost;

/* Writes one line to out: lead, then the formatted text. */
static void WriteLine(FILE *out, const char *lead, const char *format, va_list ap)
{
    char text[1024];
    vsnprintf(text, sizeof text, format, ap);
    fprintf(out, "%s%s%s\n", BROWSER_PREFIX, lead, text);
    fflush(out);
}

void Report(const char *format, ...)
{
    va_list ap;
    va_start(ap, format);
    WriteLine(stdout, "", format, ap);
    va_end(ap);
}

void Fault(const char *format, ...)
{
    va_list ap;
    va_start(ap, format);
    WriteLine(stderr, "fault: ", format, ap);
    va_end(ap);
    gHost.faults++;
}

HostInstance *FindInstance(NPP npp)
{
    for (auto &hi : gHost.instances)
        if (&hi->npp == npp && hi->alive)
            return hi.get();
    return nullptr;
}

static OutStream *FindOutStream(NPStream *stream)
{
    for (auto &out : gHost.outStreams)
        if (&out->stream == stream)
            return out.get();
    return nullptr;
}

/* Queues a fetch of url (resolved against the instance's page) for the message loop. */
static NPError QueueFetch(NPP instance, const char *url, const char *window, bool notify, void *notifyData,
                          const char *what)
{
    HostInstance *hi = FindInstance(instance);
    if (hi == nullptr) {
        Fault("%s: %p is no live instance", what, (void *)instance);
        return NPERR_INVALID_INSTANCE_ERROR;
    }
    if (url == nullptr) {
        Fault("%s: null URL", what);
        return NPERR_INVALID_URL;
    }
    if (window != nullptr) {
        Report("%s %s into window \"%s\": loading into windows is not supported", what, url, window);
        return NPERR_GENERIC_ERROR;
    }
    Task t = {};
    t.kind = TASK_FETCH;
    t.instance = hi;
    t.url = ResolveUrl(hi->page->base, url);
    t.notify = notify;
    t.notifyData = notifyData;
    gHost.tasks.push_back(t);
    return NPERR_NO_ERROR;
}

static NPError Browser_GetURL(NPP instance, const char *url, const char *window)
{
    return QueueFetch(instance, url, window, false, nullptr, "NPN_GetURL");
}

static NPError Browser_GetURLNotify(NPP instance, const char *url, const char *window, void *notifyData)
{
    return QueueFetch(instance, url, window, true, notifyData, "NPN_GetURLNotify");
}

static NPError Browser_PostURL(NPP, const char *url, const char *, uint32_t, const char *, NPBool)
{
    Report("NPN_PostURL %s: posting is not supported", url ? url : "(null)");
    return NPERR_GENERIC_ERROR;
}

static NPError Browser_PostURLNotify(NPP, const char *url, const char *, uint32_t, const char *, NPBool, void *)
{
    Report("NPN_PostURLNotify %s: posting is not supported", url ? url : "(null)");
    return NPERR_GENERIC_ERROR;
}

static NPError Browser_RequestRead(NPStream *, void *)
{
    Report("NPN_RequestRead: streams are not seekable");
    return NPERR_STREAM_NOT_SEEKABLE;
}

/* A stream from the plug-in into a new window named window ("_blank"). */
static NPError Browser_NewStream(NPP instance, NPMIMEType type, const char *window, NPStream **stream)
{
    HostInstance *hi = FindInstance(instance);
    if (hi == nullptr) {
        Fault("NPN_NewStream: %p is no live instance", (void *)instance);
        return NPERR_INVALID_INSTANCE_ERROR;
    }
    if (stream == nullptr || window == nullptr) {
        Fault("NPN_NewStream: %s", stream == nullptr ? "null stream out-pointer" : "no target window");
        return NPERR_INVALID_PARAM;
    }
    PageWindow *page = NewPage(hi->page->url, type ? type : "text/html", true);
    auto out = std::make_unique<OutStream>();
    out->stream = {};
    out->stream.url = "";
    out->page = page;
    out->writer = hi;
    out->open = true;
    *stream = &out->stream;
    Report("NPN_NewStream: %s into window \"%s\"", type ? type : "(no type)", window);
    gHost.outStreams.push_back(std::move(out));
    return NPERR_NO_ERROR;
}

static int32_t Browser_Write(NPP instance, NPStream *stream, int32_t len, void *buffer)
{
    OutStream *out = FindOutStream(stream);
    if (FindInstance(instance) == nullptr || out == nullptr || !out->open) {
        Fault("NPN_Write: no open stream %p of instance %p", (void *)stream, (void *)instance);
        return -1;
    }
    if (len < 0 || (len > 0 && buffer == nullptr)) {
        Fault("NPN_Write: %ld bytes from %p", (long)len, buffer);
        return -1;
    }
    out->page->html.append((const char *)buffer, (size_t)len);
    return len;
}

/* Saves a written document as --save-page asks: the first to FILE, later ones to FILE.2 ... */
static void SavePage(PageWindow *page)
{
    if (gHost.opts.savePage.empty())
        return;
    gHost.pagesSaved++;
    std::string path = gHost.opts.savePage;
    if (gHost.pagesSaved > 1)
        path += "." + std::to_string(gHost.pagesSaved);
    FILE *f = fopen(path.c_str(), "wb");
    if (f == nullptr || fwrite(page->html.data(), 1, page->html.size(), f) != page->html.size()) {
        Report("cannot save the page as %s", path.c_str());
        gHost.failures++;
    } else {
        Report("page saved as %s (%lu bytes)", path.c_str(), (unsigned long)page->html.size());
    }
    if (f != nullptr)
        fclose(f);
}

static NPError Browser_DestroyStream(NPP instance, NPStream *stream, NPReason reason)
{
    if (FindInstance(instance) == nullptr) {
        Fault("NPN_DestroyStream: %p is no live instance", (void *)instance);
        return NPERR_INVALID_INSTANCE_ERROR;
    }
    OutStream *out = FindOutStream(stream);
    if (out == nullptr) {
        if (CancelDelivery(stream, reason))
            return NPERR_NO_ERROR;
        Fault("NPN_DestroyStream: %p is no stream of this browser", (void *)stream);
        return NPERR_INVALID_PARAM;
    }
    if (!out->open) {
        Fault("NPN_DestroyStream: the stream was ended before");
        return NPERR_INVALID_PARAM;
    }
    out->open = false;
    out->page->complete = true;
    Report("window document ended (reason %d, %lu bytes)", (int)reason, (unsigned long)out->page->html.size());
    SavePage(out->page);
    ShowPage(out->page);
    Task t = {};
    t.kind = TASK_CREATE_EMBEDS;
    t.page = out->page;
    gHost.tasks.push_back(t);
    return NPERR_NO_ERROR;
}

static void Browser_Status(NPP, const char *message)
{
    Report("status bar: %s", message ? message : "");
}

static const char *Browser_UserAgent(NPP)
{
    return BROWSER_USER_AGENT;
}

static void *Browser_MemAlloc(uint32_t size)
{
    void *p = malloc(size ? size : 1);
    if (p != nullptr)
        gHost.memBlocks.push_back(p);
    return p;
}

static void Browser_MemFree(void *ptr)
{
    auto it = std::find(gHost.memBlocks.begin(), gHost.memBlocks.end(), ptr);
    if (it == gHost.memBlocks.end()) {
        Fault("NPN_MemFree: %p was not allocated by NPN_MemAlloc", ptr);
        return;
    }
    gHost.memBlocks.erase(it);
    free(ptr);
}

static uint32_t Browser_MemFlush(uint32_t)
{
    return 0;
}

static void Browser_ReloadPlugins(NPBool)
{
}

static JRIEnv *Browser_GetJavaEnv(void)
{
    return gHost.opts.noJava ? nullptr : JavaEnvironment();
}

static jref Browser_GetJavaPeer(NPP instance)
{
    HostInstance *hi = FindInstance(instance);
    if (hi == nullptr) {
        Fault("NPN_GetJavaPeer: %p is no live instance", (void *)instance);
        return nullptr;
    }
    if (gHost.opts.noJava)
        return nullptr;
    if (hi->peer == nullptr) {
        jref clazz = JavaClassOfGlobalRef(hi->module->funcs.javaClass);
        if (clazz != nullptr)
            hi->peer = JavaNewPeer(clazz, &hi->npp);
    }
    return hi->peer;
}

void FillNavigatorFuncs(NPNetscapeFuncs *f, uint16_t version)
{
    *f = {};
    f->size = sizeof *f;
    f->version = version;
    f->geturl = Browser_GetURL;
    f->posturl = Browser_PostURL;
    f->requestread = Browser_RequestRead;
    f->newstream = Browser_NewStream;
    f->write = Browser_Write;
    f->destroystream = Browser_DestroyStream;
    f->status = Browser_Status;
    f->uagent = Browser_UserAgent;
    f->memalloc = Browser_MemAlloc;
    f->memfree = Browser_MemFree;
    f->memflush = Browser_MemFlush;
    f->reloadplugins = Browser_ReloadPlugins;
    f->getJavaEnv = Browser_GetJavaEnv;
    f->getJavaPeer = Browser_GetJavaPeer;
    f->geturlnotify = Browser_GetURLNotify;
    f->posturlnotify = Browser_PostURLNotify;
}

int ReleaseLeakedBlocks(void)
{
    int n = (int)gHost.memBlocks.size();
    for (void *p : gHost.memBlocks)
        free(p);
    gHost.memBlocks.clear();
    return n;
}
