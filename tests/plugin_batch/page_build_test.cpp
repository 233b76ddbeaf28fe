/* page_build_test.cpp - page mode: the listing arrives, the Batch Download Window is written
 * into a new window, the listing copy goes; the page's head, script, listing, status-line
 * embed and buttons. */
#include "batch_fixture.h"

#include "batch_engine.h"
#include "page_text.h"

static const std::string kListUrl = "http://h/dir/";

class PageMode : public PluginTest {
protected:
    /* A page-mode instance whose listing arrives with these bytes; returns the page the
     * plug-in wrote (empty when it opened none). */
    std::string BuildFrom(const std::string &listing, const std::string &listUrl = kListUrl)
    {
        NPP instance = NewInstance({ { "URL", listUrl } });
        DeliverStream(instance, listUrl, listing);
        return browser.streams.empty() ? "" : browser.streams.back().data;
    }

    /* The part of the page between "<FORM>\n" and the status-line embed. */
    static std::string Body(const std::string &page)
    {
        size_t from = page.find(PAGE_BODY_START);
        size_t to = page.find(PAGE_STATUS_EMBED);
        if (from == std::string::npos || to == std::string::npos)
            return "<no body>";
        from += strlen(PAGE_BODY_START);
        return page.substr(from, to - from);
    }
};

/* The complete page for a small listing, byte for byte as checked in. */
TEST_F(PageMode, CompletePageForSmallListing)
{
    std::string page = BuildFrom(ReadFileText(SOURCE_DIR "/small_listing.html"));
    EXPECT_EQ(ReadFileText(SOURCE_DIR "/small_listing_page.html"), page);
    ASSERT_EQ(1u, browser.streams.size());
    EXPECT_EQ("text/html", browser.streams[0].mimeType);
    EXPECT_EQ("_blank", browser.streams[0].target);
    EXPECT_TRUE(browser.streams[0].destroyed);
    EXPECT_EQ(NPRES_DONE, browser.streams[0].reason);
    EXPECT_TRUE(browser.misuse.empty());
    EXPECT_FALSE(PathExists(DOWNLOAD "brenmar.tmp"));
    EXPECT_EQ(0, gPlugin.pageBuilt);
    EXPECT_EQ(std::vector<std::string>{ kListUrl }, RequestedUrls());
}

/* The head line carries listUrl as the base address, escaped, whatever its length; the
 * script follows on the same line. */
TEST_F(PageMode, HeadLineAndBaseAddress)
{
    const struct { std::string listUrl; std::string base; } cases[] = {
        { kListUrl, kListUrl },
        { "http://h/" + std::string(300, 'p') + "/", "http://h/" + std::string(300, 'p') + "/" },
        { "http://h/a\"><script>x()</script>&b", "http://h/a&quot;&gt;&lt;script&gt;x()&lt;/script&gt;&amp;b" },
    };
    for (const auto &c : cases) {
        TearDown();
        SetUp();
        std::string page = BuildFrom("</embed>\n", c.listUrl);
        std::string head = std::string(PAGE_HEAD_START) + c.base + PAGE_HEAD_END;
        EXPECT_EQ(head, page.substr(0, head.size())) << c.listUrl;
        EXPECT_EQ(head.size() - 1, page.find('\n')) << "the head line is the first line";
        std::string script;
        for (size_t i = 0; pageScriptLines[i][0] != '\0'; i++)
            script += pageScriptLines[i];
        EXPECT_EQ(head + script + PAGE_BODY_START, page.substr(0, page.find("<FORM>\n") + 7));
    }
}

/* Which listing lines reach the page, and how. */
TEST_F(PageMode, ListingLinesTable)
{
    const struct { const char *name; std::string listing; std::string body; } cases[] = {
        { "lines up to and with the first </embed> are left out",
          "a\n<embed></embed>\nb\n", "b\n" },
        { "no </embed> at all: nothing", "a\nb\n", "" },
        { "a second </embed> is copied", "</embed>\nx</embed>\n", "x</embed>\n" },
        { "</BODY> lines are left out, links and all",
          "</embed>\n<A HREF=\"a\">a</A></BODY>\nz\n", "z\n" },
        { "upper case </EMBED> is no mark", "</EMBED>\n", "" },
        { "last line without a line break", "</embed>\nend", "end" },
        { "a long line is copied in pieces of 199 characters",
          "</embed>\n" + std::string(450, 'w') + "\n", std::string(450, 'w') + "\n" },
        { "a link cut by a piece's end is copied unchanged",
          "</embed>\n" + std::string(190, ' ') + "<A HREF=\"abcdefghij.zip\">x</A>\n",
          std::string(190, ' ') + "<A HREF=\"abcdefghij.zip\">x</A>\n" },
        { "a link wholly in a later piece gets its box",
          "</embed>\n" + std::string(199, ' ') + "<A HREF=\"b.zip\">b</A>\n",
          std::string(199, ' ') + "<input type=checkbox name=\"" + kListUrl +
              "b.zip\" onclick=setFile(this)><A HREF=\"b.zip\">b</A>\n" },
    };
    for (const auto &c : cases) {
        TearDown();
        SetUp();
        EXPECT_EQ(c.body, Body(BuildFrom(c.listing))) << c.name;
    }
}

/* Decodes the character references HtmlEscape writes, as a browser reads an attribute. */
static std::string AttributeValue(const std::string &text)
{
    static const std::pair<const char *, char> refs[] = {
        { "&amp;", '&' }, { "&lt;", '<' }, { "&gt;", '>' }, { "&quot;", '"' }, { "&#39;", '\'' },
    };
    std::string value;
    for (size_t i = 0; i < text.size();) {
        bool matched = false;
        for (const auto &ref : refs) {
            if (text.compare(i, strlen(ref.first), ref.first) == 0) {
                value += ref.second;
                i += strlen(ref.first);
                matched = true;
                break;
            }
        }
        if (!matched)
            value += text[i++];
    }
    return value;
}

/* Hostile link targets and listUrl: no markup reaches the page outside the quoted name,
 * and the name's value, as the browser reads it (what saveString receives), is exactly
 * listUrl followed by the address of the link. */
TEST_F(PageMode, HostileLinkTargets)
{
    const struct { std::string href; std::string address; } cases[] = {
        { "x><script>alert(1)</script>.zip", "x><script>alert(1)</script>.zip" },
        { "a onclick=evil() b.zip", "a onclick=evil() b.zip" },
        { "a&quot; onmouseover=&quot;evil()", "a\" onmouseover=\"evil()" },
        { "it's.zip", "it's.zip" },
        { "R&amp;D.zip", "R&D.zip" },
        { "<img src=x>", "<img src=x>" },
    };
    const std::string listUrls[] = { kListUrl, "http://h/?a=1&b=\"2\"><i>/" };
    for (const std::string &listUrl : listUrls) {
        for (const auto &c : cases) {
            TearDown();
            SetUp();
            std::string body =
                Body(BuildFrom("</embed>\n<A HREF=\"" + c.href + "\">file</A>\n", listUrl));
            std::string start = CHECKBOX_START;
            size_t from = body.find(start);
            size_t to = body.find(CHECKBOX_END);
            ASSERT_NE(std::string::npos, from) << c.href;
            ASSERT_NE(std::string::npos, to) << c.href;
            std::string name = body.substr(from + start.size(), to - from - start.size());
            EXPECT_EQ(std::string::npos, name.find_first_of("<>\"'")) << c.href << " in " << name;
            EXPECT_EQ(listUrl + c.address, AttributeValue(name)) << c.href;
            EXPECT_EQ(0u, from) << "nothing before the box: " << c.href;
        }
    }
}

/* No page stream from the browser: nothing written, the listing copy kept, a message. */
TEST_F(PageMode, NoPageStream)
{
    browser.FailAfter(FAKE_NPN_NEWSTREAM, 0);
    std::string page = BuildFrom("</embed>\n<A HREF=\"a\">a</A>\n");
    EXPECT_EQ("", page);
    EXPECT_EQ(0, browser.CountOf(FAKE_NPN_WRITE));
    EXPECT_EQ("</embed>\n<A HREF=\"a\">a</A>\n", ReadFileText(DOWNLOAD "brenmar.tmp"));
    EXPECT_STREQ("Unable to open the Batch Download Window", gPlugin.statusText);
    EXPECT_EQ(0, gPlugin.pageBuilt);
}

/* No listing copy: no window is opened and nothing is shown. */
TEST_F(PageMode, NoListingCopyNoWindow)
{
    NPP instance = NewInstance({ { "URL", kListUrl } });
    std::string before = gPlugin.statusText;
    gPlugin.pageMode = 1;
    BuildBatchPage(instance);
    EXPECT_EQ(0, browser.CountOf(FAKE_NPN_NEWSTREAM));
    EXPECT_EQ(before, gPlugin.statusText);
    EXPECT_EQ(0, gPlugin.pageBuilt);
}

/* A browser that takes only part of each write still receives the whole page. */
TEST_F(PageMode, PartialWritesAreCompleted)
{
    std::string listing = ReadFileText(SOURCE_DIR "/small_listing.html");
    browser.writeLimit = 5;
    EXPECT_EQ(ReadFileText(SOURCE_DIR "/small_listing_page.html"), BuildFrom(listing));
}

static PluginTest *sPageTest = nullptr;
static NPN_WriteProcPtr sFakeWrite = nullptr;
static int sStreamEndsDuringPage = 0;

/* A browser that ends a stream of the instance while the page is being written. */
static int32_t WriteWithStreamEnd(NPP instance, NPStream *stream, int32_t len, void *buffer)
{
    if (sStreamEndsDuringPage-- > 0) {
        NPStream other = {};
        NPP_DestroyStream(instance, &other, NPRES_DONE);
    }
    return sFakeWrite(instance, stream, len, buffer);
}

/* A stream end that arrives while the page is written takes the queue's path: no second
 * page is started over the same listing. */
TEST_F(PageMode, StreamEndDuringPageStartsNoSecondPage)
{
    sPageTest = this;
    sFakeWrite = browser.funcs.write;
    browser.funcs.write = WriteWithStreamEnd;
    sStreamEndsDuringPage = 1;
    std::string page = BuildFrom(ReadFileText(SOURCE_DIR "/small_listing.html"));
    browser.funcs.write = sFakeWrite;
    EXPECT_EQ(1u, browser.streams.size());
    EXPECT_EQ(ReadFileText(SOURCE_DIR "/small_listing_page.html"), page);
    EXPECT_EQ(0, gPlugin.pageBuilt);
}

/* The status-line instance the page embeds makes the process list-mode again. */
TEST_F(PageMode, StatusLineInstanceEndsPageMode)
{
    BuildFrom("</embed>\n");
    NewInstance({ { "name", "Simple" }, { "type", "application/tvn" }, { "INWINDOW", "yes" } });
    EXPECT_EQ(0, gPlugin.pageMode);
    EXPECT_EQ(nullptr, gPlugin.listUrl);
    EXPECT_EQ(1, gPlugin.inWindow);
    EXPECT_EQ(0, gPlugin.filesRequested);
    EXPECT_EQ(0, gPlugin.bytesReceived);
    EXPECT_EQ(1u, requests.size());      /* the status line requests nothing */
}
