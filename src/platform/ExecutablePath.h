#pragma once
// Where the running program lives, and the per-user configuration folder.

#include <string>

namespace tavimo::platform {

// The full path of the running executable (/proc/self/exe).
std::string ExecutablePath();
// Its directory, with the trailing "/".
std::string ExecutableDirectory();
// $XDG_CONFIG_HOME, else $HOME/.config, with the trailing "/".
std::string UserConfigDirectory();
// Whether the current user may create files in the directory.
bool IsDirectoryWritable(const std::string& directory);

}  // namespace tavimo::platform
