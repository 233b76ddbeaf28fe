/* plugin_class_wrappers.cpp - one thin exported wrapper per bound member of
 * netscape/plugin/Plugin: one JRI call with the member's id, its result returned
 * unchanged, no check that the class is bound. */
#include "plugin_api.h"
#include "java_bindings.h"

#define PLUGIN_ID(member) (gPluginClassBinding.ids[member])

extern "C" jint get_netscape_plugin_Plugin_peer(JRIEnv *env, jref self)
{
    return (*env)->GetFieldInt(env, JRI_OP_GetFieldInt, self, PLUGIN_ID(PLUGIN_PEER));
}

extern "C" void set_netscape_plugin_Plugin_peer(JRIEnv *env, jref self, jint value)
{
    (*env)->SetFieldInt(env, JRI_OP_SetFieldInt, self, PLUGIN_ID(PLUGIN_PEER), value);
}

extern "C" jref get_netscape_plugin_Plugin_window(JRIEnv *env, jref self)
{
    return (*env)->GetField(env, JRI_OP_GetField, self, PLUGIN_ID(PLUGIN_WINDOW));
}

extern "C" void set_netscape_plugin_Plugin_window(JRIEnv *env, jref self, jref value)
{
    (*env)->SetField(env, JRI_OP_SetField, self, PLUGIN_ID(PLUGIN_WINDOW), value);
}

/* The result is the plug-in instance (NPP) the peer belongs to. */
extern "C" jint netscape_plugin_Plugin_getPeer(JRIEnv *env, jref self)
{
    return (*env)->CallMethodInt(env, JRI_OP_CallMethod, self, PLUGIN_ID(PLUGIN_GET_PEER));
}

extern "C" void netscape_plugin_Plugin_init(JRIEnv *env, jref self)
{
    (*env)->CallMethod(env, JRI_OP_CallMethod, self, PLUGIN_ID(PLUGIN_INIT));
}

extern "C" void netscape_plugin_Plugin_destroy(JRIEnv *env, jref self)
{
    (*env)->CallMethod(env, JRI_OP_CallMethod, self, PLUGIN_ID(PLUGIN_DESTROY));
}

extern "C" jbool netscape_plugin_Plugin_isActive(JRIEnv *env, jref self)
{
    return (*env)->CallMethodBoolean(env, JRI_OP_CallMethod, self, PLUGIN_ID(PLUGIN_IS_ACTIVE));
}

extern "C" jref netscape_plugin_Plugin_getWindow(JRIEnv *env, jref self)
{
    return (*env)->CallMethod(env, JRI_OP_CallMethod, self, PLUGIN_ID(PLUGIN_GET_WINDOW));
}

extern "C" jref netscape_plugin_Plugin_new(JRIEnv *env, jref clazz)
{
    return (*env)->NewObject(env, JRI_OP_NewObject, clazz, PLUGIN_ID(PLUGIN_NEW));
}
