/* plugin_init.cpp - the plug-in's own start and end of a load, called from the entry points. */
#include "plugin_api.h"
#include "java_bindings.h"

/* Nothing to prepare beyond the load values. Returns NPERR_NO_ERROR; cannot fail. */
NPError NPP_Initialize(void)
{
    return NPERR_NO_ERROR;
}

/* Undoes the Java bindings, Simple first, when the plug-in has a Java environment. Keeps
 * javaEnv and every open file as they are. Cannot fail. */
void NPP_Shutdown(void)
{
    if (gPlugin.javaEnv == NULL)
        return;
    unuse_Simple(gPlugin.javaEnv);
    unuse_netscape_plugin_Plugin(gPlugin.javaEnv);
}
