#pragma once
// tavimo-cli ratios: the window's stored ratio list without the window. It
// prints the list text in effect, or stores one by the settings button's rules.

#include "cli/CliArguments.h"
#include "cli/CliRun.h"

namespace tavimo::cli {

// The message of a refused list text, as the settings button shows it.
inline constexpr std::string_view kRefusedRatioText = "所输数据有错误，请重新设置";

// Without --set or --reset: the text the window would load, on a line. With
// --set TEXT: the settings button's command for an answer TEXT (the default
// text changes nothing, a refused text stores nothing), stored in the
// window's settings file. With --reset: the default text stored. Raises what
// the store raises (EIniFileException "Unable to write to <path>").
CliResult RunRatiosCommand(const CliOptions& options);

}  // namespace tavimo::cli
