// tavimo-cli: the levels of the four compute commands on stdout.

#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "cli/CliRun.h"
#include "platform/LocaleNumberFormat.h"

namespace {

bool WriteAll(std::FILE* stream, const std::string& text) {
  if (text.empty()) return true;
  return std::fwrite(text.data(), 1, text.size(), stream) == text.size() && std::fflush(stream) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    tavimo::platform::LoadNumberFormatSettings();
    const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    const tavimo::cli::CliResult result = tavimo::cli::RunCli(arguments);
    const bool written = WriteAll(stdout, result.out);
    WriteAll(stderr, result.err);
    if (!written) {
      WriteAll(stderr, "tavimo-cli: cannot write the output\n");
      return tavimo::cli::kExitFailed;
    }
    return result.exitStatus;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "tavimo-cli: %s\n", error.what());
    return tavimo::cli::kExitFailed;
  }
}
