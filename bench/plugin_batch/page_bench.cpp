/* page_bench.cpp - prints how long the Batch Download Window takes to write for listings
 * of 10,000 and 20,000 file links, and the ratio of the two (linear: about 2). */
#include <windows.h>

#include <cstdio>
#include <string>

#include "fake_browser.h"
#include "plugin_api.h"
#include "plugin_load.h"

#define RUNS 5   /* the best of these runs is reported */

static uint64_t sPageBytes = 0;

/* The browser's end of the page stream: takes every byte, keeps only the count. */
static int32_t CountingWrite(NPP, NPStream *, int32_t len, void *)
{
    sPageBytes += (uint64_t)len;
    return len;
}

static double NowMs()
{
    LARGE_INTEGER count, frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * (double)count.QuadPart / (double)frequency.QuadPart;
}

static void WriteListing(const std::string &path, int links)
{
    FILE *file = fopen(path.c_str(), "w");
    fputs("<html><body><embed src=x.tvn></embed>\n<pre>\n", file);
    for (int i = 0; i < links; i++)
        fprintf(file, " 10/12/96  3:05 PM        %6d <A HREF=\"file%05d.zip\">file%05d.zip</A>     \n",
                1000 + i, i, i);
    fputs("</pre></BODY></html>\n", file);
    fclose(file);
}

/* Best time of RUNS page generations for a listing of links lines, in milliseconds. */
static double TimePage(FakeBrowser &browser, const std::string &dir, int links)
{
    NPP_t instance = {};
    double best = 1e30;
    for (int run = 0; run < RUNS; run++) {
        WriteListing(dir + "brenmar.tmp", links);
        browser.calls.clear();
        browser.streams.clear();
        sPageBytes = 0;
        double start = NowMs();
        BuildBatchPage(&instance);
        double elapsed = NowMs() - start;
        if (elapsed < best)
            best = elapsed;
    }
    return best;
}

int main()
{
    FakeBrowser browser;
    NPPluginFuncs table = {};
    LoadPlugin(browser, &table);
    browser.funcs.write = CountingWrite;

    char temp[MAX_PATH] = "";
    GetTempPathA(sizeof temp, temp);
    std::string dir = std::string(temp) + "plugin_batch_page_bench\\";
    CreateDirectoryA(dir.c_str(), nullptr);
    snprintf(gPlugin.downloadDir, DOWNLOAD_DIR_BYTES, "%s", dir.c_str());
    static char listUrl[] = "http://server.example/files/";
    gPlugin.listUrl = listUrl;

    double small = TimePage(browser, dir, 10000);
    uint64_t smallBytes = sPageBytes;
    double large = TimePage(browser, dir, 20000);
    uint64_t largeBytes = sPageBytes;
    printf("page generation, best of %d runs\n", RUNS);
    printf("  10,000 links: %8.2f ms  (%llu page bytes)\n", small, (unsigned long long)smallBytes);
    printf("  20,000 links: %8.2f ms  (%llu page bytes)\n", large, (unsigned long long)largeBytes);
    printf("  ratio 20,000 / 10,000: %.2f  (linear is 2.0; target <= 2.2)\n", large / small);
    gPlugin.listUrl = nullptr;
    RemoveDirectoryA(dir.c_str());
    return 0;
}
