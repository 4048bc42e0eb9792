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

int startupExitStatus(StartupAction action) noexcept {
  switch (action) {
    case StartupAction::AlreadyRegistered:
    case StartupAction::Registered:
    case StartupAction::Repaired:
      return 0;
    case StartupAction::Unreachable:
      return 69;
    case StartupAction::Failed:
    case StartupAction::Cancelled:
      break;
  }
  return 1;
}

}  // namespace ostrel::startup
