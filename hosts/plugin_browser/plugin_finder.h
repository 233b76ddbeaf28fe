/* plugin_finder.h - the plug-ins folder as the browser sees it: each NP*.DLL's declared MIME
 * types and extensions, read from its version resource without loading it */
#ifndef PLUGIN_FINDER_H
#define PLUGIN_FINDER_H

#include <string>
#include <vector>

struct PluginInfo {
    std::string path;                  /* full path of the DLL */
    std::vector<std::string> mimeTypes; /* "MIMEType", split at "|", lower-cased */
    std::vector<std::string> extents;   /* "FileExtents", split at "|" and ",", lower-cased */
    std::string openName;               /* "FileOpenName" */
    std::string description;            /* "FileDescription" */
};

/* Every NP*.DLL of dir that declares at least one MIME type, in name order. Returns the
 * list (empty when the folder holds none); a DLL without a readable version resource is
 * reported on standard error and left out. */
std::vector<PluginInfo> FindPlugins(const std::string &dir);

/* The plug-in that declares mimeType (compared without regard to case) or, failing that,
 * the extension ext; null when none does. */
const PluginInfo *MatchPlugin(const std::vector<PluginInfo> &plugins, const std::string &mimeType,
                              const std::string &ext);

#endif /* PLUGIN_FINDER_H */
