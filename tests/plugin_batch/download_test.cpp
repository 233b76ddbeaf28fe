/* download_test.cpp - a downloaded file is stored under its own name only when its stream
 * ended complete; failed, aborted and cut-off transfers leave nothing the next batch would
 * take for a finished file. */
#include "batch_fixture.h"

#include <io.h>

struct EndCase {
    NPReason reason;
    bool stored;
    std::string report;    /* on the status line, console and log; "" for none */
};

static const std::string kUrl = "http://h/files/a.zip";

class Download : public PluginTest {};

/* Each way a download's stream can end, then the queue goes on to the next entry. */
TEST_F(Download, StreamEndTable)
{
    const EndCase cases[] = {
        { NPRES_DONE, true, "" },
        { NPRES_NETWORK_ERR, false, kUrl + ": Unable to download" },
        { NPRES_USER_BREAK, false, kUrl + ": User Abort" },
        { 7, false, kUrl + ": Unknown error" },
    };
    for (const EndCase &c : cases) {
        TearDown();
        SetUp();
        NPP instance = NewInstance();
        DeliverStream(instance, "http://h/l.tvn", kUrl + "\nhttp://h/b.zip\n");
        ASSERT_EQ(1u, requests.size()) << "reason " << c.reason;
        NPStream *stream = BeginStream(instance, kUrl);
        WriteStream(instance, stream, "partial or whole");
        EXPECT_FALSE(PathExists(DOWNLOAD "A.ZIP")) << "reason " << c.reason;
        EXPECT_TRUE(PathExists(DOWNLOAD "brenmar.part")) << "reason " << c.reason;
        NPP_StreamAsFile(instance, stream, "C:\\NETSCAPE\\CACHE\\M1.TMP");
        std::string statusAtEnd;
        onRequest = [&](const Request &request) { statusAtEnd = request.statusText; };
        EndStream(instance, stream, c.reason);
        onRequest = nullptr;

        EXPECT_EQ(c.stored, PathExists(DOWNLOAD "A.ZIP")) << "reason " << c.reason;
        if (c.stored)
            EXPECT_EQ("partial or whole", ReadFileText(DOWNLOAD "A.ZIP"));
        EXPECT_FALSE(PathExists(DOWNLOAD "brenmar.part")) << "reason " << c.reason;
        /* The queue advances as for a complete file. */
        EXPECT_EQ((std::vector<std::string>{ kUrl, "http://h/b.zip" }), RequestedUrls())
            << "reason " << c.reason;
        if (!c.report.empty()) {
            EXPECT_EQ(c.report, statusAtEnd) << "reason " << c.reason;
            EXPECT_TRUE(Sent(c.report)) << "reason " << c.reason;
            EXPECT_NE(std::string::npos, LogText().find(c.report)) << "reason " << c.reason;
        } else {
            EXPECT_EQ(std::string::npos, LogText().find(kUrl)) << "reason " << c.reason;
        }
    }
}

/* The browser dies in the middle of a transfer: the file never gets its name, so the next
 * batch fetches it again instead of skipping it as complete. */
TEST_F(Download, TransferCutShortIsFetchedAgain)
{
    const std::string queue = kUrl + "\n";
    NPP instance = NewInstance();
    DeliverStream(instance, "http://h/l.tvn", queue);
    NPStream *stream = BeginStream(instance, kUrl);
    WriteStream(instance, stream, "first half");
    /* The process ends here: its handles go, its state is gone. */
    _close(gPlugin.outputHandle);
    fclose(gPlugin.queueReader);
    ReloadPluginState();
    EXPECT_FALSE(PathExists(DOWNLOAD "A.ZIP"));

    ASSERT_EQ(NPERR_NO_ERROR, LoadPlugin(browser, &table));
    requests.clear();
    NPP again = NewInstance();
    DeliverStream(again, "http://h/l.tvn", queue);
    EXPECT_EQ(std::vector<std::string>{ kUrl }, RequestedUrls());
    ServeBatch(again);
    EXPECT_EQ(ContentOf(kUrl), ReadFileText(DOWNLOAD "A.ZIP"));
    EXPECT_EQ((std::vector<std::string>{ "A.ZIP" }), FilesIn(DOWNLOAD));
}

/* A new download is written from an emptied temporary file: a longer one left behind by
 * a cut-off transfer adds no tail. */
TEST_F(Download, LeftoverTemporaryFileAddsNoTail)
{
    CreateDirectoryA(DOWNLOAD, nullptr);
    WriteFileText(DOWNLOAD "brenmar.part", std::string(1000, 'z'));
    NPP instance = NewInstance();
    DeliverStream(instance, "http://h/l.tvn", kUrl + "\n");
    ServeBatch(instance);
    EXPECT_EQ(ContentOf(kUrl), ReadFileText(DOWNLOAD "A.ZIP"));
}

/* A download whose file cannot be created is reported and not stored; the batch goes on
 * and its bytes are still counted. */
TEST_F(Download, FileThatCannotBeCreatedIsReported)
{
    NPP instance = NewInstance();
    std::string queue = kUrl + "\nhttp://h/b.zip\n";
    DeliverStream(instance, "http://h/l.tvn", queue);
    ASSERT_TRUE(CreateDirectoryA(DOWNLOAD "brenmar.part", nullptr));   /* blocks the file */
    ServeBatch(instance);
    EXPECT_TRUE(Sent(kUrl + ": could not be stored"));
    EXPECT_TRUE(Sent("http://h/b.zip: could not be stored"));
    EXPECT_EQ((std::vector<std::string>{ kUrl, "http://h/b.zip" }), RequestedUrls());
    EXPECT_FALSE(PathExists(DOWNLOAD "A.ZIP"));
    size_t bytes = queue.size() + ContentOf(kUrl).size() + ContentOf("http://h/b.zip").size();
    EXPECT_EQ("2 files/" + std::to_string(bytes) +
              " bytes were in queue.  No more files to download...", gPlugin.statusText);
}
