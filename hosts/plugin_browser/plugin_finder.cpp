/* plugin_finder.cpp - reads the plug-ins folder: version resources of NP*.DLL files */
#include "plugin_finder.h"

#include <windows.h>

#include <algorithm>
#include <stdio.h>

static std::string Lower(std::string s)
{
    for (char &c : s)
        if (c >= 'A' && c <= 'Z')
            c = (char)(c - 'A' + 'a');
    return s;
}

static std::vector<std::string> Split(const std::string &text, const char *separators)
{
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find_first_of(separators, start);
        std::string part = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        while (!part.empty() && part.front() == ' ')
            part.erase(0, 1);
        while (!part.empty() && part.back() == ' ')
            part.pop_back();
        if (!part.empty())
            parts.push_back(Lower(part));
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return parts;
}

/* One string of the block of the resource's first translation; empty when absent. */
static std::string QueryString(const std::vector<char> &block, const char *langCp, const char *key)
{
    char query[128];
    snprintf(query, sizeof query, "\\StringFileInfo\\%s\\%s", langCp, key);
    char *value = nullptr;
    UINT len = 0;
    if (!VerQueryValueA(block.data(), query, (void **)&value, &len) || value == nullptr || len == 0)
        return "";
    return std::string(value, strnlen(value, len));
}

/* Returns true with *info filled from the DLL's version resource. */
static bool ReadVersionResource(const std::string &path, PluginInfo *info)
{
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    if (size == 0)
        return false;
    std::vector<char> block(size);
    if (!GetFileVersionInfoA(path.c_str(), 0, size, block.data()))
        return false;
    char langCp[16] = "040904e4";
    struct Translation { WORD language, codePage; } *tr = nullptr;
    UINT len = 0;
    if (VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", (void **)&tr, &len) && tr != nullptr &&
        len >= sizeof *tr)
        snprintf(langCp, sizeof langCp, "%04x%04x", tr->language, tr->codePage);
    info->path = path;
    info->mimeTypes = Split(QueryString(block, langCp, "MIMEType"), "|");
    info->extents = Split(QueryString(block, langCp, "FileExtents"), "|,");
    info->openName = QueryString(block, langCp, "FileOpenName");
    info->description = QueryString(block, langCp, "FileDescription");
    return true;
}

std::vector<PluginInfo> FindPlugins(const std::string &dir)
{
    std::vector<PluginInfo> found;
    std::string folder = dir;
    if (!folder.empty() && folder.back() != '\\' && folder.back() != '/')
        folder += '\\';
    WIN32_FIND_DATAA fd = {};
    HANDLE h = FindFirstFileA((folder + "NP*.DLL").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE)
        return found;
    do {
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            continue;
        PluginInfo info;
        if (!ReadVersionResource(folder + fd.cFileName, &info)) {
            fprintf(stderr, "[browser] %s%s: no version resource, not a plug-in\n", folder.c_str(), fd.cFileName);
            continue;
        }
        if (!info.mimeTypes.empty())
            found.push_back(info);
    } while (FindNextFileA(h, &fd));
    FindClose(h);
    std::sort(found.begin(), found.end(),
              [](const PluginInfo &a, const PluginInfo &b) { return Lower(a.path) < Lower(b.path); });
    return found;
}

const PluginInfo *MatchPlugin(const std::vector<PluginInfo> &plugins, const std::string &mimeType,
                              const std::string &ext)
{
    std::string type = Lower(mimeType);
    for (const PluginInfo &p : plugins)
        if (!type.empty() && std::find(p.mimeTypes.begin(), p.mimeTypes.end(), type) != p.mimeTypes.end())
            return &p;
    std::string e = Lower(ext);
    for (const PluginInfo &p : plugins)
        if (!e.empty() && std::find(p.extents.begin(), p.extents.end(), e) != p.extents.end())
            return &p;
    return nullptr;
}
