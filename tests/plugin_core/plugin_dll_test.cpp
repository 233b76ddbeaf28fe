/* plugin_dll_test.cpp - the x86_64 NPTORV32.dll as a browser sees it: the version resource
 * it reads before loading, the exports it finds by name and ordinal, and one load,
 * initialise and shutdown through those exports. */
#include <gtest/gtest.h>

#include <stdio.h>

#include <string>
#include <vector>

#include "fake_browser.h"
#include "fake_jri.h"
#include "np_interface.h"

/* The DLL beside this test program. */
static std::string DllPath(void)
{
    char path[MAX_PATH] = "";
    DWORD length = GetModuleFileNameA(NULL, path, MAX_PATH);
    std::string dir(path, length);
    return dir.substr(0, dir.find_last_of("\\/") + 1) + "NPTORV32.dll";
}

/* The whole version resource, or empty when the DLL has none. */
static std::vector<char> VersionInfo(void)
{
    std::string path = DllPath();
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    std::vector<char> block(size);
    if (size == 0 || !GetFileVersionInfoA(path.c_str(), 0, size, block.data()))
        block.clear();
    return block;
}

struct VersionString {
    const char *key;
    const char *value;
};

static const VersionString kStrings[] = {
    { "MIMEType",         "application/tvn" },
    { "FileExtents",      "tvn" },
    { "FileOpenName",     "Download multiple files with one click (*.tvn)" },
    { "FileDescription",  "Torvane Plugin" },
    { "ProductName",      "Torvane - Copyright (C) 1996 Felmo" },
    { "CompanyName",      "Felmo" },
    { "LegalCopyright",   "Copyright (C) 1996 Felmo. All rights reserved." },
    { "FileVersion",      "1, 0, 0, 1" },
    { "ProductVersion",   "1, 0, 0, 1" },
    { "InternalName",     "Download" },
    { "OriginalFilename", "NPTORV32.dll" },
};

TEST(PluginDll, VersionStringsInTheUsEnglishBlock)
{
    std::vector<char> info = VersionInfo();
    ASSERT_FALSE(info.empty()) << DllPath() << " has no version resource";
    for (const VersionString &s : kStrings) {
        std::string query = std::string("\\StringFileInfo\\040904e4\\") + s.key;
        char *value = nullptr;
        UINT length = 0;
        ASSERT_TRUE(VerQueryValueA(info.data(), query.c_str(), (void **)&value, &length)) << s.key;
        EXPECT_STREQ(s.value, value) << s.key;
    }
}

TEST(PluginDll, TranslationAndFixedInfo)
{
    std::vector<char> info = VersionInfo();
    ASSERT_FALSE(info.empty());
    WORD *translation = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\VarFileInfo\\Translation", (void **)&translation, &length));
    ASSERT_EQ(4u, length) << "one language and code page pair";
    EXPECT_EQ(0x0409, translation[0]);
    EXPECT_EQ(0x04E4, translation[1]);

    VS_FIXEDFILEINFO *fixed = nullptr;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\", (void **)&fixed, &length));
    EXPECT_EQ(0xFEEF04BDu, fixed->dwSignature);
    EXPECT_EQ(0x00010000u, fixed->dwFileVersionMS) << "1.0";
    EXPECT_EQ(0x00000001u, fixed->dwFileVersionLS) << "0.1";
    EXPECT_EQ(0x00010000u, fixed->dwProductVersionMS);
    EXPECT_EQ(0x00000001u, fixed->dwProductVersionLS);
    EXPECT_EQ(0u, fixed->dwFileFlags & fixed->dwFileFlagsMask) << "no flags";
    EXPECT_EQ((DWORD)VOS__WINDOWS32, fixed->dwFileOS);
    EXPECT_EQ((DWORD)VFT_DLL, fixed->dwFileType);
}

/* "ordinal name" lines of the expected export list, shared with the i686 check. */
static std::vector<std::pair<int, std::string>> ExpectedExports(void)
{
    std::vector<std::pair<int, std::string>> exports;
    FILE *list = fopen(EXPECTED_EXPORTS_FILE, "r");
    if (list == nullptr)
        return exports;
    int ordinal = 0;
    char name[128];
    while (fscanf(list, "%d %127s", &ordinal, name) == 2)
        exports.push_back({ ordinal, name });
    fclose(list);
    return exports;
}

TEST(PluginDll, EveryExportByNameAndOrdinal)
{
    std::vector<std::pair<int, std::string>> expected = ExpectedExports();
    ASSERT_EQ(40u, expected.size()) << "list " << EXPECTED_EXPORTS_FILE;
    HMODULE dll = LoadLibraryA(DllPath().c_str());
    ASSERT_NE(nullptr, dll) << DllPath();
    for (const auto &e : expected) {
        FARPROC byName = GetProcAddress(dll, e.second.c_str());
        FARPROC byOrdinal = GetProcAddress(dll, MAKEINTRESOURCEA(e.first));
        EXPECT_NE(nullptr, byName) << e.second;
        EXPECT_EQ(byName, byOrdinal) << e.second << " at ordinal " << e.first;
    }
    EXPECT_EQ(nullptr, GetProcAddress(dll, MAKEINTRESOURCEA(41))) << "nothing beyond ordinal 40";
    FreeLibrary(dll);
}

/* The browser's whole round through the exports: the DLL keeps its own state, so this
 * also shows that nothing of the tests' static copy is needed. */
TEST(PluginDll, LoadInitialiseShutdownThroughTheExports)
{
    HMODULE dll = LoadLibraryA(DllPath().c_str());
    ASSERT_NE(nullptr, dll);
    NP_GetEntryPointsFunc getEntryPoints = (NP_GetEntryPointsFunc)(void *)GetProcAddress(dll, "NP_GetEntryPoints");
    NP_InitializeFunc initialize = (NP_InitializeFunc)(void *)GetProcAddress(dll, "NP_Initialize");
    NP_ShutdownFunc shutdown = (NP_ShutdownFunc)(void *)GetProcAddress(dll, "NP_Shutdown");
    ASSERT_TRUE(getEntryPoints && initialize && shutdown);

    FakeJri jri;
    FakeBrowser browser(0x0009);
    browser.javaEnv = jri.env();
    NPPluginFuncs table = {};
    table.size = sizeof table;
    EXPECT_EQ(NPERR_NO_ERROR, getEntryPoints(&table));
    EXPECT_EQ(9, table.version);
    EXPECT_NE(nullptr, table.newp);
    EXPECT_NE(nullptr, table.write);
    EXPECT_EQ(nullptr, table.event);
    EXPECT_EQ(NPERR_NO_ERROR, initialize(&browser.funcs));
    EXPECT_NE(nullptr, table.urlnotify);
    JRIEnv *env = jri.env();
    EXPECT_EQ(jri.ClassOf("Simple"), (*env)->GetGlobalRef(env, JRI_OP_GetGlobalRef, table.javaClass));
    EXPECT_EQ(3u, jri.LiveGlobalRefs()) << "two bindings and the browser's reference";
    EXPECT_EQ(NPERR_NO_ERROR, shutdown());
    EXPECT_EQ(1u, jri.LiveGlobalRefs()) << "the bindings are released at shutdown";
    EXPECT_TRUE(jri.misuse.empty());
    EXPECT_EQ(0, browser.CountOf(FAKE_NPN_OTHER));
    FreeLibrary(dll);
}
