/* instance_print.cpp - printing: the plug-in draws nothing; a full-page instance lets the
 * browser print the page itself. */
#include "plugin_api.h"

/* In full-page mode clears pluginPrinted, so the browser prints; otherwise nothing. */
void NPP_Print(NPP instance, NPPrint *platformPrint)
{
    if (instance == NULL || platformPrint == NULL || platformPrint->mode != NP_FULL)
        return;
    platformPrint->print.fullPrint.pluginPrinted = 0;
}
