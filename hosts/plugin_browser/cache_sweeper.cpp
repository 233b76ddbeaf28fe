/* cache_sweeper.cpp - a thread that deletes the cache files of ended streams */
#include "cache_sweeper.h"

#include <windows.h>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

struct Sweeper {
    std::mutex lock;
    std::condition_variable wake;
    std::deque<std::string> paths;
    bool stopping;
    std::thread *thread;
};

static Sweeper gSweeper;

static void SweepLoop(void)
{
    std::unique_lock<std::mutex> hold(gSweeper.lock);
    for (;;) {
        gSweeper.wake.wait(hold, [] { return gSweeper.stopping || !gSweeper.paths.empty(); });
        if (gSweeper.paths.empty())
            return;   /* stopping, nothing left */
        std::string path = gSweeper.paths.front();
        gSweeper.paths.pop_front();
        hold.unlock();
        DeleteFileA(path.c_str());
        hold.lock();
    }
}

void SweepCacheFile(const std::string &path)
{
    std::lock_guard<std::mutex> hold(gSweeper.lock);
    if (gSweeper.thread == nullptr) {
        gSweeper.stopping = false;
        gSweeper.thread = new std::thread(SweepLoop);
    }
    gSweeper.paths.push_back(path);
    gSweeper.wake.notify_one();
}

void StopCacheSweeper(void)
{
    {
        std::lock_guard<std::mutex> hold(gSweeper.lock);
        if (gSweeper.thread == nullptr)
            return;
        gSweeper.stopping = true;
        gSweeper.wake.notify_one();
    }
    gSweeper.thread->join();
    delete gSweeper.thread;
    gSweeper.thread = nullptr;
}
