#include "ostrel/registration/RuntimeConnection.h"

#include <filesystem>
#include <utility>

#include "ostrel/steamvr/OpenVRSession.h"
#include "platform/Platform.h"

namespace ostrel::registration {

namespace {

class OpenVRConnector final : public IRuntimeConnector {
 public:
  explicit OpenVRConnector(steamvr::ISleeper* sleeper) : sleeper_(sleeper) {}

  // The surface borrows the session, so it goes first.
  ~OpenVRConnector() override {
    surface_.reset();
    session_.reset();
  }

  steamvr::OpenVRApplicationsSurface* Connect(const std::string& loaderPath,
                                              RuntimeFailure& result) override {
    if (surface_) return surface_.get();
    steamvr::OpenVRSessionOptions options;
    options.sleeper = sleeper_;
    if (!loaderPath.empty()) options.loaderPath = platform::pathFromUtf8(loaderPath);
    steamvr::OpenVRSessionError failure;
    session_ = steamvr::OpenVRSession::open(options, failure);
    if (!session_) {
      // What the loader said, then what a person can do about it.
      result.message = std::move(failure.message);
      if (!failure.advice.empty()) result.message += "; " + failure.advice;
      result.symbol = !failure.symbol.empty() ? failure.symbol
                                              : steamvr::openVRSessionErrorKindName(failure.kind);
      result.advice = std::move(failure.advice);
      return nullptr;
    }
    surface_ = steamvr::createOpenVRApplicationsSurface(session_.get());
    if (!surface_) {
      result = {"no applications surface over the session", "", ""};
      return nullptr;
    }
    result = {};
    return surface_.get();
  }

 private:
  steamvr::ISleeper* sleeper_;
  std::unique_ptr<steamvr::OpenVRSession> session_;
  std::unique_ptr<steamvr::OpenVRApplicationsSurface> surface_;
};

}  // namespace

std::unique_ptr<IRuntimeConnector> createOpenVRConnector(steamvr::ISleeper* sleeper) {
  return std::make_unique<OpenVRConnector>(sleeper);
}

}  // namespace ostrel::registration
