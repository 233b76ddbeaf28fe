/* plugin_class_binding.cpp - binds the browser's class of plug-in peers,
 * netscape/plugin/Plugin. */
#include "plugin_api.h"
#include "java_bindings.h"

/* In the order the ids are kept (enum PluginClassMember). */
static const JavaMemberSpec kPluginClassMembers[PLUGIN_MEMBER_COUNT] = {
    { JAVA_FIELD,  "peer",      "I" },
    { JAVA_FIELD,  "window",    "Lnetscape/javascript/JSObject;" },
    { JAVA_METHOD, "getPeer",   "()I" },
    { JAVA_METHOD, "init",      "()V" },
    { JAVA_METHOD, "destroy",   "()V" },
    { JAVA_METHOD, "isActive",  "()Z" },
    { JAVA_METHOD, "getWindow", "()Lnetscape/javascript/JSObject;" },
    { JAVA_METHOD, "<init>",    "()V" },
};

/* Returns the class, bound; null when it cannot be found (binding unchanged). */
extern "C" jref use_netscape_plugin_Plugin(JRIEnv *env)
{
    return BindJavaClass(env, &gPluginClassBinding, PLUGIN_CLASS_NAME, kPluginClassMembers,
                         PLUGIN_MEMBER_COUNT);
}

/* Unbinds the class; nothing happens when it is not bound. */
extern "C" void unuse_netscape_plugin_Plugin(JRIEnv *env)
{
    UnbindJavaClass(env, &gPluginClassBinding);
}
