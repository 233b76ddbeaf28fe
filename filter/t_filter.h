/* t_filter.h - the per-call filter object: one is made for every HttpFilterProc call and
 * freed before it returns; it is never shared between calls or threads. */
#ifndef T_FILTER_H
#define T_FILTER_H

#include "isapi_filter.h"

class TFilter {
public:
    explicit TFilter(HTTP_FILTER_CONTEXT *context) : pfc(context) {}

    HTTP_FILTER_CONTEXT *pfc; /* the server's context of the request being handled */
};

#endif /* T_FILTER_H */
