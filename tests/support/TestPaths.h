#pragma once
// Where test fixtures live and where a test may write.
#include <filesystem>
#include <string>

namespace Testing {

// tests/data of the source tree.
std::filesystem::path dataDir();

// A fresh, empty folder removed when the object goes away.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

}  // namespace Testing
