/* ops_test.cpp - tables for the filter's pure operations: SplitPath, CountTokens,
 * GetToken and the readers' lowercasing. */
#include <gtest/gtest.h>

#include <string>

#include "config_store.h"
#include "split_path.h"
#include "tokens.h"

/* "e1;e2;...;eN" */
static std::string NumberedList(size_t n)
{
    std::string list;
    for (size_t i = 1; i <= n; i++)
        list += (i > 1 ? ";e" : "e") + std::to_string(i);
    return list;
}

TEST(SplitPath, NameAndPrefix)
{
    struct Case {
        std::string path, name, prefix;
    } cases[] = {
        {"/", "", "/"},
        {"/docs/", "", "/docs/"},
        {"/docs", "docs", "/"},
        {"/docs/Page.HTM", "page.htm", "/docs/"},
        {"c:\\Web\\Index.HTM", "index.htm", "c:\\Web\\"},
        {"c:\\Web\\Docs\\", "", "c:\\Web\\Docs\\"},
        {"c:\\Web\\Docs", "docs", "c:\\Web\\"}, /* no trailing separator: the parent */
        {"abc", "bc", "a"},                     /* no separator: from the second character */
        {"", "", ""},
        {"a", "", "a"},
        {"\\", "", "\\"},                       /* the first character is never examined */
        {"/x", "x", "/"},
        {"//", "", "//"},
        {"/a\\B/c\\D", "d", "/a\\B/c\\"},        /* the last of either separator */
        {"/d\xC9Z/F\xC9.HTM", "f\xC9.htm", "/d\xC9Z/"}, /* bytes above 127 keep their value */
    };
    for (const Case &c : cases) {
        PathParts parts = SplitPath(c.path);
        EXPECT_EQ(c.name, parts.fileName) << "path: " << c.path;
        EXPECT_EQ(c.prefix, parts.dirPrefix) << "path: " << c.path;
    }
}

TEST(CountTokens, Entries)
{
    struct Case {
        std::string list, separator;
        size_t count;
    } cases[] = {
        {"", ";", 0},
        {"a", ";", 1},
        {"a;b", ";", 2},
        {"a;b;", ";", 3},
        {"a;;b", ";", 3},
        {";", ";", 2},
        {";;;", ";", 4},
        {"default.htm;default.html;index.htm;index.html", ";", 4},
        {"a#b#c", "#", 3},          /* the separator may be the counting marker's own */
        {"a;b", "", 1},             /* an empty separator occurs nowhere */
        {NumberedList(255), ";", 255},
        {NumberedList(256), ";", 256}, /* one past 8 bits */
        {NumberedList(1000), ";", 1000},
        {std::string(300, 'x'), ";", 1},
        {std::string(600, ';'), ";", 601},
    };
    for (const Case &c : cases)
        EXPECT_EQ(c.count, CountTokens(c.list, c.separator))
            << "list: " << c.list.substr(0, 40) << " (" << c.list.size() << " chars)";
}

TEST(CountTokens, LeavesTheListAlone)
{
    const std::string list = "a;b;c";
    std::string copy = list;
    CountTokens(copy, ";");
    EXPECT_EQ(list, copy);
}

TEST(GetToken, Entries)
{
    struct Case {
        std::string list;
        size_t k;
        std::string entry;
    } cases[] = {
        {"a;b;c", 1, "a"},
        {"a;b;c", 2, "b"},
        {"a;b;c", 3, "c"},
        {"a;b;c", 4, ""},                     /* past the last entry */
        {"a;b;c", 0, ""},
        {"a;;b", 2, ""},                      /* between adjacent separators */
        {"a;;b", 3, "b"},
        {"a;b;", 3, ""},                      /* after a final separator */
        {";", 1, ""},
        {"", 1, ""},
        {"default.htm; index.htm", 2, " index.htm"}, /* no trimming */
        {"sub\\index.htm", 1, "sub\\index.htm"},
        {NumberedList(300), 256, "e256"},
        {NumberedList(300), 300, "e300"},
        {NumberedList(300), 301, ""},
        {std::string(300, 'x') + ";y", 2, "y"}, /* beyond 255 characters */
    };
    for (const Case &c : cases)
        EXPECT_EQ(c.entry, GetToken(c.list, ";", c.k))
            << "list: " << c.list.substr(0, 40) << " k: " << c.k;
}

TEST(GetToken, OtherSeparators)
{
    EXPECT_EQ("b", GetToken("a#b#c", "#", 2));
    EXPECT_EQ("b", GetToken("a, b, c", ", ", 2));
    EXPECT_EQ("a;b", GetToken("a;b", "", 1));
    EXPECT_EQ("", GetToken("a;b", "", 2));
}

TEST(LowerAscii, OnlyAsciiLetters)
{
    struct Case {
        std::string text, lowered;
    } cases[] = {
        {"", ""},
        {"C:\\LOGS\\WEB.LOG", "c:\\logs\\web.log"},
        {"AZaz@[`{09", "azaz@[`{09"},          /* the neighbours of A-Z stay */
        {"\xC9\xC0\xDE", "\xC9\xC0\xDE"},       /* bytes above 127 keep their value */
        {std::string("A\0B", 3), std::string("a\0b", 3)},
    };
    for (const Case &c : cases)
        EXPECT_EQ(c.lowered, LowerAscii(c.text)) << "text: " << c.text;
}
