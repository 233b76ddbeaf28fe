/* list_mode_test.cpp - an "application/tvn" document delivered to an instance, then every
 * request of the batch answered: what is requested, announced, stored and reported. */
#include "batch_fixture.h"

#include <numeric>

struct DocumentCase {
    const char *name;
    std::string document;
    std::vector<std::string> existing;    /* files in \download\ before the batch */
    std::vector<std::string> requested;   /* URLs asked for, in order */
    std::string announced;                /* status when the first file is asked for */
    std::string finalStatus;              /* "%B" stands for the bytes received */
    bool queueKept;                       /* the queue file is still there at the end */
    std::vector<std::string> sent;        /* console lines among those sent */
};

static std::string LongUrl(size_t length)
{
    std::string url = "http://h/";
    while (url.size() + 4 < length)
        url += 'x';
    return url + ".zip";
}

static std::string EndReport(int files)
{
    return std::to_string(files) + " files/%B bytes were in queue.  No more files to download...";
}

static const std::string kRefused = "Sorry - no files to download";

static std::vector<DocumentCase> DocumentCases()
{
    return {
        { "header 0.6 passes, three announced for three entries",
          "*VERSION: 0.6\nhttp://h/a.zip\nhttp://h/files/readme.txt\nhttp://h/c.zip\n", {},
          { "http://h/a.zip", "http://h/files/readme.txt", "http://h/c.zip" },
          "You have selected 3 files for downloading...", EndReport(3), false,
          { "Downloading file #1 of 3: \\download\\A.ZIP...",
            "Downloading file #2 of 3: \\download\\README.TXT...",
            "Downloading file #3 of 3: \\download\\C.ZIP..." } },
        { "header 0.61 refused with the upgrade message",
          "*VERSION: 0.61\nhttp://h/a.zip\n", {}, {}, "",
          "Plugin is vs 0.6b; server is using vs 0.6.  Pls upgrade your plugin.", true, {} },
        { "a later header above 0.6 refuses the whole queue",
          "*VERSION: 0.5\nhttp://h/a.zip\n*VERSION: 1.2e0\nhttp://h/b.zip\n", {}, {}, "",
          "Plugin is vs 0.6b; server is using vs 1.2.  Pls upgrade your plugin.", true, {} },
        { "headers at any place, none fetched",
          "*VERSION: 0.5\nhttp://h/a.zip\n*VERSION: 0.6\nhttp://h/b.zip\n", {},
          { "http://h/a.zip", "http://h/b.zip" },
          "You have selected 2 files for downloading...", EndReport(2), false, {} },
        { "header ending before its version reads as 0",
          "*v\nhttp://h/a.zip\n", {}, { "http://h/a.zip" },
          "You have selected 1 files for downloading...", EndReport(1), false, {} },
        { "hexadecimal version text is no number",
          "*VERSION: 0x10\nhttp://h/a.zip\n", {}, { "http://h/a.zip" },
          "You have selected 1 files for downloading...", EndReport(1), false, {} },
        { "< in a later line (an HTML page)", "http://h/a.zip\n<html>\n", {}, {}, "", kRefused,
          true, {} },
        { "< inside an entry", "http://h/a<b.zip\n", {}, {}, "", kRefused, true, {} },
        { "< past the first 199 characters of a line",
          LongUrl(250) + "<\nhttp://h/a.zip\n", {}, {}, "", kRefused, true, {} },
        { "empty list", "", {}, {}, "", EndReport(0), false, {} },
        { "last line without a line break is taken whole",
          "http://h/a.zip\nhttp://h/last-one.zip", {},
          { "http://h/a.zip", "http://h/last-one.zip" },
          "You have selected 2 files for downloading...", EndReport(2), false, {} },
        { "carriage returns and line feeds", "http://h/a.zip\r\nhttp://h/b.zip\r\n", {},
          { "http://h/a.zip", "http://h/b.zip" },
          "You have selected 2 files for downloading...", EndReport(2), false, {} },
        { "empty line names the download folder, skipped as existing",
          "http://h/a.zip\n\nhttp://h/b.zip\n", {}, { "http://h/a.zip", "http://h/b.zip" },
          "You have selected 3 files for downloading...", EndReport(3), false,
          { "\\download\\ already exists..." } },
        { "entry ending in / is the download folder",
          "http://h/dir/\nhttp://h/b.zip\n", {}, { "http://h/b.zip" },
          "\\download\\ already exists...", EndReport(2), false,
          { "\\download\\ already exists..." } },
        { "entries existing already are skipped",
          "http://h/a.zip\nhttp://h/b.zip\n", { "A.ZIP" }, { "http://h/b.zip" },
          "\\download\\a.zip already exists...", EndReport(2), false,
          { "\\download\\a.zip already exists...",
            "Downloading file #2 of 2: \\download\\B.ZIP..." } },
        { "all existing: end report, queue deleted, nothing requested",
          "http://h/a.zip\nhttp://h/b.zip\n", { "A.ZIP", "b.zip" }, {}, "", EndReport(2), false,
          { "\\download\\a.zip already exists...", "\\download\\b.zip already exists..." } },
        { "an entry over 199 characters is skipped whole, not split",
          LongUrl(250) + "\nhttp://h/b.zip\n", {}, { "http://h/b.zip" },
          "Entry longer than 199 characters - skipped: " + LongUrl(250).substr(0, 60) + "...",
          EndReport(2), false, {} },
        { "an entry of 199 characters is requested whole",
          LongUrl(199) + "\n", {}, { LongUrl(199) },
          "You have selected 1 files for downloading...", EndReport(1), false, {} },
    };
}

class ListMode : public PluginTest {};

TEST_F(ListMode, DocumentsTable)
{
    for (const DocumentCase &c : DocumentCases()) {
        TearDown();
        SetUp();
        NPP instance = NewInstance();
        CreateDirectoryA(DOWNLOAD, nullptr);
        for (const std::string &name : c.existing)
            WriteFileText(DOWNLOAD + name, "old " + name);
        DeliverStream(instance, "http://h/list.tvn", c.document);
        ServeBatch(instance);

        EXPECT_EQ(c.requested, RequestedUrls()) << c.name;
        if (!c.requested.empty()) {
            EXPECT_EQ(c.announced, requests[0].statusText) << c.name;
        }
        size_t bytes = c.document.size();
        for (const std::string &url : c.requested)
            bytes += ContentOf(url).size();
        std::string expected = c.finalStatus;
        if (expected.find("%B") != std::string::npos)
            expected.replace(expected.find("%B"), 2, std::to_string(bytes));
        EXPECT_EQ(expected, gPlugin.statusText) << c.name;
        EXPECT_EQ(c.queueKept, PathExists(DOWNLOAD "brenmar.txt")) << c.name;
        for (const std::string &line : c.sent)
            EXPECT_TRUE(Sent(line)) << c.name << ": not sent: " << line;
        for (const std::string &url : c.requested) {
            std::string name = url.substr(url.rfind('/') + 1);
            for (char &ch : name)
                ch = (char)toupper((unsigned char)ch);
            EXPECT_EQ(ContentOf(url), ReadFileText(DOWNLOAD + name)) << c.name << ": " << url;
        }
        for (const std::string &name : c.existing)
            EXPECT_EQ("old " + name, ReadFileText(DOWNLOAD + name)) << c.name;
        EXPECT_FALSE(PathExists(DOWNLOAD "brenmar.part")) << c.name;
    }
}

/* One request at a time: the next file is asked for only when the previous stream ends. */
TEST_F(ListMode, EntriesAreRequestedOnePerStreamEnd)
{
    NPP instance = NewInstance();
    DeliverStream(instance, "http://h/list.tvn", "http://h/a.zip\nhttp://h/b.zip\n");
    ASSERT_EQ(std::vector<std::string>{ "http://h/a.zip" }, RequestedUrls());
    EXPECT_TRUE(browser.CallsOf(FAKE_NPN_GETURL)[0].targetNull);
    NPStream *first = BeginStream(instance, "http://h/a.zip");
    WriteStream(instance, first, "aaa");
    EXPECT_EQ(1u, requests.size());
    EndStream(instance, first);
    EXPECT_EQ((std::vector<std::string>{ "http://h/a.zip", "http://h/b.zip" }), RequestedUrls());
    EXPECT_EQ(2, gPlugin.filesRequested);
}

/* The browser's own StreamAsFile call names its cache file; any letter case is recognised
 * and nothing is opened under that name. */
TEST_F(ListMode, BrowserCacheFileIsNotCopied)
{
    NPP instance = NewInstance();
    NPStream *stream = BeginStream(instance, "http://h/list.tvn");
    WriteStream(instance, stream, "http://h/a.zip\n");
    NPP_StreamAsFile(instance, stream, "c:\\program files\\netscape\\cache\\m0ab.tmp");
    EXPECT_EQ(NPERR_NO_ERROR, NPP_DestroyStream(instance, stream, NPRES_DONE));
    EXPECT_EQ((std::vector<std::string>{ "BRENMAR.TXT" }), FilesIn(DOWNLOAD));
}

/* A second document shorter than the queue file left by the first replaces it whole: no
 * stale entries from the old tail. */
TEST_F(ListMode, ShorterSecondQueueKeepsNoOldTail)
{
    NPP first = NewInstance();
    std::string longQueue = "*VERSION: 0.9\nhttp://h/old-1.zip\nhttp://h/old-2.zip\nhttp://h/old-3.zip\n";
    DeliverStream(first, "http://h/old.tvn", longQueue);
    ASSERT_EQ(longQueue.size(), ReadFileText(DOWNLOAD "BRENMAR.TXT").size());   /* refused, kept */

    NPP second = NewInstance();
    DeliverStream(second, "http://h/new.tvn", "http://h/new.zip\n");
    ServeBatch(second);
    EXPECT_EQ(std::vector<std::string>{ "http://h/new.zip" }, RequestedUrls());
}

/* The listing copy, too, is emptied when a new listing arrives. */
TEST_F(ListMode, ShorterSecondListingKeepsNoOldTail)
{
    CreateDirectoryA(DOWNLOAD, nullptr);
    WriteFileText(DOWNLOAD "brenmar.tmp", std::string(500, 'x'));
    NPP instance = NewInstance({ { "URL", "http://h/dir/" } });
    browser.FailAfter(FAKE_NPN_NEWSTREAM, 0);      /* no page: the listing copy is kept */
    DeliverStream(instance, "http://h/dir/", "short listing\n");
    EXPECT_EQ("short listing\n", ReadFileText(DOWNLOAD "brenmar.tmp"));
}

struct NotifyCase {
    int32_t filesRequested;
    NPReason reason;
    std::string status;
    bool sent;
};

/* NPP_URLNotify: the notify data with the outcome during a batch; nothing but the copied
 * text when idle. */
TEST_F(ListMode, UrlNotifyTable)
{
    const NotifyCase cases[] = {
        { 1, NPRES_DONE, "file.zip: Download Successful", true },
        { 1, NPRES_NETWORK_ERR, "file.zip: Unable to download", true },
        { 2, NPRES_USER_BREAK, "file.zip: User Abort", true },
        { 1, 3, "Unknown error", true },
        { 0, NPRES_DONE, "file.zip", false },
        { 0, 3, "file.zip", false },
    };
    NPP instance = NewInstance();
    char data[] = "file.zip";
    for (const NotifyCase &c : cases) {
        size_t before = ConsoleLines().size();
        gPlugin.filesRequested = c.filesRequested;
        NPP_URLNotify(instance, "http://h/file.zip", c.reason, data);
        EXPECT_EQ(c.status, gPlugin.statusText) << "reason " << c.reason;
        EXPECT_EQ(c.sent, ConsoleLines().size() == before + 1) << "reason " << c.reason;
    }
    std::string longText(400, 'n');
    gPlugin.filesRequested = 1;
    NPP_URLNotify(instance, "u", NPRES_DONE, &longText[0]);
    EXPECT_EQ(STATUS_TEXT_BYTES - 1, (int)strlen(gPlugin.statusText));
    NPP_URLNotify(instance, "u", NPRES_DONE, nullptr);
    EXPECT_STREQ(": Download Successful", gPlugin.statusText);
}

TEST_F(ListMode, NullInstanceAnswers)
{
    NPStream stream = {};
    uint16_t type = NP_NORMAL;
    EXPECT_EQ(NPERR_INVALID_INSTANCE_ERROR,
              NPP_NewStream(nullptr, const_cast<char *>("text/plain"), &stream, 0, &type));
    EXPECT_EQ(NP_ASFILE, type);
    EXPECT_EQ(NPERR_INVALID_INSTANCE_ERROR, NPP_DestroyStream(nullptr, &stream, NPRES_DONE));
}
