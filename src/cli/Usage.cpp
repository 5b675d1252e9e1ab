#include "cli/Usage.h"

#include <string_view>

#include "cli/CliArguments.h"

namespace tavimo::cli {

std::string UsageText() {
  const std::string program = "tavimo-cli";
  const auto line = [&](std::string_view first, std::string_view words, std::string options) {
    return std::string(first) + program + " " + std::string(words) + options + "\n";
  };
  return line("usage: ", "MODE", OptionSynopsis(UsageCommand::Levels)) +
         line("       ", "MODE|auto --input FILE", " [--change P] [--leg N] [options of MODE]") +
         line("       ", "[MODE ...]", OptionSynopsis(UsageCommand::Chart) + " [--layout]") +
         line("       ", "confluence", OptionSynopsis(UsageCommand::Confluence)) +
         line("       ", "batch MODE[,MODE...]", OptionSynopsis(UsageCommand::Batch)) +
         line("       ", "ratios", " [--set TEXT | --reset]") +
         line("       ", "swings", OptionSynopsis(UsageCommand::Swings)) +
         line("       ", "stats", OptionSynopsis(UsageCommand::Stats) + " [--png FILE] [--size WxH] [--scale S]") +
         line("       ", "scan FILE...", OptionSynopsis(UsageCommand::Scan)) +
         line("       ", "chart", OptionSynopsis(UsageCommand::PriceChart) + " --png FILE [--size WxH] [--scale S]") +
         "\n"
         "Computes the price level of every ratio of the ratio list, as the compute\n"
         "buttons of the Tavimo window do.\n"
         "\n"
         "MODE:\n"
         "  rise             rise from the low (needs --low)\n"
         "  decline          decline from the high (needs --high)\n"
         "  resistance       rebound resistance (needs --low and --high)\n"
         "  support          pullback support (needs --low and --high)\n"
         "  projection-up    C plus the ratio times the wave (needs --low, --high and --from)\n"
         "  projection-down  C minus the ratio times the wave (needs --low, --high and --from)\n"
         "  auto             with --input, the leg's own mode: support after an up leg,\n"
         "                   resistance after a down leg\n"
         "\n"
         "Options (also written --option=value):\n" +
         OptionList() +
         "\n"
         "Output: one line per ratio, in list order; text gives the ratio and the level as\n"
         "the chart shows it, separated by a tab; csv and json give the ratio, the level as a\n"
         "number and the chart's text. JSON output (json, --layout) is valid UTF-8: each\n"
         "byte of a text that is not part of well-formed UTF-8 is written as U+FFFD.\n"
         "\n"
         "Tick and scale: with a tick every level is rounded to a whole multiple of it\n"
         "(nearest, ties away from zero; up; down) and shown with the tick's decimals.\n"
         "On the log scale a ratio moves a price by a factor: resistance low*(high/low)^r,\n"
         "support high*(low/high)^r, projections C*(high/low)^r and C*(low/high)^r; it\n"
         "needs prices above zero and does not apply to rise and decline. Without --tick\n"
         "and --scale-levels the window's stored tick and scale apply, so the output is\n"
         "what the window copies; a stored log scale leaves rise and decline linear.\n"
         "\n"
         "Chart: --png writes the chart after the command; without MODE, the chart as it\n"
         "looks at start-up (every level 0). The file is replaced whole or not at all;\n"
         "a FILE that is not a regular file is refused, and with --png - the picture\n"
         "alone goes to stdout. --layout prints the chart's layout instead.\n"
         "\n"
         "Confluence: every level of every wave in every mode, swept in ascending order\n"
         "into zones: a zone's first level a takes in the levels up to a + |a|*PERCENT/100.\n"
         "Zones with levels of fewer than --min-waves waves are left out; the rest come\n"
         "strongest first (most waves, then most levels, then lowest). A wave without C\n"
         "has no projection levels.\n"
         "\n"
         "Batch: CSV in with the columns low, high and (for the projections) from; the\n"
         "same rows out with mode, ratio, level and text appended, one row per mode and\n"
         "ratio. A row that cannot be computed is reported on stderr as \"line N: ...\"\n"
         "and skipped; the others are written.\n"
         "\n"
         "Price files: one instrument's bars (time, open, high, low, close, volume), the\n"
         "form found from the content (headers by name, the headerless exports, epochs,\n"
         "',' ';' or TAB). Swings are the percent zigzag on highs and lows (--change P,\n"
         "default 5): a pivot is confirmed once the price has moved P percent away from\n"
         "it. MODE --input FILE takes --low and --high from leg N (--leg, default 1:\n"
         "the last pivot to the open extreme). swings prints time, kind, price and the\n"
         "confirming bar's time per point; stats counts, per ratio, the retracements\n"
         "whose depth lies within --tolerance of it and whether the move resumed (with\n"
         "--png, the histogram of the depths, bins of twice the tolerance); scan\n"
         "prints, per FILE, the current leg and the level nearest the last close; chart\n"
         "draws the file's candles, swings and the levels of leg N (default 1) as a PNG. A\n"
         "row that cannot be read is reported as \"line N: ...\" (with several files,\n"
         "after the file's name) and skipped; the exit status is then 1.\n"
         "\n"
         "Ratios: " + program + " ratios prints the ratio list text in effect, as the\n"
         "window loads it. --set TEXT stores a new list by the rules of the window's\n"
         "settings button: a TEXT with characters other than digits, '.', ',', '/' and\n"
         "'^' is refused, and so is one longer than 2047 bytes. --reset stores the\n"
         "default list. Both write the window's settings file; a settings file that\n"
         "exists but cannot be read is named on stderr and the default list is used.\n"
         "\n"
         "Exit status: 0 done, 1 an empty price box, a value that cannot be converted,\n"
         "a file that cannot be read or written, a refused ratio list or a batch row that\n"
         "could not be computed (the message is on stderr), 2 a usage error.\n";
}

}  // namespace tavimo::cli
