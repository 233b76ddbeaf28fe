/* guard_test.cpp - a running batch and the other documents of the browser: new instances,
 * their streams, and the end of the batch's own instance. */
#include "batch_fixture.h"

static const std::string kQueueText = "http://h/a.zip\nhttp://h/b.zip\n";

class BatchGuard : public PluginTest {
protected:
    NPP batch = nullptr;

    /* A list-mode batch waiting for its first file. */
    void StartListBatch()
    {
        batch = NewInstance();
        DeliverStream(batch, "http://h/l.tvn", kQueueText);
        ASSERT_EQ(std::vector<std::string>{ "http://h/a.zip" }, RequestedUrls());
    }
};

/* A new document opened while the batch fetches is refused: it never lands in the queue
 * file or in a download, and the batch's counters and files are untouched. */
TEST_F(BatchGuard, NewDocumentDuringBatchIsRefused)
{
    StartListBatch();
    NPP other = NewInstance();
    EXPECT_EQ(1, gPlugin.filesRequested);
    DeliverStream(other, "http://h/other.tvn", "http://h/evil.zip\n");
    EXPECT_STREQ("Sorry - a batch download is running.  Not taken: http://h/other.tvn",
                 gPlugin.statusText);
    EXPECT_EQ(kQueueText.size(), ReadFileText(DOWNLOAD "brenmar.txt").size());

    ServeBatch(batch);
    EXPECT_EQ((std::vector<std::string>{ "http://h/a.zip", "http://h/b.zip" }), RequestedUrls());
    EXPECT_EQ(ContentOf("http://h/a.zip"), ReadFileText(DOWNLOAD "A.ZIP"));
    EXPECT_EQ(ContentOf("http://h/b.zip"), ReadFileText(DOWNLOAD "B.ZIP"));
    EXPECT_EQ((std::vector<std::string>{ "A.ZIP", "B.ZIP" }), FilesIn(DOWNLOAD));
}

/* The other document's stream overlapping the batch's download: neither mixes. */
TEST_F(BatchGuard, OverlappingStreamsStayApart)
{
    StartListBatch();
    NPP other = NewInstance();
    NPStream *download = BeginStream(batch, "http://h/a.zip");
    WriteStream(batch, download, "AAAA");
    NPStream *document = BeginStream(other, "http://h/other.tvn");
    WriteStream(other, document, "http://h/evil.zip\n");
    WriteStream(batch, download, "BBBB");
    EndStream(other, document);
    EndStream(batch, download);
    EXPECT_EQ("AAAABBBB", ReadFileText(DOWNLOAD "A.ZIP"));
    EXPECT_EQ(kQueueText, ReadFileText(DOWNLOAD "brenmar.txt"));
    EXPECT_EQ((std::vector<std::string>{ "http://h/a.zip", "http://h/b.zip" }), RequestedUrls());
}

/* A page-mode instance created while the batch fetches does not request its listing. */
TEST_F(BatchGuard, PageInstanceDuringBatchRequestsNothing)
{
    StartListBatch();
    NewInstance({ { "URL", "http://h/dir/" } });
    EXPECT_EQ(std::vector<std::string>{ "http://h/a.zip" }, RequestedUrls());
    EXPECT_STREQ("Sorry - a batch download is running.  Not requested: http://h/dir/",
                 gPlugin.statusText);
    ServeBatch(batch);
    EXPECT_EQ((std::vector<std::string>{ "A.ZIP", "B.ZIP" }), FilesIn(DOWNLOAD));
}

/* The batch's instance goes away: the partial download is removed, the queue kept, and the
 * process is idle again; a later batch fetches what is missing. */
TEST_F(BatchGuard, DestroyedBatchInstanceStopsTheBatch)
{
    StartListBatch();
    NPStream *download = BeginStream(batch, "http://h/a.zip");
    WriteStream(batch, download, "half");
    EXPECT_EQ(NPERR_NO_ERROR, NPP_Destroy(batch, nullptr));
    EXPECT_EQ(0, gPlugin.filesRequested);
    EXPECT_EQ(nullptr, gPlugin.queueReader);
    EXPECT_FALSE(PathExists(DOWNLOAD "brenmar.part"));
    EXPECT_FALSE(PathExists(DOWNLOAD "A.ZIP"));
    EXPECT_TRUE(PathExists(DOWNLOAD "brenmar.txt"));
    EXPECT_NE(std::string::npos, LogText().find("http://h/a.zip: User Abort"));

    NPP next = NewInstance({ { "INWINDOW", "yes" } });
    PeerIs(next);
    StartBatch(next);
    ServeBatch(next);
    EXPECT_EQ((std::vector<std::string>{ "A.ZIP", "B.ZIP" }), FilesIn(DOWNLOAD));
}

/* A stream that still arrives for the batch's instance once the queue is done is dropped. */
TEST_F(BatchGuard, StreamAfterTheEndIsDropped)
{
    StartListBatch();
    ServeBatch(batch);
    ASSERT_FALSE(PathExists(DOWNLOAD "brenmar.txt"));
    DeliverStream(batch, "http://h/late.zip", "late");
    EXPECT_EQ((std::vector<std::string>{ "A.ZIP", "B.ZIP" }), FilesIn(DOWNLOAD));
    EXPECT_EQ(2u, requests.size());
}

/* A request the browser refuses at once counts as that file failing; the batch goes on. */
TEST_F(BatchGuard, RefusedRequestMovesOn)
{
    browser.FailAfter(FAKE_NPN_GETURL, 0);
    NPP instance = NewInstance();
    DeliverStream(instance, "http://h/l.tvn", kQueueText);
    EXPECT_EQ(2u, requests.size());
    EXPECT_TRUE(Sent("http://h/a.zip: Unable to download"));
    EXPECT_TRUE(Sent("http://h/b.zip: Unable to download"));
    EXPECT_EQ(0u, FilesIn(DOWNLOAD).size());
}

/* A report longer than the status line is cut to 299 characters; nothing after statusText
 * in the plug-in's state is touched. */
TEST_F(BatchGuard, LongReportIsCutToTheStatusLine)
{
    StartListBatch();
    NPP batchBefore = gPlugin.batchInstance;
    int32_t awaitingBefore = gPlugin.awaitingStream;
    NPP other = NewInstance();
    DeliverStream(other, "http://h/" + std::string(1000, 'q') + ".tvn", "x\n");
    std::string expected = "Sorry - a batch download is running.  Not taken: http://h/" +
                           std::string(1000, 'q');
    EXPECT_EQ(expected.substr(0, STATUS_TEXT_BYTES - 1), gPlugin.statusText);
    EXPECT_EQ(batchBefore, gPlugin.batchInstance);
    EXPECT_EQ(awaitingBefore, gPlugin.awaitingStream);
    EXPECT_EQ(expected.substr(0, STATUS_TEXT_BYTES - 1), ConsoleLines().back());
}
