// A folder of the test's own under the system's temporary folder, removed
// with everything in it when the object goes. ctest runs test cases as
// parallel processes, natively and under Wine, so the name is made unique
// per object, not per test name.
#pragma once

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <string_view>
#include <system_error>

namespace ostrel::testing {

class ScratchFolder {
 public:
  // `prefix` starts the folder's name, e.g. a non-ASCII one to prove that a
  // path survives the platform's conversions. On failure path() is empty
  // and error() says why.
  explicit ScratchFolder(const std::filesystem::path& prefix = "ostrel-test-") {
    static std::atomic<unsigned> counter{0};
    std::error_code failure;
    const std::filesystem::path temporary = std::filesystem::temp_directory_path(failure);
    if (failure) {
      error_ = "no temporary folder: " + failure.message();
      return;
    }
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    const std::string unique = std::to_string(std::random_device{}()) + "-" +
                               std::to_string(stamp) + "-" + std::to_string(counter++);
    std::filesystem::path candidate = temporary / prefix;
    candidate += unique;
    if (!std::filesystem::create_directories(candidate, failure)) {
      const std::u8string name = candidate.u8string();
      error_ = "cannot create " + std::string(name.begin(), name.end()) + ": " +
               (failure ? failure.message() : std::string("it already exists"));
      return;
    }
    path_ = std::move(candidate);
  }
  ~ScratchFolder() {
    if (path_.empty()) return;
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  const std::string& error() const { return error_; }

  // Writes `bytes` to `relative` under the folder (folders made as needed)
  // and returns the file's path.
  std::filesystem::path write(const std::filesystem::path& relative, std::string_view bytes) const {
    const std::filesystem::path file = path_ / relative;
    std::error_code ignored;
    std::filesystem::create_directories(file.parent_path(), ignored);
    std::ofstream out(file, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return file;
  }

  // The whole of the file `relative` under the folder; empty when it cannot
  // be read.
  std::string read(const std::filesystem::path& relative) const {
    std::ifstream in(path_ / relative, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

 private:
  std::filesystem::path path_;
  std::string error_;
};

}  // namespace ostrel::testing
