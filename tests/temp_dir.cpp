#include "tests/temp_dir.h"

#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <vector>

namespace {

class TestDir {
 public:
  TestDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "ollan-test-XXXXXX").string();
    std::vector<char> buf(pattern.begin(), pattern.end());
    buf.push_back('\0');
    if (!mkdtemp(buf.data())) {
      std::perror("ollan tests: no temporary folder");
      std::abort();
    }
    path_ = buf.data();
  }
  ~TestDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

}  // namespace

const std::string& test_dir() {
  static const TestDir dir;
  return dir.path();
}

std::string test_file(const std::string& name) {
  return test_dir() + "/" + name;
}
