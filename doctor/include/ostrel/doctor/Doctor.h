// The doctor: every application registration on the machine, judged from
// the SteamVR runtime's own files (never the runtime) by the rules the
// runtime applies, and, on request, the dead entries of its list removed
// through the runtime.
//
// It reads the path registry and appconfig.json as the registry reader does
// (readManifestList), every listed manifest once, with what the manifest
// check finds for each application in it (surveyManifestContent), and every
// auto-launch setting in <config>/vrappconfig. Nothing here writes the
// runtime's files; a removal goes through the runtime's API and only ever
// touches an entry whose manifest file is gone: a file that is there but
// broken is someone's to fix. Nothing throws but std::bad_alloc: what
// cannot be read is a finding. Thread-compatible; a removal needs the one
// runtime connection of the process (RuntimeConnection.h).
//
// The codes of the findings: DoctorFindingCodes.h, with the manifest
// check's and the registry reader's. The JSON and text forms:
// DoctorForms.h.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "ostrel/manifestcheck/ManifestCheck.h"
#include "ostrel/registration/Repair.h"
#include "ostrel/registration/RuntimeConnection.h"
#include "ostrel/runtimeregistry/RuntimeRegistry.h"

namespace ostrel::doctor {

using Finding = manifestcheck::ManifestFinding;

// What a run comes to. The values are the exit statuses of
// `ostrel-register doctor`, which carries them unchanged.
enum class DoctorState : int {
  Healthy = 0,        // nothing found is an error (warnings may be)
  RemoveFailed = 4,   // removing dead entries: the runtime refused one
  ProblemsFound = 5,  // an error was found (not counting entries removed)
  // The runtime's list of applications could not be read at all; or, to
  // remove dead entries, the runtime could not be reached (nothing removed).
  Unavailable = 69,
};

// "healthy", "remove-failed", "problems-found", "unavailable"; "unknown"
// outside the enum. Static storage, never null.
const char* doctorStateName(DoctorState state) noexcept;

// An application a listed manifest declares, judged as the check judges it.
struct DoctorApplication {
  std::size_t index = 0;  // its place in the manifest's "applications"
  std::string appKey;     // as written
  std::string name;       // as written; empty when it has none
  // The runtime serves the key from this entry: the first listed manifest
  // declaring it, and in that manifest the first entry with it.
  bool served = false;
  bool dashboardOverlay = false;
  // Its auto-launch setting (vrappconfig), when it is served and one says.
  std::optional<bool> autoLaunch;
  std::vector<Finding> findings;
};

// What became of one listed entry.
enum class EntryState {
  Read,        // read, and the runtime loads it
  Missing,     // no file there: a dead entry
  Unreadable,  // a file, folder, device or pipe that cannot be read as one
  Refused,     // read, but the runtime loads nothing from it (BOM, JSON, ...)
  Repeated,    // the same file as an earlier entry, judged there
};

// "read", "missing", "unreadable", "refused", "repeated"; "unknown" outside
// the enum. Static storage, never null.
const char* entryStateName(EntryState state) noexcept;

struct DoctorManifest {
  std::string path;  // UTF-8, exactly as listed
  EntryState state = EntryState::Missing;
  std::optional<std::size_t> repeats;  // Repeated: the index of the entry it repeats
  std::vector<Finding> findings;       // about the file and its place
  std::vector<DoctorApplication> applications;  // Read only
  bool removed = false;  // removed through the runtime in this run
};

// One <config>/vrappconfig/<key>.vrappconfig.
struct AutoLaunchSetting {
  std::string appKey;  // the file's name without ".vrappconfig"
  std::string file;    // UTF-8
  std::optional<bool> autoLaunch;  // its "autolaunch", when a boolean
  bool declared = false;           // a listed manifest that is read declares the key
  std::vector<Finding> findings;
};

struct DoctorReport {
  std::string registryFile;  // openvrpaths.vrpath; empty when not even its place is known
  bool registryFileRead = false;
  std::optional<std::string> configFolder;
  bool listRead = false;  // appconfig.json was read: everything below is known
  // About the runtime's files themselves and the active runtime.
  std::vector<Finding> findings;
  std::vector<DoctorManifest> manifests;  // in the runtime's order
  std::size_t unlisted = 0;               // entries past kMaxListedManifests, not read
  std::vector<AutoLaunchSetting> settings;  // sorted by key
  std::size_t settingsUnread = 0;           // past kMaxSettings, not read
};

// Most auto-launch settings read; the rest are counted.
inline constexpr std::size_t kMaxSettings = 4096;

// Removing dead entries through the runtime.
struct DeadEntryRemoval {
  bool asked = false;
  bool dryRun = false;
  // The dead entries, one per file (by the platform's path rules), in the
  // runtime's order: removed, or in a dry run to be removed.
  std::vector<std::string> planned;
  // The runtime was asked to connect (not in a dry run, nor when nothing is
  // dead), and whether it could be reached; `failure` says why not.
  bool runtimeAsked = false;
  bool runtimeReached = false;
  registration::RuntimeFailure failure;
  std::vector<registration::RemovalAttempt> attempts;  // in order; every planned one once reached
};

struct DoctorResult {
  DoctorReport report;
  DeadEntryRemoval removal;
  DoctorState state = DoctorState::Unavailable;
};

// The counts the summary tells. Findings of entries removed in the run are
// not counted.
struct DoctorSummary {
  std::size_t manifests = 0;     // listed entries read (past the cap not counted)
  std::size_t applications = 0;  // declared by the manifests the runtime loads
  std::size_t served = 0;        // keys the runtime serves
  std::size_t dead = 0;          // entries whose file is gone, removed or not
  std::size_t orphanSettings = 0;
  std::size_t errors = 0;
  std::size_t warnings = 0;
};
DoctorSummary summarize(const DoctorResult& result);

// Where the doctor reads from; all borrowed for the call, none null.
struct DoctorSources {
  runtimeregistry::IRegistryEnvironment* environment = nullptr;
  runtimeregistry::IRegistryFiles* files = nullptr;
  manifestcheck::IPathProbe* paths = nullptr;  // the binaries manifests name
};

struct DoctorOptions {
  bool removeDead = false;
  bool dryRun = false;     // with removeDead: only plan
  std::string loaderPath;  // UTF-8; empty: the session's default search
};

// Reads and judges the runtime's files; never reaches the runtime.
// REQUIRES: `sources`' pointers are not null.
DoctorReport examineRegistry(const DoctorSources& sources);

// examineRegistry, then with options.removeDead the dead entries removed
// through `connector` (one Connect, only when there is one to remove and it
// is no dry run; each removal checked, a refusal not stopping the rest),
// then the state. REQUIRES: `sources`' pointers are not null.
DoctorResult runDoctor(const DoctorOptions& options, registration::IRuntimeConnector& connector,
                       const DoctorSources& sources);

// The whole judgement for a caller with nothing to inject (the C interface):
// the process environment and the disk, no removal. The JSON is
// doctorJson's.
struct DoctorJsonAnswer {
  std::string json;
  DoctorState state = DoctorState::Unavailable;
};
DoctorJsonAnswer diagnoseAsJson();

}  // namespace ostrel::doctor
