/* instance_test.cpp - instance creation and its parameters, the start-up, "\brenmar.ini"
 * and the download directory, window binding, destruction, write-ready and printing. */
#include "batch_fixture.h"

#include "batch_engine.h"

class Instance : public PluginTest {};

static const std::string kBanner = "* * * Torvane Plugin - NPTORV32.dll vs 0.6b * * *";

struct ParamCase {
    const char *name;
    Params params;
    int pageMode;
    int inWindow;
    const char *listUrl;           /* null: none */
    COLORREF color;
    std::vector<std::string> requested;
};

TEST_F(Instance, ParametersTable)
{
    const COLORREF grey = 0x00C8D0D8;
    const ParamCase cases[] = {
        { "none: list mode", {}, 0, 0, nullptr, grey, {} },
        { "URL requests the listing", { { "URL", "http://h/dir/" } }, 1, 0, "http://h/dir/", grey,
          { "http://h/dir/" } },
        { "a second URL replaces the first",
          { { "URL", "http://h/one/" }, { "URL", "http://h/two/" } }, 1, 0, "http://h/two/", grey,
          { "http://h/two/" } },
        { "URL and INWINDOW: recorded, nothing requested",
          { { "URL", "http://h/dir/" }, { "INWINDOW", "yes" } }, 1, 1, "http://h/dir/", grey, {} },
        { "INWINDOW alone", { { "INWINDOW", "" } }, 0, 1, nullptr, grey, {} },
        { "names in small letters are ignored",
          { { "url", "http://h/dir/" }, { "inwindow", "yes" }, { "bgcolor", "FF0000" } }, 0, 0,
          nullptr, grey, {} },
        { "other attributes are ignored",
          { { "name", "Simple" }, { "type", "application/tvn" }, { "width", "700" } }, 0, 0,
          nullptr, grey, {} },
        { "BGCOLOR FF0000 is blue", { { "BGCOLOR", "FF0000" } }, 0, 0, nullptr, 0x00FF0000, {} },
        { "BGCOLOR 0000ff is red", { { "BGCOLOR", "0000ff" } }, 0, 0, nullptr, 0x000000FF, {} },
        { "BGCOLOR #FF0000 changes nothing", { { "BGCOLOR", "#FF0000" } }, 0, 0, nullptr, grey, {} },
        { "BGCOLOR empty changes nothing", { { "BGCOLOR", "" } }, 0, 0, nullptr, grey, {} },
    };
    for (const ParamCase &c : cases) {
        TearDown();
        SetUp();
        NewInstance(c.params);
        EXPECT_EQ(c.pageMode, gPlugin.pageMode) << c.name;
        EXPECT_EQ(c.inWindow, gPlugin.inWindow) << c.name;
        if (c.listUrl == nullptr)
            EXPECT_EQ(nullptr, gPlugin.listUrl) << c.name;
        else
            EXPECT_STREQ(c.listUrl, gPlugin.listUrl) << c.name;
        EXPECT_EQ(c.color, gPlugin.backgroundColor) << c.name;
        EXPECT_EQ(c.requested, RequestedUrls()) << c.name;
        for (const FakeBrowserCall &call : browser.CallsOf(FAKE_NPN_GETURL))
            EXPECT_TRUE(call.targetNull) << c.name;
    }
}

/* A colour stays for later instances; every instance resets the batch fields. */
TEST_F(Instance, LaterInstancesResetCountersNotColour)
{
    NewInstance({ { "BGCOLOR", "123456" }, { "URL", "http://h/dir/" } });
    gPlugin.filesRequested = 4;
    gPlugin.outputOpen = 1;
    gPlugin.queueCount = 9;
    gPlugin.bytesReceived = 99;
    NewInstance({ { "INWINDOW", "yes" } });
    EXPECT_EQ(0x00123456u, gPlugin.backgroundColor);
    EXPECT_EQ(0, gPlugin.filesRequested);
    EXPECT_EQ(0, gPlugin.outputOpen);
    EXPECT_EQ(0, gPlugin.queueCount);
    EXPECT_EQ(0, gPlugin.bytesReceived);
    EXPECT_EQ(0, gPlugin.pageMode);
    EXPECT_EQ(nullptr, gPlugin.listUrl);
}

/* The first instance that is not a status line puts the banner up and sends it between
 * empty lines, with the hints when "\brenmar.ini" is missing; later instances do neither. */
TEST_F(Instance, StartUpRunsOncePerLoad)
{
    NewInstance();
    EXPECT_EQ(kBanner, gPlugin.statusText);
    const std::vector<std::string> first = {
        "", kBanner, "",
        "To download to a directory other than \\download,",
        "place the name of the directory in the file: \\brenmar.ini", "",
        "Creating download directory: \\download\\",
    };
    EXPECT_EQ(first, ConsoleLines());
    EXPECT_TRUE(PathExists(DOWNLOAD));
    EXPECT_STREQ(DOWNLOAD, gPlugin.downloadDir);

    jri.calls.clear();
    ShowStatus(nullptr, "later text");
    NewInstance();
    EXPECT_STREQ("later text", gPlugin.statusText);
    EXPECT_TRUE(ConsoleLines().empty());
}

/* A status line first: no banner; the next ordinary instance still brings it. */
TEST_F(Instance, StatusLineInstanceShowsNoBanner)
{
    NewInstance({ { "INWINDOW", "yes" } });
    EXPECT_STREQ("", gPlugin.statusText);
    EXPECT_EQ(1, gPlugin.startupDone);
    NewInstance();
    EXPECT_STREQ("", gPlugin.statusText);
}

struct SettingsCase {
    const char *name;
    std::string ini;              /* "-" for no file */
    std::string downloadDir;
    bool created;                 /* the folder exists afterwards */
    std::string consoleLine;      /* among the lines sent; "" for none to check */
};

static std::vector<SettingsCase> SettingsCases()
{
    std::string longest = "\\files" + std::string(92, 'd');       /* 98 characters */
    std::string full = "\\files" + std::string(93, 'd');          /* 99 characters */
    return {
        { "missing: the default", "-", "\\download\\", true,
          "Creating download directory: \\download\\" },
        { "a folder without the final backslash", "\\files\n", "\\files\\", true,
          "Creating download directory: \\files\\" },
        { "without a line break", "\\files", "\\files\\", true, "" },
        { "with the final backslash", "\\files\\\r\n", "\\files\\", true, "" },
        { "only the first line counts", "\\files\n\\other\n", "\\files\\", true, "" },
        { "blanks are kept", "\\files \n", "\\files \\", true, "" },
        { "an empty first line gives the root", "\n\\other\n", "\\", true, "" },
        { "an empty file gives the root", "", "\\", true, "" },
        { "98 characters and the backslash fit", longest, longest + "\\", true, "" },
        { "99 characters ending in a backslash fit", full.substr(0, 98) + "\\",
          full.substr(0, 98) + "\\", true, "" },
        { "99 characters without a backslash do not fit: refused", full, "\\download\\", true,
          "The download directory in \\brenmar.ini is longer than 99 characters - using \\download\\" },
        { "150 characters: refused, never cut", "\\files" + std::string(144, 'e') + "\\",
          "\\download\\", true,
          "The download directory in \\brenmar.ini is longer than 99 characters - using \\download\\" },
    };
}

TEST_F(Instance, SettingsFileTable)
{
    for (const SettingsCase &c : SettingsCases()) {
        TearDown();
        SetUp();
        if (c.ini != "-")
            WriteFileText("\\brenmar.ini", c.ini);
        NewInstance();
        EXPECT_EQ(c.downloadDir, gPlugin.downloadDir) << c.name;
        EXPECT_EQ(c.created, PathExists(c.downloadDir)) << c.name;
        if (!c.consoleLine.empty()) {
            EXPECT_TRUE(Sent(c.consoleLine)) << c.name;
        }
        bool hints = Sent("To download to a directory other than \\download,");
        EXPECT_EQ(c.ini == "-", hints) << c.name;
    }
}

/* The folder is created once; an existing one is not announced again. */
TEST_F(Instance, DownloadFolderCreatedOnlyWhenMissing)
{
    WriteFileText("\\brenmar.ini", "\\files\n");
    NewInstance();
    EXPECT_TRUE(Sent("Creating download directory: \\files\\"));
    jri.calls.clear();
    NewInstance();
    EXPECT_FALSE(Sent("Creating download directory: \\files\\"));
}

/* Without a Java environment an instance is inert: pdata set, nothing else. */
TEST_F(Instance, NoJavaEnvironmentLeavesItInert)
{
    ReloadPluginState();
    browser.javaEnv = nullptr;
    ASSERT_EQ(NPERR_NO_ERROR, LoadPlugin(browser, &table));
    ASSERT_EQ(nullptr, gPlugin.javaEnv);
    NPP instance = NewInstance({ { "URL", "http://h/dir/" }, { "BGCOLOR", "FF" } });
    EXPECT_NE(nullptr, instance->pdata);
    EXPECT_STREQ("", gPlugin.downloadDir);
    EXPECT_EQ(0, gPlugin.pageMode);
    EXPECT_EQ(0, gPlugin.startupDone);
    EXPECT_EQ(0x00C8D0D8u, gPlugin.backgroundColor);
    EXPECT_STREQ("", gPlugin.statusText);
    EXPECT_TRUE(requests.empty());
    EXPECT_FALSE(PathExists(DOWNLOAD));
}

TEST_F(Instance, NullInstanceAndNoMemory)
{
    EXPECT_EQ(NPERR_INVALID_INSTANCE_ERROR,
              NPP_New(nullptr, nullptr, NP_EMBED, 0, nullptr, nullptr, nullptr));
    EXPECT_EQ(NPERR_INVALID_INSTANCE_ERROR, NPP_Destroy(nullptr, nullptr));
    EXPECT_EQ(NPERR_INVALID_INSTANCE_ERROR, NPP_SetWindow(nullptr, nullptr));
    browser.FailAfter(FAKE_NPN_MEMALLOC, 0);
    NPError result = NPERR_NO_ERROR;
    NPP instance = NewInstance({ { "URL", "http://h/dir/" } }, NP_FULL, &result);
    EXPECT_EQ(NPERR_OUT_OF_MEMORY_ERROR, result);
    EXPECT_EQ(nullptr, instance->pdata);
    EXPECT_EQ(0, gPlugin.pageMode);
    EXPECT_TRUE(requests.empty());
}

static HWND PlainWindow()
{
    return CreateWindowA("STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 200, 30, nullptr, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

static WNDPROC ProcOf(HWND hwnd)
{
    return (WNDPROC)GetWindowLongPtrA(hwnd, GWLP_WNDPROC);
}

/* Binding, the same window again, another window, unbinding, destruction. */
TEST_F(Instance, WindowBinding)
{
    NPP instance = NewInstance({}, NP_EMBED);
    InstanceData *data = (InstanceData *)instance->pdata;
    EXPECT_EQ(NP_EMBED, data->mode);
    HWND first = PlainWindow();
    HWND second = PlainWindow();
    ASSERT_TRUE(first != nullptr && second != nullptr);
    WNDPROC own = ProcOf(first);

    NPWindow record = {};
    record.window = first;
    EXPECT_EQ(NPERR_NO_ERROR, NPP_SetWindow(instance, &record));
    EXPECT_EQ((WNDPROC)StatusWindowProc, ProcOf(first));
    EXPECT_EQ(first, data->hwnd);
    EXPECT_EQ(own, data->previousWndProc);
    EXPECT_EQ(&record, data->npWindow);
    EXPECT_EQ((HANDLE)data, GetPropA(first, WINDOW_PROPERTY_NAME));
    HBRUSH firstBrush = data->backgroundBrush;
    EXPECT_NE(nullptr, firstBrush);

    EXPECT_EQ(NPERR_NO_ERROR, NPP_SetWindow(instance, &record));    /* a move: nothing */
    EXPECT_EQ(firstBrush, data->backgroundBrush);

    NPWindow other = {};
    other.window = second;
    EXPECT_EQ(NPERR_NO_ERROR, NPP_SetWindow(instance, &other));
    EXPECT_EQ(own, ProcOf(first));
    EXPECT_EQ(nullptr, GetPropA(first, WINDOW_PROPERTY_NAME));
    EXPECT_EQ((WNDPROC)StatusWindowProc, ProcOf(second));
    EXPECT_EQ(0u, GetObjectType(firstBrush)) << "the earlier brush is deleted";

    EXPECT_EQ(NPERR_NO_ERROR, NPP_SetWindow(instance, nullptr));
    EXPECT_EQ(own, ProcOf(second));
    EXPECT_EQ(nullptr, data->hwnd);
    EXPECT_EQ(&other, data->npWindow);

    record.window = first;           /* the same record again, rebound after an unbind */
    EXPECT_EQ(NPERR_NO_ERROR, NPP_SetWindow(instance, &record));
    EXPECT_EQ((WNDPROC)StatusWindowProc, ProcOf(first));

    HBRUSH lastBrush = data->backgroundBrush;
    EXPECT_EQ(NPERR_NO_ERROR, NPP_Destroy(instance, nullptr));
    EXPECT_EQ(nullptr, instance->pdata);
    EXPECT_EQ(own, ProcOf(first));
    EXPECT_EQ(nullptr, GetPropA(first, WINDOW_PROPERTY_NAME));
    EXPECT_EQ(0u, GetObjectType(lastBrush));
    EXPECT_EQ(0u, browser.LiveBlocks());
    EXPECT_TRUE(browser.misuse.empty());
    DestroyWindow(first);
    DestroyWindow(second);
}

TEST_F(Instance, WindowWithNullHandleBindsNothing)
{
    NPP instance = NewInstance();
    NPWindow empty = {};
    EXPECT_EQ(NPERR_NO_ERROR, NPP_SetWindow(instance, &empty));
    EXPECT_EQ(nullptr, ((InstanceData *)instance->pdata)->npWindow);
    EXPECT_EQ(NPERR_NO_ERROR, NPP_Destroy(instance, nullptr));
    EXPECT_EQ(0u, browser.LiveBlocks());
}

TEST_F(Instance, WriteReadyAndPrint)
{
    NPP instance = NewInstance();
    NPStream stream = {};
    EXPECT_EQ(268435455, NPP_WriteReady(instance, &stream));
    EXPECT_EQ(268435455, NPP_WriteReady(nullptr, nullptr));

    const struct { uint16_t mode; bool withInstance; NPBool printed; } cases[] = {
        { NP_FULL, true, 0 }, { NP_EMBED, true, 1 }, { NP_FULL, false, 1 },
    };
    for (const auto &c : cases) {
        NPPrint print = {};
        print.mode = c.mode;
        print.print.fullPrint.pluginPrinted = 1;
        NPP_Print(c.withInstance ? instance : nullptr, &print);
        EXPECT_EQ(c.printed, print.print.fullPrint.pluginPrinted) << c.mode << c.withInstance;
    }
    NPP_Print(instance, nullptr);
}
