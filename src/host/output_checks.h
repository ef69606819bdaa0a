// Warnings about pictures that are not fit for print, before a save and at
// the host's output command: pictures that are not CMYK (or grey), EPS files
// that carry an ICC profile, and JPEG pictures. The checks only inform: the
// host's save or output goes on whatever the user answers.
#pragma once

#include <cstdint>

#include "host/check_findings.h"
#include "xtapi.h"

namespace lumbrel {

// Runs the checks the preferences "RGBWarning", "EPSWarning", "JPGWarning"
// and "WarnEffectivePpi" switch on over every picture box of the current
// document; Cancel at a warning ends the walk. With "CheckSummary" on, every finding
// is gathered first and shown in one report (host/check_report.h).
void checkImages();

// What the per-box step checks, in the order the check flags hold them.
struct ImageCheckFlags {
    bool cmyk = false;  // not CMYK or grey
    bool jpeg = false;  // a JPEG picture
    bool icc = false;   // an EPS with an ICC profile
    bool lowPpi = false;  // a pixel picture placed below minPpi on the page
    std::int32_t minPpi = 300;
};

// The step for one picture box: true to go on, false when the user
// cancelled a warning. The first form asks about each finding in an alert;
// the second hands each to `sink`.
bool checkImage(XTBoxID box, const ImageCheckFlags& flags);
bool checkImage(XTBoxID box, const ImageCheckFlags& flags, FindingSink& sink);

// The walk of the checks with an alert for each finding.
void checkImagesOneByOne(const ImageCheckFlags& flags);

// The check flags the preferences switch on.
ImageCheckFlags currentCheckFlags() noexcept;

// What the header comments of an EPS file say.
struct EPSFindings {
    bool readable = false;     // the file could be opened and read
    bool iccProfile = false;   // "%%BeginICCProfile" anywhere in the searched text
    bool processColors = false;  // a CMYK marker among the header comments
};

// Reads the PostScript text of an EPS file (after a binary EPS header when
// there is one; at most 65535 bytes) and searches it.
EPSFindings readEPSFindings(const char* path);

}  // namespace lumbrel
