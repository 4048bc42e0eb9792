#include "ManifestFile.h"

#include <cerrno>
#include <fstream>
#include <system_error>

#include "DisplayText.h"

namespace ostrel::steamvr::manifestcheck {

namespace {

// errno after a failed open is the only reason the C++ streams leave behind;
// both C runtimes the project targets set it.
std::string reasonFromErrno(int error) {
  if (error == 0) return "reason unknown";
  return std::generic_category().message(error);
}

}  // namespace

std::optional<std::string> readManifestFile(const std::filesystem::path& file,
                                            FindingList& findings) {
  namespace fs = std::filesystem;
  std::error_code error;
  const fs::file_status status = fs::status(file, error);
  if (status.type() == fs::file_type::not_found) {
    findings.error("file-missing", "there is no file at " + quotePath(file) +
                                       ": check the path, or install the manifest first");
    return std::nullopt;
  }
  if (error) {
    findings.error("file-unreadable", quotePath(file) + " cannot be examined (" + error.message() +
                                          "): check the path and its permissions");
    return std::nullopt;
  }
  if (status.type() == fs::file_type::directory) {
    findings.error("file-not-regular", quotePath(file) +
                                           " is a folder, not a manifest: name the .vrmanifest "
                                           "file inside it");
    return std::nullopt;
  }
  if (status.type() != fs::file_type::regular) {
    findings.error("file-not-regular", quotePath(file) +
                                           " is not a regular file (a device, pipe or socket): "
                                           "name the .vrmanifest file itself");
    return std::nullopt;
  }

  errno = 0;
  std::ifstream in(file, std::ios::binary);
  if (!in.is_open()) {
    findings.error("file-unreadable", quotePath(file) + " cannot be opened (" +
                                          reasonFromErrno(errno) +
                                          "): check its permissions and that no other program "
                                          "holds it locked");
    return std::nullopt;
  }
  std::string content(kManifestSizeLimit + 1, '\0');
  in.read(content.data(), static_cast<std::streamsize>(content.size()));
  if (in.bad()) {
    findings.error("file-unreadable", quotePath(file) + " could not be read to the end (" +
                                          reasonFromErrno(errno) + "): check the disk");
    return std::nullopt;
  }
  content.resize(static_cast<std::size_t>(in.gcount()));
  return content;
}

}  // namespace ostrel::steamvr::manifestcheck
