/* fake_browser.h - an in-memory browser for the plug-in's tests: a browser function table
 * whose members record every call, answer from settable values and fail on demand. One
 * fake at a time is current (the table's functions carry no context). */
#ifndef FAKE_BROWSER_H
#define FAKE_BROWSER_H

#include <deque>
#include <set>
#include <string>
#include <vector>

#include "np_interface.h"

enum FakeBrowserOp {
    FAKE_NPN_GETURL,
    FAKE_NPN_NEWSTREAM,
    FAKE_NPN_WRITE,
    FAKE_NPN_DESTROYSTREAM,
    FAKE_NPN_MEMALLOC,
    FAKE_NPN_MEMFREE,
    FAKE_NPN_GETJAVAENV,
    FAKE_NPN_GETJAVAPEER,
    FAKE_NPN_OTHER,          /* any member the plug-in should never call */
    FAKE_NPN_OP_COUNT
};

const char *FakeBrowserOpName(FakeBrowserOp op);

/* One recorded call; only the fields of its operation are filled. */
struct FakeBrowserCall {
    FakeBrowserOp op = FAKE_NPN_OTHER;
    std::string   member;              /* FAKE_NPN_OTHER: the member's name */
    NPP           instance = nullptr;
    std::string   url;                 /* GETURL */
    bool          targetNull = true;   /* GETURL, NEWSTREAM: window name was null */
    std::string   target;              /* GETURL, NEWSTREAM */
    std::string   mimeType;            /* NEWSTREAM */
    NPStream     *stream = nullptr;    /* NEWSTREAM (the new one), WRITE, DESTROYSTREAM */
    int32_t       length = 0;          /* WRITE: count passed */
    std::string   bytes;               /* WRITE: the bytes taken */
    NPReason      reason = 0;          /* DESTROYSTREAM */
    uint32_t      size = 0;            /* MEMALLOC */
    void         *block = nullptr;     /* MEMALLOC result, MEMFREE argument */
    bool          failed = false;      /* answered with a failure on demand */
};

/* A stream the plug-in opened with NPN_NewStream. */
struct FakeOutStream {
    NPStream    record = {};
    std::string mimeType;
    std::string target;
    std::string data;           /* everything written, in order */
    bool        destroyed = false;
    NPReason    reason = 0;
};

class FakeBrowser {
public:
    /* Becomes the current fake; only one may exist at a time. */
    explicit FakeBrowser(uint16_t version = (0 << 8) | 9);
    ~FakeBrowser();
    FakeBrowser(const FakeBrowser &) = delete;
    FakeBrowser &operator=(const FakeBrowser &) = delete;

    NPNetscapeFuncs funcs;                 /* give &funcs to NP_Initialize */
    std::vector<FakeBrowserCall> calls;    /* every call, in order */

    /* Answers. */
    JRIEnv  *javaEnv = nullptr;            /* NPN_GetJavaEnv */
    jref     javaPeer = nullptr;           /* NPN_GetJavaPeer */
    NPError  getUrlResult = NPERR_NO_ERROR;
    int32_t  writeLimit = -1;              /* most bytes one Write takes; -1: all */

    /* Failure on demand: the first okCalls calls of op succeed, every later one fails
     * (GetURL, NewStream, DestroyStream: failError; Write: -1; MemAlloc, GetJavaEnv,
     * GetJavaPeer: null). okCalls -1: never fail. */
    void FailAfter(FakeBrowserOp op, int okCalls) { failAfter_[op] = okCalls; }
    NPError failError = NPERR_GENERIC_ERROR;

    void SetVersion(uint16_t version) { funcs.version = version; }
    int  CountOf(FakeBrowserOp op) const;
    std::vector<FakeBrowserCall> CallsOf(FakeBrowserOp op) const;

    /* Streams opened by the plug-in, in order (stable addresses). */
    std::deque<FakeOutStream> streams;
    FakeOutStream *StreamOf(NPStream *stream);

    /* Allocator bookkeeping: blocks handed out and not freed, and misuse seen (writes to
     * unknown or closed streams, frees of unknown blocks), each with a note. */
    size_t LiveBlocks() const { return liveBlocks_.size(); }
    std::vector<std::string> misuse;

    static FakeBrowser *Current();

    /* Used by the table's functions. */
    bool ShouldFail(FakeBrowserOp op);
    void Record(const FakeBrowserCall &call) { calls.push_back(call); }
    void *Allocate(uint32_t size);
    bool  Release(void *block);

private:
    int failAfter_[FAKE_NPN_OP_COUNT];
    int seen_[FAKE_NPN_OP_COUNT];
    std::set<void *> liveBlocks_;
};

#endif /* FAKE_BROWSER_H */
