// Everything the features ask of the host, in one include: documents, boxes,
// pages and spreads, pictures, slugs, box walks, the mouse, dialog controls.
#pragma once

#include "host/xt_boxes.h"
#include "host/xt_controls.h"
#include "host/xt_documents.h"
#include "host/xt_enumerate.h"
#include "host/xt_mouse.h"
#include "host/xt_pages.h"
#include "host/xt_pictures.h"
#include "host/xt_slugs.h"
