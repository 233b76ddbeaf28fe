/* simple_binding.cpp - binds the plug-in's Java class Simple and registers its natives. */
#include "plugin_api.h"
#include "java_bindings.h"
#include "page_natives.h"

/* In the order the ids are kept (enum SimpleMember). */
static const JavaMemberSpec kSimpleMembers[SIMPLE_MEMBER_COUNT] = {
    { JAVA_FIELD,         "count",         "I" },
    { JAVA_STATIC_METHOD, "fact",          "(I)I" },
    { JAVA_METHOD,        "printToStdout", "(Ljava/lang/String;)V" },
    { JAVA_METHOD,        "saveString",    "(Ljava/lang/String;I)V" },
    { JAVA_METHOD,        "getIt",         "()I" },
    { JAVA_METHOD,        "tricky",        "(Lnetscape/javascript/JSObject;I)V" },
    { JAVA_METHOD,        "getString",     "(Ljava/lang/String;)Z" },
    { JAVA_METHOD,        "doit",          "(Ljava/lang/String;)V" },
    { JAVA_METHOD,        "close",         "()V" },
    { JAVA_METHOD,        "<init>",        "()V" },
};

/* The native method table: two parallel arrays in a fixed order, each ended by null. The
 * runtime takes them as non-const arrays; it only reads them. */
static char *sNativeNames[] = {
    (char *)"printToStdout(Ljava/lang/String;)V",
    (char *)"saveString(Ljava/lang/String;I)V",
    (char *)"getIt()I",
    (char *)"tricky(Lnetscape/javascript/JSObject;I)V",
    (char *)"getString(Ljava/lang/String;)Z",
    NULL
};
static void *sNativeProcs[] = {
    (void *)native_Simple_printToStdout,
    (void *)native_Simple_saveString,
    (void *)native_Simple_getIt,
    (void *)native_Simple_tricky,
    (void *)native_Simple_getString,
    NULL
};

/* Returns the class Simple, bound; null when it cannot be found (binding unchanged). */
extern "C" jref use_Simple(JRIEnv *env)
{
    return BindJavaClass(env, &gSimpleBinding, SIMPLE_CLASS_NAME, kSimpleMembers,
                         SIMPLE_MEMBER_COUNT);
}

/* Unbinds Simple; nothing happens when it is not bound. */
extern "C" void unuse_Simple(JRIEnv *env)
{
    UnbindJavaClass(env, &gSimpleBinding);
}

/* Registers the natives of Simple and binds it. Returns the class; null when there is no
 * environment or no class Simple (nothing registered or bound). */
extern "C" jref register_Simple(JRIEnv *env)
{
    if (env == NULL)
        return NULL;
    jref clazz = (*env)->FindClass(env, JRI_OP_FindClass, SIMPLE_CLASS_NAME);
    if (clazz == NULL)
        return NULL;
    (*env)->RegisterNatives(env, JRI_OP_RegisterNatives, clazz, sNativeNames, sNativeProcs);
    use_Simple(env);
    return clazz;
}

/* Unregisters the natives of Simple when the class is found, then unbinds it. Does
 * nothing without an environment. */
extern "C" void unregister_Simple(JRIEnv *env)
{
    if (env == NULL)
        return;
    jref clazz = (*env)->FindClass(env, JRI_OP_FindClass, SIMPLE_CLASS_NAME);
    if (clazz != NULL)
        (*env)->UnregisterNatives(env, JRI_OP_UnregisterNatives, clazz);
    unuse_Simple(env);
}
