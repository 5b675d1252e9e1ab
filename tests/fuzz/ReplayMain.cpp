// Runs a fuzz harness without libFuzzer: every regular file named on the
// command line, or found directly in a directory named there, is fed once
// to LLVMFuzzerTestOneInput. A failed property aborts, so the run fails.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

#include "FuzzSupport.h"

namespace {

std::vector<std::filesystem::path> InputsOf(const std::filesystem::path& argument) {
  std::vector<std::filesystem::path> inputs;
  std::error_code error;
  if (std::filesystem::is_directory(argument, error)) {
    for (const auto& entry : std::filesystem::directory_iterator(argument, error))
      if (entry.is_regular_file(error)) inputs.push_back(entry.path());
    std::sort(inputs.begin(), inputs.end());
  } else if (std::filesystem::is_regular_file(argument, error)) {
    inputs.push_back(argument);
  }
  return inputs;
}

}  // namespace

int main(int argc, char** argv) {
  std::size_t replayed = 0;
  for (int i = 1; i < argc; ++i) {
    const std::vector<std::filesystem::path> inputs = InputsOf(argv[i]);
    if (inputs.empty()) {
      std::fprintf(stderr, "%s: no input files in %s\n", argv[0], argv[i]);
      return 1;
    }
    for (const std::filesystem::path& input : inputs) {
      std::ifstream stream(input, std::ios::binary);
      const std::string bytes((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
      if (!stream.good() && !stream.eof()) {
        std::fprintf(stderr, "%s: cannot read %s\n", argv[0], input.c_str());
        return 1;
      }
      std::fprintf(stderr, "replaying %s\n", input.c_str());
      LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
      ++replayed;
    }
  }
  if (replayed == 0) {
    std::fprintf(stderr, "usage: %s CORPUS_DIRECTORY_OR_FILE...\n", argv[0]);
    return 1;
  }
  std::printf("%zu inputs replayed\n", replayed);
  return 0;
}
