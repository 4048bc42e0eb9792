#include "ostrel/steamvr/IVRApplicationsSurface.h"

namespace ostrel::steamvr {

const char* applicationErrorName(ApplicationError code) noexcept {
  switch (code) {
    case 0:
      return "VRApplicationError_None";
    case 100:
      return "VRApplicationError_AppKeyAlreadyExists";
    case 101:
      return "VRApplicationError_NoManifest";
    case 102:
      return "VRApplicationError_NoApplication";
    case 103:
      return "VRApplicationError_InvalidIndex";
    case 104:
      return "VRApplicationError_UnknownApplication";
    case 105:
      return "VRApplicationError_IPCFailed";
    case 106:
      return "VRApplicationError_ApplicationAlreadyRunning";
    case 107:
      return "VRApplicationError_InvalidManifest";
    case 108:
      return "VRApplicationError_InvalidApplication";
    case 109:
      return "VRApplicationError_LaunchFailed";
    case 110:
      return "VRApplicationError_ApplicationAlreadyStarting";
    case 111:
      return "VRApplicationError_LaunchInProgress";
    case 112:
      return "VRApplicationError_OldApplicationQuitting";
    case 113:
      return "VRApplicationError_TransitionAborted";
    case 114:
      return "VRApplicationError_IsTemplate";
    case 115:
      return "VRApplicationError_SteamVRIsExiting";
    case 200:
      return "VRApplicationError_BufferTooSmall";
    case 201:
      return "VRApplicationError_PropertyNotSet";
    case 202:
      return "VRApplicationError_UnknownProperty";
    case 203:
      return "VRApplicationError_InvalidParameter";
    default:
      return "VRApplicationError_Unknown";
  }
}

const char* IVRApplicationsSurface::ErrorName(ApplicationError code) {
  return applicationErrorName(code);
}

}  // namespace ostrel::steamvr
