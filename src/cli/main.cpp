// tavimo-cli: the levels of the compute commands, confluence zones and batch
// levels on stdout.

#include <unistd.h>

#include <cstdio>
#include <exception>
#include <istream>
#include <ostream>
#include <string>
#include <vector>

#include "cli/CliRun.h"
#include "platform/DescriptorBuffer.h"
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
    using tavimo::platform::DescriptorBuffer;
    // Batch streams straight through the descriptors in large blocks; the
    // other commands hand back their whole output, written below.
    DescriptorBuffer inBuffer(STDIN_FILENO, DescriptorBuffer::Direction::Read);
    DescriptorBuffer outBuffer(STDOUT_FILENO, DescriptorBuffer::Direction::Write);
    DescriptorBuffer errBuffer(STDERR_FILENO, DescriptorBuffer::Direction::Write, 64 << 10);
    std::istream in(&inBuffer);
    std::ostream out(&outBuffer);
    std::ostream err(&errBuffer);
    const tavimo::cli::CliResult result = tavimo::cli::RunCli(arguments, {&in, &out, &err});
    const bool streamed = static_cast<bool>(out.flush());
    err.flush();
    const bool written = WriteAll(stdout, result.out);
    WriteAll(stderr, result.err);
    // A streamed failure was reported by the run already.
    if (!written || (!streamed && result.exitStatus == tavimo::cli::kExitDone)) {
      WriteAll(stderr, "tavimo-cli: cannot write the output\n");
      return tavimo::cli::kExitFailed;
    }
    return result.exitStatus;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "tavimo-cli: %s\n", error.what());
    return tavimo::cli::kExitFailed;
  }
}
