/* console_message.cpp - sends one line to the browser's Java console through the doit
 * method of the instance's Java peer. */
#include "plugin_api.h"

#include <string.h>

/* Hands length bytes of text (-1 or any negative length: up to its NUL) to doit on the
 * instance's peer. Without a Java environment the line is dropped and neither the browser
 * nor Java is called; without a peer the string is made but doit is not called. The
 * outcome of doit is not examined. Cannot fail. */
void ConsoleMessage(NPP instance, const char *text, int32_t length)
{
    JRIEnv *env = gPlugin.javaEnv;
    if (env == NULL)
        return;
    if (text == NULL) {
        text = "";
        length = 0;
    }
    if (length < 0)
        length = (int32_t)strlen(text);
    jref message = (*env)->NewStringUTF(env, JRI_OP_NewStringUTF, text, length);
    jref peer = NPN_GetJavaPeer(instance);
    if (peer == NULL)
        return;
    Simple_doit(env, peer, message);
}
