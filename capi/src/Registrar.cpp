// register, ensure and unregister for one key and manifest: the registrar
// over a runtime connection made for the call and closed before it returns.
#include <memory>
#include <string>

#include "Boundary.h"
#include "ostrel.h"
#include "ostrel/registration/RegistrarPath.h"
#include "ostrel/registration/RuntimeConnection.h"
#include "ostrel/steamvr/IManifestRegistrar.h"

namespace {

using Operation = ostrel::steamvr::RegisterResult (ostrel::steamvr::IManifestRegistrar::*)();

// Stores the text for the caller; a success leaves NULL.
int answer(int status, const std::string& text, char** error) {
  if (error == nullptr || text.empty()) return status;
  *error = ostrel::capi::handOver(text);
  return *error != nullptr ? status : OSTREL_E_OUT_OF_MEMORY;
}

int runOperation(Operation operation, const char* app_key, const char* manifest_path,
                 const char* loader_path, char** error) {
  if (error != nullptr) *error = nullptr;
  if (!ostrel::capi::acceptableText(app_key) || !ostrel::capi::acceptableText(manifest_path) ||
      !ostrel::capi::acceptableOptionalText(loader_path)) {
    return OSTREL_E_INVALID_ARGUMENT;
  }
  return ostrel::capi::guarded([&] {
    const std::unique_ptr<ostrel::registration::IRuntimeConnector> connector =
        ostrel::registration::createOpenVRConnector();
    const ostrel::registration::Connection connection =
        connector->Connect(ostrel::capi::textOrEmpty(loader_path));
    if (!connection) return answer(OSTREL_E_UNREACHABLE, connection.failure().message, error);
    ostrel::openvr::OpenVRApplicationsSurface* surface = connection.value();
    const std::unique_ptr<ostrel::steamvr::IManifestRegistrar> registrar =
        ostrel::steamvr::createManifestRegistrar(
            surface, app_key, ostrel::registration::registrarPathFor(manifest_path));
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
  return runOperation(&ostrel::steamvr::IManifestRegistrar::EnsureRegistered, app_key,
                      manifest_path, loader_path, error);
}

OSTREL_API int OSTREL_CALL ostrel_unregister(const char* app_key, const char* manifest_path,
                                             const char* loader_path, char** error) {
  return runOperation(&ostrel::steamvr::IManifestRegistrar::Unregister, app_key, manifest_path,
                      loader_path, error);
}

}  // extern "C"
