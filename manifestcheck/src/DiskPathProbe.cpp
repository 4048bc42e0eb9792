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

bool isSeparator(fs::path::value_type c) {
  return c == '/' || c == static_cast<fs::path::value_type>(fs::path::preferred_separator);
}

// Whether a component of the path is "." or "..", or two separators meet or
// end it: then its normal form is not its text. Read off the text, since
// splitting a path into components allocates for each.
bool needsNormalizing(const fs::path::string_type& text) {
  std::size_t start = 0;
  for (std::size_t i = 0; i <= text.size(); ++i) {
    if (i < text.size() && !isSeparator(text[i])) continue;
    const std::size_t length = i - start;
    if (i > 0 && i < text.size() && length == 0) return true;  // two separators
    if (length == 1 && text[start] == '.') return true;
    if (length == 2 && text[start] == '.' && text[start + 1] == '.') return true;
    start = i + 1;
  }
  return !text.empty() && isSeparator(text.back()) && text.size() > 1;
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
    if (!path.is_absolute() || needsNormalizing(path.native())) {
      return platform::linkResolvedPath(path);
    }
    std::optional<fs::path> resolved = resolve(path);
    if (!resolved || resolved->native() == path.native() || *resolved == path) return std::nullopt;
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
