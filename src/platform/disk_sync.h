#pragma once
#include <cstdio>
#include <string>

namespace v5 {
// Pushes what was written to an open stream through to the disk itself.
// Returns false when the platform reports a failure.
bool SyncFileToDisk(std::FILE* file);
// Puts the complete file `from` in the place of `to`, replacing `to` if it exists, in one step
// that leaves either the old or the new file there. False when the platform refuses.
bool MoveFileReplacing(const std::string& from, const std::string& to);
}  // namespace v5
