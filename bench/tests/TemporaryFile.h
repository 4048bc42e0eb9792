// A file name in the temporary directory that is this process's own, removed
// with the object, and the whole text of a file.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace ostrel::bench::testing {

class TemporaryFile {
 public:
  explicit TemporaryFile(const std::string& name)
      : path_((std::filesystem::temp_directory_path() /
               ("ostrel-bench-" + std::to_string(::getpid()) + "-" + name))
                  .string()) {}
  ~TemporaryFile() {
    std::error_code ignored;
    std::filesystem::remove(path_, ignored);
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  const char* path() const { return path_.c_str(); }

  std::string text() const {
    std::ifstream in(path_, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

 private:
  std::string path_;
};

}  // namespace ostrel::bench::testing
