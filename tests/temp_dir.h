#pragma once
// A fresh folder per test, removed afterwards; paths end with the separator.
#include <filesystem>
#include <string>
#include <unistd.h>

namespace v5::testing {

class TempDir {
public:
    // In the system's temporary folder, or in `parent` where a test needs a particular disk.
    explicit TempDir(const std::filesystem::path& parent = std::filesystem::temp_directory_path()) {
        std::string pattern = (parent / "v5testXXXXXX").string();
        path_ = ::mkdtemp(pattern.data());
        path_ += '/';
    }
    ~TempDir() { std::filesystem::remove_all(path_); }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + name; }

private:
    std::string path_;
};

}  // namespace v5::testing
