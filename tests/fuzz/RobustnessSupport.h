#pragma once
// Scratch directories and whole-file helpers for the settings file tests.

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

namespace tavimo::robustness {

class ScratchDirectory {
 public:
  explicit ScratchDirectory(const std::string& base = "") {
    std::string root = base;
    if (root.empty()) {
      const char* tmp = std::getenv("TMPDIR");
      root = tmp != nullptr && *tmp != '\0' ? tmp : "/tmp";
    }
    std::string pattern = root + "/tavimo-robust-XXXXXX";
    if (mkdtemp(pattern.data()) != nullptr) path_ = pattern + "/";
  }
  ~ScratchDirectory() {
    std::error_code error;
    // Undo permission changes a test made, so that the removal can enter.
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, error);
    for (const auto& entry : std::filesystem::recursive_directory_iterator(path_, error))
      std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                   std::filesystem::perm_options::add, error);
    std::filesystem::remove_all(path_, error);
  }
  ScratchDirectory(const ScratchDirectory&) = delete;
  ScratchDirectory& operator=(const ScratchDirectory&) = delete;

  bool Valid() const { return !path_.empty(); }
  const std::string& Path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + name; }

  // Names directly in the directory, sorted.
  std::vector<std::string> Entries(const std::string& sub = "") const {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(path_ + sub, error))
      names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

 private:
  std::string path_;
};

inline void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

inline std::string ReadBytes(const std::string& path) {
  std::ifstream stream(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
}

}  // namespace tavimo::robustness
