/* page_line.cpp - turns one listing line into its line of the Batch Download Window: a
 * checkbox named after the file's address goes before every file link. */
#include "batch_engine.h"
#include "page_text.h"

#include <string.h>

/* Appends length bytes of text at *out. The caller has made sure they fit. */
static char *Append(char *out, const char *text, size_t length)
{
    memcpy(out, text, length);
    return out + length;
}

/* Removes the two blanks of the first "</A>  " in line and the character after them, if
 * any (the listing's column padding after a link). */
static void DropAnchorTail(char *line)
{
    char *tail = strstr(line, ANCHOR_TAIL_MARK);
    if (tail == NULL)
        return;
    char *from = tail + strlen("</A>");
    size_t drop = strlen(from) < 3 ? strlen(from) : 3;
    memmove(from, from + drop, strlen(from + drop) + 1);
}

/* Returns 1 and the link target in gPlugin.hrefBuffer (references decoded) when line holds
 * a file link: the first "<A HREF=\"" whose target ends at a double quote on the same line
 * and does not end in "/". *tag is where the link tag starts. Returns 0 for every other
 * line (no link, a directory link, a target cut off by the end of the line). */
static int FindFileLink(const char *line, const char **tag)
{
    *tag = strstr(line, LINK_TAG);
    if (*tag == NULL)
        return 0;
    const char *target = *tag + strlen(LINK_TAG);
    const char *quote = strchr(target, '"');
    size_t length = quote != NULL ? (size_t)(quote - target) : 0;
    if (quote == NULL || length >= HREF_BUFFER_BYTES)
        return 0;
    memcpy(gPlugin.hrefBuffer, target, length);
    gPlugin.hrefBuffer[length] = '\0';
    if (length > 0 && gPlugin.hrefBuffer[length - 1] == '/')
        return 0;
    HtmlUnescapeInPlace(gPlugin.hrefBuffer);
    return 1;
}

/* Composes the page line for one listing line (a piece of at most LINE_BUFFER_BYTES - 1
 * characters, with its line feed if it had one). A line with a file link becomes: the text
 * before the link tag, <input type=checkbox name="NAME" onclick=setFile(this)>, the line
 * from the link tag on; NAME is listUrl followed by the link target, escaped so that the
 * browser's value of the name is exactly that address. Then the first "</A>  " loses its
 * two blanks and the next character. Every other line is copied unchanged. *transformed
 * says which. Returns the length of the composed line before the blanks are dropped;
 * output holds the line only when that length is below outputBytes, else the empty text,
 * and the caller asks again with a buffer of that length + 1. */
size_t TransformListingLine(const char *line, const char *listUrl, char *output,
                            size_t outputBytes, int *transformed)
{
    const char *tag = NULL;
    *transformed = FindFileLink(line, &tag);
    if (!*transformed) {
        size_t length = strlen(line);
        if (length < outputBytes)
            memcpy(output, line, length + 1);
        else if (outputBytes > 0)
            output[0] = '\0';
        return length;
    }
    size_t prefix = (size_t)(tag - line);
    size_t urlLength = HtmlEscape(listUrl, NULL, 0);
    size_t targetLength = HtmlEscape(gPlugin.hrefBuffer, NULL, 0);
    size_t needed = prefix + strlen(CHECKBOX_START) + urlLength + targetLength +
                    strlen(CHECKBOX_END) + strlen(tag);
    if (needed >= outputBytes) {
        if (outputBytes > 0)
            output[0] = '\0';
        return needed;
    }
    char *out = Append(output, line, prefix);
    out = Append(out, CHECKBOX_START, strlen(CHECKBOX_START));
    out += HtmlEscape(listUrl, out, urlLength + 1);
    out += HtmlEscape(gPlugin.hrefBuffer, out, targetLength + 1);
    out = Append(out, CHECKBOX_END, strlen(CHECKBOX_END));
    out = Append(out, tag, strlen(tag));
    *out = '\0';
    DropAnchorTail(output);
    return needed;
}
