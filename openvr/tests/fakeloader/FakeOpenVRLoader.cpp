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
// With OSTREL_FAKE_LOADER_CONFIG_DIR set it also keeps a registry the way the
// runtime does, on disk, so that it lasts from one process to the next: see
// "the kept registry" below. Scripted answers still come first.
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
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <nlohmann/json.hpp>
#include <optional>
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
  // Errors of the next starts, oldest first; once used up, initError holds.
  std::deque<std::int32_t> initErrors;
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

std::optional<std::int32_t> queuedAnswer(const char* entry) {
  std::deque<std::int32_t>& queue = script().answers[entry];
  if (queue.empty()) return std::nullopt;
  const std::int32_t answer = queue.front();
  queue.pop_front();
  return answer;
}

std::int32_t nextAnswer(const char* entry) { return queuedAnswer(entry).value_or(0); }

// --- the kept registry ---------------------------------------------------
//
// <config>/appconfig.json lists the added manifests in order of addition;
// <config>/vrappconfig/<key>.vrappconfig holds the key's auto-launch. As
// the runtime does: adding appends (once), removing drops every entry of the
// path, the first listed manifest that declares a key serves it, a key is
// installed only while a listed manifest declares it, and a manifest that
// cannot be read is refused. Paths compare by Windows rules. When
// VR_PATHREG_OVERRIDE names a file that does not exist yet, a successful
// start writes it naming <config>, as the runtime's first start does.

using nlohmann::json;
constexpr std::int32_t kApplicationErrorUnknownApplication = 104;
constexpr std::int32_t kApplicationErrorInvalidManifest = 107;

std::string configFolder() {
  const char* folder = std::getenv("OSTREL_FAKE_LOADER_CONFIG_DIR");
  return folder == nullptr ? std::string() : std::string(folder);
}

bool keepsRegistry() { return !configFolder().empty(); }

// Text arrives as UTF-8; char8_t makes the library convert it on Windows.
std::filesystem::path fromUtf8(const std::string& text) {
  return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

std::string comparable(std::string path) {
  for (char& c : path) {
    if (c == '/') c = '\\';
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return path;
}

json readJsonFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return json();
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return json::parse(text, nullptr, /*allow_exceptions=*/false);
}

void writeJsonFile(const std::filesystem::path& file, const json& value) {
  std::error_code ignored;
  std::filesystem::create_directories(file.parent_path(), ignored);
  std::ofstream(file, std::ios::binary | std::ios::trunc) << value.dump(1, '\t');
}

std::filesystem::path appConfigFile() { return fromUtf8(configFolder()) / "appconfig.json"; }

std::filesystem::path appSettingsFile(const std::string& key) {
  return fromUtf8(configFolder()) / "vrappconfig" / fromUtf8(key + ".vrappconfig");
}

std::vector<std::string> listedManifests() {
  const json root = readJsonFile(appConfigFile());
  std::vector<std::string> listed;
  if (!root.is_object()) return listed;
  const auto paths = root.find("manifest_paths");
  if (paths == root.end() || !paths->is_array()) return listed;
  for (const json& path : *paths) {
    if (path.is_string()) listed.push_back(path.get<std::string>());
  }
  return listed;
}

// Other members a test put in the file are kept, as the runtime keeps them.
void writeListedManifests(const std::vector<std::string>& listed) {
  json root = readJsonFile(appConfigFile());
  if (!root.is_object()) root = json::object();
  root["manifest_paths"] = listed;
  writeJsonFile(appConfigFile(), root);
}

// The manifest's applications, or nullopt when the runtime could not load it.
std::optional<json> manifestApplications(const std::string& path) {
  const json root = readJsonFile(fromUtf8(path));
  if (!root.is_object()) return std::nullopt;
  const auto applications = root.find("applications");
  if (applications == root.end() || !applications->is_array()) return std::nullopt;
  return *applications;
}

std::optional<json> declaredApplication(const std::string& manifest, const std::string& key) {
  const std::optional<json> applications = manifestApplications(manifest);
  if (!applications) return std::nullopt;
  for (const json& application : *applications) {
    if (application.is_object() && application.value("app_key", json()) == key) {
      return application;
    }
  }
  return std::nullopt;
}

struct Served {
  std::string manifest;
  json application;
};

std::optional<Served> servingManifest(const std::string& key) {
  for (const std::string& manifest : listedManifests()) {
    if (std::optional<json> application = declaredApplication(manifest, key)) {
      return Served{manifest, std::move(*application)};
    }
  }
  return std::nullopt;
}

// Each platform's runtime starts its own binary, named by its own full paths.
#ifdef _WIN32
constexpr const char* kBinaryMember = "binary_path_windows";
bool isFullPath(const std::string& path) {
  return (path.size() > 2 && path[1] == ':') || path.rfind("\\\\", 0) == 0;
}
#else
constexpr const char* kBinaryMember = "binary_path_linux";
bool isFullPath(const std::string& path) { return path.rfind('/', 0) == 0; }
#endif

std::string folderOf(const std::string& path) {
  const std::size_t last = path.find_last_of("\\/");
  return last == std::string::npos ? std::string() : path.substr(0, last);
}

std::int32_t keptAdd(const std::string& path) {
  if (!manifestApplications(path)) return kApplicationErrorInvalidManifest;
  std::vector<std::string> listed = listedManifests();
  for (const std::string& entry : listed) {
    if (comparable(entry) == comparable(path)) return 0;
  }
  listed.push_back(path);
  writeListedManifests(listed);
  return 0;
}

std::int32_t keptRemove(const std::string& path) {
  std::vector<std::string> listed = listedManifests();
  std::vector<std::string> kept;
  for (const std::string& entry : listed) {
    if (comparable(entry) != comparable(path)) kept.push_back(entry);
  }
  if (kept.size() != listed.size()) writeListedManifests(kept);
  return 0;
}

std::int32_t keptSetAutoLaunch(const std::string& key, bool autoLaunch) {
  if (!servingManifest(key)) return kApplicationErrorUnknownApplication;
  json settings = readJsonFile(appSettingsFile(key));
  if (!settings.is_object()) settings = json::object({{"last_launch_time", "0"}});
  settings["autolaunch"] = autoLaunch;
  writeJsonFile(appSettingsFile(key), settings);
  return 0;
}

bool keptAutoLaunch(const std::string& key) {
  const json settings = readJsonFile(appSettingsFile(key));
  return settings.is_object() && settings.value("autolaunch", json()) == true;
}

// The runtime's answers for the properties the adapter reads, from the
// manifest that serves the key. nullopt: not one of those properties.
std::optional<Property> keptProperty(const std::string& key, std::int32_t property) {
  constexpr std::int32_t kWorkingDirectory = 12;
  constexpr std::int32_t kBinaryPath = 13;
  constexpr std::int32_t kIsDashboardOverlay = 60;
  if (property != kWorkingDirectory && property != kBinaryPath && property != kIsDashboardOverlay) {
    return std::nullopt;
  }
  const std::optional<Served> served = servingManifest(key);
  if (!served) return Property{{}, false, kApplicationErrorUnknownApplication};
  const std::string folder = folderOf(served->manifest);
  if (property == kIsDashboardOverlay) {
    return Property{{}, served->application.value("is_dashboard_overlay", false), 0};
  }
  const json binary = served->application.value(kBinaryMember, json());
  if (!binary.is_string()) return Property{{}, false, kPropertyNotSet};
  std::string path = binary.get<std::string>();
  if (!isFullPath(path)) path = folder + (folder.find('/') != std::string::npos ? "/" : "\\") + path;
  if (property == kBinaryPath) return Property{path, false, 0};
  return Property{folderOf(path), false, 0};
}

void writePathRegistryOnce() {
  const char* file = std::getenv("VR_PATHREG_OVERRIDE");
  if (file == nullptr || *file == '\0') return;
  const std::filesystem::path target = fromUtf8(file);
  std::error_code error;
  if (std::filesystem::exists(target, error) || error) return;
  const std::string config = configFolder();
  // The runtime folder holds the server, as SteamVR's does: a caller that
  // looks for it before loading the loader takes this for SteamVR.
#ifdef _WIN32
  const std::filesystem::path server = fromUtf8(config + "\\SteamVR\\bin\\win64\\vrserver.exe");
#else
  const std::filesystem::path server = fromUtf8(config + "\\SteamVR") / "bin/linux64/vrserver";
#endif
  std::filesystem::create_directories(server.parent_path(), error);
  std::ofstream(server, std::ios::binary).flush();
  writeJsonFile(target, json{{"config", json::array({config})},
                             {"log", json::array({config + "\\logs"})},
                             {"runtime", json::array({config + "\\SteamVR"})},
                             {"external_drivers", nullptr},
                             {"jsonid", "vrpathreg"},
                             {"version", 1}});
}

// --- the table's entries -------------------------------------------------

std::int32_t addApplicationManifest(const char* path, bool temporary) {
  record("AddApplicationManifest(" + text(path) + "," + flag(temporary) + ")");
  const std::int32_t answer = nextAnswer("AddApplicationManifest");
  if (answer != 0 || !keepsRegistry() || path == nullptr) return answer;
  return keptAdd(path);
}

std::int32_t removeApplicationManifest(const char* path) {
  record("RemoveApplicationManifest(" + text(path) + ")");
  const std::int32_t answer = nextAnswer("RemoveApplicationManifest");
  if (answer != 0 || !keepsRegistry() || path == nullptr) return answer;
  return keptRemove(path);
}

bool isApplicationInstalled(const char* key) {
  record("IsApplicationInstalled(" + text(key) + ")");
  if (const std::optional<std::int32_t> answer = queuedAnswer("IsApplicationInstalled")) {
    return *answer != 0;
  }
  return keepsRegistry() && key != nullptr && servingManifest(key).has_value();
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
  std::optional<Property> answer;
  if (auto found = script().textProperties.find(property); found != script().textProperties.end()) {
    answer = found->second;
  } else if (keepsRegistry() && key != nullptr) {
    answer = keptProperty(key, property);
  }
  if (!answer || answer->error != 0) {
    *error = !answer ? kPropertyNotSet : answer->error;
    if (buffer != nullptr && size > 0) buffer[0] = '\0';
    return 0;
  }
  const std::string& value = answer->text;
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
  std::optional<Property> answer;
  if (auto found = script().flagProperties.find(property); found != script().flagProperties.end()) {
    answer = found->second;
  } else if (keepsRegistry() && key != nullptr) {
    answer = keptProperty(key, property);
  }
  if (!answer) {
    *error = kPropertyNotSet;
    return false;
  }
  *error = answer->error;
  return answer->error == 0 && answer->flag;
}

std::int32_t setApplicationAutoLaunch(const char* key, bool autoLaunch) {
  record("SetApplicationAutoLaunch(" + text(key) + "," + flag(autoLaunch) + ")");
  const std::int32_t answer = nextAnswer("SetApplicationAutoLaunch");
  if (answer != 0 || !keepsRegistry() || key == nullptr) return answer;
  return keptSetAutoLaunch(key, autoLaunch);
}

bool getApplicationAutoLaunch(const char* key) {
  record("GetApplicationAutoLaunch(" + text(key) + ")");
  if (const std::optional<std::int32_t> answer = queuedAnswer("GetApplicationAutoLaunch")) {
    return *answer != 0;
  }
  return keepsRegistry() && key != nullptr && keptAutoLaunch(key);
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
//   init=<error>,<error>,...,<last> the starts fail with these in turn (0
//                                   succeeds); the last one holds after
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
      const std::vector<std::string> errors = split(value, ',');
      for (std::size_t i = 0; i + 1 < errors.size(); ++i) {
        target.initErrors.push_back(std::atoi(errors[i].c_str()));
      }
      target.initError = std::atoi(errors.back().c_str());
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
    case 101:
      return "VRInitError_Init_InstallationCorrupt";
    case 102:
      return "VRInitError_Init_VRClientDLLNotFound";
    case 110:
      return "VRInitError_Init_PathRegistryNotFound";
    case 121:
      return "VRInitError_Init_NoServerForBackgroundApp";
    case 300:
      return "VRInitError_IPC_ServerInitFailed";
    case 301:
      return "VRInitError_IPC_ConnectFailed";
    case 309:
      return "VRInitError_IPC_ConnectFailedAfterTargetExited";
    default:
      return nullptr;
  }
}

std::uint32_t initialise(std::int32_t* error) {
  std::int32_t failure = script().initError;
  if (!script().initErrors.empty()) {
    failure = script().initErrors.front();
    script().initErrors.pop_front();
  }
  if (failure != 0) {
    *error = failure;
    return 0;
  }
  script().initialised = true;
  *error = 0;
  if (keepsRegistry()) writePathRegistryOnce();
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
    case 110:
      // The real loader ends some descriptions with the code in brackets.
      return "Installation path could not be located (110)";
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

OSTREL_FAKE_OPENVR_LOADER_EXPORT void OstrelFakeLoader_QueueInitError(std::int32_t error) {
  script().initErrors.push_back(error);
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
