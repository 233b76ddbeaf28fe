/* test_files.cpp - folders and files for the filter's tests. */
#include "test_files.h"

#include <windows.h>

#include <fstream>
#include <sstream>

std::string CurrentDirectory()
{
    char buffer[MAX_PATH] = {};
    DWORD length = GetCurrentDirectoryA(MAX_PATH, buffer);
    if (length == 0 || length >= MAX_PATH)
        return std::string();
    std::string dir(buffer, length);
    if (dir[dir.size() - 1] != '\\')
        dir += '\\';
    return dir;
}

bool MakeDirectory(const std::string &path)
{
    size_t cut = path.find_last_of('\\', path.size() > 1 ? path.size() - 2 : 0);
    if (cut != std::string::npos && cut > 2)
        MakeDirectory(path.substr(0, cut));
    CreateDirectoryA(path.c_str(), NULL);
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool MakeFile(const std::string &path, const std::string &content)
{
    std::ofstream out(path.c_str(), std::ios::binary | std::ios::trunc);
    out << content;
    return out.good();
}

std::string ReadWholeFile(const std::string &path)
{
    std::ifstream in(path.c_str(), std::ios::binary);
    if (!in)
        return "<missing>";
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}
