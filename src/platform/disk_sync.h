#pragma once
#include <cstdio>

namespace v5 {
// Pushes what was written to an open stream through to the disk itself.
// Returns false when the platform reports a failure.
bool SyncFileToDisk(std::FILE* file);
}  // namespace v5
