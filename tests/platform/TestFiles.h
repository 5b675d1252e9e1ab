#pragma once
// A scratch directory per test and whole-file helpers for the profile tests.

#include <string>
#include <vector>

namespace tavimo::platform::testing {

class ScratchDirectory {
 public:
  ScratchDirectory();
  ~ScratchDirectory();
  ScratchDirectory(const ScratchDirectory&) = delete;
  ScratchDirectory& operator=(const ScratchDirectory&) = delete;

  // The directory, with the trailing "/".
  const std::string& Path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + name; }
  // The names in the directory, sorted, without "." and "..".
  std::vector<std::string> Entries() const;

 private:
  std::string path_;
};

void WriteBytes(const std::string& path, const std::string& bytes);
std::string ReadBytes(const std::string& path);

}  // namespace tavimo::platform::testing
