/* instance_write_ready.cpp - tells the browser how much stream data the plug-in takes. */
#include "plugin_api.h"

/* Returns writeReadySize (268435455) for every stream: NPP_Write takes any piece whole. */
int32_t NPP_WriteReady(NPP instance, NPStream *stream)
{
    (void)instance;
    (void)stream;
    return gPlugin.writeReadySize;
}
