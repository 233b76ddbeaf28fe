/* java_runtime_test.cpp - the browser host's Java runtime: the classes and members the
 * plug-in binds, the operation numbers it checks, peers, and natives reached both ways */
#include <gtest/gtest.h>

#include "java_runtime.h"

static JRIEnv *Env()
{
    return JavaEnvironment();
}

static const JRIEnvInterface &T()
{
    return **Env();
}

TEST(JavaRuntime, ResolvesTheMembersThePluginBinds)
{
    struct Row {
        const char *cls, *name, *sig;
        int kind;   /* 0 field, 1 method, 2 static method */
    } rows[] = {
        {"netscape/plugin/Plugin", "peer", "I", 0},
        {"netscape/plugin/Plugin", "window", "Lnetscape/javascript/JSObject;", 0},
        {"netscape/plugin/Plugin", "getPeer", "()I", 1},
        {"netscape/plugin/Plugin", "isActive", "()Z", 1},
        {"netscape/plugin/Plugin", "getWindow", "()Lnetscape/javascript/JSObject;", 1},
        {"netscape/plugin/Plugin", "<init>", "()V", 1},
        {"Simple", "count", "I", 0},
        {"Simple", "fact", "(I)I", 2},
        {"Simple", "saveString", "(Ljava/lang/String;I)V", 1},
        {"Simple", "getString", "(Ljava/lang/String;)Z", 1},
        {"Simple", "doit", "(Ljava/lang/String;)V", 1},
        {"Simple", "<init>", "()V", 1},
        {"Simple", "getPeer", "()I", 1},   /* inherited */
    };
    int faults = JavaFaultCount();
    for (const Row &r : rows) {
        jref clazz = T().FindClass(Env(), JRI_OP_FindClass, r.cls);
        ASSERT_NE(nullptr, clazz) << r.cls;
        int32_t id = r.kind == 0   ? T().GetFieldID(Env(), JRI_OP_GetFieldID, clazz, r.name, r.sig)
                     : r.kind == 1 ? T().GetMethodID(Env(), JRI_OP_GetMethodID, clazz, r.name, r.sig)
                                   : T().GetStaticMethodID(Env(), JRI_OP_GetStaticMethodID, clazz, r.name, r.sig);
        EXPECT_GE(id, 0) << r.cls << "." << r.name << r.sig;
    }
    EXPECT_EQ(faults, JavaFaultCount());
    EXPECT_EQ(nullptr, T().FindClass(Env(), JRI_OP_FindClass, "simple"));
}

TEST(JavaRuntime, CountsWhatARealRuntimeWouldRefuse)
{
    jref simple = T().FindClass(Env(), JRI_OP_FindClass, "Simple");
    jref plugin = T().FindClass(Env(), JRI_OP_FindClass, "netscape/plugin/Plugin");
    struct Row {
        const char *what;
        void (*call)(jref simple, jref plugin);
    } rows[] = {
        {"FindClass with the wrong number", [](jref, jref) { T().FindClass(Env(), 5, "Simple"); }},
        {"unknown method", [](jref s, jref) { T().GetMethodID(Env(), JRI_OP_GetMethodID, s, "doit", "()V"); }},
        {"field of a superclass id kind", [](jref, jref p) { T().GetFieldID(Env(), JRI_OP_GetFieldID, p, "count", "I"); }},
        {"typed call with its own slot number",
         [](jref s, jref) {
             int32_t id = T().GetMethodID(Env(), JRI_OP_GetMethodID, s, "getPeer", "()I");
             jref obj = T().NewObject(Env(), JRI_OP_NewObject, s,
                                      T().GetMethodID(Env(), JRI_OP_GetMethodID, s, "<init>", "()V"));
             T().CallMethodInt(Env(), 36, obj, id);
         }},
        {"int call of a void method",
         [](jref s, jref) {
             int32_t id = T().GetMethodID(Env(), JRI_OP_GetMethodID, s, "close", "()V");
             jref obj = T().NewObject(Env(), JRI_OP_NewObject, s,
                                      T().GetMethodID(Env(), JRI_OP_GetMethodID, s, "<init>", "()V"));
             T().CallMethodInt(Env(), JRI_OP_CallMethod, obj, id);
         }},
        {"call on null", [](jref s, jref) {
             T().CallMethod(Env(), JRI_OP_CallMethod, nullptr,
                            T().GetMethodID(Env(), JRI_OP_GetMethodID, s, "close", "()V"));
         }},
        {"dispose twice", [](jref s, jref) {
             JRIGlobalRef g = T().NewGlobalRef(Env(), JRI_OP_NewGlobalRef, s);
             T().DisposeGlobalRef(Env(), JRI_OP_DisposeGlobalRef, g);
             T().DisposeGlobalRef(Env(), JRI_OP_DisposeGlobalRef, g);
         }},
        {"string chars of a class", [](jref s, jref) { T().GetStringUTFChars(Env(), JRI_OP_GetStringUTFChars, s); }},
    };
    for (const Row &r : rows) {
        int before = JavaFaultCount();
        r.call(simple, plugin);
        EXPECT_EQ(before + 1, JavaFaultCount()) << r.what;
    }
}

TEST(JavaRuntime, PeerAnswersItsInstanceAndFieldsKeepValues)
{
    jref simple = T().FindClass(Env(), JRI_OP_FindClass, "Simple");
    jref plugin = T().FindClass(Env(), JRI_OP_FindClass, "netscape/plugin/Plugin");
    JRIGlobalRef g = T().NewGlobalRef(Env(), JRI_OP_NewGlobalRef, simple);
    ASSERT_EQ(simple, JavaClassOfGlobalRef(g));
    NPP_t npp = {};
    jref peer = JavaNewPeer(JavaClassOfGlobalRef(g), &npp);
    ASSERT_NE(nullptr, peer);
    int32_t getPeer = T().GetMethodID(Env(), JRI_OP_GetMethodID, plugin, "getPeer", "()I");
    EXPECT_EQ((jint)(intptr_t)&npp, T().CallMethodInt(Env(), JRI_OP_CallMethod, peer, getPeer));
    int32_t isActive = T().GetMethodID(Env(), JRI_OP_GetMethodID, plugin, "isActive", "()Z");
    EXPECT_EQ(1, T().CallMethodBoolean(Env(), JRI_OP_CallMethod, peer, isActive));
    JavaPeerInstanceGone(peer);
    EXPECT_EQ(0, T().CallMethodBoolean(Env(), JRI_OP_CallMethod, peer, isActive));
    int32_t count = T().GetFieldID(Env(), JRI_OP_GetFieldID, simple, "count", "I");
    T().SetFieldInt(Env(), JRI_OP_SetFieldInt, peer, count, 42);
    EXPECT_EQ(42, T().GetFieldInt(Env(), JRI_OP_GetFieldInt, peer, count));
    int32_t fact = T().GetStaticMethodID(Env(), JRI_OP_GetStaticMethodID, simple, "fact", "(I)I");
    EXPECT_EQ(120, T().CallStaticMethodInt(Env(), JRI_OP_CallStaticMethod, simple, fact, (jint)5));
    jref s = T().NewStringUTF(Env(), JRI_OP_NewStringUTF, "abc%sdef", 5);
    EXPECT_STREQ("abc%s", T().GetStringUTFChars(Env(), JRI_OP_GetStringUTFChars, s));
    T().DisposeGlobalRef(Env(), JRI_OP_DisposeGlobalRef, g);
    EXPECT_EQ(nullptr, JavaClassOfGlobalRef(g));
}

static std::string gSaved;
static jint gIndex;

static void SaveStringNative(JRIEnv *env, jref self, jref text, jint index)
{
    (void)self;
    const char *chars = text ? (**env).GetStringUTFChars(env, JRI_OP_GetStringUTFChars, text) : "(null)";
    gSaved = chars;
    gIndex = index;
}

TEST(JavaRuntime, NativesAreReachedThroughWhatWasRegistered)
{
    jref simple = T().FindClass(Env(), JRI_OP_FindClass, "Simple");
    NPP_t npp = {};
    jref peer = JavaNewPeer(simple, &npp);
    JRISlot args[2] = {(JRISlot)JavaNewString("http://h/a.zip"), 7};
    JRISlot result = 0;
    std::string error;
    EXPECT_FALSE(JavaCallNative(peer, "saveString", "(Ljava/lang/String;I)V", args, 2, NATIVES_REGISTERED, &result,
                                &error));
    EXPECT_NE(std::string::npos, error.find("not registered")) << error;

    char *names[] = {(char *)"saveString(Ljava/lang/String;I)V", (char *)"bogus()V", nullptr};
    void *procs[] = {(void *)SaveStringNative, (void *)SaveStringNative, nullptr};
    int faults = JavaFaultCount();
    T().RegisterNatives(Env(), JRI_OP_RegisterNatives, simple, names, procs);
    EXPECT_EQ(faults + 1, JavaFaultCount()) << "a native the class does not declare";
    ASSERT_TRUE(JavaNativeRegistered("saveString", "(Ljava/lang/String;I)V"));
    ASSERT_TRUE(JavaCallNative(peer, "saveString", "(Ljava/lang/String;I)V", args, 2, NATIVES_AUTO, &result, &error))
        << error;
    EXPECT_EQ("http://h/a.zip", gSaved);
    EXPECT_EQ(7, gIndex);

    /* The Java side calling the native method through CallMethod reaches it as well. */
    int32_t id = T().GetMethodID(Env(), JRI_OP_GetMethodID, simple, "saveString", "(Ljava/lang/String;I)V");
    T().CallMethod(Env(), JRI_OP_CallMethod, peer, id, (jref) nullptr, (jint)-1);
    EXPECT_EQ("(null)", gSaved);
    EXPECT_EQ(-1, gIndex);

    T().UnregisterNatives(Env(), JRI_OP_UnregisterNatives, simple);
    EXPECT_FALSE(JavaNativeRegistered("saveString", "(Ljava/lang/String;I)V"));
    EXPECT_FALSE(JavaCallNative(peer, "saveString", "(Ljava/lang/String;I)V", args, 2, NATIVES_STUBS, &result,
                                &error))
        << "no library exports the stub";
}
