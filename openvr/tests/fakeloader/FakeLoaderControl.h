// The stand-in loader's control entry points, as the tests see them: names
// and function types to resolve from the loaded library. The stand-in's
// loader exports are never declared here; the tests reach those only through
// the session, as a program reaches the real loader.
#pragma once

#include <cstddef>
#include <cstdint>

namespace ostrel::openvr::testing::fakeloader {

// Forgets every call and answer and serves the default script: start-up
// succeeds, the runtime knows IVRApplications_007 and hands out a full table,
// adds and removals succeed, nothing is installed.
using ResetFunction = void (*)();
inline constexpr const char* kReset = "OstrelFakeLoader_Reset";

// The error VR_InitInternal2 reports (0: start-up succeeds).
using SetInitErrorFunction = void (*)(std::int32_t error);
inline constexpr const char* kSetInitError = "OstrelFakeLoader_SetInitError";

// Queues the error of the next start (0: it succeeds). Queued errors are used
// up, oldest first, before the one SetInitError sets.
using QueueInitErrorFunction = void (*)(std::int32_t error);
inline constexpr const char* kQueueInitError = "OstrelFakeLoader_QueueInitError";

// false: VR_IsInterfaceVersionValid denies IVRApplications_007, as a runtime
// older than the interface would.
using SetInterfaceKnownFunction = void (*)(bool known);
inline constexpr const char* kSetInterfaceKnown = "OstrelFakeLoader_SetInterfaceKnown";

// true: VR_GetGenericInterface returns no table and InterfaceNotFound (105).
using WithholdTableFunction = void (*)(bool withhold);
inline constexpr const char* kWithholdTable = "OstrelFakeLoader_WithholdTable";

// Leaves table entry `slot` (0 to 29) empty. Returns false for a bad slot.
using ClearSlotFunction = bool (*)(std::int32_t slot);
inline constexpr const char* kClearSlot = "OstrelFakeLoader_ClearSlot";

// Queues the next answer of one table entry, by the entry's name:
// AddApplicationManifest, RemoveApplicationManifest, SetApplicationAutoLaunch
// (an error code), IsApplicationInstalled, GetApplicationAutoLaunch (0 or 1).
// An empty queue answers 0. Returns false for any other name.
using QueueAnswerFunction = bool (*)(const char* entry, std::int32_t answer);
inline constexpr const char* kQueueAnswer = "OstrelFakeLoader_QueueAnswer";

// What GetApplicationPropertyString / GetApplicationPropertyBool answer for a
// property of any key. `error` other than 0 is reported instead of the value.
// A property never set answers PropertyNotSet (201).
using SetTextPropertyFunction = void (*)(std::int32_t property, const char* value,
                                         std::int32_t error);
inline constexpr const char* kSetTextProperty = "OstrelFakeLoader_SetTextProperty";
using SetFlagPropertyFunction = void (*)(std::int32_t property, bool value, std::int32_t error);
inline constexpr const char* kSetFlagProperty = "OstrelFakeLoader_SetFlagProperty";

// Every call the stand-in received since the last reset, oldest first, as
// "Name(argument,argument)" with text arguments byte for byte and flags as
// true/false, the self-check's form. The text lives until the next reset.
using CallCountFunction = std::size_t (*)();
inline constexpr const char* kCallCount = "OstrelFakeLoader_CallCount";
using CallFunction = const char* (*)(std::size_t index);
inline constexpr const char* kCall = "OstrelFakeLoader_Call";

}  // namespace ostrel::openvr::testing::fakeloader
