// A connection to the SteamVR runtime through the OpenVR loader library
// (openvr_api.dll / libopenvr_api.so), loaded at run time and never linked.
//
// A session loads the loader, starts the runtime connection as a utility
// application (one that needs no headset and draws nothing) and holds the
// runtime's applications function table, "IVRApplications_007". Destroying
// it shuts the connection down; the library stays loaded (see open). Nothing here throws:
// failures come back as a RuntimeFailure.
//
// The loader keeps one runtime connection per process, so keep at most one
// session open at a time, on one thread.
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "ostrel/outcome/Outcome.h"
#include "ostrel/steamvr/Sleeper.h"

namespace ostrel::openvr {

enum class OpenVRSessionErrorKind {
  None = 0,
  LibraryNotFound,       // no place tried held a loader that could be loaded
  EntryPointMissing,     // the loader lacks an export we need (an old loader)
  InitFailed,            // the loader could not start the runtime connection
  InterfaceUnavailable,  // the runtime gave no usable IVRApplications_007 table
  RuntimeNotSteamVR,     // the active runtime is another one: the loader was never loaded
  // Which runtime is active could not be told from a path registry that is
  // there: the loader was never loaded.
  RuntimeUnresolved,
};

// "LibraryNotFound" etc.; "Unknown" outside the enum. Static storage.
const char* openVRSessionErrorKindName(OpenVRSessionErrorKind kind) noexcept;

// Why the runtime could not be reached. The Failure's `message` is one line
// of UTF-8 that names what was tried and what the loader or the system said,
// e.g. "VR_InitInternal2 failed: VRInitError_Init_InstallationNotFound (100):
// Installation Not Found"; it is meant to be shown as it is. Its `code` is
// the loader's VRInitError symbol ("VRInitError_Init_PathRegistryNotFound")
// when the runtime named one, else the kind's name; `advice` says in words a
// person can act on what usually causes it and what to do
// (openVRInitErrorAdvice), empty when there is nothing to add.
//
// For InitFailed (and InterfaceUnavailable when the runtime named one),
// `initError` is the loader's VRInitError code; `attempts` counts the starts
// tried.
struct RuntimeFailure : outcome::Failure {
  OpenVRSessionErrorKind kind = OpenVRSessionErrorKind::None;
  std::int32_t initError = 0;
  int attempts = 0;
};

struct OpenVRSessionOptions {
  // The loader library to use, and nothing else. Empty: the loader in the
  // program's folder, then the system's library search.
  std::filesystem::path loaderPath;
  // The program's folder, where the loader is looked for first. Empty: the
  // running executable's (a host such as mono or python3 names the
  // application's instead).
  std::filesystem::path programFolder;
  // Starts tried when the runtime's server answers with a 300-series error
  // (VRInitError_IPC_*: it is starting up, or has crashed), which often
  // clears at the next try. Values below 1 mean 1.
  int initAttempts = 3;
  std::chrono::milliseconds retryDelay{1000};
  // Waits between tries; borrowed for the call to open. nullptr:
  // plainSleeper(). A stopped sleeper ends the tries, and open reports the
  // last start's failure.
  steamvr::ISleeper* sleeper = nullptr;
  // The path registry the loader reads (UTF-8), named in the advice when the
  // loader reports it missing; empty: the advice names its usual places.
  std::string pathRegistryFile;
};

// Whether a start that failed with `initError` is worth trying again: the
// runtime's server errors, 300 to 310.
bool isRetriedInitError(std::int32_t initError) noexcept;

// The usual cause of a VRInitError and what to do about it, one or two
// sentences of UTF-8 for a person; a general text for codes without their
// own. Static storage, never null.
const char* openVRInitErrorAdvice(std::int32_t initError) noexcept;

// As above, but the advice for a missing path registry names
// `pathRegistryFile` (UTF-8) as the one looked for, when it is not empty.
std::string openVRInitErrorAdvice(std::int32_t initError, const std::string& pathRegistryFile);

// The runtime's applications function table. Declared by the adapter's
// sources; only the applications surface reads it.
struct OpenVRApplicationsTable;

class OpenVRSession {
 public:
  // Opens a session, never null on success. Every failure after the runtime
  // connection was started shuts it down again before returning. The loader,
  // once loaded, stays loaded until the process ends (whatever becomes of
  // the session): unloading Valve's loader leaks the memory of the C++
  // run-time linked into it every time.
  static outcome::Outcome<std::unique_ptr<OpenVRSession>, RuntimeFailure> open(
      const OpenVRSessionOptions& options);

  // Shuts the runtime connection down; the loader stays loaded.
  virtual ~OpenVRSession() = default;

  // The table, valid until the session is destroyed. Its entries for adding,
  // removing and finding manifests and for switching auto-launch were checked
  // to be present when the session opened.
  virtual const OpenVRApplicationsTable& applications() const = 0;

  // The loader file that was loaded, as it was handed to the system (a bare
  // file name when the system's search found it).
  virtual const std::filesystem::path& loaderPath() const = 0;

 protected:
  OpenVRSession() = default;
  OpenVRSession(const OpenVRSession&) = delete;
  OpenVRSession& operator=(const OpenVRSession&) = delete;
};

}  // namespace ostrel::openvr
