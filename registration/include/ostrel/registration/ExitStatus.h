// Exit statuses of ostrel-register: the one home of every number the command
// exits with, and which its JSON reports carry as "exit_status" (so they live
// in the library that writes those reports). Setup scripts and installers
// branch on them, so a number never changes meaning:
//
//   0 to 4  the registrar's RegisterResult values, unchanged (exitStatusFor);
//           0 is also help, version, a passed check, a repair dry run,
//           status's registered and a doctor that found no error; 4 also
//           repair's and doctor --remove-dead's refused removal
//   5       the manifest check found errors (check; register, ensure and
//           repair without --force); doctor found an error
//   6, 7    status: stale, not registered (exitStatusForState);
//           as with `systemctl is-active`, no need to read the report
//   64      the command line was not understood (EX_USAGE)
//   69      the runtime cannot be reached (EX_UNAVAILABLE); for status, neither
//           the runtime nor its files could be read; for doctor, the
//           runtime's list could not be read
//
// Pure functions of their argument: they share no state and never throw.
#pragma once

#include "ostrel/registration/RegistrationStatus.h"
#include "ostrel/steamvr/IManifestRegistrar.h"

namespace ostrel::registration {

inline constexpr int kExitManifestErrors = 5;  // check found errors, not forced
inline constexpr int kExitStale = 6;           // status: the registration is stale
inline constexpr int kExitNotRegistered = 7;   // status: nothing serves the key
inline constexpr int kExitUsage = 64;          // EX_USAGE
inline constexpr int kExitUnavailable = 69;    // EX_UNAVAILABLE: no runtime session

// The exit status for a registrar result: its value, 0 to 4. A value outside
// the enum comes back unchanged.
int exitStatusFor(steamvr::RegisterResult result) noexcept;

// status's exit status for a state: Registered 0, NotRegistered
// kExitNotRegistered, Stale kExitStale, Unknown (and anything outside the
// enum) kExitUnavailable.
int exitStatusForState(RegistrationState state) noexcept;

}  // namespace ostrel::registration
