#include "ostrel/openvr/OpenVRSession.h"

#include <cstdint>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "OpenVRApplicationsTable.h"
#include "UserAdvice.h"
#include "ostrel/text/ListText.h"
#include "platform/Platform.h"

namespace ostrel::openvr {

using steamvr::ISleeper;
using steamvr::plainSleeper;

namespace {

using InitError = std::int32_t;  // EVRInitError

// The loader's exports, C linkage (see OpenVRApplicationsTable.h on calling
// conventions).
using InitInternal2Function = std::uint32_t (*)(InitError* error, std::int32_t applicationType,
                                                const char* startupInfo);
using ShutdownInternalFunction = void (*)();
using GetGenericInterfaceFunction = void* (*)(const char* interfaceVersion, InitError* error);
using IsInterfaceVersionValidFunction = bool (*)(const char* interfaceVersion);
using InitErrorTextFunction = const char* (*)(InitError error);

constexpr std::int32_t kApplicationTypeUtility = 4;
constexpr InitError kInitErrorNone = 0;
constexpr const char* kLoaderBaseName = "openvr_api";

struct LoaderEntryPoints {
  InitInternal2Function initInternal2 = nullptr;
  ShutdownInternalFunction shutdownInternal = nullptr;
  GetGenericInterfaceFunction getGenericInterface = nullptr;
  IsInterfaceVersionValidFunction isInterfaceVersionValid = nullptr;
  InitErrorTextFunction initErrorAsSymbol = nullptr;
  InitErrorTextFunction initErrorAsEnglishDescription = nullptr;
};

// The loader stays loaded (see open), so its entry points outlive the
// session.
class OpenVRSessionImpl final : public OpenVRSession {
 public:
  OpenVRSessionImpl(std::filesystem::path loaderPath, const LoaderEntryPoints& loader,
                    const OpenVRApplicationsTable* table)
      : loaderPath_(std::move(loaderPath)), loader_(loader), table_(table) {}

  ~OpenVRSessionImpl() override { loader_.shutdownInternal(); }

  const OpenVRApplicationsTable& applications() const override { return *table_; }
  const std::filesystem::path& loaderPath() const override { return loaderPath_; }

 private:
  std::filesystem::path loaderPath_;
  LoaderEntryPoints loader_;
  const OpenVRApplicationsTable* table_;
};

using Opened = outcome::Outcome<std::unique_ptr<OpenVRSession>, RuntimeFailure>;

// `error` with its kind and message set, and its code: the loader's symbol
// when it named one, else the kind's name.
RuntimeFailure fail(RuntimeFailure error, OpenVRSessionErrorKind kind, std::string message) {
  error.kind = kind;
  error.message = std::move(message);
  if (error.code.empty()) error.code = openVRSessionErrorKindName(kind);
  return error;
}

// dlerror() starts its text with the path it was given; the message already
// names it.
std::string reasonWithoutPath(std::string reason, const std::string& path) {
  const std::string prefix = path + ": ";
  if (reason.compare(0, prefix.size(), prefix) == 0) reason.erase(0, prefix.size());
  return reason;
}

// Tries each place in turn. On failure `tried` lists every place with the
// system's reason.
bool loadLoader(const OpenVRSessionOptions& options, platform::DynamicLibrary& library,
                std::filesystem::path& loadedFrom, std::string& tried) {
  std::vector<std::filesystem::path> candidates;
  std::vector<std::string> attempts;
  if (!options.loaderPath.empty()) {
    // Absolute, so that a bare file name given on purpose still means that
    // file and not whatever the system's search finds under the name.
    std::error_code failure;
    std::filesystem::path absolute = std::filesystem::absolute(options.loaderPath, failure);
    if (failure) {
      candidates.push_back(options.loaderPath);
    } else {
      candidates.push_back(std::move(absolute));
    }
  } else {
    const std::filesystem::path fileName = platform::sharedLibraryFileName(kLoaderBaseName);
    if (!options.programFolder.empty()) {
      candidates.push_back(options.programFolder / fileName);
    } else if (const outcome::Outcome<std::filesystem::path> folder =
                   platform::executableDirectory();
               !folder) {
      attempts.push_back("the executable's folder (" + folder.failure().message + ")");
    } else {
      candidates.push_back(folder.value() / fileName);
    }
    candidates.push_back(fileName);
  }

  for (const std::filesystem::path& candidate : candidates) {
    outcome::Outcome<platform::DynamicLibrary> loaded = platform::DynamicLibrary::open(candidate);
    if (loaded) {
      library = std::move(loaded).value();
      loadedFrom = candidate;
      return true;
    }
    std::string reason = loaded.failure().message;
    const std::string shown = platform::pathToUtf8(candidate);
    const bool searched = !candidate.has_parent_path();
    attempts.push_back(shown + (searched ? " through the system's library search" : "") + " (" +
                       reasonWithoutPath(std::move(reason), shown) + ")");
  }

  for (std::size_t i = 0; i < attempts.size(); ++i) {
    if (i > 0) tried += "; ";
    tried += attempts[i];
  }
  return false;
}

// False, with `name` added to `missing`, when the library does not export it;
// `out` is then left as it was.
template <typename Function>
bool resolve(const platform::DynamicLibrary& library, const char* name, Function& out,
             std::vector<std::string>& missing) {
  const outcome::Outcome<platform::LibraryFunction> address = library.function(name);
  if (!address) {
    missing.emplace_back(name);
    return false;
  }
  out = reinterpret_cast<Function>(address.value());
  return true;
}

std::string initErrorSymbol(const LoaderEntryPoints& loader, InitError code) {
  const char* symbol = loader.initErrorAsSymbol(code);
  return (symbol != nullptr && *symbol != '\0') ? symbol : "VRInitError";
}

// "VRInitError_Init_InstallationNotFound (100): Installation Not Found"; the
// number alone when the loader has no words for it. The loader ends some
// descriptions with the code again, or gives the symbol as its description;
// each is shown once.
std::string initErrorText(const LoaderEntryPoints& loader, InitError code,
                          const std::string& symbol) {
  const char* found = loader.initErrorAsEnglishDescription(code);
  std::string description = found != nullptr ? found : "";
  const std::string codeSuffix = " (" + std::to_string(code) + ")";
  if (description.size() >= codeSuffix.size() &&
      description.compare(description.size() - codeSuffix.size(), codeSuffix.size(), codeSuffix) ==
          0) {
    description.erase(description.size() - codeSuffix.size());
  }
  std::string text = symbol + codeSuffix;
  if (!description.empty() && description != symbol) text += ": " + description;
  return text;
}

// Nothing reaches SteamVR without the loader, and it does not appear by
// itself: the program has to ship it, or be told where it is.
std::string loaderMissingAdvice(const OpenVRSessionOptions& options) {
  const std::string file =
      platform::pathToUtf8(platform::sharedLibraryFileName(kLoaderBaseName));
  if (!options.loaderPath.empty()) {
    return "put the OpenVR loader at the path named, or name the " + file +
           " the program ships; until then SteamVR cannot be reached";
  }
  return "ship the OpenVR loader, " + file + " from the OpenVR SDK's " + loaderSdkFolder() +
         " folder, beside the program, or name its path; until then SteamVR cannot be reached";
}

// The entries registration cannot do without. The read-backs check their own
// entries when called, so a runtime that lacks one can still register.
std::vector<std::string> missingRegistrationEntries(const OpenVRApplicationsTable& table) {
  std::vector<std::string> missing;
  if (table.AddApplicationManifest == nullptr) missing.emplace_back("AddApplicationManifest (0)");
  if (table.RemoveApplicationManifest == nullptr) {
    missing.emplace_back("RemoveApplicationManifest (1)");
  }
  if (table.IsApplicationInstalled == nullptr) missing.emplace_back("IsApplicationInstalled (2)");
  if (table.SetApplicationAutoLaunch == nullptr) {
    missing.emplace_back("SetApplicationAutoLaunch (17)");
  }
  return missing;
}

}  // namespace

Opened OpenVRSession::open(const OpenVRSessionOptions& options) {
  RuntimeFailure error;

  platform::DynamicLibrary library;
  std::filesystem::path loadedFrom;
  std::string tried;
  if (!loadLoader(options, library, loadedFrom, tried)) {
    error.advice = loaderMissingAdvice(options);
    return fail(std::move(error), OpenVRSessionErrorKind::LibraryNotFound,
                "OpenVR loader not loaded; tried " + tried);
  }
  const std::string shownPath = platform::pathToUtf8(loadedFrom);

  // Every entry point is looked up, so that the message names all that are
  // missing; past this check none of them is null.
  LoaderEntryPoints loader;
  std::vector<std::string> missing;
  bool complete = true;
  complete &= resolve(library, "VR_InitInternal2", loader.initInternal2, missing);
  complete &= resolve(library, "VR_ShutdownInternal", loader.shutdownInternal, missing);
  complete &= resolve(library, "VR_GetGenericInterface", loader.getGenericInterface, missing);
  complete &=
      resolve(library, "VR_IsInterfaceVersionValid", loader.isInterfaceVersionValid, missing);
  complete &= resolve(library, "VR_GetVRInitErrorAsSymbol", loader.initErrorAsSymbol, missing);
  complete &= resolve(library, "VR_GetVRInitErrorAsEnglishDescription",
                      loader.initErrorAsEnglishDescription, missing);
  // Valve's loader links its own C++ run-time, which leaks about 70 KiB each
  // time the library is unloaded: once loaded, it stays.
  if (complete) library.keepLoaded();
  if (!complete) {
    return fail(std::move(error), OpenVRSessionErrorKind::EntryPointMissing,
                "OpenVR loader " + shownPath + " does not export " +
                    ostrel::text::joinedList(missing) + " (too old, or not an OpenVR loader)");
  }

  // A failed start needs no shutdown: the loader cleans up after itself.
  const int attempts = options.initAttempts < 1 ? 1 : options.initAttempts;
  InitError initError = kInitErrorNone;
  ISleeper& sleeper = options.sleeper != nullptr ? *options.sleeper : plainSleeper();
  int attempt = 0;
  for (;;) {
    ++attempt;
    initError = kInitErrorNone;
    loader.initInternal2(&initError, kApplicationTypeUtility, nullptr);
    if (initError == kInitErrorNone || !isRetriedInitError(initError) || attempt >= attempts ||
        !sleeper.SleepFor(options.retryDelay)) {
      break;
    }
  }
  if (initError != kInitErrorNone) {
    error.attempts = attempt;
    error.initError = initError;
    error.code = initErrorSymbol(loader, initError);
    error.advice = openVRInitErrorAdvice(initError, options.pathRegistryFile);
    const std::string tries = attempt > 1 ? " after " + std::to_string(attempt) + " tries" : "";
    const std::string text = initErrorText(loader, initError, error.code);
    return fail(std::move(error), OpenVRSessionErrorKind::InitFailed,
                "VR_InitInternal2 failed" + tries + ": " + text);
  }

  // From here on every failure must close the connection it leaves behind.
  auto failConnected = [&](std::string message) -> Opened {
    loader.shutdownInternal();
    return fail(std::move(error), OpenVRSessionErrorKind::InterfaceUnavailable,
                std::move(message));
  };

  // Asked the way the SDK's own start-up asks for its first interface: by the
  // plain version name.
  if (!loader.isInterfaceVersionValid(kApplicationsInterfaceVersion)) {
    return failConnected(std::string("the runtime does not offer ") +
                         kApplicationsInterfaceVersion + " (older than this program supports)");
  }
  InitError interfaceError = kInitErrorNone;
  const auto* table = static_cast<const OpenVRApplicationsTable*>(
      loader.getGenericInterface(kApplicationsTableName, &interfaceError));
  if (table == nullptr || interfaceError != kInitErrorNone) {
    std::string message = std::string("VR_GetGenericInterface(") + kApplicationsTableName + ") ";
    if (interfaceError != kInitErrorNone) {
      error.initError = interfaceError;
      error.code = initErrorSymbol(loader, interfaceError);
      error.advice = openVRInitErrorAdvice(interfaceError, options.pathRegistryFile);
      message += "failed: " + initErrorText(loader, interfaceError, error.code);
    } else {
      message += "returned no table";
    }
    return failConnected(std::move(message));
  }
  if (const std::vector<std::string> empty = missingRegistrationEntries(*table); !empty.empty()) {
    return failConnected(std::string("the runtime's ") + kApplicationsInterfaceVersion +
                         " table has no " + ostrel::text::joinedList(empty));
  }

  return std::unique_ptr<OpenVRSession>(
      std::make_unique<OpenVRSessionImpl>(std::move(loadedFrom), loader, table));
}

}  // namespace ostrel::openvr
