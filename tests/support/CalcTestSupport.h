#pragma once
// Helpers shared by the calculator tests: checking a raised error's class and
// message, a scratch directory, and temporary number separators.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <typeinfo>

#include "runtime/NumberFormatSettings.h"

namespace tavimo::testing {

// Runs `action` and checks that it raises exactly class E with `message`.
template <typename E>
::testing::AssertionResult Raises(const std::function<void()>& action, const std::string& message) {
  try {
    action();
  } catch (const E& error) {
    if (typeid(error) != typeid(E))
      return ::testing::AssertionFailure() << "raised a subclass: " << typeid(error).name();
    if (error.Message() != message)
      return ::testing::AssertionFailure() << "message '" << error.Message() << "', expected '" << message << "'";
    return ::testing::AssertionSuccess();
  } catch (const std::exception& other) {
    return ::testing::AssertionFailure() << "raised another class: " << other.what();
  }
  return ::testing::AssertionFailure() << "nothing raised";
}

class ScratchDirectory {
 public:
  ScratchDirectory() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tavimo-calc-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = pattern + "/";
  }
  ~ScratchDirectory() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  ScratchDirectory(const ScratchDirectory&) = delete;
  ScratchDirectory& operator=(const ScratchDirectory&) = delete;

  // The directory, with its trailing "/".
  const std::string& Path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + name; }

 private:
  std::string path_;
};

inline void WriteFile(const std::string& path, const std::string& content) {
  std::ofstream(path, std::ios::binary) << content;
}

inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

// Sets the process-wide separators for the lifetime of the object.
class ScopedNumberFormat {
 public:
  ScopedNumberFormat(std::string decimalSeparator, std::string thousandsSeparator)
      : saved_(GlobalNumberFormatSettings()) {
    SetGlobalNumberFormatSettings({std::move(decimalSeparator), std::move(thousandsSeparator)});
  }
  ~ScopedNumberFormat() { SetGlobalNumberFormatSettings(saved_); }

 private:
  NumberFormatSettings saved_;
};

}  // namespace tavimo::testing
