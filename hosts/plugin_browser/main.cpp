/* main.cpp - plugin_browser: opens one URL like a browser of the plug-in's era, runs the
 * message loop until nothing is left to do (or the time limit), then shuts down: every
 * instance destroyed, every plug-in shut down and unloaded */
#include "browser_host.h"

#include <stdio.h>

#include "browser_url.h"
#include "http_fetch.h"
#include "java_runtime.h"

#define EXIT_OK        0
#define EXIT_FAILED    1   /* the document could not be opened, or a transfer or action failed */
#define EXIT_USAGE     2
#define EXIT_TIMED_OUT 3
#define EXIT_FAULTS    4   /* the plug-in misused the browser interface or leaked memory */
#define IDLE_WAIT_MS   100
#define PUMP_EVERY_MS  20  /* while work is waiting, window messages are handled this often */

/* "plugins" beside the program. */
static std::string DefaultPluginsDir(void)
{
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
    if (n == 0 || n >= sizeof path)
        return "plugins";
    std::string p(path, n);
    return p.substr(0, p.find_last_of("\\/") + 1) + "plugins";
}

/* Fetches the document and hands it to a full-page instance or shows it as a page.
 * Returns false after reporting why it cannot be opened. */
static bool OpenDocument(const std::string &url)
{
    HttpHead head;
    std::string error;
    if (!HttpOpen(url, BROWSER_USER_AGENT, &head, &error)) {
        Report("cannot open %s: %s", url.c_str(), error.c_str());
        return false;
    }
    if (head.status < 200 || head.status > 299) {
        HttpAbandon();
        Report("cannot open %s: %d %s", url.c_str(), head.status, head.reason.c_str());
        return false;
    }
    std::string ext = UrlExtension(head.finalUrl);
    bool html = head.contentType == "text/html" || (head.contentType.empty() && (ext == "htm" || ext == "html"));
    const PluginInfo *info = html ? nullptr : MatchPlugin(gHost.plugins, head.contentType, ext);
    if (info != nullptr) {
        PluginModule *module = LoadPluginModule(*info);
        if (module == nullptr) {
            HttpAbandon();
            return false;
        }
        std::string mime = head.contentType;
        if (MatchPlugin(gHost.plugins, mime, "") != info)
            mime = info->mimeTypes.front();
        Report("list document %s (%s): full-page instance", head.finalUrl.c_str(), mime.c_str());
        PageWindow *page = NewPage(head.finalUrl, mime, false);
        page->complete = true;
        HostInstance *hi = CreateInstance(module, page, mime, NP_FULL, {}, PAGE_WINDOW_WIDTH - 16, 26);
        if (hi == nullptr) {
            HttpAbandon();
            return false;
        }
        StartDeliveryOfOpened(hi, head.finalUrl, mime, head.contentLength);
        return true;
    }
    if (!html) {
        HttpAbandon();
        Report("no plug-in for %s (type \"%s\", extension \"%s\")", url.c_str(), head.contentType.c_str(),
               ext.c_str());
        return false;
    }
    PageWindow *page = NewPage(head.finalUrl, "text/html", false);
    char piece[16384];
    long n;
    while ((n = HttpRead(piece, sizeof piece, &error)) > 0)
        page->html.append(piece, (size_t)n);
    if (n < 0) {
        Report("cannot read %s: %s", url.c_str(), error.c_str());
        return false;
    }
    page->complete = true;
    Report("page %s: %lu bytes", head.finalUrl.c_str(), (unsigned long)page->html.size());
    ShowPage(page);
    CreateEmbeds(page);
    return true;
}

/* Runs one queued task. */
static void RunTask(const Task &t)
{
    switch (t.kind) {
    case TASK_FETCH:
        if (t.instance->alive)
            StartFetch(t.instance, t.url, t.notify, t.notifyData);
        break;
    case TASK_CREATE_EMBEDS:
        CreateEmbeds(t.page);
        break;
    case TASK_PAGE_ACTIONS:
        RunPageActions(t.page);
        break;
    }
}

/* The message loop: window messages first, then one piece of work. Returns false when
 * the time limit ended it. */
static bool RunLoop(void)
{
    DWORD start = GetTickCount();
    DWORD limit = gHost.opts.timeLimit * 1000u;
    DWORD lastPump = start - PUMP_EVERY_MS;
    for (;;) {
        /* Messages first whenever the work pauses, and every PUMP_EVERY_MS during it:
         * repaints and input stay timely without a round trip per piece of data. */
        bool busy = DeliveryActive() || !gHost.tasks.empty();
        if (!busy || GetTickCount() - lastPump >= PUMP_EVERY_MS) {
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
            lastPump = GetTickCount();
        }
        if (GetTickCount() - start > limit) {
            Report("time limit of %u seconds reached", gHost.opts.timeLimit);
            return false;
        }
        if (DeliveryActive()) {
            DeliveryStep();
            continue;
        }
        if (!gHost.tasks.empty()) {
            Task t = gHost.tasks.front();
            gHost.tasks.pop_front();
            RunTask(t);
            continue;
        }
        if (!gHost.opts.stay)
            return true;
        bool anyWindow = false;
        for (auto &p : gHost.pages)
            anyWindow = anyWindow || (p->hwnd != nullptr && IsWindow(p->hwnd));
        if (!anyWindow)
            return true;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, IDLE_WAIT_MS, QS_ALLINPUT);
    }
}

/* The window to photograph: the newest window a plug-in wrote, else the first. */
static PageWindow *ScreenshotPage(void)
{
    for (auto it = gHost.pages.rbegin(); it != gHost.pages.rend(); ++it)
        if ((*it)->fromPlugin && (*it)->hwnd != nullptr)
            return it->get();
    return gHost.pages.empty() ? nullptr : gHost.pages.front().get();
}

int main(int argc, char **argv)
{
    std::string error;
    if (!ParseBrowserOptions(argc, argv, &gHost.opts, &error)) {
        if (!error.empty())
            fprintf(stderr, "plugin_browser: %s\n", error.c_str());
        fputs(BROWSER_USAGE, stderr);
        return EXIT_USAGE;
    }
    if (gHost.opts.pluginsDir.empty())
        gHost.opts.pluginsDir = DefaultPluginsDir();
    gHost.plugins = FindPlugins(gHost.opts.pluginsDir);
    for (const PluginInfo &p : gHost.plugins)
        Report("plug-in %s: %s (.%s) \"%s\"", p.path.c_str(), p.mimeTypes.front().c_str(),
               p.extents.empty() ? "" : p.extents.front().c_str(), p.openName.c_str());
    if (gHost.plugins.empty())
        Report("no plug-ins in %s", gHost.opts.pluginsDir.c_str());
    if (!RegisterWindowClasses() || !PrepareCache())
        return EXIT_FAILED;

    bool opened = OpenDocument(gHost.opts.url);
    DWORD loopStart = GetTickCount();
    bool finished = opened ? RunLoop() : true;
    Report("message loop: %.2f s, %d requests, %lld bytes delivered", (GetTickCount() - loopStart) / 1000.0,
           gHost.requests, gHost.bytesDelivered);
    if (opened && !gHost.opts.screenshot.empty() && !SaveScreenshot(ScreenshotPage(), gHost.opts.screenshot))
        gHost.failures++;

    DestroyInstances();
    UnloadPluginModules();
    HttpShutdown();
    /* The windows go with the process: destroying a top-level window one by one makes
     * Wine's X11 driver wait for a window manager (two seconds each under Xvfb). */
    RemoveCache();
    int leaked = ReleaseLeakedBlocks();
    if (leaked > 0)
        Fault("%d blocks of NPN_MemAlloc were not freed", leaked);
    int jriFaults = JavaFaultCount();
    Report("done: %d failures, %d faults, %d Java faults, %d global references kept", gHost.failures, gHost.faults,
           jriFaults, JavaLiveGlobalRefs());
    JavaShutdown();
    if (!opened)
        return EXIT_FAILED;
    if (!finished)
        return EXIT_TIMED_OUT;
    if (gHost.faults > 0 || jriFaults > 0)
        return EXIT_FAULTS;
    return gHost.failures > 0 ? EXIT_FAILED : EXIT_OK;
}
