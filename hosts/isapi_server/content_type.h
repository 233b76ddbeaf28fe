/* content_type.h - the Content-Type the server sends for a file, chosen by its extension */
#ifndef CONTENT_TYPE_H
#define CONTENT_TYPE_H

/* Returns the MIME type for path's extension (after its last "." in the last path
 * component, any case), "application/octet-stream" when unknown. Cannot fail. */
const char *ContentTypeFor(const char *path);

#endif /* CONTENT_TYPE_H */
