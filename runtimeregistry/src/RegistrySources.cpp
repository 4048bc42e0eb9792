// The real environment and file system behind the registry reader.
#include <utility>

#include "ostrel/runtimeregistry/RuntimeRegistry.h"
#include "platform/Platform.h"

namespace ostrel::runtimeregistry {

namespace {

class ProcessEnvironment final : public IRegistryEnvironment {
 public:
  std::optional<std::string> Variable(const char* name) override {
    return platform::environmentVariable(name);
  }
  outcome::Outcome<std::filesystem::path> UserConfigFolder() override {
    return platform::userRuntimeConfigFolder();
  }
};

class DiskFiles final : public IRegistryFiles {
 public:
  FileRead Read(const std::filesystem::path& path, std::size_t limit) override {
    using platform::BoundedFile;
    BoundedFile file = platform::readBoundedFile(path, limit);
    FileRead result;
    switch (file.status) {
      case BoundedFile::Status::Read:
        result.status = FileRead::Status::Read;
        result.content = std::move(file.content);
        return result;
      case BoundedFile::Status::Missing:
        return result;
      case BoundedFile::Status::Folder:
        result.reason = "is a folder, not a file";
        break;
      case BoundedFile::Status::NotRegular:
        result.reason = "is not a regular file";
        break;
      case BoundedFile::Status::Unreadable:
        switch (file.step) {
          case BoundedFile::Step::Examine:
            result.reason = "cannot be examined: " + file.reason;
            break;
          case BoundedFile::Step::Open:
            result.reason = "cannot be opened: " + file.reason;
            break;
          case BoundedFile::Step::Read:
            result.reason = "could not be read to the end";
            break;
        }
        break;
    }
    result.status = FileRead::Status::Unreadable;
    return result;
  }

  bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b) override {
    return platform::sameExistingFile(a, b);
  }
};

}  // namespace

bool IRegistryFiles::SameFile(const std::filesystem::path&, const std::filesystem::path&) {
  return false;
}

std::unique_ptr<IRegistryEnvironment> createProcessEnvironment() {
  return std::make_unique<ProcessEnvironment>();
}

std::unique_ptr<IRegistryFiles> createDiskFiles() { return std::make_unique<DiskFiles>(); }

}  // namespace ostrel::runtimeregistry
