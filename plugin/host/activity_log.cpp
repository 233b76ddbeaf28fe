/* activity_log.cpp - appends one time-stamped line to the activity log "\status.txt" on
 * the current drive. */
#include "plugin_api.h"
#include "activity_log.h"

#include <string.h>

size_t FormatLogLine(char *line, size_t lineBytes, const struct tm *when, const char *text)
{
    if (lineBytes < 2) {
        if (lineBytes == 1)
            line[0] = '\0';
        return 0;
    }
    int wanted = snprintf(line, lineBytes, "%d/%02d/%02d %d:%02d:%02d %s\n",
                          when->tm_mon + 1, when->tm_mday, when->tm_year,
                          when->tm_hour, when->tm_min, when->tm_sec,
                          text != NULL ? text : "");
    if (wanted < 0) {
        line[0] = '\0';
        return 0;
    }
    if ((size_t)wanted >= lineBytes)
        line[lineBytes - 2] = '\n';     /* cut: keep the line break, lines stay lines */
    return strlen(line);
}

/* Appends the line for text, stamped with the local time now, to ACTIVITY_LOG_FILE,
 * composed in a LOG_LINE_BYTES buffer. The file is opened and closed for each line;
 * when it cannot be opened the line is dropped silently. Cannot fail. */
void LogActivity(const char *text)
{
    time_t now = time(NULL);
    struct tm *local = localtime(&now);
    if (local == NULL)
        return;
    FILE *log = fopen(ACTIVITY_LOG_FILE, "a");
    if (log == NULL)
        return;
    char line[LOG_LINE_BYTES];
    if (FormatLogLine(line, sizeof line, local, text) > 0)
        fputs(line, log);
    fclose(log);
}
