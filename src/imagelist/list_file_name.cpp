#include "imagelist/list_file_name.h"

#include "util/plain_file_name.h"

namespace lumbrel {

bool isPlainListFileName(const char* name) noexcept { return isPlainFileName(name); }

}  // namespace lumbrel
