#pragma once
// The file-system calls the profile writer makes, behind a table of function
// pointers so a test can make any one of them fail (a full disk, a refused
// rename) and check that the old file survives.

#include <sys/types.h>

#include <cstddef>

namespace tavimo::platform {

struct FileOps {
  int (*open)(const char* path, int flags, mode_t mode);
  ssize_t (*write)(int fd, const void* data, size_t size);
  int (*fsync)(int fd);
  int (*close)(int fd);
  int (*rename)(const char* from, const char* to);
  int (*unlink)(const char* path);
};

// The real calls.
const FileOps& SystemFileOps();
// The table the writer uses now.
const FileOps& CurrentFileOps();
// Replaces the table; nullptr restores the real calls. The table must
// outlive its use.
void SetFileOps(const FileOps* ops);

}  // namespace tavimo::platform
