// The doctor's own finding codes: a stable contract (its JSON carries them),
// spelled once here. Everything else it reports uses the codes of the
// manifest check (FindingCodes.h: file-missing, bom, binary-missing, ...)
// and of the registry reader (RegistryFindingCodes.h: vrpath-missing,
// appconfig-unreadable, temporary-location, ...), which mean the same there.
#pragma once

namespace ostrel::doctor::findings {

// Error, on an application: another listed manifest earlier in the runtime's
// list declares the same app_key, so the runtime serves the key from that
// one and skips this copy. The message names the one served.
inline constexpr const char* kKeyShadowed = "key-shadowed";

// Warning, on a listed manifest: the same file is listed again (by the
// platform's path rules); it is judged once, at its first entry.
inline constexpr const char* kListedTwice = "listed-twice";

// Warning, on an auto-launch setting (vrappconfig/<key>.vrappconfig): it
// switches auto-launch on for a key that no listed manifest declares, so it
// starts nothing: a leftover of an application that is gone.
inline constexpr const char* kAutoLaunchOrphan = "auto-launch-orphan";

// Warning, on an application: its auto-launch setting is on, but it is not
// a dashboard overlay, and the runtime applies auto-launch to those only.
inline constexpr const char* kAutoLaunchNoEffect = "auto-launch-no-effect";

}  // namespace ostrel::doctor::findings
