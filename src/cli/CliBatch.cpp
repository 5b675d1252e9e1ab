#include "cli/CliBatch.h"

#include <fcntl.h>

#include <cerrno>
#include <cstring>
#include <sstream>
#include <string>

#include "batch/BatchLevels.h"
#include "platform/DescriptorBuffer.h"
#include "platform/FileDescriptor.h"

namespace tavimo::cli {

namespace {

constexpr std::string_view kStandardInput = "-";

std::string InputName(const CliOptions& options) {
  return options.inputPath == kStandardInput ? "the standard input" : "'" + options.inputPath + "'";
}

}  // namespace

CliResult RunBatchCommand(const CliOptions& options, const CliStreams& streams) {
  const RatioList ratios = CliRatioList(options);
  LevelPresentation shown = ResolveLevelPresentation(options);
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
      return FailedRun("tavimo-cli: cannot read " + InputName(options) + ": " + std::strerror(openError));
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
    failure = "tavimo-cli: cannot read " + InputName(options);
    if (fileBuffer && fileBuffer->Error() != 0) failure += std::string(": ") + std::strerror(fileBuffer->Error());
  } else if (summary.outputFailed) {
    failure = "tavimo-cli: cannot write the output";
  }
  if (!failure.empty()) result.err += failure + "\n";
  result.exitStatus = failure.empty() && summary.badRows == 0 ? kExitDone : kExitFailed;
  return result;
}

}  // namespace tavimo::cli
