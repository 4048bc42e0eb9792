// The runtime's files on disk, as the runtime keeps them, for the benchmarks
// that read them: a path registry (found through VR_PATHREG_OVERRIDE), an
// appconfig.json listing N manifests with ours last, each manifest in an
// install folder of its own beside its program (named for both systems, so
// the check finds the one this system starts), and our auto-launch setting
// as the runtime records it.
#pragma once

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "ostrel/testing/ScratchFolder.h"

namespace ostrel::bench {

class RegistryLayout {
 public:
  // Writes the files for `listed` manifests (at least 1) and sets
  // VR_PATHREG_OVERRIDE; on failure the benchmark is skipped with the reason
  // and ready() is false.
  RegistryLayout(int listed, benchmark::State& state);
  ~RegistryLayout();
  RegistryLayout(const RegistryLayout&) = delete;
  RegistryLayout& operator=(const RegistryLayout&) = delete;

  bool ready() const { return !ours_.empty(); }
  // Our manifest, listed last.
  const std::string& ours() const { return ours_; }
  // Every file a reader of the whole registry opens, in the order it does:
  // the path registry, appconfig.json, each listed manifest, our setting.
  const std::vector<std::string>& files() const { return files_; }
  // The program each listed manifest names for this system.
  const std::vector<std::string>& binaries() const { return binaries_; }

 private:
  const testing::ScratchFolder folder_;
  std::string ours_;
  std::vector<std::string> files_;
  std::vector<std::string> binaries_;
};

}  // namespace ostrel::bench
