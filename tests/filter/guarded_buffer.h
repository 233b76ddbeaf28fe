/* guarded_buffer.h - a host's path buffer for the filter's tests: cbPathBuff bytes holding
 * the mapped path, followed by guard bytes that the filter must never write. */
#ifndef GUARDED_BUFFER_H
#define GUARDED_BUFFER_H

#include <windows.h>
#include <string>
#include <vector>

#define GUARD_BYTES 16   /* bytes after the buffer that must stay untouched */
#define GUARD_FILL  0x5A

struct GuardedBuffer {
    std::vector<char> bytes; /* cbPathBuff + GUARD_BYTES */
    DWORD cbPathBuff;
};

/* A buffer of cbPathBuff bytes holding text and its NUL (text alone, without the NUL,
 * when that is all that fits; cut to cbPathBuff bytes when even that does not fit). */
GuardedBuffer MakeGuardedBuffer(const std::string &text, DWORD cbPathBuff);

/* The text in the buffer, up to its NUL or its last byte. */
std::string GuardedText(const GuardedBuffer &buffer);

/* True when no guard byte was changed. */
bool GuardIntact(const GuardedBuffer &buffer);

#endif /* GUARDED_BUFFER_H */
