/* natives_test.cpp - the natives behind the Batch Download Window's buttons: saveString
 * fills the queue without duplicates, getIt starts the batch; getString, printToStdout and
 * tricky. */
#include "batch_fixture.h"

#include <io.h>

#include "batch_engine.h"
#include "page_natives.h"

static const std::string kQueue = DOWNLOAD "brenmar.txt";

class Natives : public PluginTest {
protected:
    NPP statusLine = nullptr;

    void SetUp() override
    {
        PluginTest::SetUp();
        statusLine = NewInstance({ { "name", "Simple" }, { "INWINDOW", "yes" } });
        PeerIs(statusLine);
    }

    /* One "ADD TO BATCH" press with these ticked files, as saveArray() makes it. */
    void Press(const std::vector<std::string> &ticked)
    {
        native_Simple_saveString(jri.env(), peer, JavaString("0"), 0);
        for (size_t i = 0; i < ticked.size(); i++)
            native_Simple_saveString(jri.env(), peer, JavaString(ticked[i].c_str()),
                                     (jint)(i + 1));
        native_Simple_saveString(jri.env(), peer, nullptr, -1);
    }
};

static std::string Added(int count)
{
    return std::to_string(count) +
           " new files added to batch.  Click [BATCH DOWNLOAD] button to actually download...";
}

struct PressCase {
    const char *name;
    std::string queueBefore;          /* "-" for no queue file */
    std::vector<std::string> ticked;
    std::string status;
    std::string queueAfter;           /* "-" for no queue file */
};

static std::vector<PressCase> PressCases()
{
    const std::string tooLong = "http://h/" + std::string(191, 'x');   /* 200 characters */
    const std::string longest = "http://h/" + std::string(190, 'x');   /* 199 characters */
    return {
        { "nothing ticked: nothing to add, no file", "-", {}, "Nothing to add...", "-" },
        { "first URL creates the queue", "-", { "http://h/a.zip" }, Added(1),
          "http://h/a.zip\n" },
        { "three ticked, one queued already: 2 added, each once",
          "http://h/b.zip\n", { "http://h/a.zip", "http://h/b.zip", "http://h/c.zip" }, Added(2),
          "http://h/b.zip\nhttp://h/a.zip\nhttp://h/c.zip\n" },
        { "all queued already: nothing to add", "http://h/a.zip\n", { "http://h/a.zip" },
          "Nothing to add...", "http://h/a.zip\n" },
        { "letter case and a trailing blank make other URLs", "http://h/a.zip\n",
          { "http://h/A.zip", "http://h/a.zip " }, Added(2),
          "http://h/a.zip\nhttp://h/A.zip\nhttp://h/a.zip \n" },
        { "the same URL twice in one press is added once", "-",
          { "http://h/a.zip", "http://h/a.zip" }, Added(1), "http://h/a.zip\n" },
        { "199 characters fit a queue line", "-", { longest }, Added(1), longest + "\n" },
        { "200 characters are refused, not split later", "-", { tooLong }, "Nothing to add...",
          "-" },
        { "a < would mark the queue as a page: refused", "-", { "http://h/a<b.zip" },
          "Nothing to add...", "-" },
        { "a line break would make two entries: refused", "-", { "http://h/a\nb.zip" },
          "Nothing to add...", "-" },
        { "a queue without its last line break gets one first", "http://h/a.zip",
          { "http://h/b.zip" }, Added(1), "http://h/a.zip\nhttp://h/b.zip\n" },
    };
}

TEST_F(Natives, SaveStringPressTable)
{
    for (const PressCase &c : PressCases()) {
        TearDown();
        SetUp();
        if (c.queueBefore != "-")
            WriteFileText(kQueue, c.queueBefore);
        Press(c.ticked);
        EXPECT_EQ(c.status, gPlugin.statusText) << c.name;
        EXPECT_TRUE(Sent(c.status)) << c.name;
        if (c.queueAfter == "-") {
            EXPECT_FALSE(PathExists(kQueue)) << c.name;
        } else {
            std::string text = ReadFileText(kQueue);
            std::string unix;
            for (char ch : text)
                if (ch != '\r')
                    unix += ch;
            EXPECT_EQ(c.queueAfter, unix) << c.name;
        }
    }
}

/* Index 0 only resets the count, whatever the string; index -1 only reports. */
TEST_F(Natives, OpeningAndClosingIndexes)
{
    gPlugin.queueCount = 5;
    native_Simple_saveString(jri.env(), peer, nullptr, 0);
    EXPECT_EQ(0, gPlugin.queueCount);
    EXPECT_FALSE(PathExists(kQueue));

    native_Simple_saveString(jri.env(), peer, JavaString("http://h/a.zip"), 7);
    native_Simple_saveString(jri.env(), peer, nullptr, -1);
    EXPECT_STREQ(Added(1).c_str(), gPlugin.statusText);
    ShowStatus(statusLine, "something else");
    native_Simple_saveString(jri.env(), peer, JavaString("ignored"), -1);
    EXPECT_STREQ(Added(1).c_str(), gPlugin.statusText);     /* the same report again */
    EXPECT_EQ(1, gPlugin.queueCount);
    native_Simple_saveString(jri.env(), peer, nullptr, 3);  /* null URL: nothing */
    EXPECT_EQ(1, gPlugin.queueCount);
}

/* A queue that cannot be written is reported; nothing is counted. */
TEST_F(Natives, QueueThatCannotBeWritten)
{
    strcpy(gPlugin.downloadDir, "\\no such folder\\");
    Press({ "http://h/a.zip" });
    EXPECT_TRUE(Sent("Unable to write the Batch Download Queue - http://h/a.zip not added"));
    EXPECT_STREQ("Nothing to add...", gPlugin.statusText);
}

/* getIt runs StartBatch with startingBatch set and announces every saved file. */
TEST_F(Natives, GetItStartsTheBatch)
{
    Press({ "http://h/a.zip", "http://h/b.zip", "http://h/c.zip" });
    EXPECT_EQ(1, native_Simple_getIt(jri.env(), peer));
    ASSERT_EQ(1u, requests.size());
    EXPECT_EQ("http://h/a.zip", requests[0].url);
    EXPECT_EQ(statusLine, requests[0].instance);
    EXPECT_EQ(1, requests[0].startingBatch);
    EXPECT_EQ("You have selected 3 files for downloading...", requests[0].statusText);
    EXPECT_EQ(0, gPlugin.startingBatch);
    EXPECT_NE(std::string::npos, LogText().find(" Into getIt2()\r\n"));
    ServeBatch(statusLine);
    EXPECT_TRUE(Sent("Downloading file #1 of 3: \\download\\A.ZIP..."));
    EXPECT_TRUE(Sent("Downloading file #3 of 3: \\download\\C.ZIP..."));
    EXPECT_EQ("3 files/" + std::to_string(3 * ContentOf("http://h/a.zip").size()) +
              " bytes were in queue.  No more files to download...", gPlugin.statusText);
    EXPECT_FALSE(PathExists(kQueue));
}

TEST_F(Natives, GetItWithoutQueue)
{
    EXPECT_EQ(1, native_Simple_getIt(jri.env(), peer));
    EXPECT_STREQ("Batch Download Queue is empty", gPlugin.statusText);
    EXPECT_TRUE(requests.empty());
    EXPECT_EQ(0, gPlugin.startingBatch);
}

/* A second press of BATCH DOWNLOAD while the batch fetches is refused: no second request. */
TEST_F(Natives, GetItWhileFetchingIsRefused)
{
    Press({ "http://h/a.zip", "http://h/b.zip" });
    native_Simple_getIt(jri.env(), peer);
    ASSERT_EQ(1u, requests.size());
    EXPECT_EQ(1, native_Simple_getIt(jri.env(), peer));
    EXPECT_EQ(1u, requests.size());
    EXPECT_STREQ("Sorry - a batch download is already running.  Please wait until it is done...",
                 gPlugin.statusText);
    EXPECT_EQ(1, gPlugin.filesRequested);
    ServeBatch(statusLine);
    EXPECT_EQ((std::vector<std::string>{ "http://h/a.zip", "http://h/b.zip" }), RequestedUrls());
    EXPECT_EQ((std::vector<std::string>{ "A.ZIP", "B.ZIP" }), FilesIn(DOWNLOAD));
}

/* A second batch in the same window numbers its files from 1 again. */
TEST_F(Natives, SecondBatchCountsAfresh)
{
    Press({ "http://h/a.zip" });
    native_Simple_getIt(jri.env(), peer);
    ServeBatch(statusLine);
    Press({ "http://h/b.zip", "http://h/c.zip" });
    native_Simple_getIt(jri.env(), peer);
    ASSERT_EQ(2u, requests.size());
    EXPECT_EQ("You have selected 2 files for downloading...", requests[1].statusText);
    ServeBatch(statusLine);
    EXPECT_TRUE(Sent("Downloading file #1 of 2: \\download\\B.ZIP..."));
    EXPECT_TRUE(Sent("Downloading file #2 of 2: \\download\\C.ZIP..."));
    EXPECT_EQ("2 files/" + std::to_string(2 * ContentOf("http://h/b.zip").size()) +
              " bytes were in queue.  No more files to download...", gPlugin.statusText);
}

/* A browser that delivers the requested file inside NPN_GetURL: its end arrives while
 * StartBatch runs. The end waits, the output stays open, and once getIt is over the file
 * is stored and the next one requested. */
TEST_F(Natives, StreamEndDuringStartBatchWaitsForItsEnd)
{
    Press({ "http://h/a.zip", "http://h/b.zip" });
    int outputOpenAfterEnd = -1;
    size_t requestsAfterEnd = 0;
    onRequest = [&](const Request &request) {
        bool starting = gPlugin.startingBatch != 0;
        DeliverStream(request.instance, request.url, ContentOf(request.url));
        if (starting) {
            outputOpenAfterEnd = gPlugin.outputOpen;
            requestsAfterEnd = requests.size();
        }
    };
    native_Simple_getIt(jri.env(), peer);
    onRequest = nullptr;
    EXPECT_EQ(1, outputOpenAfterEnd);
    EXPECT_EQ(1u, requestsAfterEnd);
    EXPECT_EQ((std::vector<std::string>{ "http://h/a.zip", "http://h/b.zip" }), RequestedUrls());
    EXPECT_EQ(ContentOf("http://h/a.zip"), ReadFileText(DOWNLOAD "A.ZIP"));
    EXPECT_EQ(ContentOf("http://h/b.zip"), ReadFileText(DOWNLOAD "B.ZIP"));
    EXPECT_FALSE(PathExists(kQueue));
    EXPECT_EQ(0, gPlugin.streamEndDeferred);
}

/* While startingBatch is set a stream end returns at once and the output stays open. */
TEST_F(Natives, StreamEndWhileStartingBatchTouchesNothing)
{
    NPP instance = NewInstance();
    NPStream *stream = BeginStream(instance, "http://h/l.tvn");
    WriteStream(instance, stream, "http://h/a.zip\n");
    gPlugin.startingBatch = 1;
    EXPECT_EQ(NPERR_NO_ERROR, NPP_DestroyStream(instance, stream, NPRES_DONE));
    EXPECT_EQ(1, gPlugin.outputOpen);
    EXPECT_TRUE(requests.empty());
    gPlugin.startingBatch = 0;
    RunDeferredStreamEnd();
    EXPECT_EQ(0, gPlugin.outputOpen);
    EXPECT_EQ(std::vector<std::string>{ "http://h/a.zip" }, RequestedUrls());
}

TEST_F(Natives, GetStringWalksTheListingCopy)
{
    CreateDirectoryA(DOWNLOAD, nullptr);
    WriteFileText(DOWNLOAD "brenmar.tmp", "one\ntwo\nthree");
    const bool expected[] = { true, true, true, false, true };
    for (size_t i = 0; i < sizeof expected / sizeof expected[0]; i++)
        EXPECT_EQ(expected[i], native_Simple_getString(jri.env(), peer, nullptr) != 0) << i;
    fclose(gPlugin.listingReader);
    gPlugin.listingReader = nullptr;
    DeleteFileA(DOWNLOAD "brenmar.tmp");
    EXPECT_EQ(0, native_Simple_getString(jri.env(), peer, JavaString("x")));
    EXPECT_EQ(nullptr, gPlugin.listingReader);
}

TEST_F(Natives, PrintToStdoutWritesTheTextAsItIs)
{
    const char *path = "\\stdout.txt";
    fflush(stdout);
    int saved = _dup(_fileno(stdout));
    FILE *capture = fopen(path, "w");
    ASSERT_NE(nullptr, capture);
    _dup2(_fileno(capture), _fileno(stdout));
    native_Simple_printToStdout(jri.env(), peer, JavaString("100%s done %d\\n"));
    native_Simple_printToStdout(jri.env(), peer, nullptr);
    fflush(stdout);
    _dup2(saved, _fileno(stdout));
    _close(saved);
    fclose(capture);
    EXPECT_EQ("100%s done %d\\n", ReadFileText(path));
    DeleteFileA(path);
}

TEST_F(Natives, TrickyChangesNothing)
{
    PluginGlobals before = gPlugin;
    native_Simple_tricky(jri.env(), peer, peer, 42);
    native_Simple_tricky(nullptr, nullptr, nullptr, -1);
    EXPECT_EQ(0, memcmp(&before, &gPlugin, sizeof before));
    EXPECT_TRUE(requests.empty());
}
