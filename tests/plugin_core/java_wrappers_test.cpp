/* java_wrappers_test.cpp - every member wrapper makes exactly one JRI call: the right
 * slot, the operation number of its family (21 for typed instance calls, 69 for typed
 * static calls), the member's id, its arguments in order, and the result unchanged. */
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "fake_jri.h"
#include "java_bindings.h"
#include "plugin_load.h"

/* What the tests hand each wrapper. */
struct WrapperArgs {
    JRIEnv *env;
    jref    object;
    jref    clazz;
    jref    string;
    jref    jsobject;
};

struct WrapperCase {
    const char *wrapper;
    std::function<intptr_t(const WrapperArgs &)> call;   /* returns the wrapper's result */
    int         slot;
    int         op;
    const char *className;
    const char *member;
    int         target;              /* 0: the object, 1: the class */
    std::vector<int> args;           /* 1: string, 2: JS object, other: that integer */
    bool        hasResult;
};

static const char *const kSimple = "Simple";
static const char *const kPlugin = "netscape/plugin/Plugin";

static std::vector<WrapperCase> Cases()
{
    typedef const WrapperArgs &A;
    return {
        { "get_Simple_count", [](A a) { return (intptr_t)get_Simple_count(a.env, a.object); },
          54, 54, kSimple, "count", 0, {}, true },
        { "set_Simple_count", [](A a) { set_Simple_count(a.env, a.object, 12); return (intptr_t)0; },
          63, 63, kSimple, "count", 0, { 12 }, false },
        { "Simple_fact", [](A a) { return (intptr_t)Simple_fact(a.env, a.clazz, 5); },
          84, 69, kSimple, "fact", 1, { 5 }, true },
        { "Simple_printToStdout", [](A a) { Simple_printToStdout(a.env, a.object, a.string); return (intptr_t)0; },
          21, 21, kSimple, "printToStdout", 0, { 1 }, false },
        { "Simple_saveString", [](A a) { Simple_saveString(a.env, a.object, a.string, -1); return (intptr_t)0; },
          21, 21, kSimple, "saveString", 0, { 1, -1 }, false },
        { "Simple_getIt", [](A a) { return (intptr_t)Simple_getIt(a.env, a.object); },
          36, 21, kSimple, "getIt", 0, {}, true },
        { "Simple_tricky", [](A a) { Simple_tricky(a.env, a.object, a.jsobject, 7); return (intptr_t)0; },
          21, 21, kSimple, "tricky", 0, { 2, 7 }, false },
        { "Simple_getString", [](A a) { return (intptr_t)Simple_getString(a.env, a.object, a.string); },
          24, 21, kSimple, "getString", 0, { 1 }, true },
        { "Simple_doit", [](A a) { Simple_doit(a.env, a.object, a.string); return (intptr_t)0; },
          21, 21, kSimple, "doit", 0, { 1 }, false },
        { "Simple_close", [](A a) { Simple_close(a.env, a.object); return (intptr_t)0; },
          21, 21, kSimple, "close", 0, {}, false },
        { "Simple_new", [](A a) { return (intptr_t)Simple_new(a.env, a.clazz); },
          15, 15, kSimple, "<init>", 1, {}, false },
        { "get_netscape_plugin_Plugin_peer", [](A a) { return (intptr_t)get_netscape_plugin_Plugin_peer(a.env, a.object); },
          54, 54, kPlugin, "peer", 0, {}, true },
        { "set_netscape_plugin_Plugin_peer", [](A a) { set_netscape_plugin_Plugin_peer(a.env, a.object, 99); return (intptr_t)0; },
          63, 63, kPlugin, "peer", 0, { 99 }, false },
        { "get_netscape_plugin_Plugin_window", [](A a) { return (intptr_t)get_netscape_plugin_Plugin_window(a.env, a.object); },
          49, 49, kPlugin, "window", 0, {}, true },
        { "set_netscape_plugin_Plugin_window", [](A a) { set_netscape_plugin_Plugin_window(a.env, a.object, a.jsobject); return (intptr_t)0; },
          58, 58, kPlugin, "window", 0, { 2 }, false },
        { "netscape_plugin_Plugin_getPeer", [](A a) { return (intptr_t)netscape_plugin_Plugin_getPeer(a.env, a.object); },
          36, 21, kPlugin, "getPeer", 0, {}, true },
        { "netscape_plugin_Plugin_init", [](A a) { netscape_plugin_Plugin_init(a.env, a.object); return (intptr_t)0; },
          21, 21, kPlugin, "init", 0, {}, false },
        { "netscape_plugin_Plugin_destroy", [](A a) { netscape_plugin_Plugin_destroy(a.env, a.object); return (intptr_t)0; },
          21, 21, kPlugin, "destroy", 0, {}, false },
        { "netscape_plugin_Plugin_isActive", [](A a) { return (intptr_t)netscape_plugin_Plugin_isActive(a.env, a.object); },
          24, 21, kPlugin, "isActive", 0, {}, true },
        { "netscape_plugin_Plugin_getWindow", [](A a) { return (intptr_t)netscape_plugin_Plugin_getWindow(a.env, a.object); },
          21, 21, kPlugin, "getWindow", 0, {}, true },
        { "netscape_plugin_Plugin_new", [](A a) { return (intptr_t)netscape_plugin_Plugin_new(a.env, a.clazz); },
          15, 15, kPlugin, "<init>", 1, {}, false },
    };
}

TEST(JavaWrappers, EachMakesOneCallWithItsSlotNumberIdAndArguments)
{
    for (const WrapperCase &c : Cases()) {
        ReloadPluginState();
        FakeJri jri;
        ASSERT_NE(nullptr, use_netscape_plugin_Plugin(jri.env()));
        ASSERT_NE(nullptr, use_Simple(jri.env()));
        WrapperArgs a = { jri.env(), jri.NewObjectOf(c.className), jri.ClassOf(c.className),
                          jri.NewString("a text"), jri.NewObjectOf("netscape/javascript/JSObject") };
        int32_t id = jri.IdOf(c.className, c.member);
        /* Results are set both for calls and for field reads, so "unchanged" is checked
         * with a value the wrapper could not make up. */
        const intptr_t answer = 0x41;
        jri.SetResult(id, answer);
        if (c.slot == 54 || c.slot == 49)
            jri.fields[{ a.object, id }] = answer;
        size_t before = jri.calls.size();

        intptr_t result = c.call(a);

        ASSERT_EQ(before + 1, jri.calls.size()) << c.wrapper << ": exactly one JRI call";
        const FakeJriCall &call = jri.calls.back();
        EXPECT_EQ(c.slot, call.slot) << c.wrapper;
        EXPECT_EQ(c.op, call.op) << c.wrapper;
        EXPECT_EQ(id, call.id) << c.wrapper;
        EXPECT_EQ(c.target == 0 ? a.object : a.clazz, call.target) << c.wrapper;
        std::vector<intptr_t> expected;
        for (int arg : c.args)
            expected.push_back(arg == 1 ? (intptr_t)a.string : arg == 2 ? (intptr_t)a.jsobject : arg);
        EXPECT_EQ(expected, call.args) << c.wrapper;
        if (c.hasResult) {
            EXPECT_EQ(answer, result) << c.wrapper << ": result handed back unchanged";
        }
        if (c.slot == 15) {
            EXPECT_NE(0, result) << c.wrapper << ": the new object";
        }
    }
}

/* The wrappers do not check the binding: unbound, they pass the unresolved id -1 on. */
TEST(JavaWrappers, UnboundClassPassesTheUnresolvedId)
{
    ReloadPluginState();
    FakeJri jri;
    jref peer = jri.NewObjectOf("Simple");
    Simple_doit(jri.env(), peer, jri.NewString("x"));
    ASSERT_EQ(1u, jri.calls.size());
    EXPECT_EQ(-1, jri.calls[0].id);
}
