#include <filesystem>
#include <memory>
#include <string>
#include <system_error>
#include <unordered_map>

#include "ostrel/manifestcheck/ManifestCheck.h"
#include "platform/Platform.h"

namespace ostrel::manifestcheck {

namespace {

namespace fs = std::filesystem;

PathKind kindOf(fs::file_type type) {
  switch (type) {
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

bool hasDotComponents(const fs::path& path) {
  for (const fs::path& part : path) {
    if (part == "." || part == "..") return true;
  }
  return false;
}

// Where each path really leads is worked out one component at a time, and
// every folder's answer is kept: the programs of thousands of listed
// manifests (the doctor's) share most of their folders, so each costs about
// one lstat of its own folder and one of itself instead of one per
// component. What a probe learnt is kept for its lifetime, one check or one
// doctor run.
class DiskPathProbe final : public IPathProbe {
 public:
  PathKind Kind(const fs::path& path) override {
    // A path LinkTarget looked at that is no link: its kind is what the
    // lstat said.
    if (const auto known = kinds_.find(path.native()); known != kinds_.end()) return known->second;
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (error) return PathKind::Missing;
    return kindOf(status.type());
  }

  std::optional<fs::path> LinkTarget(const fs::path& path) override {
    if (!path.is_absolute() || hasDotComponents(path)) return platform::linkResolvedPath(path);
    const std::optional<fs::path> resolved = resolve(path);
    fs::path normal = path.lexically_normal();
    if (!normal.has_filename() && normal.has_relative_path()) normal = normal.parent_path();
    if (!resolved || *resolved == normal) return std::nullopt;
    return resolved;
  }

 private:
  // `path` (absolute, without "." or "..") with every link resolved; nullopt
  // when it does not exist or cannot be examined.
  std::optional<fs::path> resolve(const fs::path& path) {
    if (!path.has_relative_path()) return path;  // the root
    if (!path.has_filename()) return resolve(path.parent_path());
    if (const auto known = resolved_.find(path.native()); known != resolved_.end()) {
      return known->second;
    }
    std::optional<fs::path> result;
    if (const std::optional<fs::path> folder = resolve(path.parent_path())) {
      std::error_code error;
      const fs::file_status status = fs::symlink_status(path, error);
      if (!error && status.type() == fs::file_type::symlink) {
        fs::path target = fs::canonical(path, error);
        if (!error) result = std::move(target);
      } else if (!error && status.type() != fs::file_type::not_found) {
        result = *folder / path.filename();
        kinds_.emplace(path.native(), kindOf(status.type()));
      }
    }
    resolved_.emplace(path.native(), result);
    return result;
  }

  std::unordered_map<fs::path::string_type, std::optional<fs::path>> resolved_;
  std::unordered_map<fs::path::string_type, PathKind> kinds_;
};

}  // namespace

std::unique_ptr<IPathProbe> createDiskPathProbe() { return std::make_unique<DiskPathProbe>(); }

}  // namespace ostrel::manifestcheck
