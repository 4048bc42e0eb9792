// The runtime's applications function table, "FnTable:IVRApplications_007",
// declared from the OpenVR SDK's published layout (unchanged from SDK 1.8.19
// to 2.12.1): thirty function pointers in a fixed order.
//
// Calling convention: the SDK declares the entries __stdcall on Windows and
// the loader's exports __cdecl. Both are ignored on x64, where Windows has one
// convention, as Linux does; plain function pointers are therefore exact on
// both 64-bit targets. A 32-bit build would need the attributes, and is
// refused below rather than miscompiled.
#pragma once

#include <cstddef>
#include <cstdint>

#include "ostrel/steamvr/IVRApplicationsSurface.h"
#include "ostrel/openvr/OpenVRSession.h"

static_assert(sizeof(void*) == 8, "the OpenVR tables are declared for 64-bit targets only");

namespace ostrel::openvr {

using steamvr::ApplicationError;

inline constexpr const char* kApplicationsInterfaceVersion = "IVRApplications_007";
inline constexpr const char* kApplicationsTableName = "FnTable:IVRApplications_007";

// EVRApplicationProperty values used here.
inline constexpr std::int32_t kPropertyWorkingDirectory = 12;
inline constexpr std::int32_t kPropertyBinaryPath = 13;
inline constexpr std::int32_t kPropertyIsDashboardOverlay = 60;

inline constexpr ApplicationError kApplicationErrorBufferTooSmall = 200;

// The entries this adapter never calls keep an opaque type, so nothing can
// call them by mistake with a guessed signature.
using UnusedTableEntry = void (*)();

struct OpenVRApplicationsTable {
  ApplicationError (*AddApplicationManifest)(const char* manifestPath, bool temporary);  // 0
  ApplicationError (*RemoveApplicationManifest)(const char* manifestPath);               // 1
  bool (*IsApplicationInstalled)(const char* appKey);                                    // 2
  std::uint32_t (*GetApplicationCount)();                                                // 3
  ApplicationError (*GetApplicationKeyByIndex)(std::uint32_t index, char* buffer,
                                               std::uint32_t bufferSize);  // 4
  ApplicationError (*GetApplicationKeyByProcessId)(std::uint32_t processId, char* buffer,
                                                   std::uint32_t bufferSize);  // 5
  UnusedTableEntry LaunchApplication;                                          // 6
  UnusedTableEntry LaunchTemplateApplication;                                  // 7
  UnusedTableEntry LaunchApplicationFromMimeType;                              // 8
  UnusedTableEntry LaunchDashboardOverlay;                                     // 9
  UnusedTableEntry CancelApplicationLaunch;                                    // 10
  UnusedTableEntry IdentifyApplication;                                        // 11
  UnusedTableEntry GetApplicationProcessId;                                    // 12
  const char* (*GetApplicationsErrorNameFromEnum)(ApplicationError error);     // 13
  // Returns the size the value needs, terminator included, even when the
  // buffer was too small for it.
  std::uint32_t (*GetApplicationPropertyString)(const char* appKey, std::int32_t property,
                                                char* buffer, std::uint32_t bufferSize,
                                                ApplicationError* error);  // 14
  bool (*GetApplicationPropertyBool)(const char* appKey, std::int32_t property,
                                     ApplicationError* error);  // 15
  std::uint64_t (*GetApplicationPropertyUint64)(const char* appKey, std::int32_t property,
                                                ApplicationError* error);             // 16
  ApplicationError (*SetApplicationAutoLaunch)(const char* appKey, bool autoLaunch);  // 17
  bool (*GetApplicationAutoLaunch)(const char* appKey);                               // 18
  UnusedTableEntry SetDefaultApplicationForMimeType;                                  // 19
  UnusedTableEntry GetDefaultApplicationForMimeType;                                  // 20
  UnusedTableEntry GetApplicationSupportedMimeTypes;                                  // 21
  UnusedTableEntry GetApplicationsThatSupportMimeType;                                // 22
  UnusedTableEntry GetApplicationLaunchArguments;                                     // 23
  UnusedTableEntry GetStartingApplication;                                            // 24
  UnusedTableEntry GetSceneApplicationState;                                          // 25
  UnusedTableEntry PerformApplicationPrelaunchCheck;                                  // 26
  UnusedTableEntry GetSceneApplicationStateNameFromEnum;                              // 27
  UnusedTableEntry LaunchInternalProcess;                                             // 28
  UnusedTableEntry GetCurrentSceneProcessId;                                          // 29
};

// The runtime hands out the table as raw memory: the layout must be exactly
// thirty pointers with no padding.
static_assert(sizeof(OpenVRApplicationsTable) == 30 * sizeof(UnusedTableEntry));
static_assert(offsetof(OpenVRApplicationsTable, GetApplicationsErrorNameFromEnum) ==
              13 * sizeof(UnusedTableEntry));
static_assert(offsetof(OpenVRApplicationsTable, SetApplicationAutoLaunch) ==
              17 * sizeof(UnusedTableEntry));
static_assert(offsetof(OpenVRApplicationsTable, GetCurrentSceneProcessId) ==
              29 * sizeof(UnusedTableEntry));

}  // namespace ostrel::openvr
