// Reading a small file whole, with a cap, on Windows: through the standard
// library, whose streams open it by its UTF-16 name.
#include <algorithm>
#include <array>
#include <cerrno>
#include <fstream>
#include <system_error>

#include "platform/Platform.h"

namespace ostrel::platform {

namespace {

// errno after a failed open or read is the only reason the C++ streams leave
// behind; both C runtimes the project targets set it.
std::string reasonFromErrno(int error) {
  if (error == 0) return "reason unknown";
  return std::generic_category().message(error);
}

}  // namespace

BoundedFile readBoundedFile(const std::filesystem::path& path, std::size_t limit) {
  namespace fs = std::filesystem;
  BoundedFile file;
  std::error_code error;
  const fs::file_status status = fs::status(path, error);
  if (status.type() == fs::file_type::not_found) return file;
  if (error) {
    file.status = BoundedFile::Status::Unreadable;
    file.reason = error.message();
    return file;
  }
  if (status.type() == fs::file_type::directory) {
    file.status = BoundedFile::Status::Folder;
    return file;
  }
  if (status.type() != fs::file_type::regular) {
    file.status = BoundedFile::Status::NotRegular;
    return file;
  }

  errno = 0;
  std::ifstream in(path, std::ios::binary);
  if (!in.is_open()) {
    file.status = BoundedFile::Status::Unreadable;
    file.step = BoundedFile::Step::Open;
    file.reason = reasonFromErrno(errno);
    return file;
  }
  // In pieces, so that a file of a few hundred bytes costs a few hundred
  // bytes and not the whole limit, zeroed.
  std::array<char, 16384> piece{};
  const std::size_t wanted = limit + 1;
  while (file.content.size() < wanted && in) {
    const std::size_t ask = std::min(piece.size(), wanted - file.content.size());
    in.read(piece.data(), static_cast<std::streamsize>(ask));
    file.content.append(piece.data(), static_cast<std::size_t>(in.gcount()));
  }
  if (in.bad()) {
    file.status = BoundedFile::Status::Unreadable;
    file.step = BoundedFile::Step::Read;
    file.reason = reasonFromErrno(errno);
    file.content.clear();
    return file;
  }
  file.status = BoundedFile::Status::Read;
  return file;
}

}  // namespace ostrel::platform
