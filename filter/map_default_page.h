/* map_default_page.h - the filter's URL-map work: a directory request gets the first
 * existing default page of the configured list, or the not-found page. */
#ifndef MAP_DEFAULT_PAGE_H
#define MAP_DEFAULT_PAGE_H

#include "isapi_filter.h"

#define LIST_SEPARATOR ";"   /* between the entries of "DefaultLoadFiles" */
#define LOG_FIELD_SEPARATOR ", " /* between the fields of a log line */

/* Characters of "DefaultLoadFiles" searched. Every whole entry that ends within them is
 * searched in order; entries past them are ignored, so an absurdly long setting cannot
 * keep a request thread busy. */
#define MAX_LIST_CHARS 4096

/* For a URL that names no file (empty file name), replaces urlMap->pszPhysicalPath with
 * the mapped directory prefix followed by the first entry of "DefaultLoadFiles" that
 * names an existing file, logging the substitution to "LogFile" when that is set; when
 * no entry exists, with "NotFoundPage" if that names an existing file. Every other case
 * leaves the path as mapped, and so does a replacement that with its NUL does not fit
 * in cbPathBuff bytes (nothing is then logged). Raises the store's ERegistryException
 * for a setting that cannot be read; the path is then still as mapped. */
void MapDefaultPage(HTTP_FILTER_URL_MAP *urlMap);

#endif /* MAP_DEFAULT_PAGE_H */
