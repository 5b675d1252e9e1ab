#pragma once
// The text --help prints and a usage error ends with: the synopsis and the
// options come from the option table, the rest is written here.

#include <string>

namespace tavimo::cli {

std::string UsageText();

}  // namespace tavimo::cli
