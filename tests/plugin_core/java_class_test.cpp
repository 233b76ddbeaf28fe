/* java_class_test.cpp - NPP_GetJavaClass: the user-agent rule, a browser without Java, a
 * runtime without the class Simple. */
#include <gtest/gtest.h>

#include <stdlib.h>
#include <string>

#include "fake_browser.h"
#include "fake_jri.h"
#include "java_bindings.h"
#include "plugin_api.h"
#include "plugin_load.h"

/* Sets or removes HTTP_USER_AGENT for the C runtime's getenv. */
static void SetUserAgent(const char *agent)
{
    std::string assignment = std::string(USER_AGENT_VARIABLE "=") + (agent != nullptr ? agent : "");
    _putenv(assignment.c_str());
}

struct JavaClassCase {
    const char *name;
    const char *agent;         /* null: variable not set */
    bool        javaEnv;       /* the browser offers an environment */
    bool        simpleClass;   /* the environment has Simple */
    bool        returnsSimple;
    bool        bridge;        /* javaEnv left set */
    int         envAsked;      /* NPN_GetJavaEnv calls */
    bool        pluginBound;   /* netscape/plugin/Plugin bound afterwards */
};

static const JavaClassCase kCases[] = {
    { "no agent variable",          nullptr,                               true,  true,  true,  true,  1, true },
    { "navigator agent",            "Mozilla/3.01 (Win95; I)",             true,  true,  true,  true,  1, true },
    { "MSIE agent",                 "Mozilla/2.0 (compatible; MSIE 3.02)", true,  true,  false, false, 0, false },
    { "MSIE alone",                 "MSIE",                                true,  true,  false, false, 0, false },
    { "msie in small letters",      "Mozilla/2.0 (compatible; msie 3.02)", true,  true,  true,  true,  1, true },
    { "MSI only",                   "MSI",                                 true,  true,  true,  true,  1, true },
    { "browser without Java",       nullptr,                               false, true,  false, false, 1, false },
    { "no class Simple",            nullptr,                               true,  false, false, false, 1, true },
};

TEST(GetJavaClass, UserAgentJavaAndClassDecideTheBridge)
{
    for (const JavaClassCase &c : kCases) {
        SetUserAgent(c.agent);
        std::vector<FakeJavaClass> classes = { FakeJri::PluginClass() };
        if (c.simpleClass)
            classes.push_back(FakeJri::SimpleClass());
        FakeJri jri(classes);
        FakeBrowser browser;
        browser.javaEnv = c.javaEnv ? jri.env() : nullptr;
        ReloadPluginState();
        gPlugin.navigatorFuncs = &browser.funcs;
        gPlugin.javaEnv = (JRIEnv *)&c;     /* a stale value must not survive a refusal */

        jref result = NPP_GetJavaClass();

        EXPECT_EQ(c.returnsSimple ? jri.ClassOf("Simple") : nullptr, result) << c.name;
        EXPECT_EQ(c.bridge ? jri.env() : nullptr, gPlugin.javaEnv) << c.name;
        EXPECT_EQ(c.envAsked, browser.CountOf(FAKE_NPN_GETJAVAENV)) << c.name;
        EXPECT_EQ(c.pluginBound, gPluginClassBinding.classRef != nullptr) << c.name;
        EXPECT_EQ(c.returnsSimple, gSimpleBinding.classRef != nullptr) << c.name;
        if (c.envAsked == 0) {
            EXPECT_TRUE(jri.calls.empty()) << c.name;
        }
    }
    SetUserAgent(nullptr);
}

TEST(GetJavaClass, BindsPluginClassBeforeSimple)
{
    SetUserAgent(nullptr);
    FakeJri jri;
    FakeBrowser browser;
    browser.javaEnv = jri.env();
    ReloadPluginState();
    gPlugin.navigatorFuncs = &browser.funcs;
    ASSERT_NE(nullptr, NPP_GetJavaClass());
    std::vector<FakeJriCall> finds = jri.CallsAt(4);
    ASSERT_EQ(2u, finds.size());
    EXPECT_EQ("netscape/plugin/Plugin", finds[0].name);
    EXPECT_EQ("Simple", finds[1].name);
}

/* With an "MSIE" agent the plug-in loads without a bridge: console lines make no call,
 * and shutdown makes none either. */
TEST(GetJavaClass, MsieLoadMakesNoJavaOrBrowserCallForConsoleOrShutdown)
{
    SetUserAgent("Mozilla/2.0 (compatible; MSIE 3.0; Windows 95)");
    FakeJri jri;
    FakeBrowser browser;
    browser.javaEnv = jri.env();
    browser.javaPeer = jri.NewObjectOf("Simple");
    NPPluginFuncs table;
    ASSERT_EQ(NPERR_NO_ERROR, LoadPlugin(browser, &table));
    EXPECT_EQ(nullptr, table.javaClass);
    EXPECT_EQ(NPP_URLNotify, table.urlnotify);
    size_t before = browser.calls.size();
    NPP_t instance = {};
    ConsoleMessage(&instance, "a line", -1);
    ConsoleMessage(&instance, "", -1);
    EXPECT_EQ(NPERR_NO_ERROR, NP_Shutdown());
    EXPECT_EQ(before, browser.calls.size());
    EXPECT_TRUE(jri.calls.empty());
    SetUserAgent(nullptr);
}
