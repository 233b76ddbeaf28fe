/* lower_ascii.cpp - the readers' lowercasing of setting texts: ASCII letters only. */
#include "config_store.h"

std::string LowerAscii(const std::string &text)
{
    std::string lowered(text);
    for (size_t i = 0; i < lowered.size(); i++) {
        if (lowered[i] >= 'A' && lowered[i] <= 'Z')
            lowered[i] = (char)(lowered[i] - 'A' + 'a');
    }
    return lowered;
}
