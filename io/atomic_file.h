#pragma once
// Writing a file so that it is either complete or untouched: the bytes go to a
// temporary file in the target's folder, which replaces the target by rename
// only when every byte was written and flushed to disk. Whatever fails, the
// previous file stays as it was. The temporary is named ".NAME.ollan-tmp-XXXXXX"
// so that the next save of NAME can remove what a killed save left behind. A
// target that is a symbolic link is written through to the file it names,
// and a replaced file keeps its permissions.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "base/result.h"

namespace io {

// Where a writer puts its bytes.
class Output {
 public:
  virtual ~Output() = default;
  // False once anything failed; later writes are ignored.
  virtual bool write(const void* data, std::size_t size) = 0;
  // Why a write failed, with the system's reason; empty while none did.
  virtual std::string error() const { return {}; }
};

class MemoryOutput : public Output {
 public:
  bool write(const void* data, std::size_t size) override;
  std::vector<uint8_t> bytes;
};

class AtomicFile : public Output {
 public:
  explicit AtomicFile(std::string target);
  ~AtomicFile() override;  // removes the temporary file unless committed
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;

  // False when the temporary file could not be created (see error()).
  bool is_open() const { return file_ != nullptr; }
  bool write(const void* data, std::size_t size) override;
  // Flushes, syncs and renames the temporary file over the target. An error
  // when anything on the way failed; the target is then unchanged.
  Result<void> commit();
  std::string error() const override { return error_; }

 private:
  void fail(const std::string& what);

  std::string target_, temp_;
  std::FILE* file_ = nullptr;
  std::string error_;
  bool committed_ = false;
};

// Reads a whole file; an error when it cannot be opened or read, is not a
// regular file, or is larger than `max_size` bytes.
Result<std::vector<uint8_t>> read_file(const std::string& path, std::size_t max_size = std::size_t(1) << 34);

}  // namespace io
