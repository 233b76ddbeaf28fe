/* batch_placeholder.cpp - temporary stream callbacks and batch operations that do nothing,
 * so the DLL links while the real ones are written. Replaced file by file. */
#include "plugin_api.h"

NPError NPP_NewStream(NPP, NPMIMEType, NPStream *, NPBool, uint16_t *) { return NPERR_GENERIC_ERROR; }
int32_t NPP_Write(NPP, NPStream *, int32_t, int32_t, void *) { return -1; }
void    NPP_StreamAsFile(NPP, NPStream *, const char *) {}
NPError NPP_DestroyStream(NPP, NPStream *, NPReason) { return NPERR_GENERIC_ERROR; }
void    NPP_URLNotify(NPP, const char *, NPReason, void *) {}

void StartBatch(NPP) {}
void AdvanceQueue(NPP) {}
int  BeginBatch(NPP, const char *) { return 0; }
void FetchNextEntry(NPP) {}
void MakeLocalPath(const char *, char *output, size_t outputBytes)
{
    if (outputBytes > 0)
        output[0] = '\0';
}
void BuildBatchPage(NPP) {}
int32_t WriteText(NPP, NPStream *, const char *) { return -1; }
