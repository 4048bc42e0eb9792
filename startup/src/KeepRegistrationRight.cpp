#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "ProgramFolder.h"
#include "ostrel/common/ILogger.h"
#include "ostrel/registration/RegistrarPath.h"
#include "ostrel/registration/RegistrationRun.h"
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
  }

  const registration::RegistrySources& sources() const { return given_.sources; }
  registration::ManifestCheckFunction check() const { return given_.check; }
  steamvr::StoppableSleeper* stop() const { return given_.stop; }

  // The loader's connector loads nothing before its first Connect, so a
  // start-up with nothing to do loads nothing.
  registration::IRuntimeConnector& connector(const std::string& programFolder) {
    if (given_.connector == nullptr) {
      connector_ = registration::createOpenVRConnector(
          {given_.stop, given_.sources.environment, given_.sources.files, programFolder});
      given_.connector = connector_.get();
    }
    return *given_.connector;
  }

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
  if (!options.programFolder.empty()) {
    return registration::registrarPathFor(
        platform::pathToUtf8(platform::pathFromUtf8(options.programFolder) / kDefaultManifestName));
  }
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

// "; removed A, B" when copies were removed, else nothing.
std::string removedClause(const registration::RegistrationRun& run) {
  return run.removed.empty() ? "" : "; removed " + ostrel::text::joinedList(run.removed);
}

// What became of auto-launch, for a registration that added the manifest.
std::string autoLaunchClause(const registration::RegistrationRun& run) {
  if (run.autoLaunch != registration::AutoLaunchStep::Kept) return "";
  return run.choice.on ? " (auto-launch left on, as the user set it)"
                       : " (auto-launch left off, as the user set it)";
}

// Whether the manifest is in the runtime's list after a run that did not
// finish: added, or listed before, but auto-launch not switched on.
std::string unfinishedClause(const registration::RegistrationRun& run) {
  const bool added = run.added && run.result != RegisterResult::AddFailed;
  if (added) return "; the manifest was added; auto-launch was not switched on; the next start finishes it";
  if (run.status.runtime.installed) {
    return "; it is listed, but auto-launch was not switched on; the next start finishes it";
  }
  return "";
}

// The run in the start-up call's words.
StartupOutcome outcomeOf(registration::RegistrationRun run, const std::string& key) {
  using registration::RegistrationEnd;
  StartupOutcome outcome;
  outcome.result = run.result;
  outcome.manifestPath = run.manifestPath;
  outcome.runtimeContacted = run.runtimeContacted;
  outcome.findings = std::move(run.checkFindings);
  const std::string& path = outcome.manifestPath;
  std::string text;
  switch (run.end) {
    case RegistrationEnd::Current:
      outcome.action = StartupAction::AlreadyRegistered;
      outcome.result.reset();
      text = key + " is registered from " + path;
      break;
    case RegistrationEnd::AlreadyListed:
      outcome.action = StartupAction::AlreadyRegistered;
      text = key + " is listed by the runtime";
      break;
    case RegistrationEnd::Finished:
      outcome.action = StartupAction::Registered;
      text = "finished the registration of " + key +
             ": an earlier one stopped before auto-launch was switched on; auto-launch is on now";
      break;
    case RegistrationEnd::Registered:
      outcome.action = StartupAction::Registered;
      text = "registered " + key + " from " + path + autoLaunchClause(run);
      break;
    case RegistrationEnd::Repaired:
      outcome.action = StartupAction::Repaired;
      text = "removed " + ostrel::text::joinedList(run.removed) + "; registered " + key + " from " +
             path + autoLaunchClause(run);
      break;
    case RegistrationEnd::Unreachable:
      outcome.action = StartupAction::Unreachable;
      text = "the SteamVR runtime cannot be reached: " + run.error + "; nothing was changed";
      // Only a runtime that refused to start may answer next time; a missing
      // loader or another runtime stays so until someone acts, as the reason
      // says.
      if (run.status.runtime.failure.kind == openvr::OpenVRSessionErrorKind::InitFailed) {
        text += ", and the next start tries again";
      }
      break;
    case RegistrationEnd::KeyRefused:
    case RegistrationEnd::CheckFailed:
      outcome.action = StartupAction::Failed;
      text = "not registered: " + run.error;
      break;
    case RegistrationEnd::RemovalRefused:
      outcome.action = StartupAction::Failed;
      text = run.error + removedClause(run) + "; nothing registered";
      break;
    case RegistrationEnd::Cancelled:
      outcome.action = StartupAction::Cancelled;
      text = unfinishedClause(run).empty()
                 ? "stopped before " + key + " was registered" + removedClause(run)
                 : "stopped before " + key + " was finished" + removedClause(run) +
                       unfinishedClause(run);
      break;
    case RegistrationEnd::DryRun:
    case RegistrationEnd::RegistrationFailed:
      outcome.action = StartupAction::Failed;
      text = std::string("registration failed (") +
             steamvr::registerResultName(run.result.value_or(RegisterResult::AddFailed)) +
             "): " + run.error + removedClause(run) + unfinishedClause(run);
      break;
  }
  if (outcome.action == StartupAction::Failed) logMessage(LogLevel::Error, text);
  if (outcome.action == StartupAction::Cancelled) {
    logMessage(LogLevel::Info, "start-up registration stopped: ", key);
  }
  outcome.removed = std::move(run.removed);
  outcome.text = std::move(text);
  return outcome;
}

StartupOutcome failed(std::string text) {
  logMessage(LogLevel::Error, text);
  StartupOutcome outcome;
  outcome.action = StartupAction::Failed;
  outcome.text = std::move(text);
  return outcome;
}

}  // namespace

StartupOutcome keepRegistrationRight(const StartupOptions& options,
                                     const StartupServices& services) {
  Services resolved(services);
  // A key the runtime refuses is refused before the manifest is looked for.
  if (const std::vector<ManifestFinding> refused = manifestcheck::checkAppKey(options.appKey);
      !refused.empty()) {
    return failed("not registered: " + refused.front().message);
  }
  const outcome::Outcome<std::wstring> path =
      manifestPathFor(options, *resolved.sources().environment);
  if (!path) return failed(path.failure().message);

  registration::RegistrationRequest request;
  request.mode = registration::RegistrationMode::StartUp;
  request.appKey = options.appKey;
  request.manifestPath = path.value();
  request.loaderPath = options.loaderPath;
  registration::RegistrationServices run;
  run.sources = resolved.sources();
  run.connector = &resolved.connector(options.programFolder);
  run.check = resolved.check();
  run.stop = resolved.stop();
  return outcomeOf(registration::runRegistration(request, run), options.appKey);
}

StartupOutcome keepRegistrationRight(const StartupOptions& options) {
  return keepRegistrationRight(options, StartupServices{});
}

}  // namespace ostrel::startup
