// What the SteamVR runtime's own files say about an application, read
// without the runtime: the per-user path registry (openvrpaths.vrpath), the
// runtime's list of registered manifests (appconfig.json) and the key's
// auto-launch setting (<key>.vrappconfig).
//
// The runtime's maker does not document these files, so they are read
// tolerantly and never written: registrations change only through the
// runtime's API. Every failure to read is a finding with a stable code, never
// an exception or a crash; each file is read with the manifest check's bounds
// (size cap, UTF-8, nesting depth). Functions are thread-compatible.
#pragma once

#include <cstddef>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ostrel/manifestcheck/ManifestCheck.h"
#include "ostrel/outcome/Outcome.h"
#include "ostrel/runtimeregistry/RegistryFindingCodes.h"

namespace ostrel::runtimeregistry {

// A finding about the registry has the shape of a manifest finding, so that
// formatFinding and hasErrors serve both.
//
// The codes and what each means: RegistryFindingCodes.h.
using RegistryFinding = manifestcheck::ManifestFinding;

// Where the reader gets the environment from. Injected so that tests need no
// real home folder.
class IRegistryEnvironment {
 public:
  virtual ~IRegistryEnvironment() = default;

  // The variable's value, UTF-8; nullopt when it is not set.
  virtual std::optional<std::string> Variable(const char* name) = 0;

  // The per-user folder that holds "openvr/openvrpaths.vrpath" (see
  // platform's userRuntimeConfigFolder), or why there is none.
  virtual outcome::Outcome<std::filesystem::path> UserConfigFolder() = 0;
};

// The outcome of reading one file.
struct FileRead {
  enum class Status { Read, Missing, Unreadable };
  Status status = Status::Missing;
  std::string content;  // Read: the bytes, at most the limit + 1 of them
  std::string reason;   // Unreadable: why, one line for a person
  // Unreadable because a folder, a device or a pipe is there, not a file.
  bool notRegular = false;
};

// How the reader reaches files. Injected for the same reason.
class IRegistryFiles {
 public:
  virtual ~IRegistryFiles() = default;

  // The bytes of the regular file `path`, at most `limit` + 1 of them (one
  // more than the limit, so the caller can tell the file is over it). A
  // folder, a device or a pipe is Unreadable, never opened.
  virtual FileRead Read(const std::filesystem::path& path, std::size_t limit) = 0;

  // Whether `a` and `b` both exist and are one file, whichever symbolic
  // links either goes through: on Linux ~/.steam/steam and
  // ~/.local/share/Steam name one folder, and the runtime may list a
  // manifest by either. The default knows of no files: false.
  virtual bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b);

  // The names (UTF-8) of the regular files in the folder `folder`, at most
  // `limit` of them, in no particular order; nullopt when there is no such
  // folder or it cannot be listed. The default knows of no files: nullopt.
  virtual std::optional<std::vector<std::string>> FileNames(const std::filesystem::path& folder,
                                                            std::size_t limit);
};

// The process environment and the real file system.
std::unique_ptr<IRegistryEnvironment> createProcessEnvironment();
std::unique_ptr<IRegistryFiles> createDiskFiles();

// One entry of appconfig.json's manifest_paths, in the runtime's order.
struct ListedManifest {
  std::string path;                  // UTF-8, exactly as listed
  bool exists = false;               // a file is there
  bool readable = false;             // the runtime could load it as a manifest
  std::vector<std::string> appKeys;  // what it declares, when readable
  bool declaresKey = false;          // one of appKeys is the key asked about
  // The key's application in it is a dashboard overlay, the only kind the
  // runtime applies auto-launch to.
  bool keyIsOverlay = false;
  // The manifest asked about: the same path by the host's rules, or, when
  // the file is there and declares the key (or cannot be read), the same
  // file through a symbolic link.
  bool thisManifest = false;
  bool temporaryLocation = false;  // under a temporary folder
};

struct RegistryQuery {
  std::string appKey;
  // The manifest the registration should come from (UTF-8, the path handed to
  // the registrar); nullopt when not known.
  std::optional<std::string> manifestPath;
};

struct RuntimeRegistry {
  // The openvrpaths.vrpath used (UTF-8), whether or not it could be read;
  // empty when not even its place is known.
  std::string registryFile;
  bool registryFileRead = false;
  // The runtime's config folder: VR_CONFIG_PATH, else the file's config[0].
  std::optional<std::string> configFolder;
  // The runtime's install folder: VR_OVERRIDE, else the file's runtime[0].
  std::optional<std::string> runtimeFolder;
  // appConfigRead: appconfig.json was read and holds a manifest list.
  bool appConfigRead = false;
  std::vector<ListedManifest> manifests;
  // The listed manifest the runtime serves the key from: the first that
  // declares it. nullopt when none does or the list is unknown.
  std::optional<std::size_t> serving;
  // The .vrappconfig's autolaunch; nullopt when there is none or it says
  // nothing.
  std::optional<bool> autoLaunch;
  // Whether the .vrappconfig was looked for and, when there, read: only then
  // does a missing autoLaunch mean that no choice is recorded for the key.
  bool appSettingsRead = false;
  std::vector<RegistryFinding> findings;
  // Whether the query named the manifest the registration should come from.
  bool manifestNamed = false;

  // Whether the registry answered for the key: the manifest list was read.
  bool known() const noexcept { return appConfigRead; }
  // Indexes of the listed manifests that make the registration stale: those
  // other than the query's manifest that declare the key; when the query
  // names no manifest, every declaring one after the one served.
  std::vector<std::size_t> otherDeclaring() const;
  // Whether the key is served from a dashboard overlay's manifest and the
  // runtime's settings are known to record no auto-launch choice for it: a
  // first registration that stopped before switching auto-launch on.
  bool autoLaunchUnset() const noexcept;
};

// Bytes read from any one registry file at most.
inline constexpr std::size_t kRegistryFileSizeLimit = manifestcheck::kManifestSizeLimit;

// Most manifests looked at from one list; the rest are counted, not read.
inline constexpr std::size_t kMaxListedManifests = 4096;

// What the runtime's files list, without the listed manifests or any
// application's settings: the path registry and appconfig.json, read as
// readRuntimeRegistry reads them.
struct ListedEntry {
  std::string path;                // UTF-8, exactly as listed
  bool temporaryLocation = false;  // under a temporary folder
};
struct ManifestList {
  std::string registryFile;  // as RuntimeRegistry::registryFile
  bool registryFileRead = false;
  std::optional<std::string> configFolder;
  std::optional<std::string> runtimeFolder;
  bool read = false;  // appconfig.json was read and holds a manifest list
  // In the runtime's order, at most kMaxListedManifests.
  std::vector<ListedEntry> entries;
  std::size_t unlisted = 0;  // entries past kMaxListedManifests, not in `entries`
  // What could not be read (vrpath-*, appconfig-*): the registry's own
  // findings, none about a listed manifest or a key.
  std::vector<RegistryFinding> findings;
};

ManifestList readManifestList(IRegistryEnvironment& environment, IRegistryFiles& files);

// Reads the registry for `query`: finds openvrpaths.vrpath (VR_PATHREG_OVERRIDE,
// else the per-user folder: %LOCALAPPDATA%\openvr on Windows,
// $XDG_CONFIG_HOME/openvr or ~/.config/openvr on Linux), its config folder
// (VR_CONFIG_PATH overrides),
// appconfig.json there and every manifest it lists, and
// vrappconfig/<key>.vrappconfig. The findings say what could not be read and
// what is wrong with the key's registration.
RuntimeRegistry readRuntimeRegistry(const RegistryQuery& query, IRegistryEnvironment& environment,
                                    IRegistryFiles& files);

}  // namespace ostrel::runtimeregistry
