/* vcl_file.cpp - the file runtime over the Win32 file calls. */
#include "vcl_file.h"

#define FM_ACCESS_MASK 0x000F  /* mask out everything but the access value */
#define FM_SHARE_MASK  0x00F0  /* mask out everything but the sharing value */

static DWORD AccessOf(unsigned mode)
{
    switch (mode & FM_ACCESS_MASK) {
    case fmOpenWrite:     return GENERIC_WRITE;
    case fmOpenReadWrite: return GENERIC_READ | GENERIC_WRITE;
    default:              return GENERIC_READ;
    }
}

static DWORD SharingOf(unsigned mode)
{
    switch (mode & FM_SHARE_MASK) {
    case fmShareExclusive: return 0;
    case fmShareDenyWrite: return FILE_SHARE_READ;
    default:               return FILE_SHARE_READ | FILE_SHARE_WRITE;
    }
}

bool FileExists(const std::string &name)
{
    /* A directory search (FindFirstFileA) would match patterns: "*.htm" would find some
     * file, yet no file has that name. Without pattern characters a search and an
     * attribute lookup find the same entry, and the lookup costs a fraction of a search,
     * which matters on every directory request of the filter. */
    if (name.find_first_of("*?") != std::string::npos)
        return false;
    DWORD attributes = GetFileAttributesA(name.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return false;
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

HANDLE FileOpen(const std::string &name, unsigned mode)
{
    return CreateFileA(name.c_str(), AccessOf(mode), SharingOf(mode), NULL, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, NULL);
}

HANDLE FileCreate(const std::string &name, unsigned mode)
{
    return CreateFileA(name.c_str(), AccessOf(mode), SharingOf(mode), NULL, CREATE_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, NULL);
}

long long FileSeek(HANDLE file, long long offset, int origin)
{
    static const DWORD methods[] = {FILE_BEGIN, FILE_CURRENT, FILE_END};
    if (origin < 0 || origin >= (int)(sizeof(methods) / sizeof(methods[0])))
        return -1;
    LARGE_INTEGER distance = {};
    LARGE_INTEGER moved = {};
    distance.QuadPart = offset;
    if (!SetFilePointerEx(file, distance, &moved, methods[origin]))
        return -1;
    return moved.QuadPart;
}

long FileWrite(HANDLE file, const void *buffer, unsigned long count)
{
    DWORD written = 0;
    if (!WriteFile(file, buffer, count, &written, NULL))
        return -1;
    return (long)written;
}

bool FileClose(HANDLE file)
{
    return CloseHandle(file) != 0;
}
