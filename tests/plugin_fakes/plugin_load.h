/* plugin_load.h - starts each plug-in test from a just-loaded plug-in: the process-wide
 * state and the Java bindings back at their load values, then loaded by a fake browser
 * the way the browser loads the DLL. */
#ifndef PLUGIN_LOAD_H
#define PLUGIN_LOAD_H

#include "fake_browser.h"

/* Puts gPlugin and both Java class bindings back to their load values, as a fresh load
 * of the DLL would. */
void ReloadPluginState(void);

/* ReloadPluginState, then NP_GetEntryPoints on a zeroed table (size set) and
 * NP_Initialize with the browser's table. Returns NP_Initialize's answer, or
 * NP_GetEntryPoints' when that fails. */
NPError LoadPlugin(FakeBrowser &browser, NPPluginFuncs *table);

#endif /* PLUGIN_LOAD_H */
