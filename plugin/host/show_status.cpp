/* show_status.cpp - changes the one status line of the process and repaints the
 * instance's window with it. */
#include "plugin_api.h"

/* Copies text into statusText, cut to STATUS_TEXT_BYTES - 1 characters when longer, and
 * has the instance's bound window (if any) repainted with background erase. Other bound
 * windows show the text at their next repaint. A caller that composed the text in
 * statusText itself passes statusText, which is then only repainted; a null text changes
 * nothing but the repaint. Cannot fail. */
void ShowStatus(NPP instance, const char *text)
{
    if (text != NULL && text != gPlugin.statusText)
        lstrcpynA(gPlugin.statusText, text, STATUS_TEXT_BYTES);
    InstanceData *data = instance != NULL ? (InstanceData *)instance->pdata : NULL;
    if (data != NULL && data->hwnd != NULL)
        InvalidateRect(data->hwnd, NULL, TRUE);
}
