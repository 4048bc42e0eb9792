// register, ensure and unregister for one key and manifest, over a runtime
// connection made for the call and closed before it returns: register and
// unregister are the registrar's operations, ensure the registration
// sequence in its Ensure mode (which keeps the user's auto-launch choice).
#include <memory>
#include <string>

#include "Boundary.h"
#include "ostrel.h"
#include "ostrel/registration/RegistrarPath.h"
#include "ostrel/registration/RegistrationRun.h"
#include "ostrel/registration/RuntimeConnection.h"
#include "ostrel/runtimeregistry/RuntimeRegistry.h"
#include "ostrel/steamvr/IManifestRegistrar.h"

namespace {

namespace registration = ostrel::registration;
using Operation = ostrel::steamvr::RegisterResult (ostrel::steamvr::IManifestRegistrar::*)();

// Stores the text for the caller; a success leaves NULL.
int answer(int status, const std::string& text, char** error) {
  if (error == nullptr || text.empty()) return status;
  *error = ostrel::capi::handOver(text);
  return *error != nullptr ? status : OSTREL_E_OUT_OF_MEMORY;
}

bool acceptable(const char* app_key, const char* manifest_path, const char* loader_path,
                char** error) {
  if (error != nullptr) *error = nullptr;
  return ostrel::capi::acceptableKey(app_key) &&
         ostrel::capi::acceptablePath(manifest_path, true) &&
         ostrel::capi::acceptablePath(loader_path, false);
}

int runOperation(Operation operation, const char* app_key, const char* manifest_path,
                 const char* loader_path, char** error) {
  if (!acceptable(app_key, manifest_path, loader_path, error)) return OSTREL_E_INVALID_ARGUMENT;
  return ostrel::capi::guarded([&] {
    registration::OpenVRConnectorOptions reach;
    reach.programFolder = ostrel::capi::programFolder();
    const std::unique_ptr<registration::IRuntimeConnector> connector =
        registration::createOpenVRConnector(reach);
    const registration::Connection connection =
        connector->Connect(ostrel::capi::textOrEmpty(loader_path));
    if (!connection) {
      return answer(OSTREL_RESULT_UNREACHABLE, connection.failure().message, error);
    }
    const std::unique_ptr<ostrel::steamvr::IManifestRegistrar> registrar =
        ostrel::steamvr::createManifestRegistrar(connection.value(), app_key,
                                                 registration::registrarPathFor(manifest_path));
    if (!registrar) return OSTREL_E_INTERNAL;
    const ostrel::steamvr::RegisterResult result = ((*registrar).*operation)();
    return answer(static_cast<int>(result), registrar->LastError(), error);
  });
}

}  // namespace

extern "C" {

OSTREL_API int OSTREL_CALL ostrel_register(const char* app_key, const char* manifest_path,
                                           const char* loader_path, char** error) {
  return runOperation(&ostrel::steamvr::IManifestRegistrar::Register, app_key, manifest_path,
                      loader_path, error);
}

OSTREL_API int OSTREL_CALL ostrel_ensure(const char* app_key, const char* manifest_path,
                                         const char* loader_path, char** error) {
  if (!acceptable(app_key, manifest_path, loader_path, error)) return OSTREL_E_INVALID_ARGUMENT;
  return ostrel::capi::guarded([&] {
    const std::unique_ptr<ostrel::runtimeregistry::IRegistryEnvironment> environment =
        ostrel::runtimeregistry::createProcessEnvironment();
    const std::unique_ptr<ostrel::runtimeregistry::IRegistryFiles> files =
        ostrel::runtimeregistry::createDiskFiles();
    const std::unique_ptr<registration::IRuntimeConnector> connector =
        registration::createOpenVRConnector(
            {nullptr, environment.get(), files.get(), ostrel::capi::programFolder()});
    registration::RegistrationRequest request;
    request.mode = registration::RegistrationMode::Ensure;
    request.appKey = app_key;
    request.manifestPath = registration::registrarPathFor(manifest_path);
    request.loaderPath = ostrel::capi::textOrEmpty(loader_path);
    // As the header says: the manifest is not checked first here.
    request.force = true;
    registration::RegistrationServices services;
    services.sources = {environment.get(), files.get()};
    services.connector = connector.get();
    const registration::RegistrationRun run = registration::runRegistration(request, services);
    if (run.end == registration::RegistrationEnd::Unreachable) {
      return answer(OSTREL_RESULT_UNREACHABLE, run.error, error);
    }
    if (run.succeeded()) return OSTREL_RESULT_SUCCESS;
    return answer(
        static_cast<int>(run.result.value_or(ostrel::steamvr::RegisterResult::AddFailed)),
        run.error, error);
  });
}

OSTREL_API int OSTREL_CALL ostrel_unregister(const char* app_key, const char* manifest_path,
                                             const char* loader_path, char** error) {
  return runOperation(&ostrel::steamvr::IManifestRegistrar::Unregister, app_key, manifest_path,
                      loader_path, error);
}

}  // extern "C"
