/* class_binding.cpp - binds and unbinds one Java class: its global reference and the ids
 * of the members the plug-in uses. Shared by both classes' binding operations. */
#include "plugin_api.h"
#include "java_bindings.h"

JavaClassBinding JavaClassBindingUnbound(void)
{
    JavaClassBinding binding = {};
    for (int i = 0; i < JAVA_BINDING_MAX_MEMBERS; i++)
        binding.ids[i] = JRI_UNRESOLVED_ID;
    return binding;
}

JavaClassBinding gSimpleBinding = JavaClassBindingUnbound();
JavaClassBinding gPluginClassBinding = JavaClassBindingUnbound();

/* Resolves one member through the lookup its kind needs. Returns what the runtime
 * answers, unchecked: an unknown member shows only when it is used. */
static int32_t ResolveMember(JRIEnv *env, jref clazz, const JavaMemberSpec *member)
{
    switch (member->kind) {
    case JAVA_FIELD:
        return (*env)->GetFieldID(env, JRI_OP_GetFieldID, clazz, member->name, member->signature);
    case JAVA_STATIC_METHOD:
        return (*env)->GetStaticMethodID(env, JRI_OP_GetStaticMethodID, clazz, member->name,
                                         member->signature);
    case JAVA_METHOD:
    default:
        return (*env)->GetMethodID(env, JRI_OP_GetMethodID, clazz, member->name, member->signature);
    }
}

jref BindJavaClass(JRIEnv *env, JavaClassBinding *binding, const char *className,
                   const JavaMemberSpec *members, int memberCount)
{
    if (env == NULL || memberCount < 0 || memberCount > JAVA_BINDING_MAX_MEMBERS)
        return NULL;
    if (binding->classRef != NULL)
        return (*env)->GetGlobalRef(env, JRI_OP_GetGlobalRef, binding->classRef);
    jref clazz = (*env)->FindClass(env, JRI_OP_FindClass, className);
    if (clazz == NULL)
        return NULL;
    for (int i = 0; i < memberCount; i++)
        binding->ids[i] = ResolveMember(env, clazz, &members[i]);
    binding->classRef = (*env)->NewGlobalRef(env, JRI_OP_NewGlobalRef, clazz);
    return clazz;
}

void UnbindJavaClass(JRIEnv *env, JavaClassBinding *binding)
{
    if (env == NULL || binding->classRef == NULL)
        return;
    for (int i = 0; i < JAVA_BINDING_MAX_MEMBERS; i++)
        binding->ids[i] = JRI_UNRESOLVED_ID;
    (*env)->DisposeGlobalRef(env, JRI_OP_DisposeGlobalRef, binding->classRef);
    binding->classRef = NULL;
}
