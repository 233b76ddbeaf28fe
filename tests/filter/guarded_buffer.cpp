/* guarded_buffer.cpp - a host's path buffer with guard bytes behind it. */
#include "guarded_buffer.h"

#include <string.h>

GuardedBuffer MakeGuardedBuffer(const std::string &text, DWORD cbPathBuff)
{
    GuardedBuffer buffer;
    buffer.bytes.assign((size_t)cbPathBuff + GUARD_BYTES, (char)GUARD_FILL);
    buffer.cbPathBuff = cbPathBuff;
    size_t copied = text.size() + 1 <= cbPathBuff ? text.size() + 1 : cbPathBuff;
    memcpy(buffer.bytes.data(), text.c_str(), copied);
    return buffer;
}

std::string GuardedText(const GuardedBuffer &buffer)
{
    return std::string(buffer.bytes.data(), strnlen(buffer.bytes.data(), buffer.cbPathBuff));
}

bool GuardIntact(const GuardedBuffer &buffer)
{
    for (size_t i = buffer.cbPathBuff; i < buffer.bytes.size(); i++) {
        if (buffer.bytes[i] != (char)GUARD_FILL)
            return false;
    }
    return true;
}
