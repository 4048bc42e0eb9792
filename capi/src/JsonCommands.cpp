// status, check and repair answering with the command's --json object: the
// command itself runs, its standard output caught in memory, so the two can
// never disagree.
#include <memory>
#include <sstream>
#include <string>

#include "Boundary.h"
#include "CommandLine.h"
#include "Commands.h"
#include "ostrel.h"
#include "ostrel/registration/RuntimeConnection.h"
#include "ostrel/runtimeregistry/RuntimeRegistry.h"

namespace {

namespace cli = ostrel::registercli;

int runJsonCommand(cli::CommandKind kind, bool manifestRequired, const char* app_key,
                   const char* manifest_path, const char* loader_path, char** json) {
  if (json == nullptr) return OSTREL_E_INVALID_ARGUMENT;
  *json = nullptr;
  const bool manifestAcceptable = manifestRequired
                                      ? ostrel::capi::acceptableText(manifest_path)
                                      : ostrel::capi::acceptableOptionalText(manifest_path);
  // The command line refuses an empty key; so does this.
  if (!ostrel::capi::acceptableText(app_key) || *app_key == '\0' || !manifestAcceptable ||
      !ostrel::capi::acceptableOptionalText(loader_path)) {
    return OSTREL_E_INVALID_ARGUMENT;
  }
  return ostrel::capi::guarded([&] {
    cli::CommandLine commandLine;
    commandLine.command = kind;
    commandLine.appKey = app_key;
    if (manifest_path != nullptr) commandLine.manifestPath = manifest_path;
    commandLine.loaderPath = ostrel::capi::textOrEmpty(loader_path);
    commandLine.json = true;

    const std::unique_ptr<ostrel::runtimeregistry::IRegistryEnvironment> environment =
        ostrel::runtimeregistry::createProcessEnvironment();
    const std::unique_ptr<ostrel::runtimeregistry::IRegistryFiles> files =
        ostrel::runtimeregistry::createDiskFiles();
    const std::unique_ptr<ostrel::registration::IRuntimeConnector> connector =
        ostrel::registration::createOpenVRConnector({nullptr, environment.get(), files.get()});
    std::ostringstream out;
    // The manifest findings repair prints for a person are in the JSON too.
    std::ostringstream err;
    const int status =
        cli::runCommand(commandLine, *connector, {environment.get(), files.get()}, out, err);
    *json = ostrel::capi::handOver(out.str());
    return *json != nullptr ? status : OSTREL_E_OUT_OF_MEMORY;
  });
}

}  // namespace

extern "C" {

OSTREL_API int OSTREL_CALL ostrel_status_json(const char* app_key, const char* manifest_path,
                                              const char* loader_path, char** json) {
  return runJsonCommand(cli::CommandKind::Status, false, app_key, manifest_path, loader_path, json);
}

OSTREL_API int OSTREL_CALL ostrel_check_json(const char* app_key, const char* manifest_path,
                                             const char* loader_path, char** json) {
  return runJsonCommand(cli::CommandKind::Check, true, app_key, manifest_path, loader_path, json);
}

OSTREL_API int OSTREL_CALL ostrel_repair_json(const char* app_key, const char* manifest_path,
                                              const char* loader_path, char** json) {
  return runJsonCommand(cli::CommandKind::Repair, true, app_key, manifest_path, loader_path, json);
}

}  // extern "C"
