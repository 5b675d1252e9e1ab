#pragma once
// tavimo-cli ratios: the window's stored ratio list without the window. It
// prints the list text in effect, or stores one by the settings button's rules.

#include "cli/CliArguments.h"
#include "cli/CliRun.h"

namespace tavimo::cli {

// The message of a refused list text, as the settings button shows it.
inline constexpr std::string_view kRefusedRatioText = "所输数据有错误，请重新设置";

// Without --set or --reset: the text the window would load (stored), on a
// line. With --set TEXT: TEXT stored in the window's settings file, the
// default text too (it replaces another stored list, as the dialog's answer
// does); a refused text stores nothing. With --reset: the default text
// stored. Raises what the store raises ("Ratio list text longer than 2047
// bytes.", EIniFileException "Unable to write to <path>").
CliResult RunRatiosCommand(const CliOptions& options, const StoredSettings& stored);

}  // namespace tavimo::cli
