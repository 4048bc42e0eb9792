#include "ostrel/registration/RegistrationRun.h"

#include <algorithm>
#include <memory>
#include <utility>

#include "ostrel/common/ILogger.h"
#include "ostrel/manifestcheck/ManifestReader.h"
#include "ostrel/registration/ExitStatus.h"
#include "ostrel/registration/ObservingSurface.h"
#include "ostrel/registration/Repair.h"
#include "platform/Platform.h"

namespace ostrel::registration {

namespace {

using common::LogLevel;
using common::logMessage;
using manifestcheck::ManifestFinding;
using steamvr::RegisterResult;

// Whether the files show the registration right and finished: this manifest
// serves the key, no other copy declares it, and a dashboard overlay has an
// auto-launch choice recorded (or the settings could not be read, which
// another run would not change).
bool filesShowItDone(const runtimeregistry::RuntimeRegistry& registry) {
  return registry.known() && registry.serving &&
         registry.manifests[*registry.serving].thisManifest && registry.otherDeclaring().empty() &&
         !registry.autoLaunchUnset();
}

// Whether the key's application in the manifest at `path` is a dashboard
// overlay, read as the runtime reads it; false when it cannot be read.
bool manifestIsOverlay(runtimeregistry::IRegistryFiles& files, const std::string& path,
                       const std::string& key) {
  if (path.find('\0') != std::string::npos) return false;
  const runtimeregistry::FileRead read =
      files.Read(platform::pathFromUtf8(path), manifestcheck::kManifestSizeLimit);
  if (read.status != runtimeregistry::FileRead::Status::Read) return false;
  const manifestcheck::ManifestContents contents = manifestcheck::parseManifest(read.content);
  const auto found = std::find_if(
      contents.applications.begin(), contents.applications.end(),
      [&](const manifestcheck::ManifestApplication& application) {
        return application.appKey == key;
      });
  return found != contents.applications.end() && found->dashboardOverlay;
}

class Runner {
 public:
  Runner(const RegistrationRequest& request, const RegistrationServices& services)
      : request_(request), services_(services), key_(request.appKey) {}

  RegistrationRun operator()() && {
    run_.manifestPath = platform::wideToUtf8(request_.manifestPath);
    if (stopRequested()) return end(RegistrationEnd::Cancelled);

    run_.checkFindings = manifestcheck::checkAppKey(key_);
    if (!run_.checkFindings.empty()) {
      run_.error = run_.checkFindings.front().message;
      return end(RegistrationEnd::KeyRefused);
    }
    const ManifestCheckFunction check =
        services_.check != nullptr ? services_.check
                                   : &manifestcheck::checkManifestForRegistration;
    std::vector<ManifestFinding> checked = check(request_.manifestPath, key_);
    const int errors = manifestcheck::countErrors(checked);
    run_.checkFindings = std::move(checked);
    if (errors > 0 && !request_.force) {
      const auto first = std::find_if(
          run_.checkFindings.begin(), run_.checkFindings.end(), [](const ManifestFinding& f) {
            return f.severity == manifestcheck::FindingSeverity::Error;
          });
      run_.error = "the manifest check found " + std::to_string(errors) +
                   (errors == 1 ? " error" : " errors") + " in " + run_.manifestPath + ": " +
                   manifestcheck::formatFinding(*first);
      return end(RegistrationEnd::CheckFailed);
    }

    run_.status = buildStatusReport({key_, run_.manifestPath, request_.loaderPath},
                                    *services_.connector, services_.sources, false);
    const runtimeregistry::RuntimeRegistry& registry = run_.status.registry;
    if (request_.mode == RegistrationMode::StartUp && errors == 0 && filesShowItDone(registry)) {
      logMessage(LogLevel::Info, "registration current: ", key_, " served from ",
                 run_.manifestPath);
      return end(RegistrationEnd::Current);
    }
    if (request_.mode != RegistrationMode::Ensure) run_.plan = planRepair(registry);
    if (services_.planned) services_.planned(run_);
    if (request_.dryRun) return end(RegistrationEnd::DryRun);
    if (stopRequested()) return end(RegistrationEnd::Cancelled);

    run_.runtimeContacted = true;
    Connection connection = services_.connector->Connect(request_.loaderPath);
    RuntimeView& runtime = run_.status.runtime;
    runtime.asked = true;
    runtime.reachable = connection.ok();
    if (!connection) {
      recordUnreachable(runtime, std::move(connection).failure(), services_.sources);
      judgeStatus(run_.status);
      run_.error = runtime.failure.message;
      logMessage(LogLevel::Warn, "SteamVR cannot be reached: ", run_.error);
      return end(RegistrationEnd::Unreachable);
    }
    return change(*connection.value());
  }

 private:
  // Steps 5 to 8, over a runtime that answers.
  RegistrationRun change(openvr::OpenVRApplicationsSurface& surface) {
    const bool listed = surface.IsApplicationInstalled(key_.c_str());
    run_.status.runtime.installed = listed;
    std::optional<bool> answer;
    if (listed) {
      run_.status.runtime.autoLaunch = surface.GetApplicationAutoLaunch(key_.c_str());
      if (run_.status.runtime.autoLaunch.error == steamvr::kApplicationErrorNone) {
        answer = run_.status.runtime.autoLaunch.value;
      }
    }
    judgeStatus(run_.status);
    run_.choice = userAutoLaunchChoice(answer, run_.status.registry);
    if (stopRequested()) return end(RegistrationEnd::Cancelled);

    RemovalOutcome removal = removeListedCopies(surface, run_.plan);
    run_.removed = std::move(removal.removed);
    if (removal.refused) {
      run_.refused = std::move(removal.refused);
      run_.refusedError = surface.ErrorName(removal.error);
      run_.result = RegisterResult::RemoveFailed;
      run_.error = "the runtime refused to remove " + *run_.refused + " (" + run_.refusedError + ")";
      logMessage(LogLevel::Warn, run_.error);
      return end(RegistrationEnd::RemovalRefused);
    }

    const bool addNeeded =
        request_.mode == RegistrationMode::Repair || !run_.plan.empty() || !listed;
    if (addNeeded) {
      if (stopRequested()) return end(RegistrationEnd::Cancelled);
      ObservingSurface observed(&surface);
      const std::unique_ptr<steamvr::IManifestRegistrar> registrar =
          steamvr::createManifestRegistrar(&observed, key_, request_.manifestPath, services_.stop);
      const RegisterResult result = registrar->AddAndWait();
      run_.added = observed.addCalled();
      run_.result = result;
      if (result != RegisterResult::Success) {
        run_.error = registrar->LastError();
        return end(stopRequested() ? RegistrationEnd::Cancelled
                                   : RegistrationEnd::RegistrationFailed);
      }
    }
    run_.result = RegisterResult::Success;

    const std::string& path = run_.manifestPath;
    if (run_.choice.recorded) {
      run_.autoLaunch = AutoLaunchStep::Kept;
    } else if (!manifestIsOverlay(*services_.sources.files, path, key_)) {
      run_.autoLaunch = AutoLaunchStep::NotApplied;
    } else {
      if (stopRequested()) return end(RegistrationEnd::Cancelled);
      const steamvr::ApplicationError error = surface.SetApplicationAutoLaunch(key_.c_str(), true);
      if (error != steamvr::kApplicationErrorNone) {
        run_.autoLaunch = AutoLaunchStep::Refused;
        run_.result = RegisterResult::AutoLaunchFailed;
        run_.error = std::string("SetApplicationAutoLaunch: ") + surface.ErrorName(error);
        logMessage(LogLevel::Warn, run_.error);
        return end(RegistrationEnd::RegistrationFailed);
      }
      run_.autoLaunch = AutoLaunchStep::SwitchedOn;
    }

    const char* const kept = run_.choice.on ? "on" : "off";
    if (addNeeded) {
      switch (run_.autoLaunch) {
        case AutoLaunchStep::SwitchedOn:
          logMessage(LogLevel::Info, "manifest registered + auto-launch enabled: ", key_);
          break;
        case AutoLaunchStep::Kept:
          logMessage(LogLevel::Info, "manifest registered, auto-launch left ", kept,
                     " as the user set it: ", key_);
          break;
        default:
          logMessage(LogLevel::Info, "manifest registered (no dashboard overlay, so no auto-launch): ",
                     key_);
          break;
      }
      return end(run_.plan.empty() ? RegistrationEnd::Registered : RegistrationEnd::Repaired);
    }
    if (run_.autoLaunch == AutoLaunchStep::SwitchedOn) {
      logMessage(LogLevel::Info, "auto-launch enabled, finishing an earlier registration: ", key_);
      return end(RegistrationEnd::Finished);
    }
    logMessage(LogLevel::Info, "registration current: ", key_, " listed by the runtime");
    return end(RegistrationEnd::AlreadyListed);
  }

  bool stopRequested() const {
    return services_.stop != nullptr && services_.stop->StopRequested();
  }

  RegistrationRun end(RegistrationEnd how) {
    run_.end = how;
    return std::move(run_);
  }

  const RegistrationRequest& request_;
  const RegistrationServices& services_;
  const std::string& key_;
  RegistrationRun run_;
};

}  // namespace

const char* registrationEndName(RegistrationEnd end) noexcept {
  switch (end) {
    case RegistrationEnd::Current:
      return "current";
    case RegistrationEnd::AlreadyListed:
      return "already-listed";
    case RegistrationEnd::Finished:
      return "finished";
    case RegistrationEnd::Registered:
      return "registered";
    case RegistrationEnd::Repaired:
      return "repaired";
    case RegistrationEnd::DryRun:
      return "dry-run";
    case RegistrationEnd::KeyRefused:
      return "key-refused";
    case RegistrationEnd::CheckFailed:
      return "check-failed";
    case RegistrationEnd::Unreachable:
      return "unreachable";
    case RegistrationEnd::RemovalRefused:
      return "removal-refused";
    case RegistrationEnd::RegistrationFailed:
      return "registration-failed";
    case RegistrationEnd::Cancelled:
      return "cancelled";
  }
  return "unknown";
}

bool RegistrationRun::succeeded() const noexcept {
  switch (end) {
    case RegistrationEnd::Current:
    case RegistrationEnd::AlreadyListed:
    case RegistrationEnd::Finished:
    case RegistrationEnd::Registered:
    case RegistrationEnd::Repaired:
      return true;
    default:
      return false;
  }
}

RegistrationRun runRegistration(const RegistrationRequest& request,
                                const RegistrationServices& services) {
  return Runner(request, services)();
}

int exitStatusForRun(const RegistrationRun& run) noexcept {
  if (run.succeeded() || run.end == RegistrationEnd::DryRun) return 0;
  switch (run.end) {
    case RegistrationEnd::KeyRefused:
      return kExitUsage;
    case RegistrationEnd::CheckFailed:
      return kExitManifestErrors;
    case RegistrationEnd::RemovalRefused:
      return exitStatusFor(RegisterResult::RemoveFailed);
    case RegistrationEnd::RegistrationFailed:
      return exitStatusFor(run.result.value_or(RegisterResult::AddFailed));
    case RegistrationEnd::Cancelled:
      return run.added ? exitStatusFor(RegisterResult::PollTimeout) : kExitUnavailable;
    default:
      return kExitUnavailable;
  }
}

}  // namespace ostrel::registration
