// A scripted stand-in for the OpenVR loader library. It exports the loader's
// entry points with C linkage and serves an applications table whose answers
// the tests script through the OstrelFakeLoader_* entry points; it records
// every call with the exact bytes it received.
//
// The table is built by entry number, independently of the adapter's own
// declaration of it, so that an entry the adapter puts in the wrong place
// lands on an entry that records "Entry<N>()" instead of going unnoticed.
//
// A program run as a separate process (ostrel-register under test) cannot
// call the control entry points, so the stand-in also reads a script and a
// call-log file from the environment; see applyEnvironmentScript.
//
// Built twice: once as a current loader, once (OSTREL_FAKE_LOADER_BEFORE_INIT2)
// as an old one that exports VR_InitInternal in place of VR_InitInternal2.
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "ostrel_fake_openvr_loader_export.h"

namespace {

using Entry = void (*)();
constexpr std::size_t kEntryCount = 30;

constexpr std::int32_t kInitErrorInterfaceNotFound = 105;
constexpr std::int32_t kInitErrorNotInitialized = 109;
constexpr std::int32_t kPropertyNotSet = 201;
constexpr std::int32_t kBufferTooSmall = 200;

struct Property {
  std::string text;
  bool flag = false;
  std::int32_t error = 0;
};

struct Script {
  std::int32_t initError = 0;
  bool interfaceKnown = true;
  bool tableWithheld = false;
  bool initialised = false;
  std::uint32_t nextToken = 1;
  std::array<Entry, kEntryCount> table{};
  std::map<std::string, std::deque<std::int32_t>> answers;
  std::map<std::int32_t, Property> textProperties;
  std::map<std::int32_t, Property> flagProperties;
  std::vector<std::string> calls;
};

std::array<Entry, kEntryCount> fullTable();
void applyEnvironmentScript(Script& script);

Script freshScript() {
  Script fresh;
  fresh.table = fullTable();
  applyEnvironmentScript(fresh);
  return fresh;
}

Script& script() {
  static Script instance = freshScript();
  return instance;
}

std::string text(const char* value) { return value == nullptr ? "(null)" : value; }
std::string flag(bool value) { return value ? "true" : "false"; }
// Each call is appended at once, so the log is complete however the process
// ends.
void record(std::string call) {
  if (const char* log = std::getenv("OSTREL_FAKE_LOADER_CALL_LOG"); log != nullptr && *log) {
    if (std::FILE* file = std::fopen(log, "ab")) {
      std::fwrite(call.data(), 1, call.size(), file);
      std::fputc('\n', file);
      std::fclose(file);
    }
  }
  script().calls.push_back(std::move(call));
}

std::int32_t nextAnswer(const char* entry) {
  std::deque<std::int32_t>& queue = script().answers[entry];
  if (queue.empty()) return 0;
  const std::int32_t answer = queue.front();
  queue.pop_front();
  return answer;
}

// --- the table's entries -------------------------------------------------

std::int32_t addApplicationManifest(const char* path, bool temporary) {
  record("AddApplicationManifest(" + text(path) + "," + flag(temporary) + ")");
  return nextAnswer("AddApplicationManifest");
}

std::int32_t removeApplicationManifest(const char* path) {
  record("RemoveApplicationManifest(" + text(path) + ")");
  return nextAnswer("RemoveApplicationManifest");
}

bool isApplicationInstalled(const char* key) {
  record("IsApplicationInstalled(" + text(key) + ")");
  return nextAnswer("IsApplicationInstalled") != 0;
}

const char* errorNameFromEnum(std::int32_t error) {
  record("GetApplicationsErrorNameFromEnum(" + std::to_string(error) + ")");
  return "FakeLoader_ErrorName";
}

// As the runtime does: the size needed, terminator included, whatever the
// buffer; BufferTooSmall and nothing written when it does not fit.
std::uint32_t propertyString(const char* key, std::int32_t property, char* buffer,
                             std::uint32_t size, std::int32_t* error) {
  record("GetApplicationPropertyString(" + text(key) + "," + std::to_string(property) + "," +
         std::to_string(size) + ")");
  auto found = script().textProperties.find(property);
  if (found == script().textProperties.end() || found->second.error != 0) {
    *error = found == script().textProperties.end() ? kPropertyNotSet : found->second.error;
    if (buffer != nullptr && size > 0) buffer[0] = '\0';
    return 0;
  }
  const std::string& value = found->second.text;
  const auto needed = static_cast<std::uint32_t>(value.size() + 1);
  if (buffer == nullptr || size < needed) {
    *error = kBufferTooSmall;
    return needed;
  }
  std::memcpy(buffer, value.c_str(), needed);
  *error = 0;
  return needed;
}

bool propertyBool(const char* key, std::int32_t property, std::int32_t* error) {
  record("GetApplicationPropertyBool(" + text(key) + "," + std::to_string(property) + ")");
  auto found = script().flagProperties.find(property);
  if (found == script().flagProperties.end()) {
    *error = kPropertyNotSet;
    return false;
  }
  *error = found->second.error;
  return found->second.error == 0 && found->second.flag;
}

std::int32_t setApplicationAutoLaunch(const char* key, bool autoLaunch) {
  record("SetApplicationAutoLaunch(" + text(key) + "," + flag(autoLaunch) + ")");
  return nextAnswer("SetApplicationAutoLaunch");
}

bool getApplicationAutoLaunch(const char* key) {
  record("GetApplicationAutoLaunch(" + text(key) + ")");
  return nextAnswer("GetApplicationAutoLaunch") != 0;
}

// Every entry the adapter has no business calling.
template <std::size_t N>
void unexpectedEntry() {
  record("Entry" + std::to_string(N) + "()");
}

template <std::size_t... N>
std::array<Entry, kEntryCount> unexpectedEntries(std::index_sequence<N...>) {
  return {&unexpectedEntry<N>...};
}

std::array<Entry, kEntryCount> fullTable() {
  std::array<Entry, kEntryCount> table = unexpectedEntries(std::make_index_sequence<kEntryCount>());
  table[0] = reinterpret_cast<Entry>(&addApplicationManifest);
  table[1] = reinterpret_cast<Entry>(&removeApplicationManifest);
  table[2] = reinterpret_cast<Entry>(&isApplicationInstalled);
  table[13] = reinterpret_cast<Entry>(&errorNameFromEnum);
  table[14] = reinterpret_cast<Entry>(&propertyString);
  table[15] = reinterpret_cast<Entry>(&propertyBool);
  table[17] = reinterpret_cast<Entry>(&setApplicationAutoLaunch);
  table[18] = reinterpret_cast<Entry>(&getApplicationAutoLaunch);
  return table;
}

void reset() { script() = freshScript(); }

std::vector<std::string> split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = text.find(separator, start);
    parts.push_back(text.substr(start, end - start));
    if (end == std::string::npos) return parts;
    start = end + 1;
  }
}

// OSTREL_FAKE_LOADER_SCRIPT: items separated by '|', each one of
//   init=<error>                    VR_InitInternal2 fails with it
//   add= remove= autolaunch= installed= getautolaunch=<n>,<n>,...
//                                   answers queued for that table entry
//   text<property>=<value>          a string property (no '|' in it)
//   flag<property>=0|1              a bool property
//   notable                         VR_GetGenericInterface returns no table
// Anything else is ignored, so a typo shows up as a default answer in the
// call log rather than a crash.
void applyEnvironmentScript(Script& target) {
  const char* text = std::getenv("OSTREL_FAKE_LOADER_SCRIPT");
  if (text == nullptr) return;
  static const std::map<std::string, const char*> kQueues = {
      {"add", "AddApplicationManifest"},
      {"remove", "RemoveApplicationManifest"},
      {"autolaunch", "SetApplicationAutoLaunch"},
      {"installed", "IsApplicationInstalled"},
      {"getautolaunch", "GetApplicationAutoLaunch"}};
  for (const std::string& item : split(text, '|')) {
    if (item == "notable") {
      target.tableWithheld = true;
      continue;
    }
    const std::size_t equals = item.find('=');
    if (equals == std::string::npos) continue;
    const std::string name = item.substr(0, equals);
    const std::string value = item.substr(equals + 1);
    if (name == "init") {
      target.initError = std::atoi(value.c_str());
    } else if (auto queue = kQueues.find(name); queue != kQueues.end()) {
      for (const std::string& answer : split(value, ',')) {
        target.answers[queue->second].push_back(std::atoi(answer.c_str()));
      }
    } else if (name.rfind("text", 0) == 0) {
      target.textProperties[std::atoi(name.c_str() + 4)] = Property{value, false, 0};
    } else if (name.rfind("flag", 0) == 0) {
      target.flagProperties[std::atoi(name.c_str() + 4)] = Property{{}, value == "1", 0};
    }
  }
}

const char* initErrorSymbol(std::int32_t error) {
  switch (error) {
    case 0:
      return "VRInitError_None";
    case 100:
      return "VRInitError_Init_InstallationNotFound";
    case 105:
      return "VRInitError_Init_InterfaceNotFound";
    case 108:
      return "VRInitError_Init_HmdNotFound";
    case 109:
      return "VRInitError_Init_NotInitialized";
    case 110:
      return "VRInitError_Init_PathRegistryNotFound";
    case 121:
      return "VRInitError_Init_NoServerForBackgroundApp";
    case 301:
      return "VRInitError_IPC_ConnectFailed";
    case 309:
      return "VRInitError_IPC_ConnectFailedAfterTargetExited";
    default:
      return nullptr;
  }
}

std::uint32_t initialise(std::int32_t* error) {
  if (script().initError != 0) {
    *error = script().initError;
    return 0;
  }
  script().initialised = true;
  *error = 0;
  return script().nextToken++;
}

}  // namespace

// --- the loader's exports --------------------------------------------------

extern "C" {

#ifdef OSTREL_FAKE_LOADER_BEFORE_INIT2
OSTREL_FAKE_OPENVR_LOADER_EXPORT std::uint32_t VR_InitInternal(std::int32_t* error,
                                                               std::int32_t type) {
  record("VR_InitInternal(" + std::to_string(type) + ")");
  return initialise(error);
}
#else
OSTREL_FAKE_OPENVR_LOADER_EXPORT std::uint32_t VR_InitInternal2(std::int32_t* error,
                                                                std::int32_t type,
                                                                const char* startupInfo) {
  record("VR_InitInternal2(" + std::to_string(type) + "," + text(startupInfo) + ")");
  return initialise(error);
}
#endif

OSTREL_FAKE_OPENVR_LOADER_EXPORT void VR_ShutdownInternal() {
  record("VR_ShutdownInternal()");
  script().initialised = false;
}

OSTREL_FAKE_OPENVR_LOADER_EXPORT void* VR_GetGenericInterface(const char* version,
                                                              std::int32_t* error) {
  record("VR_GetGenericInterface(" + text(version) + ")");
  if (!script().initialised) {
    *error = kInitErrorNotInitialized;
    return nullptr;
  }
  if (script().tableWithheld || text(version) != "FnTable:IVRApplications_007") {
    *error = kInitErrorInterfaceNotFound;
    return nullptr;
  }
  *error = 0;
  return script().table.data();
}

OSTREL_FAKE_OPENVR_LOADER_EXPORT bool VR_IsInterfaceVersionValid(const char* version) {
  record("VR_IsInterfaceVersionValid(" + text(version) + ")");
  return script().initialised && script().interfaceKnown && text(version) == "IVRApplications_007";
}

OSTREL_FAKE_OPENVR_LOADER_EXPORT bool VR_IsRuntimeInstalled() {
  record("VR_IsRuntimeInstalled()");
  return true;
}

OSTREL_FAKE_OPENVR_LOADER_EXPORT const char* VR_GetVRInitErrorAsSymbol(std::int32_t error) {
  record("VR_GetVRInitErrorAsSymbol(" + std::to_string(error) + ")");
  const char* symbol = initErrorSymbol(error);
  return symbol != nullptr ? symbol : "Unknown error";
}

OSTREL_FAKE_OPENVR_LOADER_EXPORT const char* VR_GetVRInitErrorAsEnglishDescription(
    std::int32_t error) {
  record("VR_GetVRInitErrorAsEnglishDescription(" + std::to_string(error) + ")");
  switch (error) {
    case 100:
      return "No OpenVR runtime installation was found";
    case 108:
      return "No headset was found";
    case 301:
      return "Could not connect to the runtime server";
    default:
      return initErrorSymbol(error) != nullptr ? "See the error's name" : "Unknown error";
  }
}

// --- control -----------------------------------------------------------------

OSTREL_FAKE_OPENVR_LOADER_EXPORT void OstrelFakeLoader_Reset() { reset(); }

OSTREL_FAKE_OPENVR_LOADER_EXPORT void OstrelFakeLoader_SetInitError(std::int32_t error) {
  script().initError = error;
}

OSTREL_FAKE_OPENVR_LOADER_EXPORT void OstrelFakeLoader_SetInterfaceKnown(bool known) {
  script().interfaceKnown = known;
}

OSTREL_FAKE_OPENVR_LOADER_EXPORT void OstrelFakeLoader_WithholdTable(bool withhold) {
  script().tableWithheld = withhold;
}

OSTREL_FAKE_OPENVR_LOADER_EXPORT bool OstrelFakeLoader_ClearSlot(std::int32_t slot) {
  if (slot < 0 || static_cast<std::size_t>(slot) >= kEntryCount) return false;
  script().table[static_cast<std::size_t>(slot)] = nullptr;
  return true;
}

OSTREL_FAKE_OPENVR_LOADER_EXPORT bool OstrelFakeLoader_QueueAnswer(const char* entry,
                                                                   std::int32_t answer) {
  static const char* const kEntries[] = {"AddApplicationManifest", "RemoveApplicationManifest",
                                         "SetApplicationAutoLaunch", "IsApplicationInstalled",
                                         "GetApplicationAutoLaunch"};
  for (const char* known : kEntries) {
    if (text(entry) == known) {
      script().answers[known].push_back(answer);
      return true;
    }
  }
  return false;
}

OSTREL_FAKE_OPENVR_LOADER_EXPORT void OstrelFakeLoader_SetTextProperty(std::int32_t property,
                                                                       const char* value,
                                                                       std::int32_t error) {
  script().textProperties[property] = Property{text(value), false, error};
}

OSTREL_FAKE_OPENVR_LOADER_EXPORT void OstrelFakeLoader_SetFlagProperty(std::int32_t property,
                                                                       bool value,
                                                                       std::int32_t error) {
  script().flagProperties[property] = Property{{}, value, error};
}

OSTREL_FAKE_OPENVR_LOADER_EXPORT std::size_t OstrelFakeLoader_CallCount() {
  return script().calls.size();
}

OSTREL_FAKE_OPENVR_LOADER_EXPORT const char* OstrelFakeLoader_Call(std::size_t index) {
  return index < script().calls.size() ? script().calls[index].c_str() : nullptr;
}

}  // extern "C"
