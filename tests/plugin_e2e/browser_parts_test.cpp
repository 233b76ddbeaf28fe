/* browser_parts_test.cpp - the browser host's URL handling, HTML reading and command line,
 * as tables */
#include <gtest/gtest.h>

#include "browser_options.h"
#include "browser_url.h"
#include "html_page.h"

TEST(BrowserUrl, ResolvesAgainstThePageAsBrowsersDo)
{
    struct Row {
        const char *base, *ref, *expected;
    } rows[] = {
        {"http://h:81/a/b/list.tvn", "files/x.zip", "http://h:81/a/b/files/x.zip"},
        {"http://h:81/a/b/list.tvn", "../x.zip", "http://h:81/a/x.zip"},
        {"http://h:81/a/b/list.tvn", "../../../../x.zip", "http://h:81/x.zip"},
        {"http://h:81/a/b/list.tvn", "/root.txt", "http://h:81/root.txt"},
        {"http://h:81/a/b/list.tvn", "http://o/p/./q/../r.txt", "http://o/p/r.txt"},
        {"http://h:81/a/", "x.txt?k=1", "http://h:81/a/x.txt?k=1"},
        {"http://h:81/a/", "", "http://h:81/a/"},
        {"http://h:81/a/", "./", "http://h:81/a/"},
        {"http://h:81/a/", "sub/..", "http://h:81/a/"},
        {"http://h:81/a/", "//other:82/z", "http://other:82/z"},
        {"http://h:81/a/", "..\\..\\evil.txt", "http://h:81/a/..\\..\\evil.txt"},
        {"http://h", "x", "http://h/x"},
    };
    for (const Row &r : rows)
        EXPECT_EQ(r.expected, ResolveUrl(r.base, r.ref)) << "base " << r.base << " ref " << r.ref;
}

TEST(BrowserUrl, ParsesOnlyHttpUrls)
{
    struct Row {
        const char *url;
        bool ok;
        const char *host, *port, *path;
    } rows[] = {
        {"http://127.0.0.1:8080/a/b?c#d", true, "127.0.0.1", "8080", "/a/b?c"},
        {"HTTP://Host", true, "Host", "80", "/"},
        {"http://h:/x", false, "", "", ""},
        {"http://h:123456/x", false, "", "", ""},
        {"http://h:8a/x", false, "", "", ""},
        {"http://user@h/x", false, "", "", ""},
        {"ftp://h/x", false, "", "", ""},
        {"http:///x", false, "", "", ""},
        {"", false, "", "", ""},
    };
    for (const Row &r : rows) {
        HttpUrl u;
        ASSERT_EQ(r.ok, ParseHttpUrl(r.url, &u)) << r.url;
        if (!r.ok)
            continue;
        EXPECT_EQ(r.host, u.host) << r.url;
        EXPECT_EQ(r.port, u.port) << r.url;
        EXPECT_EQ(r.path, u.path) << r.url;
    }
}

TEST(BrowserUrl, EncodesWhatMayNotStandInARequest)
{
    struct Row {
        const char *path, *expected;
    } rows[] = {
        {"/a b/\"q\".txt", "/a%20b/%22q%22.txt"},
        {"/..\\..\\x", "/..%5C..%5Cx"},
        {"/<b>|{}^`", "/%3Cb%3E%7C%7B%7D%5E%60"},
        {"/it's-ok_~.txt?x=1&y=%41", "/it's-ok_~.txt?x=1&y=%41"},
        {"/\x01\x7f\xe9", "/%01%7F%E9"},
    };
    for (const Row &r : rows)
        EXPECT_EQ(r.expected, EncodeRequestTarget(r.path)) << r.path;
}

TEST(BrowserUrl, ExtensionOfTheLastSegment)
{
    struct Row {
        const char *url, *ext;
    } rows[] = {
        {"http://h/a/list.TVN", "tvn"}, {"http://h/a.b/list", ""}, {"http://h/x.tvn?y=1.htm", "tvn"},
        {"http://h/", ""},              {"list.tvn#frag", "tvn"},  {"http://h/a.tar.gz", "gz"},
    };
    for (const Row &r : rows)
        EXPECT_EQ(r.ext, UrlExtension(r.url)) << r.url;
}

TEST(HtmlPage, FindsEmbedsCheckboxesAndButtonsOutsideScripts)
{
    const std::string html =
        "<HTML><HEAD><TITLE>Batch Download Window</TITLE><BASE href=\"http://h/f/\"></HEAD>\n"
        "<SCRIPT>for(var i=1; i<=acnt; i++) if(a<b) document.write('<embed name=x>');</SCRIPT>\n"
        "<BODY><FORM>\n"
        "<!-- <input type=checkbox name=commented> -->\n"
        "<A HREF=\"../\">up</A>\n"
        "<input type=checkbox name=http://h/f/a.zip onclick=setFile(this)><A HREF=\"a.zip\">a.zip</A>  1k\n"
        "<input type=checkbox name=\"http://h/f/q&quot;&lt;b&gt;&#39;&#x41;&amp;.txt\" onclick=setFile(this)>"
        "<A HREF=\"x\">x &amp; y</A>\n"
        "<br><embed name=\"Simple\" type=application/tvn INWINDOW=yes width=700 height=26></BODY></HTML>"
        "<td><input type=button name=done value=\"ADD TO BATCH\" onclick='saveArray()' "
        "onMouseOver=\"numChecked()\"></td>\n"
        "<td><input type=button name=done value=\"BATCH DOWNLOAD\" onclick='document.Simple.getIt()'></td>\n";
    HtmlPage page = ParseHtmlPage(html);
    EXPECT_EQ("Batch Download Window", page.title);
    EXPECT_EQ("http://h/f/", page.baseHref);
    ASSERT_EQ(2u, page.checkboxes.size());
    EXPECT_EQ("http://h/f/a.zip", page.checkboxes[0].name);
    EXPECT_EQ("a.zip  1k", page.checkboxes[0].label);
    EXPECT_EQ("http://h/f/q\"<b>'A&.txt", page.checkboxes[1].name);
    EXPECT_EQ("x & y", page.checkboxes[1].label);
    ASSERT_EQ(1u, page.embeds.size());
    const char *names[] = {"NAME", "TYPE", "INWINDOW", "WIDTH", "HEIGHT"};
    const char *values[] = {"Simple", "application/tvn", "yes", "700", "26"};
    ASSERT_EQ(5u, page.embeds[0].attributes.size());
    for (size_t i = 0; i < 5; i++) {
        EXPECT_EQ(names[i], page.embeds[0].attributes[i].name) << "parameter " << i;
        EXPECT_EQ(values[i], page.embeds[0].attributes[i].value) << "parameter " << i;
    }
    ASSERT_EQ(2u, page.buttons.size());
    EXPECT_EQ("ADD TO BATCH", page.buttons[0].value);
    EXPECT_EQ("saveArray()", page.buttons[0].onclick);
    EXPECT_EQ("numChecked()", page.buttons[0].onmouseover);
    EXPECT_EQ("document.Simple.getIt()", page.buttons[1].onclick);
}

TEST(HtmlPage, OddMarkupEndsWithoutElements)
{
    const char *rows[] = {"", "<", "<embed", "<input type=checkbox name=\"open", "<SCRIPT>never closed <embed>",
                          "&#;&#x;&#999;&unknown; <b>", "<!-- never closed <embed>"};
    for (const char *html : rows) {
        HtmlPage page = ParseHtmlPage(html);
        EXPECT_LE(page.embeds.size(), 1u) << html;
        EXPECT_LE(page.checkboxes.size(), 1u) << html;
    }
    EXPECT_EQ(0u, ParseHtmlPage("<SCRIPT>never closed <embed>").embeds.size());
    EXPECT_EQ(0u, ParseHtmlPage("<!-- never closed <embed>").embeds.size());
}

TEST(BrowserOptions, ReadsTheCommandLine)
{
    struct Row {
        std::vector<const char *> args;
        bool ok;
        const char *error;
    } rows[] = {
        {{"http://h/l.tvn"}, true, ""},
        {{"--tick", "1,3,4", "--add", "--download", "http://h/"}, true, ""},
        {{"--tick", "all", "http://h/"}, true, ""},
        {{"--tick", "0", "http://h/"}, false, "--tick needs"},
        {{"--tick", "1,,2", "http://h/"}, false, "--tick needs"},
        {{"--tick", "1,x", "http://h/"}, false, "--tick needs"},
        {{"--np-version", "0x0109", "u"}, true, ""},
        {{"--np-version", "0x10000", "u"}, false, "--np-version"},
        {{"--natives", "java", "u"}, false, "--natives"},
        {{"--time-limit", "0", "u"}, false, "--time-limit"},
        {{"--piece", "0", "u"}, false, "--piece"},
        {{"--add"}, false, "a URL is required"},
        {{"u", "v"}, false, "only one URL"},
        {{"--plugins"}, false, "missing value"},
        {{"--bogus", "x", "u"}, false, "unknown option"},
    };
    for (const Row &r : rows) {
        std::vector<const char *> argv = {"plugin_browser"};
        argv.insert(argv.end(), r.args.begin(), r.args.end());
        BrowserOptions o;
        std::string error;
        bool ok = ParseBrowserOptions((int)argv.size(), argv.data(), &o, &error);
        std::string label = r.args.empty() ? "" : r.args[0];
        EXPECT_EQ(r.ok, ok) << label << ": " << error;
        EXPECT_NE(std::string::npos, error.find(r.error)) << label << ": " << error;
    }
    BrowserOptions o;
    std::string error;
    const char *argv[] = {"p", "--tick", "1,3,4", "--np-version", "0x0108", "--natives", "stubs", "http://h/"};
    ASSERT_TRUE(ParseBrowserOptions(8, argv, &o, &error)) << error;
    EXPECT_EQ((std::vector<int>{1, 3, 4}), o.ticks);
    EXPECT_EQ(0x0108, o.npVersion);
    EXPECT_EQ(NATIVES_STUBS, o.natives);
    EXPECT_EQ("http://h/", o.url);
}
