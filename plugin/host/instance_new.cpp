/* instance_new.cpp - creates a plug-in instance: its window record, its embed parameters,
 * the start-up, the download directory and, in page mode, the request of the listing. */
#include "instance_parts.h"
#include "batch_engine.h"

#include <stdlib.h>
#include <string.h>

/* Applies one embed parameter; names match only exactly, in capitals. */
static void ApplyParameter(const char *name, const char *value)
{
    if (name == NULL)
        return;
    if (value == NULL)
        value = "";
    if (strcmp(name, "URL") == 0) {
        gPlugin.pageMode = 1;
        free(gPlugin.listUrl);
        gPlugin.listUrl = _strdup(value);     /* null when out of memory: nothing requested */
    } else if (strcmp(name, "INWINDOW") == 0) {
        gPlugin.inWindow = 1;
    } else if (strcmp(name, "BGCOLOR") == 0) {
        unsigned long color = 0;
        if (sscanf(value, "%lx", &color) == 1)
            gPlugin.backgroundColor = (COLORREF)color;
    }
}

/* Returns NPERR_INVALID_INSTANCE_ERROR for a null instance, NPERR_OUT_OF_MEMORY_ERROR when
 * the browser gives no InstanceData (pdata then null, nothing else changed), else
 * NPERR_NO_ERROR. Without a Java environment the instance stays inert. Otherwise the
 * batch counters and mode flags are reset and the parameters applied, the start-up runs
 * once per load, the download directory is read and created, and a page-mode instance
 * (URL without INWINDOW) requests its listing. While a batch is fetching its state, files
 * and directory are left as they are, and a listing is not requested (a status line says
 * so): the new document must not mix with the batch's files. */
NPError NPP_New(NPMIMEType pluginType, NPP instance, uint16_t mode, int16_t argc,
                char *argn[], char *argv[], NPSavedData *saved)
{
    (void)pluginType;
    (void)saved;
    if (instance == NULL)
        return NPERR_INVALID_INSTANCE_ERROR;
    InstanceData *data = (InstanceData *)NPN_MemAlloc(sizeof(InstanceData));
    instance->pdata = data;
    if (data == NULL)
        return NPERR_OUT_OF_MEMORY_ERROR;
    *data = InstanceData{};
    data->mode = mode;
    if (gPlugin.javaEnv == NULL)
        return NPERR_NO_ERROR;

    int batchFetching = BatchIsFetching();
    if (!batchFetching) {
        gPlugin.filesRequested = 0;
        gPlugin.outputOpen = 0;
        gPlugin.queueCount = 0;
        gPlugin.bytesReceived = 0;
    }
    gPlugin.pageMode = 0;
    gPlugin.inWindow = 0;
    free(gPlugin.listUrl);
    gPlugin.listUrl = NULL;
    for (int i = 0; argn != NULL && argv != NULL && i < argc; i++)
        ApplyParameter(argn[i], argv[i]);

    if (!gPlugin.startupDone && !gPlugin.inWindow)
        SendStartupBanner(instance);
    if (!batchFetching)
        ReadDownloadDir(instance);
    gPlugin.startupDone = 1;
    if (!batchFetching)
        CreateDownloadDir(instance);

    if (gPlugin.pageMode && !gPlugin.inWindow && gPlugin.listUrl != NULL) {
        if (batchFetching)
            ReportStatus(instance, REPORT_SHOW | REPORT_SEND, MSG_LISTING_NOT_REQUESTED,
                         gPlugin.listUrl);
        else
            NPN_GetURL(instance, gPlugin.listUrl, NULL);
    }
    return NPERR_NO_ERROR;
}
