#include "cli/CliRatios.h"

#include <string>

#include "calc/RatioList.h"
#include "settings/SettingsFile.h"
#include "regex/RatioTextPattern.h"

namespace tavimo::cli {

CliResult RunRatiosCommand(const CliOptions& options, const StoredSettings& stored) {
  if (!options.resetRatios && !options.setRatiosText) return {kExitDone, stored.ratioText + "\n", {}};
  const std::string text = options.resetRatios ? std::string(DefaultRatioText) : *options.setRatiosText;
  if (RatioTextHasForbiddenCharacter(text)) return {kExitFailed, {}, std::string(kRefusedRatioText) + "\n"};
  SaveRatioText(text, SettingsFilePath());
  return {kExitDone, {}, {}};
}

}  // namespace tavimo::cli
