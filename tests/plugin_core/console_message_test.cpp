/* console_message_test.cpp - ConsoleMessage: the Java string made from the text, the peer
 * asked of the browser, doit called on it; and no call at all without Java. */
#include <gtest/gtest.h>

#include <string>

#include "fake_browser.h"
#include "fake_jri.h"
#include "java_bindings.h"
#include "plugin_api.h"
#include "plugin_load.h"

/* A plug-in loaded with Java, by a browser whose peer is a Simple object. */
class Console : public ::testing::Test {
protected:
    void SetUp() override
    {
        browser.javaEnv = jri.env();
        browser.javaPeer = jri.NewObjectOf("Simple");
        ASSERT_EQ(NPERR_NO_ERROR, LoadPlugin(browser, &table));
        ASSERT_EQ(jri.env(), gPlugin.javaEnv);
        jriBefore = jri.calls.size();
        browserBefore = browser.calls.size();
    }
    void TearDown() override { NP_Shutdown(); }
    std::vector<FakeJriCall> NewJriCalls() const
    {
        return std::vector<FakeJriCall>(jri.calls.begin() + jriBefore, jri.calls.end());
    }
    FakeJri jri;
    FakeBrowser browser;
    NPPluginFuncs table;
    NPP_t instance = {};
    size_t jriBefore = 0, browserBefore = 0;
};

struct ConsoleCase {
    const char *text;
    int32_t     length;
    const char *sent;       /* the Java string's bytes */
};

static const ConsoleCase kCases[] = {
    { "Downloading file #1 of 3: A.ZIP...", -1, "Downloading file #1 of 3: A.ZIP..." },
    { "", -1, "" },
    { "hello world", 5, "hello" },
    { "hello", 0, "" },
    { "line", -7, "line" },
};

TEST_F(Console, MakesTheStringAsksThePeerAndCallsDoit)
{
    for (const ConsoleCase &c : kCases) {
        jriBefore = jri.calls.size();
        browserBefore = browser.calls.size();
        ConsoleMessage(&instance, c.text, c.length);
        std::string row = std::string("text \"") + c.text + "\" length " + std::to_string(c.length);

        std::vector<FakeJriCall> calls = NewJriCalls();
        ASSERT_EQ(2u, calls.size()) << row;
        EXPECT_EQ(118, calls[0].slot) << row;
        EXPECT_EQ(118, calls[0].op) << row;
        EXPECT_EQ(c.sent, calls[0].name) << row;
        ASSERT_EQ(1u, calls[0].args.size()) << row;
        EXPECT_EQ((intptr_t)strlen(c.sent), calls[0].args[0]) << row << ": length passed";

        ASSERT_EQ(browserBefore + 1, browser.calls.size()) << row;
        EXPECT_EQ(FAKE_NPN_GETJAVAPEER, browser.calls.back().op) << row;
        EXPECT_EQ(&instance, browser.calls.back().instance) << row;

        EXPECT_EQ(21, calls[1].slot) << row;
        EXPECT_EQ(21, calls[1].op) << row;
        EXPECT_EQ(browser.javaPeer, calls[1].target) << row << ": doit on the peer";
        EXPECT_EQ(jri.IdOf("Simple", "doit"), calls[1].id) << row;
        ASSERT_EQ(1u, calls[1].args.size()) << row;
        EXPECT_EQ(c.sent, jri.TextOf((jref)calls[1].args[0])) << row << ": the string made";
    }
}

TEST_F(Console, NoPeerMeansNoDoit)
{
    browser.javaPeer = nullptr;
    ConsoleMessage(&instance, "x", -1);
    std::vector<FakeJriCall> calls = NewJriCalls();
    ASSERT_EQ(1u, calls.size());
    EXPECT_EQ(118, calls[0].slot);
}

TEST_F(Console, NullTextSendsAnEmptyLine)
{
    ConsoleMessage(&instance, nullptr, -1);
    std::vector<FakeJriCall> calls = NewJriCalls();
    ASSERT_EQ(2u, calls.size());
    EXPECT_EQ("", calls[0].name);
    EXPECT_EQ(21, calls[1].slot);
}

TEST(ConsoleWithoutJava, DropsTheLineWithoutAnyCall)
{
    FakeJri jri;
    FakeBrowser browser(0x0008);          /* too old for Java: javaEnv stays null */
    browser.javaEnv = jri.env();
    browser.javaPeer = jri.NewObjectOf("Simple");
    NPPluginFuncs table;
    ASSERT_EQ(NPERR_NO_ERROR, LoadPlugin(browser, &table));
    size_t before = browser.calls.size();
    NPP_t instance = {};
    ConsoleMessage(&instance, "a line", -1);
    ConsoleMessage(&instance, "", -1);
    EXPECT_EQ(before, browser.calls.size());
    EXPECT_TRUE(jri.calls.empty());
    NP_Shutdown();
}
