/* cache_sweeper.h - removes delivered cache files on a thread of its own, so that the
 * message loop does not wait for the file system between two requests */
#ifndef CACHE_SWEEPER_H
#define CACHE_SWEEPER_H

#include <string>

/* Queues path for removal. Cannot fail; the thread starts with the first call. */
void SweepCacheFile(const std::string &path);

/* Removes what is still queued and ends the thread. Cannot fail. */
void StopCacheSweeper(void);

#endif /* CACHE_SWEEPER_H */
