/* browser_calls_test.cpp - the browser-call wrappers: arguments passed on unchanged,
 * results handed back unchanged, the stream-output gate on the minor version, and no call
 * once the browser's table is gone. */
#include <gtest/gtest.h>

#include <string>

#include "fake_browser.h"
#include "fake_jri.h"
#include "plugin_api.h"
#include "plugin_load.h"

static NPP_t sInstance = {};
static NPP const kInstance = &sInstance;

/* Which wrapper a row calls; each call uses fixed arguments checked below. */
enum Wrapper { W_GETURL, W_NEWSTREAM, W_WRITE, W_DESTROYSTREAM, W_MEMALLOC, W_MEMFREE,
               W_GETJAVAENV, W_GETJAVAPEER };

struct GateCase {
    uint16_t      version;
    Wrapper       wrapper;
    FakeBrowserOp op;
    bool          called;       /* the browser's function is reached */
    intptr_t      result;       /* the answer (Write: the count; gated: the gate value) */
};

static const GateCase kGateCases[] = {
    { 0x0007, W_GETURL,        FAKE_NPN_GETURL,        true,  0 },
    { 0x0007, W_NEWSTREAM,     FAKE_NPN_NEWSTREAM,     false, NPERR_INCOMPATIBLE_VERSION_ERROR },
    { 0x0007, W_WRITE,         FAKE_NPN_WRITE,         false, -1 },
    { 0x0007, W_DESTROYSTREAM, FAKE_NPN_DESTROYSTREAM, false, NPERR_INCOMPATIBLE_VERSION_ERROR },
    { 0x0007, W_MEMALLOC,      FAKE_NPN_MEMALLOC,      true,  0 },
    { 0x0007, W_MEMFREE,       FAKE_NPN_MEMFREE,       true,  0 },
    { 0x0007, W_GETJAVAENV,    FAKE_NPN_GETJAVAENV,    true,  0 },
    { 0x0007, W_GETJAVAPEER,   FAKE_NPN_GETJAVAPEER,   true,  0 },
    { 0x0008, W_GETURL,        FAKE_NPN_GETURL,        true,  0 },
    { 0x0008, W_NEWSTREAM,     FAKE_NPN_NEWSTREAM,     true,  0 },
    { 0x0008, W_WRITE,         FAKE_NPN_WRITE,         true,  3 },
    { 0x0008, W_DESTROYSTREAM, FAKE_NPN_DESTROYSTREAM, true,  0 },
    { 0x0009, W_NEWSTREAM,     FAKE_NPN_NEWSTREAM,     true,  0 },
    { 0x0009, W_WRITE,         FAKE_NPN_WRITE,         true,  3 },
    { 0x0009, W_DESTROYSTREAM, FAKE_NPN_DESTROYSTREAM, true,  0 },
    { 0x0009, W_MEMALLOC,      FAKE_NPN_MEMALLOC,      true,  0 },
    { 0x0009, W_GETJAVAPEER,   FAKE_NPN_GETJAVAPEER,   true,  0 },
};

/* Calls one wrapper with the row's fixed arguments; a stream for Write and DestroyStream
 * comes from the fake (opened directly, so the gate is not in the way). */
static intptr_t CallWrapper(Wrapper wrapper, FakeBrowser &browser, NPStream *stream)
{
    static char bytes[] = "abc";
    switch (wrapper) {
    case W_GETURL:        return NPN_GetURL(kInstance, "http://host/list.html", nullptr);
    case W_NEWSTREAM: {
        NPStream *made = nullptr;
        return NPN_NewStream(kInstance, (NPMIMEType) "text/html", "_blank", &made);
    }
    case W_WRITE:         return NPN_Write(kInstance, stream, 3, bytes);
    case W_DESTROYSTREAM: return NPN_DestroyStream(kInstance, stream, NPRES_DONE);
    case W_MEMALLOC: {
        void *block = NPN_MemAlloc(24);
        intptr_t got = block != nullptr;
        NPN_MemFree(block);
        return got ? 0 : -2;
    }
    case W_MEMFREE:       NPN_MemFree(browser.funcs.memalloc(8)); return 0;
    case W_GETJAVAENV:    return NPN_GetJavaEnv() == browser.javaEnv ? 0 : -2;
    case W_GETJAVAPEER:   return NPN_GetJavaPeer(kInstance) == browser.javaPeer ? 0 : -2;
    }
    return -3;
}

TEST(BrowserCalls, StreamOutputIsGatedOnMinorEight)
{
    for (const GateCase &c : kGateCases) {
        FakeJri jri;
        FakeBrowser browser(c.version);
        browser.javaEnv = jri.env();
        browser.javaPeer = jri.NewObjectOf("Simple");
        ReloadPluginState();
        gPlugin.navigatorFuncs = &browser.funcs;
        NPStream *stream = nullptr;
        browser.funcs.newstream(kInstance, (NPMIMEType) "text/html", "_blank", &stream);
        size_t before = browser.CountOf(c.op);

        intptr_t result = CallWrapper(c.wrapper, browser, stream);
        std::string row = "version " + std::to_string(c.version) + " " + FakeBrowserOpName(c.op);
        EXPECT_EQ(c.called, browser.CountOf(c.op) > (int)before) << row;
        EXPECT_EQ(c.result, result) << row;
        EXPECT_TRUE(browser.misuse.empty()) << row;
    }
}

TEST(BrowserCalls, ArgumentsAndResultsPassUnchanged)
{
    FakeBrowser browser(0x0009);
    ReloadPluginState();
    gPlugin.navigatorFuncs = &browser.funcs;

    browser.getUrlResult = NPERR_INVALID_URL;
    EXPECT_EQ(NPERR_INVALID_URL, NPN_GetURL(kInstance, "http://host/a b.html", nullptr));
    EXPECT_EQ(NPERR_NO_ERROR, (browser.getUrlResult = NPERR_NO_ERROR,
                               NPN_GetURL(kInstance, "u2", "_blank")));
    std::vector<FakeBrowserCall> gets = browser.CallsOf(FAKE_NPN_GETURL);
    ASSERT_EQ(2u, gets.size());
    EXPECT_EQ(kInstance, gets[0].instance);
    EXPECT_EQ("http://host/a b.html", gets[0].url);
    EXPECT_TRUE(gets[0].targetNull);
    EXPECT_EQ("_blank", gets[1].target);

    NPStream *stream = nullptr;
    ASSERT_EQ(NPERR_NO_ERROR, NPN_NewStream(kInstance, (NPMIMEType) "text/html", "_blank", &stream));
    ASSERT_NE(nullptr, stream);
    char text[] = "<html>";
    EXPECT_EQ(6, NPN_Write(kInstance, stream, 6, text));
    browser.writeLimit = 2;
    EXPECT_EQ(2, NPN_Write(kInstance, stream, 6, text)) << "a short count is handed back as it is";
    EXPECT_EQ(NPERR_NO_ERROR, NPN_DestroyStream(kInstance, stream, NPRES_USER_BREAK));
    FakeOutStream *out = browser.StreamOf(stream);
    ASSERT_NE(nullptr, out);
    EXPECT_EQ("text/html", out->mimeType);
    EXPECT_EQ("_blank", out->target);
    EXPECT_EQ("<html><h", out->data);
    EXPECT_TRUE(out->destroyed);
    EXPECT_EQ(NPRES_USER_BREAK, out->reason);

    browser.FailAfter(FAKE_NPN_NEWSTREAM, 0);
    browser.failError = NPERR_OUT_OF_MEMORY_ERROR;
    NPStream *none = nullptr;
    EXPECT_EQ(NPERR_OUT_OF_MEMORY_ERROR, NPN_NewStream(kInstance, (NPMIMEType) "text/html", "_blank", &none));

    browser.FailAfter(FAKE_NPN_MEMALLOC, 0);
    EXPECT_EQ(nullptr, NPN_MemAlloc(16));
    std::vector<FakeBrowserCall> allocs = browser.CallsOf(FAKE_NPN_MEMALLOC);
    ASSERT_EQ(1u, allocs.size());
    EXPECT_EQ(16u, allocs[0].size);
    EXPECT_EQ(0, browser.CountOf(FAKE_NPN_OTHER));
}

/* After NP_Shutdown (or before NP_Initialize) there is no browser table: every wrapper
 * answers as a failed call and nothing jumps through a null table. */
TEST(BrowserCalls, NoTableMeansNoCall)
{
    FakeBrowser browser(0x0009);
    NPPluginFuncs table;
    ASSERT_EQ(NPERR_NO_ERROR, LoadPlugin(browser, &table));
    ASSERT_EQ(NPERR_NO_ERROR, NP_Shutdown());
    size_t before = browser.calls.size();
    char bytes[] = "x";
    NPStream stream = {};
    NPStream *made = nullptr;
    EXPECT_EQ(NPERR_INVALID_FUNCTABLE_ERROR, NPN_GetURL(kInstance, "u", nullptr));
    EXPECT_EQ(NPERR_INVALID_FUNCTABLE_ERROR, NPN_NewStream(kInstance, (NPMIMEType) "text/html", "_blank", &made));
    EXPECT_EQ(nullptr, made);
    EXPECT_EQ(-1, NPN_Write(kInstance, &stream, 1, bytes));
    EXPECT_EQ(NPERR_INVALID_FUNCTABLE_ERROR, NPN_DestroyStream(kInstance, &stream, NPRES_DONE));
    EXPECT_EQ(nullptr, NPN_MemAlloc(4));
    NPN_MemFree(nullptr);
    EXPECT_EQ(nullptr, NPN_GetJavaEnv());
    EXPECT_EQ(nullptr, NPN_GetJavaPeer(kInstance));
    EXPECT_EQ(before, browser.calls.size());
}
