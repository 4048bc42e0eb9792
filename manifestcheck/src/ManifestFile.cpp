#include "ManifestFile.h"

#include <utility>

#include "DisplayText.h"
#include "platform/Platform.h"

namespace ostrel::manifestcheck {

std::optional<std::string> readManifestFile(const std::filesystem::path& file,
                                            FindingList& findings) {
  using platform::BoundedFile;
  BoundedFile read = platform::readBoundedFile(file, kManifestSizeLimit);
  switch (read.status) {
    case BoundedFile::Status::Read:
      return std::move(read.content);
    case BoundedFile::Status::Missing:
      findings.error("file-missing", "there is no file at " + quotePath(file) +
                                         ": check the path, or install the manifest first");
      break;
    case BoundedFile::Status::Folder:
      findings.error("file-not-regular", quotePath(file) +
                                             " is a folder, not a manifest: name the .vrmanifest "
                                             "file inside it");
      break;
    case BoundedFile::Status::NotRegular:
      findings.error("file-not-regular", quotePath(file) +
                                             " is not a regular file (a device, pipe or socket): "
                                             "name the .vrmanifest file itself");
      break;
    case BoundedFile::Status::Unreadable:
      switch (read.step) {
        case BoundedFile::Step::Examine:
          findings.error("file-unreadable", quotePath(file) + " cannot be examined (" +
                                                read.reason +
                                                "): check the path and its permissions");
          break;
        case BoundedFile::Step::Open:
          findings.error("file-unreadable", quotePath(file) + " cannot be opened (" + read.reason +
                                                "): check its permissions and that no other "
                                                "program holds it locked");
          break;
        case BoundedFile::Step::Read:
          findings.error("file-unreadable", quotePath(file) + " could not be read to the end (" +
                                                read.reason + "): check the disk");
          break;
      }
      break;
  }
  return std::nullopt;
}

}  // namespace ostrel::manifestcheck
