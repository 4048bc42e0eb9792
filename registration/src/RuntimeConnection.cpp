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

  openvr::OpenVRApplicationsSurface* Connect(const std::string& loaderPath,
                                              RuntimeFailure& result) override {
    if (surface_) return surface_.get();
    // Another runtime's applications interface may accept a manifest and do
    // nothing, or abort the process: it is not called at all.
    runtimeregistry::ActiveRuntime active =
        runtimeregistry::resolveActiveRuntime(*options_.environment, *options_.files);
    if (active.folder && !active.steamVR) {
      result = {runtimeregistry::notSteamVRReason(active), kRuntimeNotSteamVRSymbol, "", std::move(active)};
      return nullptr;
    }
    openvr::OpenVRSessionOptions options;
    options.sleeper = options_.sleeper;
    if (!loaderPath.empty()) options.loaderPath = platform::pathFromUtf8(loaderPath);
    openvr::OpenVRSessionError failure;
    session_ = openvr::OpenVRSession::open(options, failure);
    if (!session_) {
      // What the loader said, then what a person can do about it.
      result.message = std::move(failure.message);
      if (!failure.advice.empty()) result.message += "; " + failure.advice;
      result.symbol = !failure.symbol.empty() ? failure.symbol
                                              : openvr::openVRSessionErrorKindName(failure.kind);
      result.advice = std::move(failure.advice);
      result.notSteamVR.reset();
      return nullptr;
    }
    surface_ = openvr::createOpenVRApplicationsSurface(session_.get());
    if (!surface_) {
      result = {"no applications surface over the session", "", "", std::nullopt};
      return nullptr;
    }
    result = {};
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
