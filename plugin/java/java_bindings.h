/* java_bindings.h - the binding records of the two Java classes the plug-in uses, the
 * members each one resolves, and the exported Java glue: binding operations, member
 * wrappers and native stubs (C names, C calling convention). */
#ifndef JAVA_BINDINGS_H
#define JAVA_BINDINGS_H

#include "jri_interface.h"

#define SIMPLE_CLASS_NAME        "Simple"
#define PLUGIN_CLASS_NAME        "netscape/plugin/Plugin"
#define USER_AGENT_VARIABLE      "HTTP_USER_AGENT"
#define NO_JAVA_USER_AGENT_MARK  "MSIE"   /* case-sensitive: these agents get no Java bridge */

/* How a member id is resolved. */
typedef enum JavaMemberKind {
    JAVA_FIELD,           /* GetFieldID */
    JAVA_METHOD,          /* GetMethodID, constructors too */
    JAVA_STATIC_METHOD    /* GetStaticMethodID */
} JavaMemberKind;

typedef struct JavaMemberSpec {
    JavaMemberKind kind;
    const char    *name;
    const char    *signature;
} JavaMemberSpec;

/* Members of Simple, in the order they are resolved (indexes into its ids). */
enum SimpleMember {
    SIMPLE_COUNT, SIMPLE_FACT, SIMPLE_PRINT_TO_STDOUT, SIMPLE_SAVE_STRING, SIMPLE_GET_IT,
    SIMPLE_TRICKY, SIMPLE_GET_STRING, SIMPLE_DOIT, SIMPLE_CLOSE, SIMPLE_NEW,
    SIMPLE_MEMBER_COUNT
};

/* Members of netscape/plugin/Plugin, in the order they are resolved. */
enum PluginClassMember {
    PLUGIN_PEER, PLUGIN_WINDOW, PLUGIN_GET_PEER, PLUGIN_INIT, PLUGIN_DESTROY,
    PLUGIN_IS_ACTIVE, PLUGIN_GET_WINDOW, PLUGIN_NEW,
    PLUGIN_MEMBER_COUNT
};

#define JAVA_BINDING_MAX_MEMBERS SIMPLE_MEMBER_COUNT   /* the larger of the two classes */

/* One bound class: a global reference (null while unbound) and its member ids (-1 while
 * unresolved), no use count. */
typedef struct JavaClassBinding {
    JRIGlobalRef classRef;
    int32_t      ids[JAVA_BINDING_MAX_MEMBERS];
} JavaClassBinding;

extern JavaClassBinding gSimpleBinding;
extern JavaClassBinding gPluginClassBinding;

/* A binding as it is at load and after an unbind. Cannot fail. */
JavaClassBinding JavaClassBindingUnbound(void);

/* Binds a class by name: resolves every member in order and keeps a global reference.
 * Already bound: returns the class again (GetGlobalRef) and resolves nothing. Returns the
 * class, or null when there is no environment or the class is not found (binding
 * unchanged). */
jref BindJavaClass(JRIEnv *env, JavaClassBinding *binding, const char *className,
                   const JavaMemberSpec *members, int memberCount);

/* Resets every id to -1 and releases the global reference. Does nothing for an unbound
 * class or a null environment. */
void UnbindJavaClass(JRIEnv *env, JavaClassBinding *binding);

extern "C" {
/* Binding operations. */
jref use_Simple(JRIEnv *env);
void unuse_Simple(JRIEnv *env);
jref register_Simple(JRIEnv *env);
void unregister_Simple(JRIEnv *env);
jref use_netscape_plugin_Plugin(JRIEnv *env);
void unuse_netscape_plugin_Plugin(JRIEnv *env);

/* Members of Simple. */
jint  get_Simple_count(JRIEnv *env, jref self);
void  set_Simple_count(JRIEnv *env, jref self, jint value);
jint  Simple_fact(JRIEnv *env, jref clazz, jint a);
void  Simple_printToStdout(JRIEnv *env, jref self, jref text);
void  Simple_saveString(JRIEnv *env, jref self, jref url, jint index);
jint  Simple_getIt(JRIEnv *env, jref self);
void  Simple_tricky(JRIEnv *env, jref self, jref jsobj, jint i);
jbool Simple_getString(JRIEnv *env, jref self, jref s);
void  Simple_doit(JRIEnv *env, jref self, jref message);
void  Simple_close(JRIEnv *env, jref self);
jref  Simple_new(JRIEnv *env, jref clazz);

/* Members of netscape/plugin/Plugin. */
jint  get_netscape_plugin_Plugin_peer(JRIEnv *env, jref self);
void  set_netscape_plugin_Plugin_peer(JRIEnv *env, jref self, jint value);
jref  get_netscape_plugin_Plugin_window(JRIEnv *env, jref self);
void  set_netscape_plugin_Plugin_window(JRIEnv *env, jref self, jref value);
jint  netscape_plugin_Plugin_getPeer(JRIEnv *env, jref self);
void  netscape_plugin_Plugin_init(JRIEnv *env, jref self);
void  netscape_plugin_Plugin_destroy(JRIEnv *env, jref self);
jbool netscape_plugin_Plugin_isActive(JRIEnv *env, jref self);
jref  netscape_plugin_Plugin_getWindow(JRIEnv *env, jref self);
jref  netscape_plugin_Plugin_new(JRIEnv *env, jref clazz);

/* Native stubs: the Java runtime passes the argument slots (slot 0 the receiving object)
 * and its environment; a result goes into slot 0. */
JRISlot *Java_Simple_printToStdout_stub(JRISlot *args, JRIEnv *env);
JRISlot *Java_Simple_saveString_stub(JRISlot *args, JRIEnv *env);
JRISlot *Java_Simple_getIt_stub(JRISlot *args, JRIEnv *env);
JRISlot *Java_Simple_tricky_stub(JRISlot *args, JRIEnv *env);
JRISlot *Java_Simple_getString_stub(JRISlot *args, JRIEnv *env);
}

#endif /* JAVA_BINDINGS_H */
