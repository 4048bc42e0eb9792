// The seam between the registrar and the SteamVR runtime's application
// registry: the five operations registration needs, shaped like the runtime's
// applications API (OpenVR IVRApplications, "IVRApplications_007") so that an
// adapter forwards each one and a scripted stand-in can replace the runtime.
#pragma once

#include <cstdint>

namespace ostrel::steamvr {

// Error code of the runtime's applications API; 0 is success. Values follow
// OpenVR's EVRApplicationError.
using ApplicationError = std::int32_t;

inline constexpr ApplicationError kApplicationErrorNone = 0;

// Name of an application error code, e.g. "VRApplicationError_InvalidManifest";
// "VRApplicationError_Unknown" for any code the runtime does not define.
// Static storage, never null.
const char* applicationErrorName(ApplicationError code) noexcept;

// Text arguments are NUL-terminated UTF-8, owned by the caller and valid only
// for the call; an implementation that keeps one copies it. Operations are
// called one at a time on the thread that drives the registrar.
class IVRApplicationsSurface {
 public:
  virtual ~IVRApplicationsSurface() = default;

  // Adds the manifest file at the given full path to the runtime's registry.
  // `temporary` false asks for a registration that survives a runtime restart.
  virtual ApplicationError AddApplicationManifest(const char* manifestPath, bool temporary) = 0;

  // Whether the runtime lists an application with this key. May turn true
  // some time after an accepted add.
  virtual bool IsApplicationInstalled(const char* appKey) = 0;

  // Switches automatic start of the application by the runtime on or off.
  virtual ApplicationError SetApplicationAutoLaunch(const char* appKey, bool autoLaunch) = 0;

  // Removes the manifest at the given full path from the registry.
  virtual ApplicationError RemoveApplicationManifest(const char* manifestPath) = 0;

  // Name for a code, static and never null. The default is
  // applicationErrorName, which knows every code of the runtime's API.
  virtual const char* ErrorName(ApplicationError code);
};

}  // namespace ostrel::steamvr
