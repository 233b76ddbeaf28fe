/* page_natives.cpp - temporary natives of the class Simple that do nothing, so the DLL
 * links while the real ones are written. */
#include "plugin_api.h"
#include "page_natives.h"

extern "C" {
void native_Simple_saveString(JRIEnv *, jref, jref, jint) {}
jint native_Simple_getIt(JRIEnv *, jref) { return 0; }
jbool native_Simple_getString(JRIEnv *, jref, jref) { return 0; }
void native_Simple_printToStdout(JRIEnv *, jref, jref) {}
void native_Simple_tricky(JRIEnv *, jref, jref, jint) {}
}
