#include "platform/ExecutablePath.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

namespace tavimo::platform {
namespace {

std::string WithTrailingSlash(std::string directory) {
  if (directory.empty() || directory.back() != '/') directory += '/';
  return directory;
}

std::string HomeDirectory() {
  const char* home = std::getenv("HOME");
  if (home != nullptr && home[0] != '\0') return home;
  // No $HOME (a service, a stripped environment): ask the password database.
  long size = sysconf(_SC_GETPW_R_SIZE_MAX);
  std::vector<char> buffer(size > 0 ? static_cast<size_t>(size) : 16384);
  passwd entry{};
  passwd* result = nullptr;
  if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &result) == 0 && result != nullptr &&
      result->pw_dir != nullptr)
    return result->pw_dir;
  return {};
}

}  // namespace

std::string ExecutablePath() {
  // readlink neither terminates nor reports truncation, so grow until the
  // result leaves room to spare.
  std::vector<char> buffer(512);
  for (;;) {
    ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (length < 0) return {};
    if (static_cast<size_t>(length) < buffer.size()) return std::string(buffer.data(), static_cast<size_t>(length));
    if (buffer.size() >= (1u << 20)) return {};
    buffer.resize(buffer.size() * 2);
  }
}

std::string ExecutableDirectory() {
  std::string path = ExecutablePath();
  size_t slash = path.rfind('/');
  if (slash == std::string::npos) return {};
  return path.substr(0, slash + 1);
}

std::string UserConfigDirectory() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  // A relative $XDG_CONFIG_HOME is invalid and must be ignored.
  if (xdg != nullptr && xdg[0] == '/') return WithTrailingSlash(xdg);
  std::string home = HomeDirectory();
  if (home.empty()) return {};
  return WithTrailingSlash(home) + ".config/";
}

bool IsDirectoryWritable(const std::string& directory) {
  if (directory.empty()) return false;
  struct stat status {};
  if (stat(directory.c_str(), &status) != 0 || !S_ISDIR(status.st_mode)) return false;
  // Creating an entry needs search permission as well as write permission.
  return access(directory.c_str(), W_OK | X_OK) == 0;
}

}  // namespace tavimo::platform
