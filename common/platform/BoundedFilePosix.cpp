// Reading a small file whole, with a cap, on POSIX: the system calls
// themselves, since a reader of the runtime's registry reads thousands of
// these files and each system call counts. One stat, one open, as few reads
// as the file needs, one close.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <system_error>

#include "platform/Platform.h"

namespace ostrel::platform {

namespace {

std::string reasonFromErrno(int error) {
  if (error == 0) return "reason unknown";
  return std::generic_category().message(error);
}

BoundedFile unreadable(BoundedFile::Step step, int error) {
  BoundedFile file;
  file.status = BoundedFile::Status::Unreadable;
  file.step = step;
  file.reason = reasonFromErrno(error);
  return file;
}

}  // namespace

BoundedFile readBoundedFile(const std::filesystem::path& path, std::size_t limit) {
  BoundedFile file;
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0) {
    // As std::filesystem::status tells a path that names nothing.
    if (errno == ENOENT || errno == ENOTDIR) return file;
    return unreadable(BoundedFile::Step::Examine, errno);
  }
  if (S_ISDIR(status.st_mode)) {
    file.status = BoundedFile::Status::Folder;
    return file;
  }
  if (!S_ISREG(status.st_mode)) {
    file.status = BoundedFile::Status::NotRegular;
    return file;
  }
  // Non-blocking: should a pipe take the file's place after the stat, the
  // open and the read fail instead of waiting for a writer.
  const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (descriptor < 0) return unreadable(BoundedFile::Step::Open, errno);

  // The size the stat saw, and one byte more to see the end in the same
  // read; only as much memory as the file needs, whatever the limit.
  const std::size_t wanted = limit + 1;
  const auto seen = static_cast<std::size_t>(std::max<off_t>(status.st_size, 0));
  std::string& content = file.content;
  content.resize(std::min(wanted, seen + 1));
  std::size_t total = 0;
  int failure = 0;
  while (total < wanted) {
    if (total == content.size()) content.resize(std::min(wanted, content.size() * 2));
    const ssize_t got = ::read(descriptor, content.data() + total, content.size() - total);
    if (got < 0) {
      if (errno == EINTR) continue;
      failure = errno;
      break;
    }
    if (got == 0) break;
    total += static_cast<std::size_t>(got);
    // A regular file reads short only at its end; while it is shorter than
    // the stat saw, it may have been a read cut short, so read on.
    if (total < content.size() && total >= seen) break;
  }
  ::close(descriptor);
  if (failure != 0) return unreadable(BoundedFile::Step::Read, failure);
  content.resize(total);
  file.status = BoundedFile::Status::Read;
  return file;
}

}  // namespace ostrel::platform
