#include <filesystem>
#include <memory>
#include <system_error>

#include "ostrel/manifestcheck/ManifestCheck.h"
#include "platform/Platform.h"

namespace ostrel::manifestcheck {

namespace {

class DiskPathProbe final : public IPathProbe {
 public:
  PathKind Kind(const std::filesystem::path& path) override {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (error) return PathKind::Missing;
    switch (status.type()) {
      case fs::file_type::regular:
        return PathKind::RegularFile;
      case fs::file_type::directory:
        return PathKind::Directory;
      case fs::file_type::not_found:
      case fs::file_type::none:
        return PathKind::Missing;
      default:
        return PathKind::Other;
    }
  }

  std::optional<std::filesystem::path> LinkTarget(const std::filesystem::path& path) override {
    return platform::linkResolvedPath(path);
  }
};

}  // namespace

std::unique_ptr<IPathProbe> createDiskPathProbe() { return std::make_unique<DiskPathProbe>(); }

}  // namespace ostrel::manifestcheck
