// The registry reader's finding codes: a stable contract (status prints them,
// its JSON carries them), spelled once here. They are findings, not states:
// the state "not-registered" of a status report is its own name.
#pragma once

namespace ostrel::runtimeregistry::findings {

// The per-user path registry (openvrpaths.vrpath).
// SteamVR never ran for the user (on Linux: or runs inside Flatpak Steam's
// sandbox, which the message then says).
inline constexpr const char* kVrpathMissing = "vrpath-missing";
inline constexpr const char* kVrpathUnreadable = "vrpath-unreadable";
inline constexpr const char* kVrpathNoConfig = "vrpath-no-config";  // no config folder named
// No "config" member at all, as the path registries written for other
// OpenVR runtimes (xrizer, OpenComposite over an OpenXR runtime such as
// Monado or WiVRn) have on Linux: SteamVR did not write the file, and its
// list of applications cannot be found through it. (On Windows such a file
// is vrpath-no-config.)
inline constexpr const char* kVrpathOtherRuntime = "vrpath-other-runtime";

// The list of registered manifests (appconfig.json) and the settings file.
inline constexpr const char* kAppconfigMissing = "appconfig-missing";
inline constexpr const char* kAppconfigUnreadable = "appconfig-unreadable";
inline constexpr const char* kVrappconfigUnreadable = "vrappconfig-unreadable";

// What the list says about the key.
inline constexpr const char* kRegisteredManifestMissing = "registered-manifest-missing";
inline constexpr const char* kRegisteredManifestUnreadable = "registered-manifest-unreadable";
inline constexpr const char* kStaleRegistration = "stale-registration";  // another copy serves it
inline constexpr const char* kNotRegistered = "not-registered";  // no listed manifest declares it
inline constexpr const char* kAutoLaunchOff = "auto-launch-off";
// Listed, but no auto-launch choice recorded for a dashboard overlay: a
// first registration stopped before it switched auto-launch on.
inline constexpr const char* kRegistrationUnfinished = "registration-unfinished";
inline constexpr const char* kTemporaryLocation = "temporary-location";  // under a temporary folder

// The active runtime is not SteamVR (ActiveRuntime.h).
inline constexpr const char* kRuntimeNotSteamVR = "runtime-not-steamvr";

}  // namespace ostrel::runtimeregistry::findings
