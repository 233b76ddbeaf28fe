/* java_runtime.h - the browser host's own Java runtime behind the JRI function table: the
 * classes netscape/plugin/Plugin and Simple, objects, strings, global references, natives */
#ifndef JAVA_RUNTIME_H
#define JAVA_RUNTIME_H

#include <windows.h>

#include <string>

#include "browser_options.h"
#include "np_interface.h"

#define JAVA_CONSOLE_PREFIX "[console] "   /* how doit's lines stand out on standard output */

/* The environment handed out by NPN_GetJavaEnv and passed to natives. Cannot fail. */
JRIEnv *JavaEnvironment(void);

/* The class a global reference stands for, or null when it is not one of ours. */
jref JavaClassOfGlobalRef(JRIGlobalRef ref);

/* A new peer object of clazz (a subclass of netscape/plugin/Plugin) whose peer field is
 * the instance, so that getPeer returns it. Null when clazz is no such class. */
jref JavaNewPeer(jref clazz, NPP instance);

/* Marks a peer's instance as destroyed: isActive answers false from then on. */
void JavaPeerInstanceGone(jref peer);

/* A Java string holding text (the page's script passes strings so). Cannot fail. */
jref JavaNewString(const char *text);

/* The library whose exported Java_<class>_<method>_stub functions serve natives that
 * were not registered (null: none). */
void JavaSetNativeLibrary(HMODULE library);

/* Calls a native method of self's class the way the Java runtime does: through the
 * function given to RegisterNatives, or through the exported stub with an argument-slot
 * array, as path allows. args holds the Java arguments (one slot each). Returns true with
 * *result set (0 for void methods); false with *error when no native is there. */
bool JavaCallNative(jref self, const char *name, const char *signature, const JRISlot *args, int argCount,
                    NativesPath path, JRISlot *result, std::string *error);

/* Whether RegisterNatives has registered name+signature. */
bool JavaNativeRegistered(const char *name, const char *signature);

/* Faults the runtime saw (wrong operation numbers, unknown members, bad references). */
int JavaFaultCount(void);

/* Global references handed out and not disposed of. */
int JavaLiveGlobalRefs(void);

/* Frees every object; references handed out before are void afterwards. Cannot fail. */
void JavaShutdown(void);

#endif /* JAVA_RUNTIME_H */
