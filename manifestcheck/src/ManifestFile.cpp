#include "ManifestFile.h"

#include <utility>

#include "DisplayText.h"
#include "platform/Platform.h"
#include "ostrel/manifestcheck/FindingCodes.h"

namespace ostrel::manifestcheck {

std::optional<std::string> readManifestFile(const std::filesystem::path& file,
                                            FindingList& findings) {
  using platform::BoundedFile;
  BoundedFile read = platform::readBoundedFile(file, kManifestSizeLimit);
  switch (read.status) {
    case BoundedFile::Status::Read:
      return std::move(read.content);
    case BoundedFile::Status::Missing:
      findings.error(findings::kFileMissing, "there is no file at " + quotePath(file) +
                                         ": check the path, or install the manifest first");
      break;
    case BoundedFile::Status::Folder:
      findings.error(findings::kFileNotRegular, quotePath(file) +
                                             " is a folder, not a manifest: name the .vrmanifest "
                                             "file inside it");
      break;
    case BoundedFile::Status::NotRegular:
      findings.error(findings::kFileNotRegular, quotePath(file) +
                                             " is not a regular file (a device, pipe or socket): "
                                             "name the .vrmanifest file itself");
      break;
    case BoundedFile::Status::Unreadable:
      switch (read.step) {
        case BoundedFile::Step::Examine:
          findings.error(findings::kFileUnreadable, quotePath(file) + " cannot be examined (" +
                                                read.reason +
                                                "): check the path and its permissions");
          break;
        case BoundedFile::Step::Open:
          findings.error(findings::kFileUnreadable, quotePath(file) + " cannot be opened (" + read.reason +
                                                "): check its permissions and that no other "
                                                "program holds it locked");
          break;
        case BoundedFile::Step::Read:
          findings.error(findings::kFileUnreadable, quotePath(file) + " could not be read to the end (" +
                                                read.reason + "): check the disk");
          break;
      }
      break;
  }
  return std::nullopt;
}

}  // namespace ostrel::manifestcheck
