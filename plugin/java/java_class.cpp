/* java_class.cpp - decides at start-up whether the plug-in uses its Java bridge, and
 * gives the browser the class Simple. */
#include "plugin_api.h"
#include "java_bindings.h"

#include <stdlib.h>
#include <string.h>

/* Whether the process runs for a user agent that gets no Java bridge. Cannot fail. */
static int UserAgentRefusesJava(void)
{
    const char *agent = getenv(USER_AGENT_VARIABLE);
    return agent != NULL && strstr(agent, NO_JAVA_USER_AGENT_MARK) != NULL;
}

/* Takes the browser's Java environment into javaEnv and binds netscape/plugin/Plugin,
 * then Simple. Returns the class Simple (a local reference), or null with javaEnv null:
 * for a refusing user agent (the browser is not asked), a browser without Java, or no
 * class Simple (the binding of netscape/plugin/Plugin then stays). */
jref NPP_GetJavaClass(void)
{
    if (UserAgentRefusesJava()) {
        gPlugin.javaEnv = NULL;
        return NULL;
    }
    gPlugin.javaEnv = NPN_GetJavaEnv();
    if (gPlugin.javaEnv == NULL)
        return NULL;
    use_netscape_plugin_Plugin(gPlugin.javaEnv);
    jref simple = use_Simple(gPlugin.javaEnv);
    if (simple == NULL)
        gPlugin.javaEnv = NULL;
    return simple;
}
