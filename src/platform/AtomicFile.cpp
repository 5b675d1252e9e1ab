#include "platform/AtomicFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/random.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <system_error>
#include <vector>

#include "platform/FileOps.h"

namespace tavimo::platform {
namespace {

constexpr int kMaxLinkHops = 40;
constexpr int kNameAttempts = 100;
constexpr std::string_view kTemporaryMarker = ".tmp";

std::string ErrorText(int error) { return std::generic_category().message(error); }

std::string DirectoryOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// Follows symbolic links to the file a write has to replace, so that the
// link itself stays. The target need not exist yet.
std::optional<std::string> ResolveLinks(std::string path) {
  for (int hop = 0; hop < kMaxLinkHops; ++hop) {
    struct stat status {};
    if (lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) return path;
    std::vector<char> buffer(static_cast<size_t>(status.st_size > 0 ? status.st_size : 255) + 1);
    const ssize_t length = readlink(path.c_str(), buffer.data(), buffer.size());
    if (length < 0 || static_cast<size_t>(length) >= buffer.size()) return std::nullopt;
    std::string target(buffer.data(), static_cast<size_t>(length));
    path = (!target.empty() && target[0] == '/') ? target : DirectoryOf(path) + target;
  }
  return std::nullopt;
}

// Sixteen hex digits from the kernel's random source; a name with a random
// part cannot be exhausted the way a counter under a fixed process id can.
std::string RandomSuffix() {
  std::uint64_t bits = 0;
  if (getrandom(&bits, sizeof bits, GRND_NONBLOCK) != static_cast<ssize_t>(sizeof bits)) {
    static std::uint64_t counter = 0;
    timespec now {};
    clock_gettime(CLOCK_REALTIME, &now);
    bits = (static_cast<std::uint64_t>(now.tv_nsec) << 20) ^ static_cast<std::uint64_t>(now.tv_sec) ^
           (static_cast<std::uint64_t>(getpid()) << 40) ^ (++counter * 0x9E3779B97F4A7C15u);
  }
  static constexpr char kHex[] = "0123456789abcdef";
  std::string text(16, '0');
  for (char& c : text) {
    c = kHex[bits & 15];
    bits >>= 4;
  }
  return text;
}

bool AllOf(std::string_view text, bool (*accept)(char)) {
  if (text.empty()) return false;
  for (char c : text)
    if (!accept(c)) return false;
  return true;
}
bool IsDecimalDigit(char c) { return c >= '0' && c <= '9'; }
bool IsHexDigit(char c) { return IsDecimalDigit(c) || (c >= 'a' && c <= 'f'); }

// Whether a leftover's name says it belongs to no running save. Ours are
// ".tmp-<hex>" and locked while written, so a lock that can be taken is
// enough. Earlier versions wrote ".tmp<pid>-<n>" without a lock: those
// count as left over when that process no longer runs, or when the id is
// this process's own (it never makes such names).
bool NameOfDeadWriter(std::string_view rest) {
  if (rest.size() == 17 && rest[0] == '-' && AllOf(rest.substr(1), IsHexDigit)) return true;
  const size_t dash = rest.find('-');
  if (dash == std::string_view::npos || !AllOf(rest.substr(0, dash), IsDecimalDigit) ||
      !AllOf(rest.substr(dash + 1), IsDecimalDigit) || dash > 9)
    return false;
  const pid_t pid = static_cast<pid_t>(std::stol(std::string(rest.substr(0, dash))));
  return pid == getpid() || (kill(pid, 0) != 0 && errno == ESRCH);
}

// Removes the temporary files of killed writes of `base` in `directory`:
// each one whose lock can be taken, checked to still be the file it locked.
void RemoveLeftovers(const std::string& directory, const std::string& base) {
  const std::string prefix = "." + base + std::string(kTemporaryMarker);
  DIR* listing = opendir(directory.empty() ? "." : directory.c_str());
  if (listing == nullptr) return;
  const int directoryFd = dirfd(listing);
  while (const dirent* entry = readdir(listing)) {
    const std::string_view name = entry->d_name;
    if (!name.starts_with(prefix) || !NameOfDeadWriter(name.substr(prefix.size()))) continue;
    int fd = openat(directoryFd, entry->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0 && errno == EACCES) fd = openat(directoryFd, entry->d_name, O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) continue;
    struct stat opened {};
    struct stat named {};
    if (fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode) && flock(fd, LOCK_EX | LOCK_NB) == 0 &&
        fstatat(directoryFd, entry->d_name, &named, AT_SYMLINK_NOFOLLOW) == 0 && named.st_dev == opened.st_dev &&
        named.st_ino == opened.st_ino)
      unlinkat(directoryFd, entry->d_name, 0);
    ::close(fd);
  }
  closedir(listing);
}

void SyncDirectory(const std::string& directory) {
  // The rename is done; a directory that cannot be synced does not undo it.
  const int fd = ::open(directory.empty() ? "." : directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

AtomicFileWriter::AtomicFileWriter(const std::string& path) { Start(path); }

void AtomicFileWriter::Start(const std::string& path) {
  if (path.empty()) return Fail(ErrorText(ENOENT));
  std::optional<std::string> target = ResolveLinks(path);
  if (!target) return Fail(ErrorText(ELOOP));
  target_ = std::move(*target);

  struct stat status {};
  if (stat(target_.c_str(), &status) == 0) {
    if (!S_ISREG(status.st_mode)) return Fail("not a regular file");
    // The superuser passes every permission check, so the bits are read too.
    if ((status.st_mode & 0222) == 0) return Fail("the file is read-only");
    if (faccessat(AT_FDCWD, target_.c_str(), W_OK, AT_EACCESS) != 0) return Fail(ErrorText(errno));
    oldStatus_ = status;
  } else if (errno != ENOENT) {
    return Fail(ErrorText(errno));
  }

  const std::string directory = DirectoryOf(target_);
  const std::string base = target_.substr(directory.size());
  RemoveLeftovers(directory, base);

  const FileOps& ops = CurrentFileOps();
  const mode_t mode = oldStatus_ ? (oldStatus_->st_mode & 0777) : 0666;
  for (int attempt = 0; attempt < kNameAttempts && fd_ < 0; ++attempt) {
    const std::string candidate = directory + "." + base + std::string(kTemporaryMarker) + "-" + RandomSuffix();
    const int fd = ops.open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd < 0) {
      if (errno == EEXIST) continue;
      return Fail(ErrorText(errno));
    }
    // Between the open and the lock another writer's clean-up may take the
    // new file for a leftover and remove it: then try another name.
    struct stat created {};
    const bool locked = flock(fd, LOCK_EX | LOCK_NB) == 0 || (errno != EWOULDBLOCK && errno != EINTR);
    if (!locked || fstat(fd, &created) != 0 || created.st_nlink == 0) {
      ops.close(fd);
      continue;
    }
    fd_ = fd;
    temporaryPath_ = candidate;
  }
  if (fd_ < 0) return Fail(ErrorText(EEXIST));
  // A second descriptor of the same open file holds the lock after the
  // checked close, until the rename is done.
  lockFd_ = fcntl(fd_, F_DUPFD_CLOEXEC, 0);

  if (oldStatus_) {
    // The open applied the umask and made us the owner: give the new file
    // the old one's owner, group and mode. An owner outside the file's group
    // cannot keep the group, and the file stays theirs in a group of theirs;
    // a file of another owner would change hands, so it is not replaced.
    struct stat created {};
    if (fstat(fd_, &created) != 0) return Fail(ErrorText(errno));
    if ((created.st_uid != oldStatus_->st_uid || created.st_gid != oldStatus_->st_gid) &&
        fchown(fd_, oldStatus_->st_uid, oldStatus_->st_gid) != 0 && created.st_uid != oldStatus_->st_uid)
      return Fail("cannot keep the file's owner: " + ErrorText(errno));
    if (fchmod(fd_, oldStatus_->st_mode & 07777) != 0) return Fail("cannot keep the file's mode: " + ErrorText(errno));
  }
}

AtomicFileWriter::~AtomicFileWriter() {
  if (!committed_) Abandon();
}

void AtomicFileWriter::Fail(std::string reason) {
  if (!error_) error_ = std::move(reason);
  Abandon();
}

void AtomicFileWriter::Abandon() {
  const FileOps& ops = CurrentFileOps();
  if (fd_ >= 0) ops.close(fd_);
  fd_ = -1;
  // Removed while still locked, so no clean-up sees it half gone.
  if (!temporaryPath_.empty()) ops.unlink(temporaryPath_.c_str());
  temporaryPath_.clear();
  if (lockFd_ >= 0) ::close(lockFd_);
  lockFd_ = -1;
}

bool AtomicFileWriter::Write(std::string_view bytes) {
  if (error_) return false;
  const FileOps& ops = CurrentFileOps();
  while (!bytes.empty()) {
    const ssize_t written = ops.write(fd_, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written < 0) {
      Fail(ErrorText(errno));
      return false;
    }
    if (written == 0) {
      Fail("nothing could be written");
      return false;
    }
    bytes.remove_prefix(static_cast<size_t>(written));
  }
  return true;
}

std::optional<std::string> AtomicFileWriter::Commit() {
  if (error_ || committed_) return error_;
  const FileOps& ops = CurrentFileOps();
  if (ops.fsync(fd_) != 0) {
    Fail(ErrorText(errno));
    return error_;
  }
  const int fd = fd_;
  fd_ = -1;  // released by close even when close reports an error
  if (ops.close(fd) != 0) {
    Fail(ErrorText(errno));
    return error_;
  }
  if (ops.rename(temporaryPath_.c_str(), target_.c_str()) != 0) {
    Fail(ErrorText(errno));
    return error_;
  }
  committed_ = true;
  temporaryPath_.clear();
  if (lockFd_ >= 0) ::close(lockFd_);
  lockFd_ = -1;
  SyncDirectory(DirectoryOf(target_));
  return std::nullopt;
}

std::optional<std::string> WriteFileAtomically(const std::string& path, std::string_view bytes) {
  AtomicFileWriter writer(path);
  writer.Write(bytes);
  return writer.Commit();
}

}  // namespace tavimo::platform
