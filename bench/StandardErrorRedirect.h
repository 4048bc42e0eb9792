// Points the process's standard error descriptor at a file for the lifetime
// of a scope.
//
// Loggers keep writing through their normal paths (std::cerr, stdio's
// stderr) and do all their work; only the destination changes. With
// "/dev/null" the bytes go nowhere, which is how the benchmarks measure a
// written line without a terminal in the figure. POSIX only, like the
// benchmarks themselves.
#pragma once

#include <string>

namespace ostrel::bench {

class StandardErrorRedirect {
 public:
  // Flushes std::cerr and stderr, then opens `path` for writing (created if
  // missing, truncated) and makes it descriptor 2. On failure descriptor 2 is
  // left as it was, ok() is false and error() says why.
  explicit StandardErrorRedirect(const char* path);

  // Flushes again and puts the previous descriptor 2 back.
  ~StandardErrorRedirect();

  StandardErrorRedirect(const StandardErrorRedirect&) = delete;
  StandardErrorRedirect& operator=(const StandardErrorRedirect&) = delete;

  bool ok() const { return saved_ >= 0; }
  const std::string& error() const { return error_; }

 private:
  int saved_ = -1;
  std::string error_;
};

}  // namespace ostrel::bench
