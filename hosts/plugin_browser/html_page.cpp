/* html_page.cpp - finds the elements the browser host acts on in an HTML document */
#include "html_page.h"

#include <cctype>
#include <cstring>

static std::string Upper(std::string s)
{
    for (char &c : s)
        if (c >= 'a' && c <= 'z')
            c = (char)(c - 'a' + 'A');
    return s;
}

static bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f';
}

/* Position of needle in hay at or after from, compared without regard to case. */
static size_t FindNoCase(const std::string &hay, const char *needle, size_t from)
{
    size_t n = strlen(needle);
    for (size_t i = from; i + n <= hay.size(); i++) {
        size_t k = 0;
        while (k < n && std::toupper((unsigned char)hay[i + k]) == std::toupper((unsigned char)needle[k]))
            k++;
        if (k == n)
            return i;
    }
    return std::string::npos;
}

/* text with its character references (&amp; &lt; &gt; &quot; &apos; &#NN; &#xNN;) read as
 * the characters they stand for, the way a browser reads attribute values and text. An
 * unknown or unfinished reference stays as written. */
static std::string DecodeReferences(const std::string &text)
{
    static const struct { const char *name; char c; } named[] = {
        {"amp;", '&'}, {"lt;", '<'}, {"gt;", '>'}, {"quot;", '"'}, {"apos;", '\''}};
    std::string out;
    for (size_t i = 0; i < text.size(); i++) {
        if (text[i] != '&') {
            out += text[i];
            continue;
        }
        bool done = false;
        for (const auto &n : named) {
            size_t len = strlen(n.name);
            if (text.compare(i + 1, len, n.name) == 0) {
                out += n.c;
                i += len;
                done = true;
                break;
            }
        }
        if (done)
            continue;
        if (i + 2 < text.size() && text[i + 1] == '#') {
            bool hex = text[i + 2] == 'x' || text[i + 2] == 'X';
            size_t j = i + (hex ? 3 : 2);
            unsigned long value = 0;
            size_t digits = 0;
            while (j < text.size() && digits < 8 &&
                   (hex ? std::isxdigit((unsigned char)text[j]) : std::isdigit((unsigned char)text[j]))) {
                value = value * (hex ? 16 : 10) + (unsigned long)(std::isdigit((unsigned char)text[j])
                                                                     ? text[j] - '0'
                                                                     : std::toupper((unsigned char)text[j]) - 'A' + 10);
                j++;
                digits++;
            }
            if (digits > 0 && j < text.size() && text[j] == ';' && value > 0 && value < 256) {
                out += (char)value;
                i = j;
                continue;
            }
        }
        out += '&';
    }
    return out;
}

struct Tag {
    std::string name;                        /* upper-cased; "/X" for an end tag */
    std::vector<HtmlAttribute> attributes;
};

/* Reads the tag that starts at html[pos] == '<'; returns the position after its '>'
 * (the end of the text when it never closes). */
static size_t ReadTag(const std::string &html, size_t pos, Tag *tag)
{
    size_t i = pos + 1;
    size_t start = i;
    while (i < html.size() && !IsBlank(html[i]) && html[i] != '>')
        i++;
    tag->name = Upper(html.substr(start, i - start));
    if (!tag->name.empty() && tag->name.back() == '/')
        tag->name.pop_back();
    while (i < html.size() && html[i] != '>') {
        while (i < html.size() && (IsBlank(html[i]) || html[i] == '/'))
            i++;
        if (i >= html.size() || html[i] == '>')
            break;
        size_t nameStart = i;
        while (i < html.size() && !IsBlank(html[i]) && html[i] != '>' && html[i] != '=')
            i++;
        HtmlAttribute attr;
        attr.name = Upper(html.substr(nameStart, i - nameStart));
        while (i < html.size() && IsBlank(html[i]))
            i++;
        if (i < html.size() && html[i] == '=') {
            i++;
            while (i < html.size() && IsBlank(html[i]))
                i++;
            if (i < html.size() && (html[i] == '"' || html[i] == '\'')) {
                char quote = html[i++];
                size_t valueStart = i;
                while (i < html.size() && html[i] != quote)
                    i++;
                attr.value = html.substr(valueStart, i - valueStart);
                if (i < html.size())
                    i++;
            } else {
                size_t valueStart = i;
                while (i < html.size() && !IsBlank(html[i]) && html[i] != '>')
                    i++;
                attr.value = html.substr(valueStart, i - valueStart);
            }
        }
        attr.value = DecodeReferences(attr.value);
        if (!attr.name.empty())
            tag->attributes.push_back(attr);
    }
    return i < html.size() ? i + 1 : i;
}

static std::string Attribute(const Tag &tag, const char *name)
{
    for (const HtmlAttribute &a : tag.attributes)
        if (a.name == name)
            return a.value;
    return "";
}

/* The text from pos to the end of its line, tags removed and blanks trimmed. */
static std::string LineText(const std::string &html, size_t pos)
{
    size_t end = html.find('\n', pos);
    std::string line = html.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
    std::string text;
    bool inTag = false;
    for (char c : line) {
        if (c == '<')
            inTag = true;
        else if (c == '>' && inTag)
            inTag = false;
        else if (!inTag && c != '\r')
            text += c;
    }
    text = DecodeReferences(text);
    while (!text.empty() && IsBlank(text.front()))
        text.erase(0, 1);
    while (!text.empty() && IsBlank(text.back()))
        text.pop_back();
    return text;
}

HtmlPage ParseHtmlPage(const std::string &html)
{
    HtmlPage page;
    size_t i = 0;
    while (i < html.size()) {
        size_t lt = html.find('<', i);
        if (lt == std::string::npos)
            break;
        if (html.compare(lt, 4, "<!--") == 0) {
            size_t end = html.find("-->", lt + 4);
            i = end == std::string::npos ? html.size() : end + 3;
            continue;
        }
        if (lt + 1 >= html.size() || !(std::isalpha((unsigned char)html[lt + 1]) || html[lt + 1] == '/')) {
            i = lt + 1;
            continue;
        }
        Tag tag;
        i = ReadTag(html, lt, &tag);
        if (tag.name == "SCRIPT" || tag.name == "STYLE") {
            size_t end = FindNoCase(html, tag.name == "SCRIPT" ? "</SCRIPT" : "</STYLE", i);
            i = end == std::string::npos ? html.size() : end;
        } else if (tag.name == "TITLE") {
            size_t end = FindNoCase(html, "</TITLE", i);
            page.title = html.substr(i, end == std::string::npos ? std::string::npos : end - i);
            i = end == std::string::npos ? html.size() : end;
        } else if (tag.name == "BASE") {
            if (page.baseHref.empty())
                page.baseHref = Attribute(tag, "HREF");
        } else if (tag.name == "EMBED") {
            HtmlEmbed e;
            e.attributes = tag.attributes;
            page.embeds.push_back(e);
        } else if (tag.name == "INPUT") {
            std::string type = Upper(Attribute(tag, "TYPE"));
            if (type == "CHECKBOX") {
                page.checkboxes.push_back({Attribute(tag, "NAME"), LineText(html, i)});
            } else if (type == "BUTTON" || type == "SUBMIT") {
                page.buttons.push_back({Attribute(tag, "NAME"), Attribute(tag, "VALUE"), Attribute(tag, "ONCLICK"),
                                        Attribute(tag, "ONMOUSEOVER")});
            }
        }
    }
    return page;
}

std::string EmbedAttribute(const HtmlEmbed &embed, const char *name, const std::string &fallback)
{
    for (const HtmlAttribute &a : embed.attributes)
        if (a.name == name)
            return a.value;
    return fallback;
}
