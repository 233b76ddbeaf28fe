/* instance_placeholder.cpp - temporary instance callbacks that refuse every instance, so the
 * DLL links while the real callbacks are written. Replaced file by file. */
#include "plugin_api.h"

NPError NPP_New(NPMIMEType, NPP, uint16_t, int16_t, char *[], char *[], NPSavedData *)
{
    return NPERR_GENERIC_ERROR;
}

NPError NPP_Destroy(NPP, NPSavedData **) { return NPERR_GENERIC_ERROR; }
NPError NPP_SetWindow(NPP, NPWindow *) { return NPERR_GENERIC_ERROR; }
int32_t NPP_WriteReady(NPP, NPStream *) { return 0; }
void    NPP_Print(NPP, NPPrint *) {}
