/* host_instances.cpp - creates plug-in instances with their parameters and windows
 * (NPP_New, NPP_SetWindow), the embeds of a page, and destroys them at exit */
#include "browser_host.h"

#include <stdlib.h>

#include "browser_url.h"
#include "java_runtime.h"

#define DEFAULT_EMBED_WIDTH  300   /* an embed without WIDTH, as browsers of the time */
#define DEFAULT_EMBED_HEIGHT 150
#define MAX_EMBED_SIDE       4000  /* larger sizes are cut to this */

HostInstance *CreateInstance(PluginModule *module, PageWindow *page, const std::string &mimeType, uint16_t mode,
                             const std::vector<HtmlAttribute> &params, int w, int h)
{
    auto hi = std::make_unique<HostInstance>();
    hi->npp = {};
    hi->module = module;
    hi->page = page;
    hi->mimeType = mimeType;
    hi->hwnd = nullptr;
    hi->npWindow = {};
    hi->peer = nullptr;
    hi->alive = true;
    for (const HtmlAttribute &a : params) {
        hi->argNames.push_back(a.name);
        hi->argValues.push_back(a.value);
        if (a.name == "NAME")
            hi->name = a.value;
    }
    for (size_t i = 0; i < hi->argNames.size(); i++) {
        hi->argn.push_back(&hi->argNames[i][0]);
        hi->argv.push_back(&hi->argValues[i][0]);
    }
    HostInstance *inst = hi.get();
    gHost.instances.push_back(std::move(hi));

    std::vector<char> type(mimeType.begin(), mimeType.end());
    type.push_back('\0');
    int16_t argc = (int16_t)inst->argn.size();
    NPError err = module->funcs.newp(type.data(), &inst->npp, mode, argc, argc ? inst->argn.data() : nullptr,
                                     argc ? inst->argv.data() : nullptr, nullptr);
    if (err != NPERR_NO_ERROR) {
        Report("NPP_New (%s): error %d", mimeType.c_str(), (int)err);
        inst->alive = false;
        gHost.failures++;
        return nullptr;
    }
    inst->hwnd = CreateEmbedWindow(page, w, h);
    RECT rc = {};
    GetClientRect(inst->hwnd, &rc);
    inst->npWindow.window = inst->hwnd;
    inst->npWindow.x = 0;
    inst->npWindow.y = 0;
    inst->npWindow.width = (uint32_t)rc.right;
    inst->npWindow.height = (uint32_t)rc.bottom;
    inst->npWindow.clipRect.right = (uint16_t)rc.right;
    inst->npWindow.clipRect.bottom = (uint16_t)rc.bottom;
    err = module->funcs.setwindow(&inst->npp, &inst->npWindow);
    if (err != NPERR_NO_ERROR)
        Report("NPP_SetWindow: error %d", (int)err);
    return inst;
}

/* A WIDTH or HEIGHT attribute as pixels: fallback when absent or no number. */
static int Side(const HtmlEmbed &e, const char *name, int fallback)
{
    std::string v = EmbedAttribute(e, name, "");
    char *end = nullptr;
    long n = strtol(v.c_str(), &end, 10);
    if (v.empty() || end == v.c_str() || n <= 0)
        return fallback;
    return n > MAX_EMBED_SIDE ? MAX_EMBED_SIDE : (int)n;
}

void CreateEmbeds(PageWindow *page)
{
    for (const HtmlEmbed &e : page->model.embeds) {
        std::string type = EmbedAttribute(e, "TYPE", "");
        std::string src = EmbedAttribute(e, "SRC", "");
        const PluginInfo *info = MatchPlugin(gHost.plugins, type, UrlExtension(src));
        if (info == nullptr) {
            Report("no plug-in for the embed of type \"%s\"%s%s", type.c_str(), src.empty() ? "" : " src ",
                   src.c_str());
            continue;
        }
        PluginModule *module = LoadPluginModule(*info);
        if (module == nullptr) {
            gHost.failures++;
            continue;
        }
        std::string mime = type.empty() ? info->mimeTypes.front() : type;
        HostInstance *hi = CreateInstance(module, page, mime, NP_EMBED, e.attributes, Side(e, "WIDTH", DEFAULT_EMBED_WIDTH),
                                          Side(e, "HEIGHT", DEFAULT_EMBED_HEIGHT));
        if (hi == nullptr)
            continue;
        Report("embed created: %s%s%s", mime.c_str(), hi->name.empty() ? "" : " named ", hi->name.c_str());
        if (!src.empty()) {
            Task t = {};
            t.kind = TASK_FETCH;
            t.instance = hi;
            t.url = ResolveUrl(page->base, src);
            gHost.tasks.push_back(t);
        }
    }
    if (page->fromPlugin && !gHost.actionsDone &&
        (gHost.opts.tickAll || !gHost.opts.ticks.empty() || gHost.opts.add || gHost.opts.download)) {
        Task t = {};
        t.kind = TASK_PAGE_ACTIONS;
        t.page = page;
        gHost.tasks.push_back(t);
        gHost.actionsDone = true;
    }
}

void DestroyInstances(void)
{
    for (auto it = gHost.instances.rbegin(); it != gHost.instances.rend(); ++it) {
        HostInstance *hi = it->get();
        if (!hi->alive)
            continue;
        NPSavedData *saved = nullptr;
        NPError err = hi->module->funcs.destroy(&hi->npp, &saved);
        if (err != NPERR_NO_ERROR)
            Report("NPP_Destroy: error %d", (int)err);
        hi->alive = false;
        if (hi->peer != nullptr)
            JavaPeerInstanceGone(hi->peer);
        if (saved != nullptr)
            Report("NPP_Destroy handed back saved data; this browser keeps none");
    }
}
