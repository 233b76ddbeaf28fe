/* entry_points_test.cpp - the three entry points against a fake browser: what they answer,
 * what they write into the plug-in table, and the version gates on loading. */
#include <gtest/gtest.h>

#include <cstring>

#include "fake_browser.h"
#include "fake_jri.h"
#include "java_bindings.h"
#include "plugin_api.h"
#include "plugin_load.h"

/* Marks left in the members NP_GetEntryPoints must not touch. */
static const uint16_t kSizeMark = 0x5A5A;
static NPP_URLNotifyProcPtr const kUrlNotifyMark = reinterpret_cast<NPP_URLNotifyProcPtr>(0x1111);
static JRIGlobalRef const kJavaClassMark = reinterpret_cast<JRIGlobalRef>(0x2222);

static NPPluginFuncs MarkedTable()
{
    NPPluginFuncs table;
    std::memset(&table, 0xEE, sizeof table);
    table.size = kSizeMark;
    table.urlnotify = kUrlNotifyMark;
    table.javaClass = kJavaClassMark;
    return table;
}

TEST(GetEntryPoints, NullTableIsRefusedAndNothingIsKept)
{
    ReloadPluginState();
    EXPECT_EQ(NPERR_INVALID_FUNCTABLE_ERROR, NP_GetEntryPoints(nullptr));
    EXPECT_EQ(nullptr, gPlugin.pluginFuncs);
}

TEST(GetEntryPoints, FillsCallbacksVersionAndNullEventOnly)
{
    ReloadPluginState();
    NPPluginFuncs table = MarkedTable();
    ASSERT_EQ(NPERR_NO_ERROR, NP_GetEntryPoints(&table));
    EXPECT_EQ(kSizeMark, table.size) << "size is neither read nor written";
    EXPECT_EQ(9, table.version);
    EXPECT_EQ(NPP_New, table.newp);
    EXPECT_EQ(NPP_Destroy, table.destroy);
    EXPECT_EQ(NPP_SetWindow, table.setwindow);
    EXPECT_EQ(NPP_NewStream, table.newstream);
    EXPECT_EQ(NPP_DestroyStream, table.destroystream);
    EXPECT_EQ(NPP_StreamAsFile, table.asfile);
    EXPECT_EQ(NPP_WriteReady, table.writeready);
    EXPECT_EQ(NPP_Write, table.write);
    EXPECT_EQ(NPP_Print, table.print);
    EXPECT_EQ(nullptr, table.event);
    EXPECT_EQ(kUrlNotifyMark, table.urlnotify) << "urlnotify waits for NP_Initialize";
    EXPECT_EQ(kJavaClassMark, table.javaClass) << "javaClass waits for NP_Initialize";
    EXPECT_EQ(&table, gPlugin.pluginFuncs) << "the browser's table itself is kept, not a copy";
}

/* One loading of the plug-in by a browser of a given version word, with or without Java
 * and the class Simple. */
struct InitializeCase {
    const char *name;
    uint16_t    version;
    bool        javaEnv;             /* the browser offers a Java environment */
    bool        simpleClass;         /* that environment has the class Simple */
    NPError     result;
    bool        urlNotifySet;        /* urlnotify = NPP_URLNotify (else left as marked) */
    bool        javaClassTouched;    /* javaClass written (else left as marked) */
    bool        javaClassIsSimple;   /* javaClass is a global reference to Simple */
    int         javaEnvAsked;        /* NPN_GetJavaEnv calls */
    bool        bridge;              /* javaEnv left set */
};

static const InitializeCase kInitializeCases[] = {
    { "major 1 refused",           0x0109, true,  true,  NPERR_INCOMPATIBLE_VERSION_ERROR, false, false, false, 0, false },
    { "major 2 minor 0 refused",   0x0200, true,  true,  NPERR_INCOMPATIBLE_VERSION_ERROR, false, false, false, 0, false },
    { "minor 7: no notify, no Java", 0x0007, true, true, NPERR_NO_ERROR, false, false, false, 0, false },
    { "minor 8: no notify, no Java", 0x0008, true, true, NPERR_NO_ERROR, false, false, false, 0, false },
    { "minor 9 with Simple",       0x0009, true,  true,  NPERR_NO_ERROR, true, true, true,  2, true },
    { "minor 10 with Simple",      0x000A, true,  true,  NPERR_NO_ERROR, true, true, true,  2, true },
    { "minor 9 without Java",      0x0009, false, false, NPERR_NO_ERROR, true, true, false, 1, false },
    { "minor 9 without Simple",    0x0009, true,  false, NPERR_NO_ERROR, true, true, false, 1, false },
};

TEST(Initialize, VersionGatesAndWhatIsWrittenIntoTheTable)
{
    for (const InitializeCase &c : kInitializeCases) {
        std::vector<FakeJavaClass> classes = { FakeJri::PluginClass() };
        if (c.simpleClass)
            classes.push_back(FakeJri::SimpleClass());
        FakeJri jri(classes);
        FakeBrowser browser(c.version);
        browser.javaEnv = c.javaEnv ? jri.env() : nullptr;
        ReloadPluginState();
        NPPluginFuncs table = MarkedTable();
        ASSERT_EQ(NPERR_NO_ERROR, NP_GetEntryPoints(&table)) << c.name;

        EXPECT_EQ(c.result, NP_Initialize(&browser.funcs)) << c.name;
        EXPECT_EQ(&browser.funcs, gPlugin.navigatorFuncs) << c.name << ": table kept even when refused";
        EXPECT_EQ(c.urlNotifySet ? NPP_URLNotify : kUrlNotifyMark, table.urlnotify) << c.name;
        if (!c.javaClassTouched)
            EXPECT_EQ(kJavaClassMark, table.javaClass) << c.name;
        else if (!c.javaClassIsSimple)
            EXPECT_EQ(nullptr, table.javaClass) << c.name;
        else {
            JRIEnv *env = jri.env();
            EXPECT_EQ(jri.ClassOf("Simple"), (*env)->GetGlobalRef(env, JRI_OP_GetGlobalRef, table.javaClass))
                << c.name << ": javaClass is a global reference to Simple";
        }
        EXPECT_EQ(c.javaEnvAsked, browser.CountOf(FAKE_NPN_GETJAVAENV)) << c.name;
        EXPECT_EQ(c.bridge ? jri.env() : nullptr, gPlugin.javaEnv) << c.name;
        EXPECT_EQ(0, browser.CountOf(FAKE_NPN_OTHER)) << c.name;
        NP_Shutdown();
    }
}

TEST(Initialize, NullTableIsRefusedAndTheSavedTableStays)
{
    FakeBrowser browser;
    NPPluginFuncs table;
    ASSERT_EQ(NPERR_NO_ERROR, LoadPlugin(browser, &table));
    EXPECT_EQ(NPERR_INVALID_FUNCTABLE_ERROR, NP_Initialize(nullptr));
    EXPECT_EQ(&browser.funcs, gPlugin.navigatorFuncs);
    NP_Shutdown();
}

/* The global reference for the browser is made through the environment the browser gives
 * at that moment; when it gives none the second time, javaClass stays null. */
TEST(Initialize, NoEnvironmentOnTheSecondAskLeavesJavaClassNull)
{
    FakeJri jri;
    FakeBrowser browser;
    browser.javaEnv = jri.env();
    browser.FailAfter(FAKE_NPN_GETJAVAENV, 1);
    NPPluginFuncs table;
    EXPECT_EQ(NPERR_NO_ERROR, LoadPlugin(browser, &table));
    EXPECT_EQ(nullptr, table.javaClass);
    EXPECT_EQ(NPP_URLNotify, table.urlnotify);
    NP_Shutdown();
}

/* The browser never calls NP_Initialize first; if one does, there is no table to complete,
 * and the plug-in runs without its Java bridge instead of crashing. */
TEST(Initialize, BeforeGetEntryPointsRunsWithoutJava)
{
    FakeJri jri;
    FakeBrowser browser(0x0009);
    browser.javaEnv = jri.env();
    ReloadPluginState();
    EXPECT_EQ(NPERR_NO_ERROR, NP_Initialize(&browser.funcs));
    EXPECT_EQ(&browser.funcs, gPlugin.navigatorFuncs);
    EXPECT_EQ(nullptr, gPlugin.javaEnv);
    EXPECT_EQ(0, browser.CountOf(FAKE_NPN_GETJAVAENV));
    EXPECT_TRUE(jri.calls.empty());
    EXPECT_EQ(NPERR_NO_ERROR, NP_Shutdown());
}

TEST(Shutdown, UnbindsSimpleThenPluginAndForgetsTheBrowser)
{
    FakeJri jri;
    FakeBrowser browser;
    browser.javaEnv = jri.env();
    NPPluginFuncs table;
    ASSERT_EQ(NPERR_NO_ERROR, LoadPlugin(browser, &table));
    JRIGlobalRef simpleRef = gSimpleBinding.classRef;
    JRIGlobalRef pluginRef = gPluginClassBinding.classRef;
    ASSERT_NE(nullptr, simpleRef);
    ASSERT_NE(nullptr, pluginRef);
    size_t callsBefore = jri.calls.size();
    size_t browserCallsBefore = browser.calls.size();

    EXPECT_EQ(NPERR_NO_ERROR, NP_Shutdown());

    std::vector<FakeJriCall> after(jri.calls.begin() + callsBefore, jri.calls.end());
    ASSERT_EQ(2u, after.size());
    EXPECT_EQ(11, after[0].slot);
    EXPECT_EQ(11, after[0].op);
    EXPECT_EQ(simpleRef, after[0].globalRef) << "Simple is unbound first";
    EXPECT_EQ(11, after[1].slot);
    EXPECT_EQ(pluginRef, after[1].globalRef);
    EXPECT_EQ(nullptr, gSimpleBinding.classRef);
    EXPECT_EQ(nullptr, gPluginClassBinding.classRef);
    EXPECT_EQ(1u, jri.LiveGlobalRefs()) << "only the browser's javaClass reference stays";
    EXPECT_EQ(jri.env(), gPlugin.javaEnv) << "javaEnv is kept";
    EXPECT_EQ(nullptr, gPlugin.navigatorFuncs);
    EXPECT_EQ(browserCallsBefore, browser.calls.size()) << "shutdown calls no browser function";
    EXPECT_TRUE(jri.misuse.empty());
}

TEST(Shutdown, WithoutJavaMakesNoCallAndAnswersZero)
{
    FakeBrowser browser(0x0008);
    NPPluginFuncs table;
    ASSERT_EQ(NPERR_NO_ERROR, LoadPlugin(browser, &table));
    size_t before = browser.calls.size();
    EXPECT_EQ(NPERR_NO_ERROR, NP_Shutdown());
    EXPECT_EQ(before, browser.calls.size());
    EXPECT_EQ(nullptr, gPlugin.navigatorFuncs);
    EXPECT_EQ(NPERR_NO_ERROR, NP_Shutdown()) << "a second shutdown is harmless too";
}

/* With the class Simple missing the plug-in has no bridge: Simple stays unbound, the
 * binding of netscape/plugin/Plugin stays (it is not undone without javaEnv), every
 * instance is inert through its life (it gets its record and gives it back, and neither
 * Java nor any other browser function is called), and shutdown makes no call. */
TEST(Shutdown, ClassNotFoundLeavesInstancesInertAndShutsDownCleanly)
{
    FakeJri jri({ FakeJri::PluginClass() });
    FakeBrowser browser;
    browser.javaEnv = jri.env();
    NPPluginFuncs table;
    ASSERT_EQ(NPERR_NO_ERROR, LoadPlugin(browser, &table));
    EXPECT_EQ(nullptr, gSimpleBinding.classRef);
    for (int i = 0; i < JAVA_BINDING_MAX_MEMBERS; i++)
        EXPECT_EQ(-1, gSimpleBinding.ids[i]) << "id " << i;
    EXPECT_EQ(nullptr, gPlugin.javaEnv);
    EXPECT_EQ(nullptr, table.javaClass);
    size_t jriBefore = jri.calls.size();
    NPP_t instance = {};
    char name[] = "URL", value[] = "http://host/list/";
    char *argn[] = { name }, *argv[] = { value };

    EXPECT_EQ(NPERR_NO_ERROR, table.newp((NPMIMEType) "application/tvn", &instance, NP_EMBED, 1,
                                         argn, argv, nullptr));
    EXPECT_NE(nullptr, instance.pdata);
    EXPECT_EQ(NPERR_NO_ERROR, table.destroy(&instance, nullptr));
    EXPECT_EQ(NPERR_NO_ERROR, NP_Shutdown());

    EXPECT_EQ(jriBefore, jri.calls.size());
    EXPECT_EQ(0, browser.CountOf(FAKE_NPN_GETURL));
    EXPECT_EQ(0, browser.CountOf(FAKE_NPN_GETJAVAPEER));
    EXPECT_EQ(0u, browser.LiveBlocks());
    EXPECT_TRUE(browser.misuse.empty());
}
