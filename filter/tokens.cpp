/* tokens.cpp - entries of a separated list, walked with full-width positions. */
#include "tokens.h"

size_t CountTokens(const std::string &list, const std::string &separator)
{
    if (list.empty())
        return 0;
    size_t count = 1;
    if (separator.empty())
        return count;
    for (size_t at = list.find(separator); at != std::string::npos;
         at = list.find(separator, at + separator.size()))
        count++;
    return count;
}

std::string GetToken(const std::string &list, const std::string &separator, size_t k)
{
    if (k == 0)
        return std::string();
    size_t start = 0;
    for (size_t n = 1; n < k; n++) {
        size_t at = separator.empty() ? std::string::npos : list.find(separator, start);
        if (at == std::string::npos)
            return std::string();
        start = at + separator.size();
    }
    size_t end = separator.empty() ? std::string::npos : list.find(separator, start);
    return list.substr(start, end == std::string::npos ? std::string::npos : end - start);
}
