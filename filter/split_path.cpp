/* split_path.cpp - file name and directory prefix of a path, scanning from its end. */
#include "split_path.h"

#include "config_store.h"

PathParts SplitPath(const std::string &path)
{
    PathParts parts;
    /* The name starts after the separator, or at the second character when none is met. */
    size_t nameStart = path.empty() ? 0 : 1;
    for (size_t i = path.size(); i > 1; i--) {
        if (path[i - 1] == '/' || path[i - 1] == '\\') {
            nameStart = i;
            break;
        }
    }
    parts.fileName = LowerAscii(path.substr(nameStart));
    parts.dirPrefix = path.substr(0, nameStart);
    return parts;
}
