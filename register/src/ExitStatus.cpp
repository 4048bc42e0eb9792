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

}  // namespace ostrel::registercli
