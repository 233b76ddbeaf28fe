/* activity_log.cpp - appends one time-stamped line to the activity log "\status.txt" on
 * the current drive. */
#include "plugin_api.h"

#include <time.h>

/* Appends "month/day/year hour:minute:second text" and a line break, in local time (year
 * less 1900). A line longer than LOG_LINE_BYTES - 1 characters is cut so that it still
 * ends with its line break. The file is opened and closed for each line; when it cannot
 * be opened the line is dropped silently. Cannot fail. */
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
    int wanted = snprintf(line, sizeof line, "%d/%02d/%02d %d:%02d:%02d %s\n",
                          local->tm_mon + 1, local->tm_mday, local->tm_year,
                          local->tm_hour, local->tm_min, local->tm_sec,
                          text != NULL ? text : "");
    if (wanted >= (int)sizeof line)
        line[sizeof line - 2] = '\n';    /* cut: keep the line break, lines stay lines */
    if (wanted > 0)
        fputs(line, log);
    fclose(log);
}
