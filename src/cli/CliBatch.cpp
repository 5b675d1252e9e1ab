#include "cli/CliBatch.h"

#include <fcntl.h>

#include <cerrno>
#include <cstring>
#include <sstream>
#include <string>

#include "runtime/Messages.h"
#include "batch/BatchLevels.h"
#include "platform/DescriptorBuffer.h"
#include "platform/FileDescriptor.h"

namespace tavimo::cli {

namespace {

constexpr std::string_view kStandardInput = "-";

std::string CannotRead(const CliOptions& options, int error) {
  std::string message = "tavimo-cli: cannot read " + messages::QuotedText(options.inputPath);
  if (error != 0) message += std::string(": ") + std::strerror(error);
  return message;
}

// The errno of a failed read, when the stream runs over a descriptor.
int ReadError(const std::istream& input) {
  const auto* buffer = dynamic_cast<const platform::DescriptorBuffer*>(input.rdbuf());
  return buffer != nullptr ? buffer->Error() : 0;
}

}  // namespace

CliResult RunBatchCommand(const CliOptions& options, const StoredSettings& stored, const CliStreams& streams) {
  const RatioList ratios = CliRatioList(options, stored);
  LevelPresentation shown = ResolveLevelPresentation(options, stored);
  BatchOptions batch;
  batch.modes = options.modes;
  batch.scale = shown.scale;
  batch.tick = std::move(shown.tick);
  batch.rounding = shown.rounding;

  platform::UniqueFd file;
  std::optional<platform::DescriptorBuffer> fileBuffer;
  std::optional<std::istream> fileStream;
  std::istringstream noInput;
  std::istream* input = streams.input != nullptr ? streams.input : &noInput;
  if (options.inputPath != kStandardInput) {
    file = platform::UniqueFd(::open(options.inputPath.c_str(), O_RDONLY | O_CLOEXEC));
    if (!file.IsOpen()) {
      const int openError = errno;
      return FailedRun(CannotRead(options, openError));
    }
    fileBuffer.emplace(file.Get(), platform::DescriptorBuffer::Direction::Read);
    fileStream.emplace(&*fileBuffer);
    input = &*fileStream;
  }
  std::ostringstream collectedOutput;
  std::ostringstream collectedErrors;
  std::ostream& output = streams.output != nullptr ? *streams.output : collectedOutput;
  std::ostream& errors = streams.errors != nullptr ? *streams.errors : collectedErrors;

  const BatchSummary summary = RunBatch(*input, output, ratios, batch, [&errors](const std::string& line) {
    errors << line << '\n';
  });

  CliResult result;
  result.out = std::move(collectedOutput).str();
  result.err = std::move(collectedErrors).str();
  std::string failure;
  if (summary.inputFailed) {
    failure = CannotRead(options, ReadError(*input));
  } else if (summary.outputFailed) {
    failure = "tavimo-cli: cannot write the output";
  }
  if (!failure.empty()) result.err += failure + "\n";
  result.exitStatus = failure.empty() && summary.badRows == 0 ? kExitDone : kExitFailed;
  return result;
}

}  // namespace tavimo::cli
