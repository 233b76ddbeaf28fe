/* plugin_load.cpp - back to load values, and the browser's loading sequence. */
#include "plugin_load.h"

#include <cstring>

#include "plugin_api.h"
#include "java_bindings.h"

void ReloadPluginState(void)
{
    gPlugin = PluginGlobalsAtLoad();
    gSimpleBinding = JavaClassBindingUnbound();
    gPluginClassBinding = JavaClassBindingUnbound();
}

NPError LoadPlugin(FakeBrowser &browser, NPPluginFuncs *table)
{
    ReloadPluginState();
    std::memset(table, 0, sizeof *table);
    table->size = sizeof *table;
    NPError result = NP_GetEntryPoints(table);
    if (result != NPERR_NO_ERROR)
        return result;
    return NP_Initialize(&browser.funcs);
}
