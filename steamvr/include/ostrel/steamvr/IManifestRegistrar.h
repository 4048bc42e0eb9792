// Registration of one application with the SteamVR runtime.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "ostrel/steamvr/IVRApplicationsSurface.h"
#include "ostrel/steamvr/Sleeper.h"

namespace ostrel::steamvr {

enum class RegisterResult : std::int32_t {
  Success = 0,
  AddFailed = 1,         // path unusable, or the runtime refused the manifest
  PollTimeout = 2,       // accepted, but not reported installed within the polls
  AutoLaunchFailed = 3,  // installed, but auto-launch was refused
  RemoveFailed = 4,      // path unusable, or the runtime refused the removal
};

// "Success", "AddFailed", "PollTimeout", "AutoLaunchFailed", "RemoveFailed";
// "Unknown" outside the enum. Static storage, never null.
const char* registerResultName(RegisterResult result) noexcept;

// Bound to one application key and one manifest path. Every operation blocks
// its caller until done and logs one line per event through the process
// logger. Not synchronised: one thread at a time.
class IManifestRegistrar {
 public:
  virtual ~IManifestRegistrar() = default;

  // Adds the manifest, polls until the runtime reports the application
  // installed (20 polls, 100 ms apart, about two seconds at most), then
  // enables auto-launch. Nothing is undone on failure. When the sleeper is
  // stopped during the polls it returns PollTimeout at once, and LastError
  // says it was stopped.
  virtual RegisterResult Register() = 0;

  // Removes the manifest.
  virtual RegisterResult Unregister() = 0;

  // Succeeds at once when the runtime already lists the application, without
  // touching auto-launch; otherwise registers.
  virtual RegisterResult EnsureRegistered() = 0;

  // Text of the last failure; empty after every success.
  virtual std::string LastError() const = 0;

  // Adds the manifest and polls as Register does, but leaves auto-launch
  // alone: for a caller that keeps the auto-launch choice the user already
  // made. Success once the runtime lists the application; AddFailed or
  // PollTimeout as Register. Logs as Register does up to the ready line; the
  // closing line is the caller's, once it has dealt with auto-launch.
  virtual RegisterResult AddAndWait() = 0;
};

// `surface` is borrowed and must outlive the registrar. `manifestPath` is the
// full path of the manifest file with back-slash separators. Returns an empty
// pointer when `surface` is null.
std::unique_ptr<IManifestRegistrar> createManifestRegistrar(IVRApplicationsSurface* surface,
                                                            std::string appKey,
                                                            std::wstring manifestPath);

// As above, waiting between polls through `sleeper` (borrowed, must outlive
// the registrar; nullptr: plainSleeper()).
std::unique_ptr<IManifestRegistrar> createManifestRegistrar(IVRApplicationsSurface* surface,
                                                            std::string appKey,
                                                            std::wstring manifestPath,
                                                            ISleeper* sleeper);

}  // namespace ostrel::steamvr
