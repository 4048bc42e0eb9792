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
  std::unique_ptr<registration::IRuntimeConnector> connector =
      registration::createOpenVRConnector({nullptr, environment.get(), files.get()});

  registration::RegistrySources sources() const { return {environment.get(), files.get()}; }
};

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
    const int status = registration::exitStatusForState(report.state);
    return answer(registration::statusJson(report, status), status, json);
  });
}

OSTREL_API int OSTREL_CALL ostrel_check_json(const char* app_key, const char* manifest_path,
                                             const char* loader_path, char** json) {
  if (const int status = refused(app_key, manifest_path, true, loader_path, json)) return status;
  return ostrel::capi::guarded([&] {
    const std::wstring path = registration::registrarPathFor(manifest_path);
    const std::vector<ostrel::manifestcheck::ManifestFinding> findings =
        ostrel::manifestcheck::checkManifestForRegistration(path, app_key);
    const int status =
        ostrel::manifestcheck::hasErrors(findings) ? registration::kExitManifestErrors : 0;
    return answer(registration::checkJson(app_key, ostrel::platform::wideToUtf8(path), findings,
                                          status),
                  status, json);
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
    return answer(registration::repairJson(run), registration::exitStatusForRun(run), json);
  });
}

}  // extern "C"
