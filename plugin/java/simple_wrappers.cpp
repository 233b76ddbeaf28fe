/* simple_wrappers.cpp - one thin exported wrapper per bound member of Simple: one JRI call
 * with the member's id, its result returned unchanged. They do not check that Simple is
 * bound: an unbound member's id is -1 and the runtime reports the failed call. */
#include "plugin_api.h"
#include "java_bindings.h"

#define SIMPLE_ID(member) (gSimpleBinding.ids[member])

extern "C" jint get_Simple_count(JRIEnv *env, jref self)
{
    return (*env)->GetFieldInt(env, JRI_OP_GetFieldInt, self, SIMPLE_ID(SIMPLE_COUNT));
}

extern "C" void set_Simple_count(JRIEnv *env, jref self, jint value)
{
    (*env)->SetFieldInt(env, JRI_OP_SetFieldInt, self, SIMPLE_ID(SIMPLE_COUNT), value);
}

extern "C" jint Simple_fact(JRIEnv *env, jref clazz, jint a)
{
    return (*env)->CallStaticMethodInt(env, JRI_OP_CallStaticMethod, clazz,
                                       SIMPLE_ID(SIMPLE_FACT), a);
}

extern "C" void Simple_printToStdout(JRIEnv *env, jref self, jref text)
{
    (*env)->CallMethod(env, JRI_OP_CallMethod, self, SIMPLE_ID(SIMPLE_PRINT_TO_STDOUT), text);
}

extern "C" void Simple_saveString(JRIEnv *env, jref self, jref url, jint index)
{
    (*env)->CallMethod(env, JRI_OP_CallMethod, self, SIMPLE_ID(SIMPLE_SAVE_STRING), url, index);
}

extern "C" jint Simple_getIt(JRIEnv *env, jref self)
{
    return (*env)->CallMethodInt(env, JRI_OP_CallMethod, self, SIMPLE_ID(SIMPLE_GET_IT));
}

extern "C" void Simple_tricky(JRIEnv *env, jref self, jref jsobj, jint i)
{
    (*env)->CallMethod(env, JRI_OP_CallMethod, self, SIMPLE_ID(SIMPLE_TRICKY), jsobj, i);
}

extern "C" jbool Simple_getString(JRIEnv *env, jref self, jref s)
{
    return (*env)->CallMethodBoolean(env, JRI_OP_CallMethod, self, SIMPLE_ID(SIMPLE_GET_STRING), s);
}

extern "C" void Simple_doit(JRIEnv *env, jref self, jref message)
{
    (*env)->CallMethod(env, JRI_OP_CallMethod, self, SIMPLE_ID(SIMPLE_DOIT), message);
}

extern "C" void Simple_close(JRIEnv *env, jref self)
{
    (*env)->CallMethod(env, JRI_OP_CallMethod, self, SIMPLE_ID(SIMPLE_CLOSE));
}

extern "C" jref Simple_new(JRIEnv *env, jref clazz)
{
    return (*env)->NewObject(env, JRI_OP_NewObject, clazz, SIMPLE_ID(SIMPLE_NEW));
}
