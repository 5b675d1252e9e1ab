#pragma once
// Runs a check as a user without privileges, so that tests of permissions
// also bind when the suite runs as root (as CI does): root reads and writes
// whatever the permission bits say.

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <optional>
#include <string>

namespace tavimo::privileges {

inline constexpr uid_t kNobody = 65534;

// `check` runs in a child that gives up root (user and group nobody, no
// supplementary groups) when the tests run as root, else in this process.
// Its result comes back as text; nullopt when the child could not give up
// root. Files the child must reach need permissions for "other".
inline std::optional<std::string> AsUnprivilegedUser(const std::function<std::string()>& check) {
  if (geteuid() != 0) return check();
  int channel[2];
  if (pipe(channel) != 0) return std::nullopt;
  const pid_t child = fork();
  if (child < 0) {
    close(channel[0]);
    close(channel[1]);
    return std::nullopt;
  }
  if (child == 0) {
    close(channel[0]);
    if (setgroups(0, nullptr) != 0 || setresgid(kNobody, kNobody, kNobody) != 0 ||
        setresuid(kNobody, kNobody, kNobody) != 0)
      _exit(2);
    const std::string result = check();
    const bool sent = write(channel[1], result.data(), result.size()) == static_cast<ssize_t>(result.size());
    _exit(sent ? 0 : 1);
  }
  close(channel[1]);
  std::string result;
  char buffer[512];
  for (ssize_t n; (n = read(channel[0], buffer, sizeof buffer)) > 0;) result.append(buffer, static_cast<size_t>(n));
  close(channel[0]);
  int status = 0;
  waitpid(child, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) == 2) return std::nullopt;
  return result;
}

}  // namespace tavimo::privileges
