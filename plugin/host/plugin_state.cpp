/* plugin_state.cpp - the one PluginGlobals record of the loaded DLL and its load values. */
#include "plugin_state.h"

PluginGlobals PluginGlobalsAtLoad(void)
{
    PluginGlobals g = {};
    g.backgroundColor = DEFAULT_BACKGROUND_COLOR;
    g.writeReadySize = WRITE_READY_SIZE;
    return g;
}

PluginGlobals gPlugin = PluginGlobalsAtLoad();
