/* batch_fixture.h - a just-loaded plug-in with a fake browser and a fake Java runtime, on
 * the test's own drive: instances, streams delivered as the browser delivers them, the
 * requests, console lines and status texts the plug-in produced, and small file helpers. */
#ifndef BATCH_FIXTURE_H
#define BATCH_FIXTURE_H

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "fake_browser.h"
#include "fake_jri.h"
#include "plugin_api.h"
#include "plugin_load.h"

typedef std::vector<std::pair<std::string, std::string>> Params;

/* What the plug-in's state looked like when it asked the browser for a URL. */
struct Request {
    std::string url;
    std::string statusText;
    int32_t     startingBatch;
    NPP         instance;
};

class PluginTest : public ::testing::Test {
public:
    /* Called by the browser's GetURL: notes the request, then runs onRequest. */
    void NoteRequest(NPP instance, const char *url);

protected:
    FakeBrowser browser;
    FakeJri jri;
    NPPluginFuncs table = {};
    jref peer = nullptr;
    std::vector<Request> requests;
    /* Runs inside NPN_GetURL, before the fake answers: a browser delivering at once. */
    std::function<void(const Request &)> onRequest;

    void SetUp() override;
    void TearDown() override;

    /* A new instance (kept for the whole test) created with these embed parameters;
     * NPP_New's answer in *result when asked for. */
    NPP NewInstance(const Params &params = {}, uint16_t mode = NP_EMBED, NPError *result = nullptr);

    /* One stream as the browser delivers it: NPP_NewStream, the bytes in pieces of at most
     * piece bytes, NPP_StreamAsFile with a cache file path, NPP_DestroyStream. */
    void DeliverStream(NPP instance, const std::string &url, const std::string &bytes,
                       NPReason reason = NPRES_DONE, size_t piece = 7);
    /* The parts of DeliverStream, for streams that overlap or never end. */
    NPStream *BeginStream(NPP instance, const std::string &url);
    void WriteStream(NPP instance, NPStream *stream, const std::string &bytes, size_t piece = 7);
    void EndStream(NPP instance, NPStream *stream, NPReason reason = NPRES_DONE);

    /* Answers every request of the batch with a stream of ContentOf(url), ended with the
     * reason given for its URL (NPRES_DONE otherwise), until none is outstanding. */
    void ServeBatch(NPP instance, const std::map<std::string, NPReason> &reasons = {});
    static std::string ContentOf(const std::string &url) { return "content of " + url; }

    std::vector<std::string> RequestedUrls() const;
    std::vector<std::string> ConsoleLines() const;   /* every line sent, in order */
    bool Sent(const std::string &line) const;        /* that line was sent */

    /* Java side: a string, and the instance the natives find as the peer's. */
    jref JavaString(const char *text) { return jri.NewString(text); }
    void PeerIs(NPP instance);

private:
    std::deque<NPP_t> instances_;
    std::deque<NPStream> streams_;
    std::deque<std::string> urls_;
    size_t served_ = 0;
};

/* Files, by paths of the test's drive ("\download\A.ZIP"). */
std::string ReadFileText(const std::string &path);
void WriteFileText(const std::string &path, const std::string &text);
bool PathExists(const std::string &path);
std::vector<std::string> FilesIn(const std::string &dir);   /* names, sorted */
std::string LogText();                                       /* "\status.txt" */

#define DOWNLOAD "\\download\\"

#endif /* BATCH_FIXTURE_H */
