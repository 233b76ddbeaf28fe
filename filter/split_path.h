/* split_path.h - splits a URL or physical path into its file name and directory prefix. */
#ifndef SPLIT_PATH_H
#define SPLIT_PATH_H

#include <string>

struct PathParts {
    std::string fileName;  /* after the last "/" or "\", lowercased (ASCII A-Z only) */
    std::string dirPrefix; /* up to and including that separator, in its own case */
};

/* Looks for the last "/" or "\" from the end back to the second character (the first is
 * never examined). The file name is what follows it, or characters 2 to the end when
 * there is none; the prefix is the rest before the name. "/" gives "" and "/",
 * "abc" gives "bc" and "a", "" gives "" and "". Cannot fail except by running out of
 * memory. */
PathParts SplitPath(const std::string &path);

#endif /* SPLIT_PATH_H */
