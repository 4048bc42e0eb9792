#include "ostrel/registration/RuntimeConnection.h"

#include <filesystem>
#include <utility>

#include "ostrel/openvr/OpenVRSession.h"
#include "platform/Platform.h"

namespace ostrel::registration {

namespace {

class OpenVRConnector final : public IRuntimeConnector {
 public:
  explicit OpenVRConnector(const OpenVRConnectorOptions& options) : options_(options) {
    if (options_.environment == nullptr) {
      environment_ = runtimeregistry::createProcessEnvironment();
      options_.environment = environment_.get();
    }
    if (options_.files == nullptr) {
      files_ = runtimeregistry::createDiskFiles();
      options_.files = files_.get();
    }
  }

  // The surface borrows the session, so it goes first.
  ~OpenVRConnector() override {
    surface_.reset();
    session_.reset();
  }

  Connection Connect(const std::string& loaderPath) override {
    if (surface_) return surface_.get();
    // Another runtime's applications interface may accept a manifest and do
    // nothing, or abort the process: it is not called at all.
    runtimeregistry::ActiveRuntime active =
        runtimeregistry::resolveActiveRuntime(*options_.environment, *options_.files);
    if (active.folder && !active.steamVR) {
      RuntimeFailure other;
      other.code = kRuntimeNotSteamVRSymbol;
      other.message = runtimeregistry::notSteamVRReason(active);
      other.kind = openvr::OpenVRSessionErrorKind::RuntimeNotSteamVR;
      return other;
    }
    // Nor is a runtime that could not be told: the loader may read the file
    // differently and start another runtime.
    if (!active.unresolved.empty()) {
      RuntimeFailure unknown;
      unknown.code = kRuntimeUnresolvedSymbol;
      unknown.message = runtimeregistry::unresolvedRuntimeReason(active);
      unknown.kind = openvr::OpenVRSessionErrorKind::RuntimeUnresolved;
      return unknown;
    }
    openvr::OpenVRSessionOptions options;
    options.sleeper = options_.sleeper;
    options.pathRegistryFile = active.registryFile;
    if (!options_.programFolder.empty()) {
      options.programFolder = platform::pathFromUtf8(options_.programFolder);
    }
    if (!loaderPath.empty()) options.loaderPath = platform::pathFromUtf8(loaderPath);
    auto opened = openvr::OpenVRSession::open(options);
    if (!opened) {
      // What the loader said, then what a person can do about it.
      RuntimeFailure failure = std::move(opened).failure();
      if (!failure.advice.empty()) failure.message += "; " + failure.advice;
      return failure;
    }
    session_ = std::move(opened).value();
    surface_ = openvr::createOpenVRApplicationsSurface(session_.get());
    if (!surface_) {
      RuntimeFailure none;
      none.message = "no applications surface over the session";
      return none;
    }
    return surface_.get();
  }

 private:
  OpenVRConnectorOptions options_;
  std::unique_ptr<runtimeregistry::IRegistryEnvironment> environment_;
  std::unique_ptr<runtimeregistry::IRegistryFiles> files_;
  std::unique_ptr<openvr::OpenVRSession> session_;
  std::unique_ptr<openvr::OpenVRApplicationsSurface> surface_;
};

}  // namespace

std::unique_ptr<IRuntimeConnector> createOpenVRConnector(const OpenVRConnectorOptions& options) {
  return std::make_unique<OpenVRConnector>(options);
}

}  // namespace ostrel::registration
