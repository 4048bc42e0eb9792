#include "ostrel/registration/ExitStatus.h"

namespace ostrel::registration {

using steamvr::RegisterResult;

int exitStatusFor(RegisterResult result) noexcept { return static_cast<int>(result); }

int exitStatusForState(RegistrationState state) noexcept {
  switch (state) {
    case RegistrationState::Registered:
      return 0;
    case RegistrationState::Stale:
      return kExitStale;
    case RegistrationState::NotRegistered:
      return kExitNotRegistered;
    case RegistrationState::Unknown:
      break;
  }
  return kExitUnavailable;
}

}  // namespace ostrel::registration
