/* page_escape.cpp - turns text into HTML attribute text, and the character references of
 * a listing's link target back into the characters they stand for. */
#include "batch_engine.h"

#include <string.h>

/* Returns the reference that stands for c in attribute text, or null when c stands for
 * itself. */
static const char *ReferenceFor(char c)
{
    switch (c) {
    case '&':  return "&amp;";
    case '<':  return "&lt;";
    case '>':  return "&gt;";
    case '"':  return "&quot;";
    case '\'': return "&#39;";
    default:   return NULL;
    }
}

/* Writes text with "&", "<", ">", the double and the single quote replaced by their
 * character references, so that it can stand inside a quoted attribute or as text and the
 * browser reads back exactly text. Returns the length the escaped text needs (without its
 * NUL). Output receives it only when that length is below outputBytes; otherwise output is
 * the empty text (outputBytes 0 or a null output only measures). */
size_t HtmlEscape(const char *text, char *output, size_t outputBytes)
{
    size_t needed = 0;
    for (const char *p = text; *p != '\0'; p++) {
        const char *reference = ReferenceFor(*p);
        needed += reference != NULL ? strlen(reference) : 1;
    }
    if (output == NULL || outputBytes == 0)
        return needed;
    if (needed >= outputBytes) {
        output[0] = '\0';
        return needed;
    }
    char *out = output;
    for (const char *p = text; *p != '\0'; p++) {
        const char *reference = ReferenceFor(*p);
        if (reference != NULL) {
            size_t length = strlen(reference);
            memcpy(out, reference, length);
            out += length;
        } else {
            *out++ = *p;
        }
    }
    *out = '\0';
    return needed;
}

/* Returns the character that the reference at text (just after its "&", up to and with its
 * ";") stands for, and its length in *length; 0 when it is none this decoder knows: the
 * five named references above (and "&apos;"), and decimal or hexadecimal numbers from 1
 * to 255 (single-byte text). */
static char DecodeReference(const char *text, size_t *length)
{
    static const struct { const char *name; char c; } named[] = {
        { "amp;", '&' }, { "lt;", '<' }, { "gt;", '>' }, { "quot;", '"' }, { "apos;", '\'' },
    };
    for (size_t i = 0; i < sizeof named / sizeof named[0]; i++) {
        size_t n = strlen(named[i].name);
        if (strncmp(text, named[i].name, n) == 0) {
            *length = n;
            return named[i].c;
        }
    }
    if (text[0] != '#')
        return 0;
    int hex = text[1] == 'x' || text[1] == 'X';
    const char *p = text + (hex ? 2 : 1);
    unsigned value = 0;
    int digits = 0;
    for (;; p++, digits++) {
        int d;
        if (*p >= '0' && *p <= '9') d = *p - '0';
        else if (hex && *p >= 'a' && *p <= 'f') d = *p - 'a' + 10;
        else if (hex && *p >= 'A' && *p <= 'F') d = *p - 'A' + 10;
        else break;
        value = value * (hex ? 16u : 10u) + (unsigned)d;
        if (value > 255)
            return 0;
    }
    if (digits == 0 || *p != ';' || value == 0)
        return 0;
    *length = (size_t)(p + 1 - text);
    return (char)value;
}

/* Replaces the character references a listing writes in a link target ("&amp;" and so
 * on) by their characters, in place, so the target reads as the address the link means.
 * Any other "&" stays as it is. The text never grows. Cannot fail. */
void HtmlUnescapeInPlace(char *text)
{
    char *out = text;
    for (const char *p = text; *p != '\0';) {
        size_t length = 0;
        char c = *p == '&' ? DecodeReference(p + 1, &length) : 0;
        if (c != 0) {
            *out++ = c;
            p += 1 + length;
        } else {
            *out++ = *p++;
        }
    }
    *out = '\0';
}
