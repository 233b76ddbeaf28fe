/* queue_line.cpp - reads one whole line of a queue file or listing, and the version number
 * of a queue header line. */
#include "batch_engine.h"

#include <stdlib.h>
#include <string.h>

#define VERSION_OFFSET        10   /* the version starts at the eleventh character */
#define VERSION_TEXT_BYTES    64   /* longest number text taken; longer ones read as 0 */
#define DISCARD_PIECE_BYTES   256  /* the rest of an over-long line is passed over in pieces */

/* Passes over the rest of a line that did not fit, noting a "<" in it. Cannot fail. */
static void SkipRestOfLine(FILE *file, QueueLine *result)
{
    char piece[DISCARD_PIECE_BYTES];
    while (fgets(piece, sizeof piece, file) != NULL) {
        if (strchr(piece, '<') != NULL)
            result->hasLessThan = 1;
        if (strchr(piece, '\n') != NULL)
            return;
    }
}

/* Reads the next line of a text-mode file into buffer, without its line feed; a last line
 * without one is taken whole. A line longer than bufferBytes - 1 characters keeps its start
 * in buffer, sets tooLong, and the rest is read and dropped, so the next call starts at the
 * next line. Returns gotLine 0 at the end of the file (buffer then holds the empty text). */
QueueLine ReadQueueLine(FILE *file, char *buffer, size_t bufferBytes)
{
    QueueLine result = {};
    if (file == NULL || buffer == NULL || bufferBytes < 2) {
        if (buffer != NULL && bufferBytes > 0)
            buffer[0] = '\0';
        return result;
    }
    if (fgets(buffer, (int)bufferBytes, file) == NULL) {
        buffer[0] = '\0';
        return result;
    }
    result.gotLine = 1;
    size_t length = strlen(buffer);
    if (length > 0 && buffer[length - 1] == '\n') {
        buffer[length - 1] = '\0';
    } else if (length == bufferBytes - 1) {
        /* Full without a line feed: the line ends here only if the next character does. */
        int next = fgetc(file);
        if (next != EOF && next != '\n') {
            result.tooLong = 1;
            if (next == '<')
                result.hasLessThan = 1;
            SkipRestOfLine(file, &result);
        }
    }
    if (strchr(buffer, '<') != NULL)
        result.hasLessThan = 1;
    return result;
}

/* Returns the version number of a header line: from its eleventh character, blanks
 * skipped, the longest decimal number (sign, digits, point and digits, exponent). A line
 * that ends before that place, or holds no such number there, reads as 0. Hexadecimal,
 * "inf" and "nan" are not numbers here. Cannot fail. */
double ReadHeaderVersion(const char *line)
{
    if (line == NULL || strlen(line) <= VERSION_OFFSET)
        return 0.0;
    const char *p = line + VERSION_OFFSET;
    while (*p == ' ' || *p == '\t')
        p++;
    const char *start = p;
    if (*p == '+' || *p == '-')
        p++;
    int digits = 0;
    while (*p >= '0' && *p <= '9') { p++; digits++; }
    if (*p == '.') {
        p++;
        while (*p >= '0' && *p <= '9') { p++; digits++; }
    }
    if (digits == 0)
        return 0.0;
    if (*p == 'e' || *p == 'E') {
        const char *exponent = p + 1;
        if (*exponent == '+' || *exponent == '-')
            exponent++;
        if (*exponent >= '0' && *exponent <= '9') {
            p = exponent;
            while (*p >= '0' && *p <= '9')
                p++;
        }
    }
    size_t length = (size_t)(p - start);
    if (length >= VERSION_TEXT_BYTES)
        return 0.0;
    char number[VERSION_TEXT_BYTES];
    memcpy(number, start, length);
    number[length] = '\0';
    return strtod(number, NULL);
}
