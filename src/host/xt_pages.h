// Pages and spreads of the current document: counts, conversions, names and
// navigation. Pages and spreads count from 1; 0 and negative numbers are
// answers for "none".
#pragma once

#include <cstddef>
#include <cstdint>

#include "xtapi.h"

namespace lumbrel {

// Counts; 0 without a document.
std::int16_t numsprds();
std::int16_t numpages();
std::int16_t nummasterpages();

// The spread of a page; page 0 is the current page.
std::int16_t xt_pg2sprd(std::int16_t page);
std::int16_t XTGetCurSpread();
std::int16_t xtget_curpage();
// The spread's own box.
XTBoxID getsprdbox(std::int16_t spread);
// Page sequence number (master pages first) to document page.
std::int16_t xtseq2page(std::int16_t sequence);
// Moves a rectangle given in the page's coordinates into the coordinates of
// its spread; false (rect untouched) when the host knows no such page.
bool pagefrect2sprd(std::int16_t page, XTFixedRect* rect);
// Makes the spread's origin the origin of local view coordinates.
void setsprdorigin(std::int16_t spread);

// The page rectangle (0, 0, page length, page width) in spread coordinates,
// moved by one point down and right; the page's spread through `spread`.
// An empty rectangle without a document.
XTFixedRect xt_getpagerect(std::int16_t page, std::int16_t* spread);

// The page's displayed name, UTF-8, cut to the buffer; its length.
std::int32_t XTGetPageStr(std::int16_t page, char* buffer, std::size_t size);

// Navigation; true on success.
bool gotopage(std::int16_t page);
bool gotomaster(std::int16_t master);
bool xtget_showmaster();

// Page size and view scale, 16.16 fixed point; 0 without a document.
Fixed xtget_docpagewidth();
Fixed xtget_docpagelength();
Fixed xtget_docscale();

}  // namespace lumbrel
