#pragma once
// Replacing a whole file so that a reader sees the old bytes or the new ones,
// never a mixture, and a failed or killed write leaves the old file as it was.
// The settings file and the chart pictures are written this way.

#include <sys/stat.h>

#include <optional>
#include <string>
#include <string_view>

namespace tavimo::platform {

// Writes new content into a temporary file beside the target and renames it
// over the target on Commit. The target is the path with its symbolic links
// followed, so a link stays a link. Refused from the start: a target that is
// not a regular file, one without any write permission bit (even for the
// superuser: a read-only file is how a user protects it) and one the caller
// may not write. A replaced file keeps its owner and mode, or the write is
// refused; it keeps its group too, unless its owner writes it from outside
// that group: then the group is the owner's. Every write, the flush, the close and the rename are
// checked (through FileOps); on any failure, or when the writer is destroyed
// without a Commit, the temporary file is removed and the target is untouched.
//
// Temporary files are named ".<name>.tmp-<random>" and stay locked (flock)
// while their writer lives; a new writer removes the ones nobody holds, which
// are the leftovers of killed writes.
class AtomicFileWriter {
 public:
  explicit AtomicFileWriter(const std::string& path);
  ~AtomicFileWriter();
  AtomicFileWriter(const AtomicFileWriter&) = delete;
  AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

  // The file being replaced (empty when the path's links could not be followed).
  const std::string& Target() const { return target_; }
  // The target's status when the writer started, when it existed.
  const std::optional<struct stat>& OldStatus() const { return oldStatus_; }

  // Appends bytes to the new content; false once anything has failed.
  bool Write(std::string_view bytes);
  // Makes the new content the target's: nullopt on success, else why not.
  std::optional<std::string> Commit();
  // Why the write cannot succeed any more, if it cannot.
  const std::optional<std::string>& Error() const { return error_; }

 private:
  void Start(const std::string& path);
  void Fail(std::string reason);
  void Abandon();

  std::string target_;
  std::string temporaryPath_;
  std::optional<struct stat> oldStatus_;
  std::optional<std::string> error_;
  int fd_ = -1;      // the temporary file, written through FileOps
  int lockFd_ = -1;  // the same open file, keeping its lock until the end
  bool committed_ = false;
};

// The whole of bytes as the file at path, by AtomicFileWriter's rules:
// nullopt on success, else the reason (such as "No space left on device").
std::optional<std::string> WriteFileAtomically(const std::string& path, std::string_view bytes);

}  // namespace tavimo::platform
