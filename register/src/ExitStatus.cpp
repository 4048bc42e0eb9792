#include "ExitStatus.h"

namespace ostrel::registercli {

using steamvr::RegisterResult;

int exitStatusFor(RegisterResult result) noexcept { return static_cast<int>(result); }

int exitStatusForState(registration::RegistrationState state) noexcept {
  switch (state) {
    case registration::RegistrationState::Registered:
      return 0;
    case registration::RegistrationState::Stale:
      return kExitStale;
    case registration::RegistrationState::NotRegistered:
      return kExitNotRegistered;
    case registration::RegistrationState::Unknown:
      break;
  }
  return kExitUnavailable;
}

// The doctor's states carry the statuses they share with the other commands.
static_assert(static_cast<int>(doctor::DoctorState::Healthy) == 0);
static_assert(static_cast<int>(doctor::DoctorState::RemoveFailed) ==
              static_cast<int>(steamvr::RegisterResult::RemoveFailed));
static_assert(static_cast<int>(doctor::DoctorState::ProblemsFound) == kExitManifestErrors);
static_assert(static_cast<int>(doctor::DoctorState::Unavailable) == kExitUnavailable);

int exitStatusForDoctor(doctor::DoctorState state) noexcept { return static_cast<int>(state); }

}  // namespace ostrel::registercli
