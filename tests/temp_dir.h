#pragma once
// The one folder a test process writes its files into: made on first use
// under the system's temporary folder ($TMPDIR), removed with everything in
// it when the process ends, so that no run leaves files behind.
#include <stdlib.h>

#include <filesystem>
#include <string>

// The folder, ending without a slash.
const std::string& test_dir();

// `name` inside test_dir().
std::string test_file(const std::string& name);

// A test's own folder inside test_dir(), removed with everything in it when
// the test is done.
class TempDir {
 public:
  TempDir() {
    std::string pattern = test_file("files-XXXXXX");
    path_ = mkdtemp(pattern.data());
  }
  ~TempDir() { std::filesystem::remove_all(path_); }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  std::string operator/(const std::string& name) const { return (path_ / name).string(); }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};
