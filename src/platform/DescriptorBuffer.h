#pragma once
// A stream buffer over a file descriptor with a large block, for batch input
// and output and the price files: tens of millions of rows pass through it,
// so it reads and writes in big blocks and never flushes per line. Failures
// are remembered with their errno; a failed read also raises, so that the
// stream over it turns bad instead of seeing an end of input.

#include <cstddef>
#include <streambuf>
#include <vector>

namespace tavimo::platform {

class DescriptorBuffer : public std::streambuf {
 public:
  enum class Direction { Read, Write };
  static constexpr std::size_t kDefaultBlock = std::size_t{1} << 20;

  // Does not take ownership of the descriptor.
  DescriptorBuffer(int descriptor, Direction direction, std::size_t block = kDefaultBlock);
  ~DescriptorBuffer() override;
  DescriptorBuffer(const DescriptorBuffer&) = delete;
  DescriptorBuffer& operator=(const DescriptorBuffer&) = delete;

  // The errno of the first failed read or write, 0 while none failed.
  int Error() const { return error_; }

 protected:
  // Raises std::system_error when the read fails.
  int_type underflow() override;
  // The bytes the descriptor can hand over without waiting, 0 when unknown.
  std::streamsize showmanyc() override;
  int_type overflow(int_type c) override;
  // A block as large as the buffer goes out directly, without a copy.
  std::streamsize xsputn(const char* data, std::streamsize count) override;
  int sync() override;

 private:
  bool WritePending();
  bool WriteAll(const char* data, std::size_t size);

  int descriptor_;
  Direction direction_;
  std::vector<char> block_;
  int error_ = 0;
};

}  // namespace tavimo::platform
