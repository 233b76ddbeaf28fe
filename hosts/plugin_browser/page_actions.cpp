/* page_actions.cpp - what the Batch Download Window's script does when a user clicks:
 * checkboxes kept in the script's list (setFile), "ADD TO BATCH" (numChecked on hover,
 * then saveArray) and "BATCH DOWNLOAD" (document.Simple.getIt()), with the natives
 * reached through the embed named "Simple" the way the Java runtime reaches them */
#include "browser_host.h"

#include "java_runtime.h"

#define ADD_BUTTON       "ADD TO BATCH"
#define DOWNLOAD_BUTTON  "BATCH DOWNLOAD"
#define PEER_NAME        "Simple"

/* One click on checkbox index (0-based): the box flips, then setFile(this) runs. */
static void ClickBox(PageWindow *page, size_t index)
{
    page->checked[index] = !page->checked[index];
    ShowCheckbox(page, index);
    const std::string &name = page->model.checkboxes[index].name;
    if (page->checked[index]) {
        page->adata.push_back(name);
        page->status = name;
        Report("ticked box %lu: %s", (unsigned long)index + 1, name.c_str());
        return;
    }
    for (size_t i = 0; i < page->adata.size(); i++) {
        if (page->adata[i] == name) {
            page->adata.erase(page->adata.begin() + (long)i);
            break;
        }
    }
    Report("unticked box %lu: %s", (unsigned long)index + 1, name.c_str());
}

static const HtmlButton *FindButton(PageWindow *page, const char *caption)
{
    for (const HtmlButton &b : page->model.buttons)
        if (b.value == caption)
            return &b;
    return nullptr;
}

/* The Java peer of the page's embed named "Simple" (document.Simple), or null. */
static jref PagePeer(PageWindow *page)
{
    for (auto &hi : gHost.instances)
        if (hi->alive && hi->page == page && hi->name == PEER_NAME)
            return gHost.navigatorFuncs.getJavaPeer(&hi->npp);
    return nullptr;
}

/* Calls a native of the peer; false after reporting when it cannot be reached. */
static bool CallNative(jref peer, const char *name, const char *sig, const JRISlot *args, int argc, JRISlot *result)
{
    std::string error;
    if (!JavaCallNative(peer, name, sig, args, argc, gHost.opts.natives, result, &error)) {
        Report("document.%s.%s: %s", PEER_NAME, name, error.c_str());
        gHost.failures++;
        return false;
    }
    return true;
}

/* "ADD TO BATCH": hover (numChecked), then saveArray(): saveString(adata[i], i) for
 * i = 0 .. acnt (slot 0 is never filled: null), then saveString(null, -1). */
static bool PressAdd(PageWindow *page, jref peer)
{
    const HtmlButton *b = FindButton(page, ADD_BUTTON);
    if (b == nullptr || b->onclick.find("saveArray()") == std::string::npos) {
        Report("the window has no \"%s\" button calling saveArray()", ADD_BUTTON);
        return false;
    }
    char status[128];
    snprintf(status, sizeof status, "Add the %lu checked files to the Batch Download Queue",
             (unsigned long)page->adata.size());
    page->status = status;
    Report("window.status: %s", status);
    Report("pressed \"%s\"", ADD_BUTTON);
    const char *sig = "(Ljava/lang/String;I)V";
    JRISlot result = 0;
    JRISlot first[2] = {0, 0};
    if (!CallNative(peer, "saveString", sig, first, 2, &result))
        return false;
    for (size_t i = 0; i < page->adata.size(); i++) {
        JRISlot args[2] = {(JRISlot)JavaNewString(page->adata[i].c_str()), (JRISlot)(i + 1)};
        if (!CallNative(peer, "saveString", sig, args, 2, &result))
            return false;
    }
    JRISlot last[2] = {0, -1};
    return CallNative(peer, "saveString", sig, last, 2, &result);
}

/* "BATCH DOWNLOAD": document.Simple.getIt(). */
static bool PressDownload(PageWindow *page, jref peer)
{
    const HtmlButton *b = FindButton(page, DOWNLOAD_BUTTON);
    if (b == nullptr || b->onclick.find("getIt()") == std::string::npos) {
        Report("the window has no \"%s\" button calling getIt()", DOWNLOAD_BUTTON);
        return false;
    }
    Report("pressed \"%s\"", DOWNLOAD_BUTTON);
    JRISlot result = 0;
    if (!CallNative(peer, "getIt", "()I", nullptr, 0, &result))
        return false;
    Report("getIt() returned %ld", (long)result);
    return true;
}

bool RunPageActions(PageWindow *page)
{
    const BrowserOptions &o = gHost.opts;
    size_t boxes = page->model.checkboxes.size();
    if (o.tickAll) {
        for (size_t i = 0; i < boxes; i++)
            ClickBox(page, i);
    }
    for (int n : o.ticks) {
        if (n < 1 || (size_t)n > boxes) {
            Report("--tick %d: the window has %lu checkboxes", n, (unsigned long)boxes);
            gHost.failures++;
            return false;
        }
        ClickBox(page, (size_t)n - 1);
    }
    if (!o.add && !o.download)
        return true;
    jref peer = PagePeer(page);
    if (peer == nullptr) {
        Report("document.%s has no Java peer: the window's embed is missing or has no Java class", PEER_NAME);
        gHost.failures++;
        return false;
    }
    if (o.add && !PressAdd(page, peer)) {
        gHost.failures++;
        return false;
    }
    if (o.download && !PressDownload(page, peer)) {
        gHost.failures++;
        return false;
    }
    return true;
}
