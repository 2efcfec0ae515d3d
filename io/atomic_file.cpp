#include "io/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace io {

bool MemoryOutput::write(const void* data, std::size_t size) {
  const auto* p = static_cast<const uint8_t*>(data);
  bytes.insert(bytes.end(), p, p + size);
  return true;
}

AtomicFile::AtomicFile(std::string target) : target_(std::move(target)) {
  std::string pattern = target_ + ".tmp-XXXXXX";
  int fd = mkstemp(pattern.data());
  if (fd < 0) {
    fail("cannot create a file next to " + target_ + ": " + std::strerror(errno));
    return;
  }
  temp_ = pattern;
  // mkstemp makes the file private; a saved painting gets the usual permissions.
  mode_t mask = umask(0);
  umask(mask);
  fchmod(fd, 0666 & ~mask);
  file_ = fdopen(fd, "wb");
  if (!file_) {
    close(fd);
    unlink(temp_.c_str());
    fail(std::string("cannot write: ") + std::strerror(errno));
  }
}

AtomicFile::~AtomicFile() {
  if (file_) std::fclose(file_);
  if (!committed_ && !temp_.empty()) unlink(temp_.c_str());
}

void AtomicFile::fail(const std::string& what) {
  if (error_.empty()) error_ = what;
}

bool AtomicFile::write(const void* data, std::size_t size) {
  if (!file_ || !error_.empty()) return false;
  if (size && std::fwrite(data, 1, size, file_) != size) {
    fail(std::string("cannot write ") + target_ + ": " + std::strerror(errno));
    return false;
  }
  return true;
}

Result<void> AtomicFile::commit() {
  if (!file_) {
    fail("the file was not open");
    return Error{error_};
  }
  if (error_.empty() && std::fflush(file_) != 0) fail(std::string("cannot write: ") + std::strerror(errno));
  if (error_.empty() && fsync(fileno(file_)) != 0) fail(std::string("cannot write: ") + std::strerror(errno));
  if (std::fclose(file_) != 0) fail(std::string("cannot write: ") + std::strerror(errno));
  file_ = nullptr;
  if (!error_.empty()) return Error{error_};
  if (std::rename(temp_.c_str(), target_.c_str()) != 0) {
    fail("cannot replace " + target_ + ": " + std::strerror(errno));
    return Error{error_};
  }
  committed_ = true;
  return {};
}

Result<std::vector<uint8_t>> read_file(const std::string& path, std::size_t max_size) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return Error{"cannot open " + path + ": " + std::strerror(errno)};
  struct stat st {};
  if (fstat(fileno(f), &st) != 0 || !S_ISREG(st.st_mode)) {
    std::fclose(f);
    return Error{path + " is not a file"};
  }
  if (std::size_t(st.st_size) > max_size) {
    std::fclose(f);
    return Error{path + " is too large"};
  }
  std::vector<uint8_t> bytes(std::size_t(st.st_size));
  std::size_t got = bytes.empty() ? 0 : std::fread(bytes.data(), 1, bytes.size(), f);
  bool bad = std::ferror(f);
  std::fclose(f);
  if (bad || got != bytes.size()) return Error{"cannot read " + path};
  return bytes;
}

}  // namespace io
