/* The host interface, whole: types and fixed values, callbacks and their
 * records, activation, function groups, and the Windows form
 * (interface tables, window messages). */
#ifndef XTAPI_H
#define XTAPI_H

#include "xt_activation.h"
#include "xt_callbacks.h"
#include "xt_groups.h"
#include "xt_types.h"
#include "xt_winevents.h"
#include "xt_windrop.h"

#endif /* XTAPI_H */
