#include "platform/disk_sync.h"

#include <io.h>

namespace v5 {
bool SyncFileToDisk(std::FILE* file) {
    return std::fflush(file) == 0 && ::_commit(::_fileno(file)) == 0;
}
}  // namespace v5
