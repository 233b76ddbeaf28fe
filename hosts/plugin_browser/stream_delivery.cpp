/* stream_delivery.cpp - answers of the plug-in's requests, delivered as streams the way
 * the browser delivers an NP_ASFILE stream, one request at a time from the message loop.
 *
 * Order of calls for one request:
 *   HttpOpen -> NPP_NewStream (the plug-in chooses the stream type)
 *            -> per piece read: the piece goes to the cache file, then
 *               NPP_WriteReady / NPP_Write until the plug-in took all of it
 *            -> at the end of the body: NPP_StreamAsFile (cache file path) and
 *               NPP_DestroyStream (NPRES_DONE)
 * A request the server answers with an error status, or that cannot be sent, still gets
 * NPP_NewStream, then NPP_DestroyStream (NPRES_NETWORK_ERR), without the error body. A
 * transfer cut short ends with NPP_DestroyStream (NPRES_NETWORK_ERR) and no
 * NPP_StreamAsFile. A notifying request (NPN_GetURLNotify) gets NPP_URLNotify last.
 * The cache file of a stream is removed (by the cache sweeper) once the stream has ended. */
#include "browser_host.h"

#include <stdio.h>

#include "browser_url.h"
#include "cache_sweeper.h"
#include "http_fetch.h"

#define WRITE_READY_RETRIES 1000   /* NPP_WriteReady answers of 0 before giving up */
#define CACHE_NAME_BYTES    64

struct Delivery {
    bool active;
    HostInstance *instance;
    NPStream stream;
    std::string url;
    std::string mimeType;
    uint16_t stype;
    HANDLE cacheFile;
    std::string cachePath;
    int32_t offset;
    bool notify;
    void *notifyData;
    std::vector<char> buffer;
    bool madeCache;
};

static Delivery gDelivery;

bool PrepareCache(void)
{
    std::string root = gHost.opts.cacheDir;
    if (root.empty()) {
        char temp[MAX_PATH];
        DWORD n = GetTempPathA(sizeof temp, temp);
        if (n == 0 || n >= sizeof temp) {
            Report("GetTempPath failed (error %lu)", GetLastError());
            return false;
        }
        char name[CACHE_NAME_BYTES];
        snprintf(name, sizeof name, "plugin_browser.%lu", GetCurrentProcessId());
        root = std::string(temp) + name;
        gDelivery.madeCache = true;
    }
    if (root.back() != '\\')
        root += '\\';
    CreateDirectoryA(root.c_str(), nullptr);
    gHost.cacheFolder = root + "CACHE\\";
    if (!CreateDirectoryA(gHost.cacheFolder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
        Report("cannot create the cache folder %s (error %lu)", gHost.cacheFolder.c_str(), GetLastError());
        return false;
    }
    return true;
}

void RemoveCache(void)
{
    StopCacheSweeper();
    if (!gDelivery.madeCache)
        return;
    RemoveDirectoryA(gHost.cacheFolder.c_str());
    std::string root = gHost.cacheFolder.substr(0, gHost.cacheFolder.size() - strlen("CACHE\\"));
    RemoveDirectoryA(root.c_str());
}

bool DeliveryActive(void)
{
    return gDelivery.active;
}

static void Notify(HostInstance *hi, const std::string &url, bool notify, void *data, NPReason reason)
{
    if (notify && hi->alive && hi->module->funcs.urlnotify != nullptr)
        hi->module->funcs.urlnotify(&hi->npp, url.c_str(), reason, data);
}

/* Closes the cache file of the current delivery, if any, and has it removed. */
static void DropCacheFile(void)
{
    if (gDelivery.cacheFile != INVALID_HANDLE_VALUE && gDelivery.cacheFile != nullptr)
        CloseHandle(gDelivery.cacheFile);
    gDelivery.cacheFile = INVALID_HANDLE_VALUE;
    if (!gDelivery.cachePath.empty())
        SweepCacheFile(gDelivery.cachePath);
    gDelivery.cachePath.clear();
}

/* Ends the current delivery: NPP_StreamAsFile when complete, NPP_DestroyStream, notify. */
static void EndDelivery(NPReason reason)
{
    Delivery &d = gDelivery;
    d.active = false;
    HostInstance *hi = d.instance;
    if (d.cacheFile != INVALID_HANDLE_VALUE) {
        CloseHandle(d.cacheFile);
        d.cacheFile = INVALID_HANDLE_VALUE;
    }
    if (hi->alive && reason == NPRES_DONE && (d.stype == NP_ASFILE || d.stype == NP_ASFILEONLY) &&
        !d.cachePath.empty())
        hi->module->funcs.asfile(&hi->npp, &d.stream, d.cachePath.c_str());
    if (hi->alive)
        hi->module->funcs.destroystream(&hi->npp, &d.stream, reason);
    DropCacheFile();
    Notify(hi, d.url, d.notify, d.notifyData, reason);
}

/* NPP_NewStream for the current delivery; false when the plug-in refused the stream. */
static bool BeginStream(HostInstance *hi, const std::string &url, const std::string &mimeType, long long length,
                        bool notify, void *notifyData)
{
    Delivery &d = gDelivery;
    d.instance = hi;
    d.url = url;
    d.mimeType = mimeType.empty() ? "application/octet-stream" : mimeType;
    d.stream = {};
    d.stream.url = d.url.c_str();
    d.stream.end = length > 0 && length <= 0xFFFFFFFFLL ? (uint32_t)length : 0;
    d.stream.notifyData = notifyData;
    d.stype = NP_NORMAL;
    d.offset = 0;
    d.notify = notify;
    d.notifyData = notifyData;
    d.cacheFile = INVALID_HANDLE_VALUE;
    d.cachePath.clear();
    std::vector<char> type(d.mimeType.begin(), d.mimeType.end());
    type.push_back('\0');
    NPError err = hi->module->funcs.newstream(&hi->npp, type.data(), &d.stream, 0, &d.stype);
    if (err != NPERR_NO_ERROR) {
        Report("NPP_NewStream for %s: error %d", url.c_str(), (int)err);
        Notify(hi, url, notify, notifyData, NPRES_NETWORK_ERR);
        return false;
    }
    if (d.stype == NP_ASFILE || d.stype == NP_ASFILEONLY) {
        char name[CACHE_NAME_BYTES];
        std::string ext = UrlExtension(url).substr(0, 3);
        snprintf(name, sizeof name, "M%07u.%s", ++gHost.cacheSerial, ext.empty() ? "TMP" : ext.c_str());
        d.cachePath = gHost.cacheFolder + name;
        d.cacheFile = CreateFileA(d.cachePath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (d.cacheFile == INVALID_HANDLE_VALUE) {
            Report("cannot create the cache file %s (error %lu)", d.cachePath.c_str(), GetLastError());
            d.cachePath.clear();
        }
    }
    return true;
}

/* A request that got no body to deliver: NPP_NewStream, then NPP_DestroyStream. */
static void DeliverFailure(HostInstance *hi, const std::string &url, const std::string &why, bool notify,
                           void *notifyData)
{
    Report("GET %s failed: %s", url.c_str(), why.c_str());
    gHost.failures++;
    if (BeginStream(hi, url, "", 0, notify, notifyData))
        EndDelivery(NPRES_NETWORK_ERR);
}

void StartFetch(HostInstance *hi, const std::string &url, bool notify, void *notifyData)
{
    if (!hi->alive)
        return;
    gHost.requests++;
    HttpHead head;
    std::string error;
    if (!HttpOpen(url, BROWSER_USER_AGENT, &head, &error)) {
        DeliverFailure(hi, url, error, notify, notifyData);
        return;
    }
    if (head.status < 200 || head.status > 299) {
        HttpAbandon();
        DeliverFailure(hi, url, std::to_string(head.status) + " " + head.reason, notify, notifyData);
        return;
    }
    if (!BeginStream(hi, head.finalUrl, head.contentType, head.contentLength, notify, notifyData)) {
        HttpAbandon();
        return;
    }
    gDelivery.active = true;
}

void StartDeliveryOfOpened(HostInstance *hi, const std::string &url, const std::string &mimeType,
                           long long contentLength)
{
    if (!BeginStream(hi, url, mimeType, contentLength, false, nullptr)) {
        HttpAbandon();
        return;
    }
    gDelivery.active = true;
}

/* Hands bytes to the plug-in as NPP_WriteReady allows; false when it broke off. */
static bool PushToPlugin(const char *bytes, int32_t count)
{
    Delivery &d = gDelivery;
    HostInstance *hi = d.instance;
    int32_t done = 0;
    int idle = 0;
    while (done < count) {
        if (!hi->alive || !d.active)
            return false;
        int32_t ready = hi->module->funcs.writeready(&hi->npp, &d.stream);
        if (ready <= 0) {
            if (++idle > WRITE_READY_RETRIES)
                return false;
            Sleep(1);
            continue;
        }
        int32_t chunk = count - done < ready ? count - done : ready;
        int32_t took = hi->module->funcs.write(&hi->npp, &d.stream, d.offset, chunk, (void *)(bytes + done));
        if (took < 0)
            return false;
        if (took > chunk) {
            Fault("NPP_Write took %ld of %ld bytes", (long)took, (long)chunk);
            took = chunk;
        }
        done += took;
        d.offset += took;
        gHost.bytesDelivered += took;
    }
    return true;
}

void DeliveryStep(void)
{
    Delivery &d = gDelivery;
    if (!d.active)
        return;
    if (d.buffer.size() != gHost.opts.pieceBytes)
        d.buffer.resize(gHost.opts.pieceBytes);
    std::string error;
    long n = HttpRead(d.buffer.data(), d.buffer.size(), &error);
    if (n > 0) {
        if (d.cacheFile != INVALID_HANDLE_VALUE) {
            DWORD written = 0;
            if (!WriteFile(d.cacheFile, d.buffer.data(), (DWORD)n, &written, nullptr) || written != (DWORD)n) {
                Report("cannot write the cache file %s (error %lu)", d.cachePath.c_str(), GetLastError());
                CloseHandle(d.cacheFile);
                d.cacheFile = INVALID_HANDLE_VALUE;
                DeleteFileA(d.cachePath.c_str());
                d.cachePath.clear();
            }
        }
        if (d.stype != NP_ASFILEONLY && !PushToPlugin(d.buffer.data(), (int32_t)n)) {
            HttpAbandon();
            if (d.active)
                EndDelivery(NPRES_USER_BREAK);
        }
        return;
    }
    if (n == 0) {
        Report("GET %s: %ld bytes", d.url.c_str(), (long)d.offset);
        EndDelivery(NPRES_DONE);
        return;
    }
    Report("GET %s failed after %ld bytes: %s", d.url.c_str(), (long)d.offset, error.c_str());
    gHost.failures++;
    EndDelivery(NPRES_NETWORK_ERR);
}

bool CancelDelivery(NPStream *stream, NPReason reason)
{
    if (!gDelivery.active || stream != &gDelivery.stream)
        return false;
    HttpAbandon();
    EndDelivery(reason);
    return true;
}
