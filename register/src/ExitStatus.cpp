#include "ExitStatus.h"

namespace ostrel::registercli {

using steamvr::RegisterResult;

int exitStatusFor(RegisterResult result) noexcept { return static_cast<int>(result); }

const char* registerResultName(RegisterResult result) noexcept {
  switch (result) {
    case RegisterResult::Success:
      return "Success";
    case RegisterResult::AddFailed:
      return "AddFailed";
    case RegisterResult::PollTimeout:
      return "PollTimeout";
    case RegisterResult::AutoLaunchFailed:
      return "AutoLaunchFailed";
    case RegisterResult::RemoveFailed:
      return "RemoveFailed";
  }
  return "Unknown";
}

}  // namespace ostrel::registercli
