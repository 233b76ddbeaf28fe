/* batch_fixture.cpp - the loaded plug-in, its fakes and the helpers of the batch tests. */
#include "batch_fixture.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <io.h>

#include "java_bindings.h"

static PluginTest *sCurrentTest = nullptr;
static NPN_GetURLProcPtr sFakeGetURL = nullptr;

/* The browser's GetURL as the tests see it: notes the plug-in's state, lets the test act
 * as a browser delivering at once, then answers as the fake does. */
static NPError RecordingGetURL(NPP instance, const char *url, const char *window);

/* Names the tests create at the root of their drive, removed before each test. */
static const char *const kRootNames[] = {
    "\\download", "\\files", "\\other", "\\brenmar.ini", "\\status.txt",
};

/* The tests write root-relative paths: they must run on a drive of their own (CTest maps
 * one), never on the drive that shows the machine's root. */
static bool OnOwnDrive()
{
    char dir[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof dir, dir);
    return dir[0] != 'Z' && dir[0] != 'z' && dir[0] != 'C' && dir[0] != 'c';
}

void PluginTest::SetUp()
{
    ASSERT_TRUE(OnOwnDrive()) << "run through ctest: the test needs a drive of its own";
    for (const char *name : kRootNames) {
        std::error_code ignored;
        std::filesystem::remove_all(name, ignored);
    }
    browser.javaEnv = jri.env();
    peer = jri.NewObjectOf("Simple");
    browser.javaPeer = peer;
    ASSERT_EQ(NPERR_NO_ERROR, LoadPlugin(browser, &table));
    ASSERT_NE(nullptr, gPlugin.javaEnv);
    sCurrentTest = this;
    if (browser.funcs.geturl != RecordingGetURL)
        sFakeGetURL = browser.funcs.geturl;
    browser.funcs.geturl = RecordingGetURL;
    /* A table test runs SetUp again for each row: each row sees only its own calls. */
    browser.calls.clear();
    jri.calls.clear();
    requests.clear();
    served_ = 0;
}

void PluginTest::TearDown()
{
    /* Files the plug-in still holds open are closed, so the next test can remove them. */
    if (gPlugin.queueReader != nullptr)
        fclose(gPlugin.queueReader);
    if (gPlugin.listingReader != nullptr)
        fclose(gPlugin.listingReader);
    if (gPlugin.outputOpen && gPlugin.outputHandle >= 0)
        _close(gPlugin.outputHandle);
    free(gPlugin.listUrl);
    ReloadPluginState();
    sCurrentTest = nullptr;
}

static NPError RecordingGetURL(NPP instance, const char *url, const char *window)
{
    PluginTest *test = sCurrentTest;
    if (test != nullptr)
        test->NoteRequest(instance, url);
    return sFakeGetURL(instance, url, window);
}

void PluginTest::NoteRequest(NPP instance, const char *url)
{
    Request request;
    request.url = url != nullptr ? url : "";
    request.statusText = gPlugin.statusText;
    request.startingBatch = gPlugin.startingBatch;
    request.instance = instance;
    requests.push_back(request);
    if (onRequest)
        onRequest(request);
}

NPP PluginTest::NewInstance(const Params &params, uint16_t mode, NPError *result)
{
    instances_.emplace_back();
    NPP instance = &instances_.back();
    std::vector<char *> names, values;
    for (const auto &param : params) {
        names.push_back(const_cast<char *>(param.first.c_str()));
        values.push_back(const_cast<char *>(param.second.c_str()));
    }
    NPError answer = NPP_New(const_cast<char *>("application/tvn"), instance, mode,
                             (int16_t)names.size(), names.data(), values.data(), nullptr);
    if (result != nullptr)
        *result = answer;
    else
        EXPECT_EQ(NPERR_NO_ERROR, answer);
    return instance;
}

NPStream *PluginTest::BeginStream(NPP instance, const std::string &url)
{
    urls_.push_back(url);
    streams_.emplace_back();
    NPStream *stream = &streams_.back();
    stream->url = urls_.back().c_str();
    uint16_t type = NP_NORMAL;
    EXPECT_EQ(NPERR_NO_ERROR, NPP_NewStream(instance, const_cast<char *>("text/plain"), stream,
                                            0, &type));
    EXPECT_EQ(NP_ASFILE, type);
    return stream;
}

void PluginTest::WriteStream(NPP instance, NPStream *stream, const std::string &bytes,
                             size_t piece)
{
    for (size_t at = 0; at < bytes.size(); at += piece) {
        std::string part = bytes.substr(at, piece);
        EXPECT_GE(NPP_WriteReady(instance, stream), (int32_t)part.size());
        EXPECT_EQ((int32_t)part.size(),
                  NPP_Write(instance, stream, (int32_t)at, (int32_t)part.size(), &part[0]));
    }
}

void PluginTest::EndStream(NPP instance, NPStream *stream, NPReason reason)
{
    NPP_StreamAsFile(instance, stream, "C:\\Netscape\\Cache\\M0AB12CD.TMP");
    EXPECT_EQ(NPERR_NO_ERROR, NPP_DestroyStream(instance, stream, reason));
}

void PluginTest::DeliverStream(NPP instance, const std::string &url, const std::string &bytes,
                               NPReason reason, size_t piece)
{
    NPStream *stream = BeginStream(instance, url);
    WriteStream(instance, stream, bytes, piece);
    EndStream(instance, stream, reason);
}

void PluginTest::ServeBatch(NPP instance, const std::map<std::string, NPReason> &reasons)
{
    while (served_ < requests.size()) {
        std::string url = requests[served_++].url;
        auto found = reasons.find(url);
        DeliverStream(instance, url, ContentOf(url),
                      found != reasons.end() ? found->second : (NPReason)NPRES_DONE);
    }
}

std::vector<std::string> PluginTest::RequestedUrls() const
{
    std::vector<std::string> urls;
    for (const Request &request : requests)
        urls.push_back(request.url);
    return urls;
}

std::vector<std::string> PluginTest::ConsoleLines() const
{
    std::vector<std::string> lines;
    for (const FakeJriCall &call : jri.CallsAt(JRI_OP_NewStringUTF))
        lines.push_back(call.name);
    return lines;
}

bool PluginTest::Sent(const std::string &line) const
{
    std::vector<std::string> lines = ConsoleLines();
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

void PluginTest::PeerIs(NPP instance)
{
    jri.SetResult(jri.IdOf("netscape/plugin/Plugin", "getPeer"), (intptr_t)instance);
}

std::string ReadFileText(const std::string &path)
{
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

void WriteFileText(const std::string &path, const std::string &text)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << text;
}

bool PathExists(const std::string &path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<std::string> FilesIn(const std::string &dir)
{
    std::vector<std::string> names;
    std::error_code ignored;
    for (const auto &entry : std::filesystem::directory_iterator(dir, ignored))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::string LogText()
{
    return ReadFileText("\\status.txt");
}
