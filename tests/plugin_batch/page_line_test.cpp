/* page_line_test.cpp - one listing line becomes one line of the Batch Download Window. */
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "batch_engine.h"
#include "plugin_load.h"

struct LineCase {
    const char *name;
    std::string line;
    std::string expected;
};

static const std::string kList = "http://h/dir/";

static std::string Box(const std::string &escapedName)
{
    return "<input type=checkbox name=\"" + escapedName + "\" onclick=setFile(this)>";
}

static std::vector<LineCase> LineCases()
{
    return {
        { "file link", "<A HREF=\"a.zip\">a.zip</A>\n",
          Box(kList + "a.zip") + "<A HREF=\"a.zip\">a.zip</A>\n" },
        { "text before the link comes first",
          " 10/12/96  3:05 PM  1024 <A HREF=\"a.zip\">a.zip</A>\n",
          " 10/12/96  3:05 PM  1024 " + Box(kList + "a.zip") + "<A HREF=\"a.zip\">a.zip</A>\n" },
        { "five blanks after </A>: two remain", "<A HREF=\"a\">a</A>     1k\n",
          Box(kList + "a") + "<A HREF=\"a\">a</A>  1k\n" },
        { "two blanks then the line feed: all three go", "<A HREF=\"a\">a</A>  \n",
          Box(kList + "a") + "<A HREF=\"a\">a</A>" },
        { "two blanks at the end: only they go", "<A HREF=\"a\">a</A>  ",
          Box(kList + "a") + "<A HREF=\"a\">a</A>" },
        { "one blank after </A> stays", "<A HREF=\"a\">a</A> x\n",
          Box(kList + "a") + "<A HREF=\"a\">a</A> x\n" },
        { "directory link: unchanged", "<A HREF=\"sub/\">sub</A>     \n",
          "<A HREF=\"sub/\">sub</A>     \n" },
        { "parent link: unchanged", "<A HREF=\"../\">[To Parent Directory]</A>\n",
          "<A HREF=\"../\">[To Parent Directory]</A>\n" },
        { "no link: unchanged, blanks kept", "plain</A>     text\n", "plain</A>     text\n" },
        { "lower-case link tag: unchanged", "<a href=\"a.zip\">a.zip</a>\n",
          "<a href=\"a.zip\">a.zip</a>\n" },
        { "quote cut off by the line's end: unchanged", "  <A HREF=\"abcdefgh",
          "  <A HREF=\"abcdefgh" },
        { "empty target gets a box named listUrl", "<A HREF=\"\">x</A>\n",
          Box(kList) + "<A HREF=\"\">x</A>\n" },
        { "full address is appended to listUrl all the same",
          "<A HREF=\"http://o/x.zip\">x</A>\n",
          Box(kList + "http://o/x.zip") + "<A HREF=\"http://o/x.zip\">x</A>\n" },
        { "only the first link gets a box",
          "<A HREF=\"a\">a</A> <A HREF=\"b\">b</A>\n",
          Box(kList + "a") + "<A HREF=\"a\">a</A> <A HREF=\"b\">b</A>\n" },
        { "references in the target are read as the listing means them",
          "<A HREF=\"R&amp;D.zip\">R&amp;D</A>\n",
          Box("http://h/dir/R&amp;D.zip") + "<A HREF=\"R&amp;D.zip\">R&amp;D</A>\n" },
        { "a bare & is escaped", "<A HREF=\"R&D.zip\">x</A>\n",
          Box("http://h/dir/R&amp;D.zip") + "<A HREF=\"R&D.zip\">x</A>\n" },
        { "markup in the target stays text",
          "<A HREF=\"x><script>alert(1)</script>.zip\">x</A>\n",
          Box("http://h/dir/x&gt;&lt;script&gt;alert(1)&lt;/script&gt;.zip") +
              "<A HREF=\"x><script>alert(1)</script>.zip\">x</A>\n" },
        { "an escaped quote cannot close the name",
          "<A HREF=\"a&quot; onclick=&quot;evil()\">x</A>\n",
          Box("http://h/dir/a&quot; onclick=&quot;evil()") +
              "<A HREF=\"a&quot; onclick=&quot;evil()\">x</A>\n" },
        { "blanks and single quotes", "<A HREF=\"a b'c.zip\">x</A>\n",
          Box("http://h/dir/a b&#39;c.zip") + "<A HREF=\"a b'c.zip\">x</A>\n" },
    };
}

TEST(PageLine, TransformTable)
{
    ReloadPluginState();
    for (const LineCase &c : LineCases()) {
        char output[PAGE_LINE_BYTES];
        int transformed = -1;
        size_t needed = TransformListingLine(c.line.c_str(), kList.c_str(), output,
                                             sizeof output, &transformed);
        EXPECT_EQ(c.expected, output) << c.name;
        EXPECT_EQ(c.line != c.expected, transformed == 1) << c.name;
        EXPECT_GE(needed, c.expected.size()) << c.name;
    }
}

/* listUrl is escaped in the name like the target. */
TEST(PageLine, ListUrlIsEscaped)
{
    ReloadPluginState();
    char output[PAGE_LINE_BYTES];
    int transformed = 0;
    TransformListingLine("<A HREF=\"a\">a</A>\n", "http://h/?q=\"><b>&x", output,
                         sizeof output, &transformed);
    EXPECT_EQ(Box("http://h/?q=&quot;&gt;&lt;b&gt;&amp;x" "a") + "<A HREF=\"a\">a</A>\n",
              std::string(output));
}

/* A line that does not fit is not written at all; the answer says how much room it needs,
 * and with that room it comes out whole. Nothing is written past the buffer. */
TEST(PageLine, LineLongerThanTheBuffer)
{
    ReloadPluginState();
    std::string listUrl(400, 'u');
    std::string line = "<A HREF=\"" + std::string(150, '&') + "\">x</A>     \n";
    std::vector<char> small(PAGE_LINE_BYTES + 1, '#');
    int transformed = 0;
    size_t needed = TransformListingLine(line.c_str(), listUrl.c_str(), small.data(),
                                         PAGE_LINE_BYTES, &transformed);
    EXPECT_GE(needed, (size_t)PAGE_LINE_BYTES);
    EXPECT_EQ('\0', small[0]);
    EXPECT_EQ('#', small[PAGE_LINE_BYTES]);
    std::vector<char> big(needed + 1);
    EXPECT_EQ(needed, TransformListingLine(line.c_str(), listUrl.c_str(), big.data(),
                                           big.size(), &transformed));
    std::string expected = Box(listUrl + [] {
        std::string amps;
        for (int i = 0; i < 150; i++)
            amps += "&amp;";
        return amps;
    }()) + "<A HREF=\"" + std::string(150, '&') + "\">x</A>  \n";
    EXPECT_EQ(expected, std::string(big.data()));
    EXPECT_EQ(needed, expected.size() + 3);   /* before the three characters were dropped */
}

struct EscapeCase {
    std::string text;
    std::string escaped;
};

TEST(PageLine, EscapeAndUnescapeTable)
{
    const EscapeCase cases[] = {
        { "", "" }, { "plain/a.zip", "plain/a.zip" }, { "a&b", "a&amp;b" },
        { "<>\"'", "&lt;&gt;&quot;&#39;" }, { "&amp;", "&amp;amp;" },
    };
    for (const EscapeCase &c : cases) {
        char out[64] = "x";
        EXPECT_EQ(c.escaped.size(), HtmlEscape(c.text.c_str(), out, sizeof out)) << c.text;
        EXPECT_EQ(c.escaped, out) << c.text;
        std::string back = out;
        HtmlUnescapeInPlace(&back[0]);
        EXPECT_EQ(c.text, back.c_str()) << c.text;
    }
    const EscapeCase references[] = {
        { "&amp;&lt;&gt;&quot;&apos;&#39;", "&<>\"''" }, { "&#65;&#x42;&#X43;", "ABC" },
        { "&copy; &#0; &#256; &#; &#x; &amp", "&copy; &#0; &#256; &#; &#x; &amp" },
        { "a&b", "a&b" },
    };
    for (const EscapeCase &c : references) {
        std::string text = c.text;
        HtmlUnescapeInPlace(&text[0]);
        EXPECT_EQ(c.escaped, text.c_str()) << c.text;
    }
    char tiny[5] = "####";
    EXPECT_EQ(6u, HtmlEscape("a&", tiny, 5));
    EXPECT_STREQ("", tiny);
}
