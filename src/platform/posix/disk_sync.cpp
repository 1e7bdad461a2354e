#include "platform/disk_sync.h"

#include <unistd.h>

namespace v5 {
bool SyncFileToDisk(std::FILE* file) {
    return std::fflush(file) == 0 && ::fsync(::fileno(file)) == 0;
}

bool MoveFileReplacing(const std::string& from, const std::string& to) {
    return std::rename(from.c_str(), to.c_str()) == 0;
}
}  // namespace v5
