// status, check and repair answering with the JSON object the command prints
// for --json: the registration library builds both, so the two can never
// disagree.
#include <memory>
#include <string>
#include <vector>

#include "Boundary.h"
#include "ostrel.h"
#include "ostrel/manifestcheck/ManifestCheck.h"
#include "ostrel/registration/ExitStatus.h"
#include "ostrel/registration/RegistrarPath.h"
#include "ostrel/registration/RegistrationRun.h"
#include "ostrel/registration/RegistrationStatus.h"
#include "ostrel/registration/ReportJson.h"
#include "ostrel/registration/RuntimeConnection.h"
#include "ostrel/runtimeregistry/RuntimeRegistry.h"
#include "platform/Platform.h"

namespace {

namespace registration = ostrel::registration;

// The process's environment, its files and a connector over them, for one
// call.
struct Reach {
  std::unique_ptr<ostrel::runtimeregistry::IRegistryEnvironment> environment =
      ostrel::runtimeregistry::createProcessEnvironment();
  std::unique_ptr<ostrel::runtimeregistry::IRegistryFiles> files =
      ostrel::runtimeregistry::createDiskFiles();
  std::unique_ptr<registration::IRuntimeConnector> connector = registration::createOpenVRConnector(
      {nullptr, environment.get(), files.get(), ostrel::capi::programFolder()});

  registration::RegistrySources sources() const { return {environment.get(), files.get()}; }
};

// The state as the interface numbers it.
int stateCode(registration::RegistrationState state) {
  switch (state) {
    case registration::RegistrationState::Registered:
      return OSTREL_STATE_REGISTERED;
    case registration::RegistrationState::Stale:
      return OSTREL_STATE_STALE;
    case registration::RegistrationState::NotRegistered:
      return OSTREL_STATE_NOT_REGISTERED;
    case registration::RegistrationState::Unknown:
      break;
  }
  return OSTREL_STATE_UNKNOWN;
}

// What a repair came to, as the interface numbers it.
int repairCode(const registration::RegistrationRun& run) {
  if (run.succeeded()) return OSTREL_REPAIR_DONE;
  switch (run.end) {
    case registration::RegistrationEnd::CheckFailed:
      return OSTREL_REPAIR_CHECK_FAILED;
    case registration::RegistrationEnd::Unreachable:
      return OSTREL_REPAIR_UNREACHABLE;
    case registration::RegistrationEnd::RemovalRefused:
      return OSTREL_REPAIR_REMOVAL_REFUSED;
    case registration::RegistrationEnd::KeyRefused:
      // Refused at the boundary before the run; reaching here would be a
      // fault of the library's.
      return OSTREL_E_INTERNAL;
    default:
      return OSTREL_REPAIR_REGISTRATION_FAILED;
  }
}

// Hands `json` (with the newline the command ends it with) to the caller,
// and returns `status`.
int answer(const std::string& json, int status, char** out) {
  *out = ostrel::capi::handOver(json + "\n");
  return *out != nullptr ? status : OSTREL_E_OUT_OF_MEMORY;
}

// The common refusals; OSTREL_OK when the call may go ahead.
int refused(const char* app_key, const char* manifest_path, bool manifestRequired,
            const char* loader_path, char** json) {
  if (json == nullptr) return OSTREL_E_INVALID_ARGUMENT;
  *json = nullptr;
  if (!ostrel::capi::acceptableKey(app_key) ||
      !ostrel::capi::acceptablePath(manifest_path, manifestRequired) ||
      !ostrel::capi::acceptablePath(loader_path, false)) {
    return OSTREL_E_INVALID_ARGUMENT;
  }
  return OSTREL_OK;
}

}  // namespace

extern "C" {

OSTREL_API int OSTREL_CALL ostrel_status_json(const char* app_key, const char* manifest_path,
                                              const char* loader_path, char** json) {
  if (const int status = refused(app_key, manifest_path, false, loader_path, json)) return status;
  return ostrel::capi::guarded([&] {
    registration::StatusQuery query;
    query.appKey = app_key;
    query.loaderPath = ostrel::capi::textOrEmpty(loader_path);
    if (manifest_path != nullptr) {
      query.manifestPath =
          ostrel::platform::wideToUtf8(registration::registrarPathFor(manifest_path));
    }
    const Reach reach;
    const registration::StatusReport report =
        registration::buildStatusReport(query, *reach.connector, reach.sources(), true);
    return answer(
        registration::statusJson(report, registration::exitStatusForState(report.state)),
        stateCode(report.state), json);
  });
}

OSTREL_API int OSTREL_CALL ostrel_check_json(const char* app_key, const char* manifest_path,
                                             const char* loader_path, char** json) {
  if (const int status = refused(app_key, manifest_path, true, loader_path, json)) return status;
  return ostrel::capi::guarded([&] {
    const std::wstring path = registration::registrarPathFor(manifest_path);
    const std::vector<ostrel::manifestcheck::ManifestFinding> findings =
        ostrel::manifestcheck::checkManifestForRegistration(path, app_key);
    const bool errors = ostrel::manifestcheck::hasErrors(findings);
    return answer(registration::checkJson(app_key, ostrel::platform::wideToUtf8(path), findings,
                                          errors ? registration::kExitManifestErrors : 0),
                  errors ? OSTREL_CHECK_ERRORS : OSTREL_CHECK_CLEAN, json);
  });
}

OSTREL_API int OSTREL_CALL ostrel_repair_json(const char* app_key, const char* manifest_path,
                                              const char* loader_path, char** json) {
  if (const int status = refused(app_key, manifest_path, true, loader_path, json)) return status;
  return ostrel::capi::guarded([&] {
    registration::RegistrationRequest request;
    request.mode = registration::RegistrationMode::Repair;
    request.appKey = app_key;
    request.manifestPath = registration::registrarPathFor(manifest_path);
    request.loaderPath = ostrel::capi::textOrEmpty(loader_path);
    const Reach reach;
    registration::RegistrationServices services;
    services.sources = reach.sources();
    services.connector = reach.connector.get();
    const registration::RegistrationRun run = registration::runRegistration(request, services);
    return answer(registration::repairJson(run), repairCode(run), json);
  });
}

}  // extern "C"
