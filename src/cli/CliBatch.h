#pragma once
// tavimo-cli batch: the levels of many waves, CSV rows in and out, streamed
// so that memory stays flat however long the input is.

#include "cli/CliArguments.h"
#include "cli/CliRun.h"

namespace tavimo::cli {

// RunBatch from --input (a file, or streams.input for "-") to streams.output,
// each bad row's "line N: <message>" to streams.errors (streams not given:
// collected in the result). Exit status 1 when any row was bad, the input
// could not be read or the output not written; the ratios', header's and
// tick's errors raise before anything is written.
CliResult RunBatchCommand(const CliOptions& options, const StoredSettings& stored, const CliStreams& streams);

}  // namespace tavimo::cli
