#include "ostrel/steamvr/OpenVRSession.h"

namespace ostrel::steamvr {

const char* openVRSessionErrorKindName(OpenVRSessionErrorKind kind) noexcept {
  switch (kind) {
    case OpenVRSessionErrorKind::None:
      return "None";
    case OpenVRSessionErrorKind::LibraryNotFound:
      return "LibraryNotFound";
    case OpenVRSessionErrorKind::EntryPointMissing:
      return "EntryPointMissing";
    case OpenVRSessionErrorKind::InitFailed:
      return "InitFailed";
    case OpenVRSessionErrorKind::InterfaceUnavailable:
      return "InterfaceUnavailable";
  }
  return "Unknown";
}

}  // namespace ostrel::steamvr
