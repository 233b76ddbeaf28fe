/* vcl_file.h - the class library's file runtime: existence test and raw file handles
 * opened with an access and a sharing mode. */
#ifndef VCL_FILE_H
#define VCL_FILE_H

#include <windows.h>
#include <string>

/* Mode bits of FileOpen and FileCreate: one access value, one sharing value. */
#define fmOpenRead       0x0000  /* read access */
#define fmOpenWrite      0x0001  /* write access */
#define fmOpenReadWrite  0x0002  /* read and write access */
#define fmShareExclusive 0x0010  /* others may not open the file */
#define fmShareDenyWrite 0x0020  /* others may open it for reading only */
#define fmShareDenyNone  0x0040  /* others may open it for reading and writing */

/* Origins of FileSeek. */
#define fsFromBeginning  0
#define fsFromCurrent    1
#define fsFromEnd        2

/* True when the file system finds an entry under name that is not a directory. A name
 * with a wildcard ("*" or "?") names no file and gives false. Cannot fail. */
bool FileExists(const std::string &name);

/* Opens the existing file name with mode. Returns its handle, or INVALID_HANDLE_VALUE
 * (GetLastError tells why). */
HANDLE FileOpen(const std::string &name, unsigned mode);

/* Creates name, empty (an existing file is emptied), opened with mode. Returns its
 * handle, or INVALID_HANDLE_VALUE (GetLastError tells why). */
HANDLE FileCreate(const std::string &name, unsigned mode);

/* Moves the file pointer. Returns the new position, or -1 on failure. */
long long FileSeek(HANDLE file, long long offset, int origin);

/* Writes count bytes of buffer. Returns the bytes written, or -1 on failure. */
long FileWrite(HANDLE file, const void *buffer, unsigned long count);

/* Closes the handle. Returns false when the system reports a failure. */
bool FileClose(HANDLE file);

#endif /* VCL_FILE_H */
