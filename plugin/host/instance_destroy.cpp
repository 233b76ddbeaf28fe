/* instance_destroy.cpp - destroys a plug-in instance: its window gets its own procedure
 * back, its record goes back to the browser, and a batch waiting on it is stopped. */
#include "instance_parts.h"
#include "batch_engine.h"

/* Returns NPERR_INVALID_INSTANCE_ERROR for a null instance, else NPERR_NO_ERROR. A batch
 * fetching for this instance is stopped (AbandonBatch): no stream can come for it any
 * more. The bound window is unbound, the brush deleted and the record freed; pdata becomes
 * null. No data is saved for the browser. */
NPError NPP_Destroy(NPP instance, NPSavedData **save)
{
    (void)save;
    if (instance == NULL)
        return NPERR_INVALID_INSTANCE_ERROR;
    if (instance == gPlugin.batchInstance && BatchIsFetching())
        AbandonBatch();
    InstanceData *data = (InstanceData *)instance->pdata;
    if (data != NULL) {
        UnbindWindow(data);
        if (data->backgroundBrush != NULL)
            DeleteObject(data->backgroundBrush);
        data->backgroundBrush = NULL;
        NPN_MemFree(data);
        instance->pdata = NULL;
    }
    return NPERR_NO_ERROR;
}
