// Runs a console program the way an installer's custom action has to: with
// no console window (Windows Installer is a windowed process, so a console
// program started from it would otherwise open one), its standard output and
// standard error read through one pipe as it prints them.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace ostrel::msiactions {

struct QuietRun {
  // false: the program could not be started (or waited for); `error` says
  // why and `exitStatus` means nothing.
  bool started = false;
  std::uint32_t exitStatus = 0;
  std::string error;
};

// Receives each line the program printed, without its line end, in the
// order the program wrote them (standard error interleaved with standard
// output). The bytes are passed on as printed.
using LineSink = std::function<void(std::string_view line)>;

// Starts `program` (a full path) with the command line `commandLine` (whose
// first word names the program, quoted as the C runtime splits it), standard
// input empty, and no window; calls `onLine` for every line it prints and
// returns once the program has exited. Blocks the calling thread meanwhile;
// there is no time limit, the program bounds its own waits.
QuietRun runQuietly(const std::wstring& program, const std::wstring& commandLine,
                    const LineSink& onLine);

}  // namespace ostrel::msiactions
