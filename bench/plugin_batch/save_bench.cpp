/* save_bench.cpp - prints how long 5,000 and 10,000 saveString calls in a row take (each
 * appends a new URL after reading the whole queue for duplicates), their ratio, and the
 * cost of one call once the queue is long. */
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "fake_browser.h"
#include "fake_jri.h"
#include "page_natives.h"
#include "plugin_api.h"
#include "plugin_load.h"

#define TAIL_CALLS 100   /* the last calls of a run, timed on their own */

static double NowMs()
{
    LARGE_INTEGER count, frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * (double)count.QuadPart / (double)frequency.QuadPart;
}

struct SaveRun {
    double totalMs;
    double tailMsPerCall;
    long   queueBytes;
};

static SaveRun TimeSaves(FakeJri &jri, jref peer, const std::string &queuePath, int calls)
{
    DeleteFileA(queuePath.c_str());
    std::vector<jref> urls;
    for (int i = 0; i < calls; i++) {
        char url[128];
        snprintf(url, sizeof url, "http://server.example/files/archive-%05d.zip", i);
        urls.push_back(jri.NewString(url));
    }
    SaveRun run = {};
    double start = NowMs();
    double tailStart = start;
    native_Simple_saveString(jri.env(), peer, nullptr, 0);
    for (int i = 0; i < calls; i++) {
        if (i == calls - TAIL_CALLS)
            tailStart = NowMs();
        native_Simple_saveString(jri.env(), peer, urls[i], i + 1);
    }
    double end = NowMs();
    run.totalMs = end - start;
    run.tailMsPerCall = (end - tailStart) / TAIL_CALLS;
    WIN32_FILE_ATTRIBUTE_DATA info = {};
    GetFileAttributesExA(queuePath.c_str(), GetFileExInfoStandard, &info);
    run.queueBytes = (long)info.nFileSizeLow;
    if (gPlugin.queueCount != calls)
        printf("  (!) %d URLs added, %d expected\n", (int)gPlugin.queueCount, calls);
    return run;
}

int main()
{
    FakeBrowser browser;
    FakeJri jri;
    NPPluginFuncs table = {};
    LoadPlugin(browser, &table);
    jref peer = jri.NewObjectOf("Simple");

    char temp[MAX_PATH] = "";
    GetTempPathA(sizeof temp, temp);
    std::string dir = std::string(temp) + "plugin_batch_save_bench\\";
    CreateDirectoryA(dir.c_str(), nullptr);
    snprintf(gPlugin.downloadDir, DOWNLOAD_DIR_BYTES, "%s", dir.c_str());
    std::string queuePath = dir + QUEUE_FILE_NAME;

    SaveRun small = TimeSaves(jri, peer, queuePath, 5000);
    SaveRun large = TimeSaves(jri, peer, queuePath, 10000);
    printf("saveString calls in a row, each a new URL (duplicate test reads the whole queue)\n");
    printf("   5,000 calls: %9.1f ms  queue %7ld bytes  last %d calls: %.3f ms each\n",
           small.totalMs, small.queueBytes, TAIL_CALLS, small.tailMsPerCall);
    printf("  10,000 calls: %9.1f ms  queue %7ld bytes  last %d calls: %.3f ms each\n",
           large.totalMs, large.queueBytes, TAIL_CALLS, large.tailMsPerCall);
    printf("  ratio 10,000 / 5,000: %.2f  (quadratic is 4.0: every call reads the queue)\n",
           large.totalMs / small.totalMs);
    printf("  one press adding 100 files to a queue of 10,000: about %.0f ms\n",
           100 * large.tailMsPerCall);
    DeleteFileA(queuePath.c_str());
    RemoveDirectoryA(dir.c_str());
    return 0;
}
