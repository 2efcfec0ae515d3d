#include "io/atomic_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
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

namespace {

constexpr const char* temp_marker = ".ollan-tmp-";
constexpr std::size_t temp_suffix = 6;  // mkstemp's XXXXXX

std::string folder_of(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string name_of(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The file a chain of symbolic links ends at (which need not exist yet):
// saving through a link updates that file and keeps the link.
bool follow_links(std::string* path, std::string* error) {
  for (int hops = 0; hops < 40; ++hops) {
    struct stat st {};
    if (lstat(path->c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return true;
    std::string link(4096, '\0');
    const ssize_t n = readlink(path->c_str(), link.data(), link.size());
    if (n < 0 || std::size_t(n) >= link.size()) {
      *error = "cannot follow the link " + *path + ": " + std::strerror(n < 0 ? errno : ENAMETOOLONG);
      return false;
    }
    link.resize(std::size_t(n));
    *path = link[0] == '/' ? link : folder_of(*path) + "/" + link;
  }
  *error = "cannot follow the link " + *path + ": " + std::strerror(ELOOP);
  return false;
}

// Removes what killed saves of `name` left in `folder`: files named as this
// class names its temporaries, owned by this user and locked by no save
// still running. Nothing else is touched.
void remove_stale_temporaries(const std::string& folder, const std::string& name) {
  const std::string prefix = "." + name + temp_marker;
  DIR* dir = opendir(folder.c_str());
  if (!dir) return;
  const int dfd = dirfd(dir);
  while (const dirent* e = readdir(dir)) {
    const std::string entry = e->d_name;
    if (entry.size() != prefix.size() + temp_suffix || entry.compare(0, prefix.size(), prefix) != 0) continue;
    struct stat st {};
    if (fstatat(dfd, e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode) || st.st_uid != getuid())
      continue;
    const int fd = openat(dfd, e->d_name, O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) continue;
    if (flock(fd, LOCK_EX | LOCK_NB) == 0) unlinkat(dfd, e->d_name, 0);
    close(fd);
  }
  closedir(dir);
}

}  // namespace

AtomicFile::AtomicFile(std::string target) : target_(std::move(target)) {
  std::string why;
  if (!follow_links(&target_, &why)) {
    fail(why);
    return;
  }
  const std::string folder = folder_of(target_), name = name_of(target_);
  remove_stale_temporaries(folder, name);
  std::string pattern = folder + "/." + name + temp_marker + "XXXXXX";
  const int fd = mkostemp(pattern.data(), O_CLOEXEC);
  if (fd < 0) {
    fail("cannot create a file next to " + target_ + ": " + std::strerror(errno));
    return;
  }
  temp_ = pattern;
  // The lock marks the temporary as in use until this save ends; a killed
  // save's lock goes with its process.
  flock(fd, LOCK_EX | LOCK_NB);
  // A replaced file keeps its permissions (and owner, where allowed); a new
  // one gets the usual permissions rather than mkstemp's private ones.
  struct stat st {};
  if (stat(target_.c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
    // Without the right to give the file to its owner it stays this user's,
    // and then without set-id bits.
    const bool same_owner = fchown(fd, st.st_uid, st.st_gid) == 0;
    fchmod(fd, st.st_mode & (same_owner ? 07777 : 0777));
  } else {
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0666 & ~mask);
  }
  file_ = fdopen(fd, "wb");
  if (!file_) {
    close(fd);
    unlink(temp_.c_str());
    fail(std::string("cannot write: ") + std::strerror(errno));
  }
}

AtomicFile::~AtomicFile() {
  if (!committed_ && !temp_.empty()) unlink(temp_.c_str());
  if (file_) std::fclose(file_);
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
  if (error_.empty() && std::fflush(file_) != 0) fail("cannot write " + target_ + ": " + std::strerror(errno));
  if (error_.empty() && fsync(fileno(file_)) != 0) fail("cannot write " + target_ + ": " + std::strerror(errno));
  // The temporary stays open, and so locked, until it has its final name.
  if (error_.empty() && std::rename(temp_.c_str(), target_.c_str()) != 0)
    fail("cannot replace " + target_ + ": " + std::strerror(errno));
  if (error_.empty()) {
    committed_ = true;
    // The rename itself reaches the disk only with its folder.
    const int dir = open(folder_of(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
      fsync(dir);
      close(dir);
    }
  } else {
    unlink(temp_.c_str());
  }
  if (std::fclose(file_) != 0 && error_.empty()) fail("cannot write " + target_ + ": " + std::strerror(errno));
  file_ = nullptr;
  if (!error_.empty()) return Error{error_};
  return {};
}

Result<std::vector<uint8_t>> read_file(const std::string& path, std::size_t max_size) {
  // The kind is checked before opening: opening a FIFO would wait for a writer.
  struct stat st {};
  if (stat(path.c_str(), &st) != 0) {
    return Error{"cannot open " + path + ": " + std::strerror(errno)};
  }
  if (S_ISDIR(st.st_mode)) {
    return Error{path + " is a folder, not a file"};
  }
  if (!S_ISREG(st.st_mode)) {
    return Error{path + " is not a regular file"};
  }
  // Non-blocking, should the name have been swapped for a FIFO meanwhile.
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    return Error{"cannot open " + path + ": " + std::strerror(errno)};
  }
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    close(fd);
    return Error{path + " is not a regular file"};
  }
  if (std::uint64_t(st.st_size) > max_size) {
    close(fd);
    return Error{path + " is too large"};
  }
  std::vector<uint8_t> bytes(std::size_t(st.st_size));
  std::size_t got = 0;
  while (got < bytes.size()) {
    const ssize_t n = read(fd, bytes.data() + got, bytes.size() - got);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    got += std::size_t(n);
  }
  close(fd);
  if (got != bytes.size()) {
    return Error{"cannot read " + path};
  }
  return bytes;
}

}  // namespace io
