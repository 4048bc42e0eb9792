#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "ProgramFolder.h"
#include "ostrel/common/ILogger.h"
#include "ostrel/registration/ObservingSurface.h"
#include "ostrel/registration/RegistrarPath.h"
#include "ostrel/registration/Repair.h"
#include "ostrel/runtimeregistry/RuntimeRegistry.h"
#include "ostrel/startup/StartupRegistration.h"
#include "ostrel/text/ListText.h"
#include "platform/Platform.h"

namespace ostrel::startup {

namespace {

using common::LogLevel;
using common::logMessage;
using manifestcheck::ManifestFinding;
using steamvr::RegisterResult;

constexpr const char* kDefaultManifestName = "app.vrmanifest";

// The real services for whatever `given` leaves null; owns what it makes.
class Services {
 public:
  explicit Services(const StartupServices& given) : given_(given) {
    if (given_.sources.environment == nullptr) {
      environment_ = runtimeregistry::createProcessEnvironment();
      given_.sources.environment = environment_.get();
    }
    if (given_.sources.files == nullptr) {
      files_ = runtimeregistry::createDiskFiles();
      given_.sources.files = files_.get();
    }
    if (given_.check == nullptr) given_.check = &manifestcheck::checkManifestForRegistration;
  }

  const registration::RegistrySources& sources() const { return given_.sources; }

  std::vector<ManifestFinding> check(std::wstring_view path, std::string_view key) const {
    return given_.check(path, key);
  }

  // Made on first use, so that a start-up with nothing to do loads nothing.
  registration::IRuntimeConnector& connector() {
    if (given_.connector == nullptr) {
      connector_ = registration::createOpenVRConnector(
          {given_.stop, given_.sources.environment, given_.sources.files});
      given_.connector = connector_.get();
    }
    return *given_.connector;
  }

  steamvr::StoppableSleeper* stop() const { return given_.stop; }
  bool stopRequested() const { return given_.stop != nullptr && given_.stop->StopRequested(); }

 private:
  StartupServices given_;
  std::unique_ptr<runtimeregistry::IRegistryEnvironment> environment_;
  std::unique_ptr<runtimeregistry::IRegistryFiles> files_;
  std::unique_ptr<registration::IRuntimeConnector> connector_;
};

// The manifest the application asked for, or the one beside the program.
outcome::Outcome<std::wstring> manifestPathFor(const StartupOptions& options,
                                               runtimeregistry::IRegistryEnvironment& environment) {
  if (!options.manifestPath.empty()) return registration::registrarPathFor(options.manifestPath);
  const outcome::Outcome<std::filesystem::path> folder = programFolder(environment);
  if (!folder) {
    return outcome::Failure{"",
                            "the folder of the running program is not known (" +
                                folder.failure().message +
                                "), so the manifest beside it cannot be found: name the manifest",
                            ""};
  }
  return registration::registrarPathFor(
      platform::pathToUtf8(folder.value() / kDefaultManifestName));
}

// Whether the runtime's files already show the registration right: this
// manifest is the one the key is served from, and no other listed copy
// declares the key.
bool filesShowRegistrationRight(const runtimeregistry::RuntimeRegistry& registry) {
  return registry.known() && registry.serving &&
         registry.manifests[*registry.serving].thisManifest && registry.otherDeclaring().empty();
}

// The user's auto-launch choice while the old copy still serves the key: the
// runtime's answer when it gives one, else its settings file's.
std::optional<bool> userAutoLaunch(openvr::OpenVRApplicationsSurface& surface,
                                   const std::string& key,
                                   const runtimeregistry::RuntimeRegistry& registry) {
  if (surface.IsApplicationInstalled(key.c_str())) {
    const openvr::ApplicationFlag flag = surface.GetApplicationAutoLaunch(key.c_str());
    if (flag.error == steamvr::kApplicationErrorNone) return flag.value;
  }
  return registry.autoLaunch;
}

class Run {
 public:
  Run(const StartupOptions& options, Services& services)
      : options_(options), services_(services), key_(options.appKey) {}

  StartupOutcome operator()() {
    if (key_.empty()) return fail("no application key was given");
    const outcome::Outcome<std::wstring> path =
        manifestPathFor(options_, *services_.sources().environment);
    if (!path) return fail(path.failure().message);
    path_ = path.value();
    outcome_.manifestPath = platform::wideToUtf8(path_);

    const runtimeregistry::RuntimeRegistry registry = runtimeregistry::readRuntimeRegistry(
        {key_, outcome_.manifestPath}, *services_.sources().environment,
        *services_.sources().files);
    std::vector<ManifestFinding> findings = services_.check(path_, key_);
    const bool checkPassed = !manifestcheck::hasErrors(findings);
    outcome_.findings = std::move(findings);

    if (checkPassed && filesShowRegistrationRight(registry)) {
      logMessage(LogLevel::Info, "registration current: ", key_, " served from ",
                 outcome_.manifestPath);
      return finish(StartupAction::AlreadyRegistered,
                    key_ + " is registered from " + outcome_.manifestPath);
    }
    if (!checkPassed) {
      const int errors = manifestcheck::countErrors(outcome_.findings);
      const ManifestFinding& first = *std::find_if(
          outcome_.findings.begin(), outcome_.findings.end(), [](const ManifestFinding& finding) {
            return finding.severity == manifestcheck::FindingSeverity::Error;
          });
      return fail("not registered: the manifest check found " + std::to_string(errors) +
                  (errors == 1 ? " error" : " errors") + " in " + outcome_.manifestPath + ": " +
                  manifestcheck::formatFinding(first));
    }
    if (services_.stopRequested()) return cancelled();

    outcome_.runtimeContacted = true;
    const registration::Connection connection = services_.connector().Connect(options_.loaderPath);
    if (services_.stopRequested()) return cancelled();
    if (!connection) {
      const std::string& reason = connection.failure().message;
      logMessage(LogLevel::Warn, "SteamVR cannot be reached: ", reason);
      return finish(StartupAction::Unreachable,
                    "the SteamVR runtime cannot be reached: " + reason +
                        "; nothing was changed, and " + key_ +
                        " registers itself at its next start");
    }
    openvr::OpenVRApplicationsSurface& surface = *connection.value();
    const std::vector<std::string> plan = registration::planRepair(registry);
    if (!plan.empty()) return repair(surface, registry, plan);
    return ensure(surface);
  }

 private:
  StartupOutcome ensure(openvr::OpenVRApplicationsSurface& surface) {
    registration::ObservingSurface observed(&surface);
    const auto registrar =
        steamvr::createManifestRegistrar(&observed, key_, path_, services_.stop());
    const RegisterResult result = registrar->EnsureRegistered();
    outcome_.result = result;
    if (result != RegisterResult::Success) return registrationFailed(result, *registrar);
    if (!observed.addCalled()) {
      logMessage(LogLevel::Info, "registration current: ", key_, " listed by the runtime");
      return finish(StartupAction::AlreadyRegistered, key_ + " is listed by the runtime");
    }
    return finish(StartupAction::Registered,
                  "registered " + key_ + " from " + outcome_.manifestPath);
  }

  StartupOutcome repair(openvr::OpenVRApplicationsSurface& surface,
                        const runtimeregistry::RuntimeRegistry& registry,
                        const std::vector<std::string>& plan) {
    const std::optional<bool> autoLaunch = userAutoLaunch(surface, key_, registry);
    registration::RemovalOutcome removal = registration::removeListedCopies(surface, plan);
    outcome_.removed = std::move(removal.removed);
    if (removal.refused) {
      std::string text = "the runtime refused to remove " + *removal.refused + " (" +
                         surface.ErrorName(removal.error) + ")";
      if (!outcome_.removed.empty())
        text += "; removed " + ostrel::text::joinedList(outcome_.removed);
      return fail(text + "; nothing registered");
    }

    const auto registrar =
        steamvr::createManifestRegistrar(&surface, key_, path_, services_.stop());
    const RegisterResult result = registrar->Register();
    outcome_.result = result;
    if (result != RegisterResult::Success) return registrationFailed(result, *registrar);

    std::string text = "removed " + ostrel::text::joinedList(outcome_.removed) + "; registered " +
                       key_ + " from " + outcome_.manifestPath;
    // Registering switches auto-launch on; a user who had switched it off
    // keeps it off.
    if (autoLaunch == false) {
      const steamvr::ApplicationError error = surface.SetApplicationAutoLaunch(key_.c_str(), false);
      if (error == steamvr::kApplicationErrorNone) {
        logMessage(LogLevel::Info, "auto-launch left off for ", key_, ", as the user set it");
        text += " (auto-launch left off, as the user set it)";
      } else {
        logMessage(LogLevel::Warn, "SetApplicationAutoLaunch: ", surface.ErrorName(error));
        text += std::string(" (auto-launch could not be switched back off: ") +
                surface.ErrorName(error) + ")";
      }
    }
    return finish(StartupAction::Repaired, text);
  }

  StartupOutcome registrationFailed(RegisterResult result,
                                    const steamvr::IManifestRegistrar& registrar) {
    if (services_.stopRequested()) return cancelled();
    std::string text = std::string("registration failed (") + steamvr::registerResultName(result) +
                       "): " + registrar.LastError();
    if (!outcome_.removed.empty())
      text += "; removed " + ostrel::text::joinedList(outcome_.removed);
    outcome_.action = StartupAction::Failed;
    outcome_.text = std::move(text);
    return std::move(outcome_);
  }

  StartupOutcome cancelled() {
    logMessage(LogLevel::Info, "start-up registration stopped: ", key_);
    std::string text = "stopped before " + key_ + " was registered";
    if (!outcome_.removed.empty())
      text += "; removed " + ostrel::text::joinedList(outcome_.removed);
    return finish(StartupAction::Cancelled, text);
  }

  StartupOutcome fail(std::string text) {
    logMessage(LogLevel::Error, text);
    return finish(StartupAction::Failed, std::move(text));
  }

  StartupOutcome finish(StartupAction action, std::string text) {
    outcome_.action = action;
    outcome_.text = std::move(text);
    return std::move(outcome_);
  }

  const StartupOptions& options_;
  Services& services_;
  const std::string& key_;
  std::wstring path_;
  StartupOutcome outcome_;
};

}  // namespace

StartupOutcome keepRegistrationRight(const StartupOptions& options,
                                     const StartupServices& services) {
  Services resolved(services);
  return Run(options, resolved)();
}

StartupOutcome keepRegistrationRight(const StartupOptions& options) {
  return keepRegistrationRight(options, StartupServices{});
}

}  // namespace ostrel::startup
