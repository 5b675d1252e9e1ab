#include "platform/DescriptorBuffer.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

namespace tavimo::platform {

DescriptorBuffer::DescriptorBuffer(int descriptor, Direction direction, std::size_t block)
    : descriptor_(descriptor), direction_(direction), block_(block) {
  if (direction_ == Direction::Read) setg(block_.data(), block_.data(), block_.data());
  else setp(block_.data(), block_.data() + block_.size());
}

// What is still buffered goes out; a failure then has no one left to tell.
DescriptorBuffer::~DescriptorBuffer() {
  if (direction_ == Direction::Write) WritePending();
}

DescriptorBuffer::int_type DescriptorBuffer::underflow() {
  if (direction_ != Direction::Read || error_ != 0) return traits_type::eof();
  if (gptr() < egptr()) return traits_type::to_int_type(*gptr());
  for (;;) {
    const ssize_t got = ::read(descriptor_, block_.data(), block_.size());
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      error_ = errno;
      throw std::system_error(error_, std::generic_category());
    }
    if (got == 0) return traits_type::eof();
    setg(block_.data(), block_.data(), block_.data() + got);
    return traits_type::to_int_type(*gptr());
  }
}

std::streamsize DescriptorBuffer::showmanyc() {
  if (direction_ != Direction::Read || error_ != 0) return 0;
  // Regular files and pipes both answer; a terminal or device that does not is "unknown".
  int ready = 0;
  if (::ioctl(descriptor_, FIONREAD, &ready) != 0 || ready < 0) return 0;
  return ready;
}

bool DescriptorBuffer::WriteAll(const char* data, std::size_t size) {
  if (error_ != 0) return false;
  while (size > 0) {
    const ssize_t written = ::write(descriptor_, data, size);
    if (written < 0 && errno == EINTR) continue;
    if (written < 0) {
      error_ = errno;
      return false;
    }
    data += written;
    size -= static_cast<std::size_t>(written);
  }
  return true;
}

bool DescriptorBuffer::WritePending() {
  if (!WriteAll(pbase(), static_cast<std::size_t>(pptr() - pbase()))) return false;
  setp(block_.data(), block_.data() + block_.size());
  return true;
}

std::streamsize DescriptorBuffer::xsputn(const char* data, std::streamsize count) {
  if (direction_ != Direction::Write) return 0;
  if (static_cast<std::size_t>(count) < block_.size()) return std::streambuf::xsputn(data, count);
  if (!WritePending() || !WriteAll(data, static_cast<std::size_t>(count))) return 0;
  return count;
}

DescriptorBuffer::int_type DescriptorBuffer::overflow(int_type c) {
  if (direction_ != Direction::Write || !WritePending()) return traits_type::eof();
  if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
  *pptr() = traits_type::to_char_type(c);
  pbump(1);
  return c;
}

int DescriptorBuffer::sync() {
  if (direction_ == Direction::Read) return 0;
  return WritePending() ? 0 : -1;
}

}  // namespace tavimo::platform
