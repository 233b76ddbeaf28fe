/* status_line_test.cpp - ShowStatus: the text kept in statusText (cut, never overrun),
 * and which window is asked to repaint. */
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "plugin_api.h"
#include "plugin_load.h"
#include "test_window.h"

struct LengthCase {
    size_t length;
    size_t kept;
};

/* Lengths around the 300-byte buffer: a longer text is cut to 299 characters. */
static const LengthCase kLengths[] = {
    { 0, 0 }, { 1, 1 }, { 298, 298 }, { 299, 299 }, { 300, 299 }, { 301, 299 }, { 1000, 299 },
};

TEST(ShowStatus, KeepsTheTextCutAtTheBuffer)
{
    for (const LengthCase &c : kLengths) {
        ReloadPluginState();
        std::string text;
        for (size_t i = 0; i < c.length; i++)
            text += (char)('a' + i % 26);
        ShowStatus(nullptr, text.c_str());
        EXPECT_EQ(c.kept, strnlen(gPlugin.statusText, STATUS_TEXT_BYTES)) << "length " << c.length;
        EXPECT_EQ(text.substr(0, c.kept), std::string(gPlugin.statusText)) << "length " << c.length;
    }
}

/* Callers compose the text in statusText itself and then only ask for the repaint. */
TEST(ShowStatus, StatusTextItselfIsKeptAsItIs)
{
    ReloadPluginState();
    snprintf(gPlugin.statusText, STATUS_TEXT_BYTES, "%d new files added to batch.", 3);
    ShowStatus(nullptr, gPlugin.statusText);
    EXPECT_STREQ("3 new files added to batch.", gPlugin.statusText);
}

TEST(ShowStatus, InstanceWithoutWindowOnlyChangesTheText)
{
    ReloadPluginState();
    NPP_t noData = {};
    InstanceData unbound = {};
    NPP_t withData = {};
    withData.pdata = &unbound;
    ShowStatus(&noData, "one");
    EXPECT_STREQ("one", gPlugin.statusText);
    ShowStatus(&withData, "two");
    EXPECT_STREQ("two", gPlugin.statusText);
}

TEST(ShowStatus, OnlyTheInstancesOwnWindowIsInvalidated)
{
    ReloadPluginState();
    HWND first = CreateTestWindow(10, 10, 200, 24);
    HWND second = CreateTestWindow(10, 60, 200, 24);
    ASSERT_NE(nullptr, first);
    ASSERT_NE(nullptr, second);
    InstanceData firstData = {}, secondData = {};
    BindTestWindow(&firstData, first);
    BindTestWindow(&secondData, second);
    PumpMessages();
    NPP_t instance = {};
    instance.pdata = &firstData;

    ShowStatus(&instance, "Downloading file #1 of 2: A.ZIP...");

    RECT update = {};
    EXPECT_TRUE(GetUpdateRect(first, &update, FALSE));
    RECT client = {};
    GetClientRect(first, &client);
    EXPECT_TRUE(EqualRect(&update, &client)) << "the whole client area";
    EXPECT_FALSE(GetUpdateRect(second, &update, FALSE));
    UnbindTestWindow(&firstData);
    UnbindTestWindow(&secondData);
    DestroyWindow(first);
    DestroyWindow(second);
}
