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
        result.notRegular = true;
        break;
      case BoundedFile::Status::NotRegular:
        result.reason = "is not a regular file";
        result.notRegular = true;
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

  std::optional<std::vector<std::string>> FileNames(const std::filesystem::path& folder,
                                                    std::size_t limit) override {
    namespace fs = std::filesystem;
    std::error_code error;
    fs::directory_iterator entry(folder, error);
    if (error) return std::nullopt;
    std::vector<std::string> names;
    for (; entry != fs::directory_iterator() && names.size() < limit; entry.increment(error)) {
      if (entry->is_regular_file(error)) {
        names.push_back(platform::pathToUtf8(entry->path().filename()));
      }
    }
    if (error) return std::nullopt;
    return names;
  }
};

}  // namespace

bool IRegistryFiles::SameFile(const std::filesystem::path&, const std::filesystem::path&) {
  return false;
}

std::optional<std::vector<std::string>> IRegistryFiles::FileNames(const std::filesystem::path&,
                                                                  std::size_t) {
  return std::nullopt;
}

std::unique_ptr<IRegistryEnvironment> createProcessEnvironment() {
  return std::make_unique<ProcessEnvironment>();
}

std::unique_ptr<IRegistryFiles> createDiskFiles() { return std::make_unique<DiskFiles>(); }

}  // namespace ostrel::runtimeregistry
