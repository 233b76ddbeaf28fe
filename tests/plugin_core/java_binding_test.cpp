/* java_binding_test.cpp - binding and unbinding both Java classes against a fake runtime:
 * the order and arguments of every lookup, the native table, and what an unbind leaves. */
#include <gtest/gtest.h>

#include <string>

#include "fake_jri.h"
#include "java_bindings.h"
#include "page_natives.h"
#include "plugin_load.h"

/* One expected JRI call: slot, operation number, name and signature passed. */
struct Lookup {
    int         slot;
    int         op;
    const char *name;
    const char *signature;
};

static const Lookup kSimpleLookups[] = {
    {  4,  4, "Simple",        "" },
    { 48, 48, "count",         "I" },
    { 68, 68, "fact",          "(I)I" },
    { 20, 20, "printToStdout", "(Ljava/lang/String;)V" },
    { 20, 20, "saveString",    "(Ljava/lang/String;I)V" },
    { 20, 20, "getIt",         "()I" },
    { 20, 20, "tricky",        "(Lnetscape/javascript/JSObject;I)V" },
    { 20, 20, "getString",     "(Ljava/lang/String;)Z" },
    { 20, 20, "doit",          "(Ljava/lang/String;)V" },
    { 20, 20, "close",         "()V" },
    { 20, 20, "<init>",        "()V" },
    { 10, 10, "",              "" },
};

static const Lookup kPluginLookups[] = {
    {  4,  4, "netscape/plugin/Plugin", "" },
    { 48, 48, "peer",      "I" },
    { 48, 48, "window",    "Lnetscape/javascript/JSObject;" },
    { 20, 20, "getPeer",   "()I" },
    { 20, 20, "init",      "()V" },
    { 20, 20, "destroy",   "()V" },
    { 20, 20, "isActive",  "()Z" },
    { 20, 20, "getWindow", "()Lnetscape/javascript/JSObject;" },
    { 20, 20, "<init>",    "()V" },
    { 10, 10, "",          "" },
};

/* Checks the calls recorded from index first on against the expected lookups: slot,
 * number, name, signature, and that every lookup and the global reference work on the
 * class FindClass answered. */
static void ExpectLookups(const FakeJri &jri, size_t first, const Lookup *expected, size_t count,
                          jref clazz, const char *what)
{
    ASSERT_EQ(first + count, jri.calls.size()) << what;
    for (size_t i = 0; i < count; i++) {
        const FakeJriCall &call = jri.calls[first + i];
        std::string row = std::string(what) + " call " + std::to_string(i) + " " + expected[i].name;
        EXPECT_EQ(expected[i].slot, call.slot) << row;
        EXPECT_EQ(expected[i].op, call.op) << row;
        EXPECT_EQ(expected[i].name, call.name) << row;
        EXPECT_EQ(expected[i].signature, call.signature) << row;
        if (i > 0) {
            EXPECT_EQ(clazz, call.target) << row;
        }
    }
}

#define LOOKUPS(table) table, sizeof table / sizeof table[0]

static const char *const kSimpleMemberNames[SIMPLE_MEMBER_COUNT] = {
    "count", "fact", "printToStdout", "saveString", "getIt", "tricky", "getString", "doit",
    "close", "<init>"
};
static const char *const kPluginMemberNames[PLUGIN_MEMBER_COUNT] = {
    "peer", "window", "getPeer", "init", "destroy", "isActive", "getWindow", "<init>"
};

/* Binding one class: its use operation, binding record, expected calls and members. */
struct UseCase {
    const char *className;
    jref (*use)(JRIEnv *);
    JavaClassBinding *binding;
    const Lookup *lookups;
    size_t lookupCount;
    const char *const *members;
    int memberCount;
};

TEST(JavaBinding, UseResolvesEveryMemberInOrder)
{
    const UseCase cases[] = {
        { "Simple", use_Simple, &gSimpleBinding, LOOKUPS(kSimpleLookups),
          kSimpleMemberNames, SIMPLE_MEMBER_COUNT },
        { "netscape/plugin/Plugin", use_netscape_plugin_Plugin, &gPluginClassBinding,
          LOOKUPS(kPluginLookups), kPluginMemberNames, PLUGIN_MEMBER_COUNT },
    };
    for (const UseCase &c : cases) {
        ReloadPluginState();
        FakeJri jri;
        jref clazz = c.use(jri.env());
        EXPECT_EQ(jri.ClassOf(c.className), clazz) << c.className;
        ExpectLookups(jri, 0, c.lookups, c.lookupCount, clazz, c.className);
        for (int i = 0; i < c.memberCount; i++)
            EXPECT_EQ(jri.IdOf(c.className, c.members[i]), c.binding->ids[i]) << c.className << " " << c.members[i];
        for (int i = c.memberCount; i < JAVA_BINDING_MAX_MEMBERS; i++)
            EXPECT_EQ(-1, c.binding->ids[i]) << c.className << ": unused id " << i;
        EXPECT_NE(nullptr, c.binding->classRef) << c.className;
        EXPECT_EQ(1u, jri.LiveGlobalRefs()) << c.className;
    }
}

TEST(JavaBinding, SecondUseResolvesNothingAndOneUnuseUndoesAll)
{
    ReloadPluginState();
    FakeJri jri;
    jref clazz = use_Simple(jri.env());
    JRIGlobalRef ref = gSimpleBinding.classRef;
    size_t before = jri.calls.size();

    EXPECT_EQ(clazz, use_Simple(jri.env()));
    EXPECT_EQ(clazz, use_Simple(jri.env()));
    ASSERT_EQ(before + 2, jri.calls.size());
    EXPECT_EQ(12, jri.calls[before].slot);
    EXPECT_EQ(12, jri.calls[before].op);
    EXPECT_EQ(ref, jri.calls[before].globalRef);

    unuse_Simple(jri.env());
    ASSERT_EQ(before + 3, jri.calls.size());
    EXPECT_EQ(11, jri.calls.back().slot);
    EXPECT_EQ(11, jri.calls.back().op);
    EXPECT_EQ(ref, jri.calls.back().globalRef);
    EXPECT_EQ(nullptr, gSimpleBinding.classRef);
    for (int i = 0; i < JAVA_BINDING_MAX_MEMBERS; i++)
        EXPECT_EQ(-1, gSimpleBinding.ids[i]) << "id " << i;
    EXPECT_EQ(0u, jri.LiveGlobalRefs());

    size_t afterUnuse = jri.calls.size();
    EXPECT_EQ(clazz, use_Simple(jri.env()));
    ExpectLookups(jri, afterUnuse, LOOKUPS(kSimpleLookups), clazz, "use after unuse");
    EXPECT_TRUE(jri.misuse.empty());
}

TEST(JavaBinding, UnuseOfAnUnboundClassMakesNoCall)
{
    ReloadPluginState();
    FakeJri jri;
    unuse_Simple(jri.env());
    unuse_netscape_plugin_Plugin(jri.env());
    EXPECT_TRUE(jri.calls.empty());
}

TEST(JavaBinding, ClassNotFoundLeavesTheBindingUnbound)
{
    ReloadPluginState();
    FakeJri jri({ FakeJavaClass{ "Other", {} } });
    EXPECT_EQ(nullptr, use_Simple(jri.env()));
    EXPECT_EQ(nullptr, use_netscape_plugin_Plugin(jri.env()));
    EXPECT_EQ(nullptr, register_Simple(jri.env()));
    ASSERT_EQ(3u, jri.calls.size()) << "one FindClass each, nothing else";
    for (const FakeJriCall &call : jri.calls)
        EXPECT_EQ(4, call.slot);
    EXPECT_EQ(nullptr, gSimpleBinding.classRef);
    EXPECT_EQ(nullptr, gPluginClassBinding.classRef);
    for (int i = 0; i < JAVA_BINDING_MAX_MEMBERS; i++) {
        EXPECT_EQ(-1, gSimpleBinding.ids[i]) << "Simple id " << i;
        EXPECT_EQ(-1, gPluginClassBinding.ids[i]) << "Plugin id " << i;
    }
    unregister_Simple(jri.env());
    ASSERT_EQ(4u, jri.calls.size()) << "unregister finds no class: no UnregisterNatives, no unbind";
    EXPECT_EQ(4, jri.calls.back().slot);
}

/* A member the class lacks is not noticed at bind time: its id is kept as the runtime
 * answered, and only a call through it goes wrong. */
TEST(JavaBinding, MissingMemberIdIsKeptAsAnswered)
{
    ReloadPluginState();
    FakeJavaClass simple = FakeJri::SimpleClass();
    simple.members.erase(simple.members.begin() + SIMPLE_CLOSE);
    FakeJri jri({ simple });
    jri.missingMemberId = -77;
    ASSERT_NE(nullptr, use_Simple(jri.env()));
    EXPECT_EQ(-77, gSimpleBinding.ids[SIMPLE_CLOSE]);
    EXPECT_EQ(jri.IdOf("Simple", "doit"), gSimpleBinding.ids[SIMPLE_DOIT]);
    EXPECT_EQ(jri.IdOf("Simple", "<init>"), gSimpleBinding.ids[SIMPLE_NEW]);
    EXPECT_NE(nullptr, gSimpleBinding.classRef);
}

TEST(JavaBinding, RegisterSimpleRegistersTheFiveNativesInOrderThenBinds)
{
    ReloadPluginState();
    FakeJri jri;
    jref clazz = register_Simple(jri.env());
    EXPECT_EQ(jri.ClassOf("Simple"), clazz);
    ASSERT_GE(jri.calls.size(), 2u);
    EXPECT_EQ(4, jri.calls[0].slot);
    EXPECT_EQ("Simple", jri.calls[0].name);
    const FakeJriCall &reg = jri.calls[1];
    EXPECT_EQ(128, reg.slot);
    EXPECT_EQ(128, reg.op);
    EXPECT_EQ(clazz, reg.target);
    const std::vector<std::string> names = {
        "printToStdout(Ljava/lang/String;)V",
        "saveString(Ljava/lang/String;I)V",
        "getIt()I",
        "tricky(Lnetscape/javascript/JSObject;I)V",
        "getString(Ljava/lang/String;)Z",
    };
    const std::vector<void *> procs = {
        (void *)native_Simple_printToStdout, (void *)native_Simple_saveString,
        (void *)native_Simple_getIt, (void *)native_Simple_tricky, (void *)native_Simple_getString,
    };
    EXPECT_EQ(names, reg.nativeNames);
    EXPECT_EQ(procs, reg.nativeProcs);
    ExpectLookups(jri, 2, LOOKUPS(kSimpleLookups), clazz, "register_Simple's bind");
    EXPECT_NE(nullptr, gSimpleBinding.classRef);
}

TEST(JavaBinding, UnregisterSimpleUnregistersThenUnbinds)
{
    ReloadPluginState();
    FakeJri jri;
    jref clazz = register_Simple(jri.env());
    JRIGlobalRef ref = gSimpleBinding.classRef;
    size_t before = jri.calls.size();
    unregister_Simple(jri.env());
    ASSERT_EQ(before + 3, jri.calls.size());
    EXPECT_EQ(4, jri.calls[before].slot);
    EXPECT_EQ("Simple", jri.calls[before].name);
    EXPECT_EQ(129, jri.calls[before + 1].slot);
    EXPECT_EQ(129, jri.calls[before + 1].op);
    EXPECT_EQ(clazz, jri.calls[before + 1].target);
    EXPECT_EQ(11, jri.calls[before + 2].slot);
    EXPECT_EQ(ref, jri.calls[before + 2].globalRef);
    EXPECT_EQ(nullptr, gSimpleBinding.classRef);
    EXPECT_EQ(0u, jri.LiveGlobalRefs());
}

TEST(JavaBinding, NullEnvironmentIsRefusedWithoutACall)
{
    ReloadPluginState();
    EXPECT_EQ(nullptr, use_Simple(nullptr));
    EXPECT_EQ(nullptr, use_netscape_plugin_Plugin(nullptr));
    EXPECT_EQ(nullptr, register_Simple(nullptr));
    unregister_Simple(nullptr);
    unuse_Simple(nullptr);
    unuse_netscape_plugin_Plugin(nullptr);
    EXPECT_EQ(nullptr, gSimpleBinding.classRef);
}
