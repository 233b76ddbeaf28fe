/* tokens.h - counting and picking the entries of a separated list ("a;b;c"). */
#ifndef TOKENS_H
#define TOKENS_H

#include <stddef.h>
#include <string>

/* Number of entries: 0 for the empty list, else the occurrences of separator plus one
 * ("a;b" 2, "a;b;" 3, ";" 2), counted without overlap the way GetToken walks them.
 * Counted in size_t, so any length of list works. An empty separator occurs nowhere.
 * Cannot fail. */
size_t CountTokens(const std::string &list, const std::string &separator);

/* Entry number k, counted from 1: the text between the (k-1)-th and the k-th separator,
 * exactly as it stands (no trimming). Empty between adjacent separators, after a final
 * separator, for k = 0 and for k past the last entry. Cannot fail except by running out
 * of memory. */
std::string GetToken(const std::string &list, const std::string &separator, size_t k);

#endif /* TOKENS_H */
