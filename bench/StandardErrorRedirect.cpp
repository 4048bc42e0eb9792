#include "StandardErrorRedirect.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>

namespace ostrel::bench {

namespace {

constexpr int kStandardError = 2;

std::string failure(const char* what, const char* path, int error) {
  return std::string(what) + " " + path + ": " + std::strerror(error);
}

// Whatever is still buffered belongs to the destination it was written for.
void flushStandardError() {
  std::cerr.flush();
  std::fflush(stderr);
}

}  // namespace

StandardErrorRedirect::StandardErrorRedirect(const char* path) {
  flushStandardError();
  const int target = ::open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (target < 0) {
    error_ = failure("cannot open", path, errno);
    return;
  }
  const int saved = ::fcntl(kStandardError, F_DUPFD_CLOEXEC, 3);
  if (saved < 0) {
    error_ = failure("cannot keep standard error while redirecting to", path, errno);
    ::close(target);
    return;
  }
  if (::dup2(target, kStandardError) < 0) {
    error_ = failure("cannot redirect standard error to", path, errno);
    ::close(saved);
    ::close(target);
    return;
  }
  ::close(target);
  saved_ = saved;
}

StandardErrorRedirect::~StandardErrorRedirect() {
  if (saved_ < 0) return;
  flushStandardError();
  ::dup2(saved_, kStandardError);
  ::close(saved_);
}

}  // namespace ostrel::bench
