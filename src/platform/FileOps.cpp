#include "platform/FileOps.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

namespace tavimo::platform {
namespace {

int SystemOpen(const char* path, int flags, mode_t mode) { return ::open(path, flags, mode); }
ssize_t SystemWrite(int fd, const void* data, size_t size) { return ::write(fd, data, size); }
int SystemFsync(int fd) { return ::fsync(fd); }
int SystemClose(int fd) { return ::close(fd); }
int SystemRename(const char* from, const char* to) { return std::rename(from, to); }
int SystemUnlink(const char* path) { return ::unlink(path); }

const FileOps kSystemFileOps{SystemOpen, SystemWrite, SystemFsync, SystemClose, SystemRename, SystemUnlink};
const FileOps* currentFileOps = &kSystemFileOps;

}  // namespace

const FileOps& SystemFileOps() { return kSystemFileOps; }
const FileOps& CurrentFileOps() { return *currentFileOps; }
void SetFileOps(const FileOps* ops) { currentFileOps = ops != nullptr ? ops : &kSystemFileOps; }

}  // namespace tavimo::platform
