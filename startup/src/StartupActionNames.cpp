#include "ostrel/startup/StartupRegistration.h"

namespace ostrel::startup {

const char* startupActionName(StartupAction action) noexcept {
  switch (action) {
    case StartupAction::AlreadyRegistered:
      return "already-registered";
    case StartupAction::Registered:
      return "registered";
    case StartupAction::Repaired:
      return "repaired";
    case StartupAction::Unreachable:
      return "unreachable";
    case StartupAction::Failed:
      break;
    case StartupAction::Cancelled:
      return "cancelled";
  }
  return "failed";
}

}  // namespace ostrel::startup
