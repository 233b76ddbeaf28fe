/* html_page.h - what the browser host knows of an HTML document: title, base address,
 * embeds with their attributes, checkboxes and buttons, in document order */
#ifndef HTML_PAGE_H
#define HTML_PAGE_H

#include <string>
#include <vector>

struct HtmlAttribute {
    std::string name;    /* upper-cased, as the browser passes embed parameters */
    std::string value;   /* quotes removed, entities left as written */
};

struct HtmlEmbed {
    std::vector<HtmlAttribute> attributes;   /* in the order written */
};

struct HtmlCheckbox {
    std::string name;    /* the name attribute as the browser reads it */
    std::string label;   /* the text that follows the box on its line, tags removed */
};

struct HtmlButton {
    std::string name;
    std::string value;       /* the caption */
    std::string onclick;
    std::string onmouseover;
};

struct HtmlPage {
    std::string title;
    std::string baseHref;    /* empty when the document has no BASE element */
    std::vector<HtmlEmbed> embeds;
    std::vector<HtmlCheckbox> checkboxes;
    std::vector<HtmlButton> buttons;
};

/* Reads html the way a browser's parser finds elements: tags outside SCRIPT, attribute
 * values quoted with ' or " or unquoted up to a blank or ">". Cannot fail; text that is
 * no markup is skipped. */
HtmlPage ParseHtmlPage(const std::string &html);

/* The value of attribute name (upper-case) of embed, or fallback when absent. */
std::string EmbedAttribute(const HtmlEmbed &embed, const char *name, const std::string &fallback);

#endif /* HTML_PAGE_H */
