/* stream_notify.cpp - reports the outcome of a notifying request during a batch. */
#include "batch_engine.h"

/* Copies the notify data, taken as a text (null as the empty text), into statusText, cut
 * to fit. With the batch idle nothing more happens. During a batch the outcome is added
 * (": Download Successful", ": Unable to download", ": User Abort"; any other reason gives
 * "Unknown error" alone), shown and sent. The URL is not used. */
void NPP_URLNotify(NPP instance, const char *url, NPReason reason, void *notifyData)
{
    (void)url;
    const char *text = notifyData != NULL ? (const char *)notifyData : "";
    lstrcpynA(gPlugin.statusText, text, STATUS_TEXT_BYTES);
    if (gPlugin.filesRequested == 0)
        return;
    char copied[STATUS_TEXT_BYTES];
    lstrcpynA(copied, gPlugin.statusText, sizeof copied);
    const int channels = REPORT_SHOW | REPORT_SEND;
    switch (reason) {
    case NPRES_DONE:        ReportStatus(instance, channels, "%s: Download Successful", copied); break;
    case NPRES_NETWORK_ERR: ReportStatus(instance, channels, "%s: Unable to download", copied); break;
    case NPRES_USER_BREAK:  ReportStatus(instance, channels, "%s: User Abort", copied); break;
    default:                ReportStatus(instance, channels, "Unknown error"); break;
    }
}
