/* page_natives.h - the native methods of the Java class Simple that the Batch Download
 * Window's script calls: exported under their C names. */
#ifndef PAGE_NATIVES_H
#define PAGE_NATIVES_H

#include "jri_interface.h"

extern "C" {
void native_Simple_saveString(JRIEnv *env, jref self, jref url, jint index);
jint native_Simple_getIt(JRIEnv *env, jref self);
jbool native_Simple_getString(JRIEnv *env, jref self, jref s);
void native_Simple_printToStdout(JRIEnv *env, jref self, jref text);
void native_Simple_tricky(JRIEnv *env, jref self, jref jsobj, jint i);
}

#endif /* PAGE_NATIVES_H */
