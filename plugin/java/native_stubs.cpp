/* native_stubs.cpp - the entries through which the browser's Java runtime calls the
 * native methods of Simple: unpack the argument slots, call the native, leave a result in
 * slot 0. */
#include "plugin_api.h"
#include "java_bindings.h"
#include "page_natives.h"

/* Each stub takes the caller's argument slots (slot 0: the receiving Simple object, then
 * one slot per Java argument) and the environment, passed on unchanged. A void method
 * returns the slots as given; a method with a result stores it in slot 0 and returns the
 * slots advanced by one. A null slot array is returned as null without calling. */

extern "C" JRISlot *Java_Simple_printToStdout_stub(JRISlot *args, JRIEnv *env)
{
    if (args == NULL)
        return NULL;
    native_Simple_printToStdout(env, (jref)args[0], (jref)args[1]);
    return args;
}

extern "C" JRISlot *Java_Simple_saveString_stub(JRISlot *args, JRIEnv *env)
{
    if (args == NULL)
        return NULL;
    native_Simple_saveString(env, (jref)args[0], (jref)args[1], (jint)args[2]);
    return args;
}

extern "C" JRISlot *Java_Simple_getIt_stub(JRISlot *args, JRIEnv *env)
{
    if (args == NULL)
        return NULL;
    args[0] = (JRISlot)native_Simple_getIt(env, (jref)args[0]);
    return args + 1;
}

extern "C" JRISlot *Java_Simple_tricky_stub(JRISlot *args, JRIEnv *env)
{
    if (args == NULL)
        return NULL;
    native_Simple_tricky(env, (jref)args[0], (jref)args[1], (jint)args[2]);
    return args;
}

/* The boolean goes back as exactly 0 or 1, whatever non-zero byte the native gave. */
extern "C" JRISlot *Java_Simple_getString_stub(JRISlot *args, JRIEnv *env)
{
    if (args == NULL)
        return NULL;
    args[0] = native_Simple_getString(env, (jref)args[0], (jref)args[1]) ? 1 : 0;
    return args + 1;
}
