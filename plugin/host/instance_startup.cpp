/* instance_startup.cpp - the texts of the once-per-load start-up: the banner and the hints
 * about "\brenmar.ini". */
#include "instance_parts.h"

/* Sends an empty line, the banner (formatted into statusText, which the first bound window
 * then shows) and another empty line to the Java console. Cannot fail. */
void SendStartupBanner(NPP instance)
{
    ConsoleMessage(instance, "", -1);
    snprintf(gPlugin.statusText, STATUS_TEXT_BYTES, BANNER_FORMAT, PLUGIN_VERSION);
    ConsoleMessage(instance, gPlugin.statusText, -1);
    ConsoleMessage(instance, "", -1);
}

/* Sends the two lines that tell how to choose another download directory, and an empty
 * line, to the Java console. Cannot fail. */
void SendDirectoryHints(NPP instance)
{
    ConsoleMessage(instance, HINT_LINE_1, -1);
    ConsoleMessage(instance, HINT_LINE_2, -1);
    ConsoleMessage(instance, "", -1);
}
