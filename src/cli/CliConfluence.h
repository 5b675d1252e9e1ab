#pragma once
// tavimo-cli confluence: the zones where the levels of several waves meet,
// as text, csv or json.

#include "cli/CliArguments.h"
#include "cli/CliRun.h"

namespace tavimo::cli {

// Each wave's texts converted as price boxes are (a failure names the wave:
// "wave N: <message>"), then the sweep and the zones in the format asked
// for. The tick, rounding and scale as for MODE; a tick changes the texts
// only, never which levels meet. Raises the ratios', tick's and sweep's
// errors (log scale with a price at or below zero, a level out of range).
CliResult RunConfluenceCommand(const CliOptions& options, const StoredSettings& stored);

}  // namespace tavimo::cli
