/* fake_browser.cpp - the recording browser function table of the plug-in's tests. */
#include "fake_browser.h"

#include <cstdlib>
#include <cstring>
#include <stdexcept>

static FakeBrowser *sCurrent = nullptr;

static const char *const kOpNames[FAKE_NPN_OP_COUNT] = {
    "GetURL", "NewStream", "Write", "DestroyStream", "MemAlloc", "MemFree",
    "GetJavaEnv", "GetJavaPeer", "other"
};

const char *FakeBrowserOpName(FakeBrowserOp op)
{
    return op >= 0 && op < FAKE_NPN_OP_COUNT ? kOpNames[op] : "?";
}

FakeBrowser *FakeBrowser::Current()
{
    return sCurrent;
}

/* The current fake; a call with none is a test bug, reported loudly. */
static FakeBrowser &Fake()
{
    if (sCurrent == nullptr) {
        fprintf(stderr, "fake browser: called with no fake browser alive\n");
        abort();
    }
    return *sCurrent;
}

static FakeBrowserCall CallOf(FakeBrowserOp op, NPP instance)
{
    FakeBrowserCall call;
    call.op = op;
    call.instance = instance;
    return call;
}

static void TakeTarget(FakeBrowserCall &call, const char *window)
{
    call.targetNull = window == nullptr;
    call.target = window != nullptr ? window : "";
}

static NPError FakeGetURL(NPP instance, const char *url, const char *window)
{
    FakeBrowser &fake = Fake();
    FakeBrowserCall call = CallOf(FAKE_NPN_GETURL, instance);
    call.url = url != nullptr ? url : "";
    TakeTarget(call, window);
    call.failed = fake.ShouldFail(FAKE_NPN_GETURL);
    fake.Record(call);
    return call.failed ? fake.failError : fake.getUrlResult;
}

static NPError FakeNewStream(NPP instance, NPMIMEType type, const char *window, NPStream **stream)
{
    FakeBrowser &fake = Fake();
    FakeBrowserCall call = CallOf(FAKE_NPN_NEWSTREAM, instance);
    call.mimeType = type != nullptr ? type : "";
    TakeTarget(call, window);
    call.failed = fake.ShouldFail(FAKE_NPN_NEWSTREAM);
    if (!call.failed) {
        fake.streams.emplace_back();
        FakeOutStream &out = fake.streams.back();
        out.mimeType = call.mimeType;
        out.target = call.target;
        call.stream = &out.record;
    }
    if (stream != nullptr)
        *stream = call.stream;
    fake.Record(call);
    return call.failed ? fake.failError : NPERR_NO_ERROR;
}

static int32_t FakeWrite(NPP instance, NPStream *stream, int32_t len, void *buffer)
{
    FakeBrowser &fake = Fake();
    FakeBrowserCall call = CallOf(FAKE_NPN_WRITE, instance);
    call.stream = stream;
    call.length = len;
    call.failed = fake.ShouldFail(FAKE_NPN_WRITE);
    int32_t taken = -1;
    FakeOutStream *out = fake.StreamOf(stream);
    if (out == nullptr || out->destroyed)
        fake.misuse.push_back("Write to an unknown or closed stream");
    else if (len < 0 || (len > 0 && buffer == nullptr))
        fake.misuse.push_back("Write with a negative count or null buffer");
    else if (!call.failed) {
        taken = fake.writeLimit >= 0 && len > fake.writeLimit ? fake.writeLimit : len;
        call.bytes.assign(static_cast<const char *>(buffer), taken);
        out->data += call.bytes;
    }
    fake.Record(call);
    return taken;
}

static NPError FakeDestroyStream(NPP instance, NPStream *stream, NPReason reason)
{
    FakeBrowser &fake = Fake();
    FakeBrowserCall call = CallOf(FAKE_NPN_DESTROYSTREAM, instance);
    call.stream = stream;
    call.reason = reason;
    call.failed = fake.ShouldFail(FAKE_NPN_DESTROYSTREAM);
    FakeOutStream *out = fake.StreamOf(stream);
    if (out == nullptr || out->destroyed)
        fake.misuse.push_back("DestroyStream of an unknown or closed stream");
    else if (!call.failed) {
        out->destroyed = true;
        out->reason = reason;
    }
    fake.Record(call);
    return call.failed ? fake.failError : NPERR_NO_ERROR;
}

static void *FakeMemAlloc(uint32_t size)
{
    FakeBrowser &fake = Fake();
    FakeBrowserCall call = CallOf(FAKE_NPN_MEMALLOC, nullptr);
    call.size = size;
    call.failed = fake.ShouldFail(FAKE_NPN_MEMALLOC);
    if (!call.failed)
        call.block = fake.Allocate(size);
    fake.Record(call);
    return call.block;
}

static void FakeMemFree(void *ptr)
{
    FakeBrowser &fake = Fake();
    FakeBrowserCall call = CallOf(FAKE_NPN_MEMFREE, nullptr);
    call.block = ptr;
    if (ptr != nullptr && !fake.Release(ptr))
        fake.misuse.push_back("MemFree of a block not from MemAlloc or freed twice");
    fake.Record(call);
}

static JRIEnv *FakeGetJavaEnv(void)
{
    FakeBrowser &fake = Fake();
    FakeBrowserCall call = CallOf(FAKE_NPN_GETJAVAENV, nullptr);
    call.failed = fake.ShouldFail(FAKE_NPN_GETJAVAENV);
    fake.Record(call);
    return call.failed ? nullptr : fake.javaEnv;
}

static jref FakeGetJavaPeer(NPP instance)
{
    FakeBrowser &fake = Fake();
    FakeBrowserCall call = CallOf(FAKE_NPN_GETJAVAPEER, instance);
    call.failed = fake.ShouldFail(FAKE_NPN_GETJAVAPEER);
    fake.Record(call);
    return call.failed ? nullptr : fake.javaPeer;
}

/* Members the plug-in must never call: each records its name. */
static void RecordOther(const char *member, NPP instance)
{
    FakeBrowserCall call = CallOf(FAKE_NPN_OTHER, instance);
    call.member = member;
    Fake().Record(call);
}

static NPError FakePostURL(NPP instance, const char *, const char *, uint32_t, const char *, NPBool)
{
    RecordOther("posturl", instance);
    return NPERR_GENERIC_ERROR;
}
static NPError FakeRequestRead(NPStream *, void *)
{
    RecordOther("requestread", nullptr);
    return NPERR_GENERIC_ERROR;
}
static void FakeStatus(NPP instance, const char *)
{
    RecordOther("status", instance);
}
static const char *FakeUserAgent(NPP instance)
{
    RecordOther("uagent", instance);
    return "FakeBrowser/3.0";
}
static uint32_t FakeMemFlush(uint32_t)
{
    RecordOther("memflush", nullptr);
    return 0;
}
static void FakeReloadPlugins(NPBool)
{
    RecordOther("reloadplugins", nullptr);
}
static NPError FakeGetURLNotify(NPP instance, const char *, const char *, void *)
{
    RecordOther("geturlnotify", instance);
    return NPERR_GENERIC_ERROR;
}
static NPError FakePostURLNotify(NPP instance, const char *, const char *, uint32_t, const char *,
                                 NPBool, void *)
{
    RecordOther("posturlnotify", instance);
    return NPERR_GENERIC_ERROR;
}

FakeBrowser::FakeBrowser(uint16_t version)
{
    if (sCurrent != nullptr)
        throw std::logic_error("fake browser: only one may exist at a time");
    sCurrent = this;
    for (int i = 0; i < FAKE_NPN_OP_COUNT; i++) {
        failAfter_[i] = -1;
        seen_[i] = 0;
    }
    std::memset(&funcs, 0, sizeof funcs);
    funcs.size = sizeof funcs;
    funcs.version = version;
    funcs.geturl = FakeGetURL;
    funcs.posturl = FakePostURL;
    funcs.requestread = FakeRequestRead;
    funcs.newstream = FakeNewStream;
    funcs.write = FakeWrite;
    funcs.destroystream = FakeDestroyStream;
    funcs.status = FakeStatus;
    funcs.uagent = FakeUserAgent;
    funcs.memalloc = FakeMemAlloc;
    funcs.memfree = FakeMemFree;
    funcs.memflush = FakeMemFlush;
    funcs.reloadplugins = FakeReloadPlugins;
    funcs.getJavaEnv = FakeGetJavaEnv;
    funcs.getJavaPeer = FakeGetJavaPeer;
    funcs.geturlnotify = FakeGetURLNotify;
    funcs.posturlnotify = FakePostURLNotify;
}

FakeBrowser::~FakeBrowser()
{
    for (void *block : liveBlocks_)
        std::free(block);
    sCurrent = nullptr;
}

bool FakeBrowser::ShouldFail(FakeBrowserOp op)
{
    int seen = seen_[op]++;
    return failAfter_[op] >= 0 && seen >= failAfter_[op];
}

int FakeBrowser::CountOf(FakeBrowserOp op) const
{
    int n = 0;
    for (const FakeBrowserCall &call : calls)
        n += call.op == op;
    return n;
}

std::vector<FakeBrowserCall> FakeBrowser::CallsOf(FakeBrowserOp op) const
{
    std::vector<FakeBrowserCall> found;
    for (const FakeBrowserCall &call : calls)
        if (call.op == op)
            found.push_back(call);
    return found;
}

FakeOutStream *FakeBrowser::StreamOf(NPStream *stream)
{
    for (FakeOutStream &out : streams)
        if (&out.record == stream)
            return &out;
    return nullptr;
}

void *FakeBrowser::Allocate(uint32_t size)
{
    void *block = std::malloc(size > 0 ? size : 1);
    if (block != nullptr) {
        std::memset(block, 0xCD, size);    /* never zeroed: the plug-in must set its fields */
        liveBlocks_.insert(block);
    }
    return block;
}

bool FakeBrowser::Release(void *block)
{
    if (liveBlocks_.erase(block) == 0)
        return false;
    std::free(block);
    return true;
}
