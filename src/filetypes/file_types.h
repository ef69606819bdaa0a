// What kind of picture file a path names, decided by the extension of its
// name; the file's content is not read.
#pragma once

#include "filetypes/type_codes.h"

namespace lumbrel {

// The longest file name the type is decided on, in characters (UTF-8 code
// points; a byte that is no UTF-8 counts as one); a longer name is cut to its
// first 63 characters first, so its extension may no longer be seen.
inline constexpr unsigned kMaxTypedNameLength = 63;

// The type code of the file `path` names (either path form), by the
// extension of its last component without regard to ASCII case. Without a
// known extension the file's own type would decide; the POSIX build keeps no
// per-file type, so the answer is then kTypeNone (0), as it is for a null or
// empty path.
FileTypeCode getFileType(const char* path) noexcept;

}  // namespace lumbrel
