#include "cli/CliRatios.h"

#include <string>

#include "calc/RatioList.h"
#include "settings/SettingsFile.h"
#include "regex/RatioTextPattern.h"

namespace tavimo::cli {

CliResult RunRatiosCommand(const CliOptions& options) {
  const std::string path = SettingsFilePath();
  if (options.resetRatios) {
    SaveRatioText(DefaultRatioText, path);
    return {kExitDone, {}, {}};
  }
  if (!options.setRatiosText) return {kExitDone, ReadRatioText(path) + "\n", {}};
  const std::string& text = *options.setRatiosText;
  // The dialog starts from the default text, so that text marks an unchanged answer.
  if (text == DefaultRatioText) return {kExitDone, {}, {}};
  if (RatioTextHasForbiddenCharacter(text)) return {kExitFailed, {}, std::string(kRefusedRatioText) + "\n"};
  SaveRatioText(text, path);
  return {kExitDone, {}, {}};
}

}  // namespace tavimo::cli
