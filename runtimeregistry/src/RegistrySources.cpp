// The real environment and file system behind the registry reader.
#include <cerrno>
#include <fstream>
#include <system_error>

#include "ostrel/steamvr/RuntimeRegistry.h"
#include "platform/Platform.h"

namespace ostrel::steamvr {

namespace {

class ProcessEnvironment final : public IRegistryEnvironment {
 public:
  std::optional<std::string> Variable(const char* name) override {
    return platform::environmentVariable(name);
  }
  std::filesystem::path UserConfigFolder(std::string& error) override {
    return platform::userRuntimeConfigFolder(error);
  }
};

class DiskFiles final : public IRegistryFiles {
 public:
  FileRead Read(const std::filesystem::path& path, std::size_t limit) override {
    namespace fs = std::filesystem;
    FileRead result;
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (status.type() == fs::file_type::not_found) return result;
    result.status = FileRead::Status::Unreadable;
    if (error) {
      result.reason = "cannot be examined: " + error.message();
      return result;
    }
    if (status.type() != fs::file_type::regular) {
      // A FIFO or a device could block for ever.
      result.reason = status.type() == fs::file_type::directory ? "is a folder, not a file"
                                                                : "is not a regular file";
      return result;
    }
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in.is_open()) {
      result.reason = "cannot be opened: " + std::generic_category().message(errno);
      return result;
    }
    result.content.resize(limit + 1);
    in.read(result.content.data(), static_cast<std::streamsize>(result.content.size()));
    if (in.bad()) {
      result.reason = "could not be read to the end";
      result.content.clear();
      return result;
    }
    result.content.resize(static_cast<std::size_t>(in.gcount()));
    result.status = FileRead::Status::Read;
    return result;
  }
};

}  // namespace

std::unique_ptr<IRegistryEnvironment> createProcessEnvironment() {
  return std::make_unique<ProcessEnvironment>();
}

std::unique_ptr<IRegistryFiles> createDiskFiles() { return std::make_unique<DiskFiles>(); }

}  // namespace ostrel::steamvr
