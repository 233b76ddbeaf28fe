/* batch_report.cpp - formats one report of the downloader and hands it to the status line,
 * the Java console and the activity log as asked. */
#include "batch_engine.h"

/* Formats the report, cut to STATUS_TEXT_BYTES - 1 characters when longer (the one status
 * line holds no more), and passes it to ShowStatus, ConsoleMessage and LogActivity as the
 * REPORT_* bits of channels say. Cannot fail. */
void ReportStatus(NPP instance, int channels, const char *format, ...)
{
    char text[STATUS_TEXT_BYTES];
    va_list args;
    va_start(args, format);
    int wanted = vsnprintf(text, sizeof text, format, args);
    va_end(args);
    if (wanted < 0)
        text[0] = '\0';
    if (channels & REPORT_SHOW)
        ShowStatus(instance, text);
    if (channels & REPORT_SEND)
        ConsoleMessage(instance, text, -1);
    if (channels & REPORT_LOG)
        LogActivity(text);
}
