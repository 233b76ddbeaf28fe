/* activity_log.h - composing one line of the activity log (LogActivity appends it). */
#ifndef ACTIVITY_LOG_H
#define ACTIVITY_LOG_H

#include <stddef.h>
#include <time.h>

/* Writes "month/day/year hour:minute:second text" and a line break into line (lineBytes
 * bytes, at least 2): month and hour without a leading zero, the year less 1900. A text
 * that does not fit is cut so that the line still ends with its line break. Returns the
 * length of the line; 0 (line empty) when lineBytes is below 2. */
size_t FormatLogLine(char *line, size_t lineBytes, const struct tm *when, const char *text);

#endif /* ACTIVITY_LOG_H */
