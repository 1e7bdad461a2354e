#include "platform/disk_sync.h"

#include <io.h>
#include <windows.h>

namespace v5 {
bool SyncFileToDisk(std::FILE* file) {
    return std::fflush(file) == 0 && ::_commit(::_fileno(file)) == 0;
}

// The C library's rename refuses to replace an existing file here.
bool MoveFileReplacing(const std::string& from, const std::string& to) {
    return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}
}  // namespace v5
