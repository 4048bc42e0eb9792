// Checks a SteamVR application manifest (.vrmanifest) before it is handed to
// the registrar, and explains in words a person can act on why the runtime
// would refuse it or, worse, accept it and then silently never list the
// application.
//
// Nothing here talks to the runtime. Every entry is safe on hostile input:
// the size read is capped, nesting depth is bounded before parsing, and no
// exception leaves the library except std::bad_alloc. Functions are
// thread-compatible: they share no state.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ostrel/manifestcheck/FindingCodes.h"

namespace ostrel::manifestcheck {

enum class FindingSeverity : std::int32_t {
  Error = 0,    // the runtime would refuse the manifest or skip the application
  Warning = 1,  // it would load, but something the user expects will not happen
};

// "error" or "warning"; "unknown" for any other value. Static, never null.
const char* findingSeverityName(FindingSeverity severity) noexcept;

// One thing wrong with a manifest. `code` is a short, stable id that scripts
// and tests may branch on; `message` is one line of UTF-8 for a person: what
// is wrong, where, and what to do. Text taken from the file is quoted, with
// control characters escaped and long values shortened.
//
// The codes and what each means: FindingCodes.h.
// Comments (// and /* */) in a manifest are accepted, as the runtime accepts
// them; a trailing comma is a json-syntax error, as it is to the runtime.
// more-findings closes a list cut short at kMaxFindings; its severity is that
// of the worst finding left out.
struct ManifestFinding {
  FindingSeverity severity = FindingSeverity::Error;
  std::string code;
  std::string message;

  friend bool operator==(const ManifestFinding&, const ManifestFinding&) = default;
};

// Bytes read from a manifest file at most. A real manifest is well under
// 4 KiB; anything above the cap is refused unread rather than checked in part.
inline constexpr std::size_t kManifestSizeLimit = std::size_t{1} << 20;

// Deepest nesting of arrays and objects accepted. A manifest needs 4 levels.
inline constexpr int kManifestDepthLimit = 64;

// Longest list returned, the closing more-findings included.
inline constexpr std::size_t kMaxFindings = 32;

// Whether any finding is an error: the registration should not go ahead.
bool hasErrors(const std::vector<ManifestFinding>& findings) noexcept;

// How many findings are errors; the rest are warnings.
int countErrors(const std::vector<ManifestFinding>& findings) noexcept;

// "error [bom]: <message>", the one-line form a command prints.
std::string formatFinding(const ManifestFinding& finding);

// The runtime whose rules a check applies: SteamVR on Windows, or on Linux,
// where 64-bit ARM reads a program key of its own. The rules are pure text
// (the file system is asked only through IPathProbe), so every system's can
// be checked on any host.
enum class RuntimeSystem : std::int32_t { Windows, Linux, LinuxArm };

// The system this program is built for, whose runtime it registers with:
// what a check applies unless told otherwise. Chosen by the build.
RuntimeSystem hostRuntimeSystem() noexcept;

// What the check asks of the file system about the binary a manifest names.
enum class PathKind : std::int32_t { Missing, RegularFile, Directory, Other };

class IPathProbe {
 public:
  virtual ~IPathProbe() = default;

  // What `path` names now. Symbolic links are followed; a path that cannot be
  // examined for any reason reads as Missing.
  virtual PathKind Kind(const std::filesystem::path& path) = 0;

  // Where an existing absolute `path` really leads when some part of it is a
  // symbolic link, which the runtime resolves; nullopt when no part is one,
  // or when it does not exist or cannot be examined. Asked by the Linux rules
  // only.
  virtual std::optional<std::filesystem::path> LinkTarget(const std::filesystem::path& path) = 0;
};

// The real file system.
std::unique_ptr<IPathProbe> createDiskPathProbe();

// Everything a content check needs besides the bytes.
struct ManifestContentContext {
  // The key the program registers under; matched exactly, as the runtime does.
  std::string appKey;
  // Where a relative binary path (binary_path_windows, binary_path_linux, ...)
  // is looked for: the folder the manifest lives in. '\' counts as a
  // separator on every platform.
  std::filesystem::path manifestFolder;
  // Borrowed; nullptr leaves out whether the binary exists, and where a
  // symbolic link leads, which keeps the check away from the disk altogether.
  IPathProbe* paths = nullptr;
  // Whose runtime reads the manifest: which program key is required and
  // which places are trouble.
  RuntimeSystem system = hostRuntimeSystem();
};

// Checks `content` as the bytes of a manifest file. Never reads the disk
// except through `context.paths`.
std::vector<ManifestFinding> checkManifestContent(std::string_view content,
                                                  const ManifestContentContext& context);

// Judges the key a program registers under by the runtime's rules, without a
// manifest: app-key-invalid when it is empty or holds anything but ASCII
// letters, digits, '.', '-' and '_' (control characters included), and
// app-key-too-long at 128 bytes or more. Empty when the runtime takes the key.
// Every entry that takes a key from a caller (the command, the registration
// and start-up operations, the C interface) refuses one this finds anything
// in, before anything reaches the runtime.
std::vector<ManifestFinding> checkAppKey(std::string_view appKey);

// Judges the path that will be handed to the registrar (see
// createManifestRegistrar) by the rules of the runtime on the system this is
// built for: it must be non-empty and full, and free of the separator that
// runtime misreads, or the registrar refuses it or the runtime silently skips
// the application. On Windows a full path is "C:\..." or "\\server\share\..."
// and '/' is refused; on Linux a full path starts with '/' and '\' is
// refused, and places SteamVR's container does not show, or an AppImage's
// mount, are warned about.
std::vector<ManifestFinding> checkManifestPath(std::wstring_view registrarPath);

// The same by the rules of `system`'s runtime.
std::vector<ManifestFinding> checkManifestPath(std::wstring_view registrarPath,
                                               RuntimeSystem system);

struct ManifestCheckInput {
  // The manifest file to read. Relative binary paths resolve against its
  // folder.
  std::filesystem::path file;
  // The exact text the registrar will be given; nullopt leaves the path rules
  // out (for checking a file whose registered location is not known yet).
  std::optional<std::wstring> registrarPath;
  std::string appKey;
};

// Path rules (when a registrar path is given; on Linux also where a symbolic
// link in it leads), then the file: read with the size cap, and checked as
// checkManifestContent does with the real file system, by the rules of the
// system this is built for. A file that cannot be read gives one file-*
// finding and no content findings.
std::vector<ManifestFinding> checkManifest(const ManifestCheckInput& input);

// The common case of a command line or an installer: the path that will be
// registered is also the file to read.
std::vector<ManifestFinding> checkManifestForRegistration(std::wstring_view manifestPath,
                                                          std::string_view appKey);

}  // namespace ostrel::manifestcheck
