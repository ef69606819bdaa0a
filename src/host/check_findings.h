// What the output checks can find about a picture. Each kind names the alert
// that asks about it one picture at a time and the words that stand for it in
// the one report before output; a new kind is one more constant here and its
// two keys in the string tables.
#pragma once

#include "xtapi.h"

namespace lumbrel {

struct FindingKind {
    const char* alertKey;   // the question with OK and Cancel, path as second line
    const char* reportKey;  // a few words for the report's "Finding" column
};

inline constexpr FindingKind kFindingNotCMYK{"kCMYKImg", "kRepNoCMYK"};
inline constexpr FindingKind kFindingICCProfile{"kICCProf", "kRepICC"};
inline constexpr FindingKind kFindingJPEG{"kJPGImg", "kRepJPEG"};
// Its alert is a format of the two figures below; the report adds them to its words.
inline constexpr FindingKind kFindingLowPpi{"kLowPpi", "kRepLowPpi"};

// The numbers a finding about the picture's resolution on the page carries.
struct FindingFigures {
    double ppi = 0;   // effective pixels per inch
    int minPpi = 0;   // the threshold it is below
};

// Where the per-box step sends each finding: true to go on with the checks,
// false to end them (Cancel at an alert).
class FindingSink {
public:
    // `figures` is null for the kinds that carry none.
    virtual bool found(XTBoxID box, const FindingKind& kind, const char* path, const FindingFigures* figures) = 0;

protected:
    ~FindingSink() = default;
};

}  // namespace lumbrel
