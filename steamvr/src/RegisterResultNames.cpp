#include "ostrel/steamvr/IManifestRegistrar.h"

namespace ostrel::steamvr {

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

}  // namespace ostrel::steamvr
