#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "ostrel/common/ILogger.h"
#include "ostrel/steamvr/IManifestRegistrar.h"
#include "ostrel/steamvr/IVRApplicationsSurface.h"
#include "ostrel/text/HostPath.h"
#include "platform/Platform.h"

namespace ostrel::steamvr {

namespace {

using common::LogLevel;
using common::logMessage;

constexpr int kPollAttempts = 20;
constexpr std::chrono::milliseconds kPollInterval{100};
static_assert(kPollAttempts * kPollInterval.count() == 2000, "the time-out texts below say 2000ms");

constexpr const char* kInvalidPath = "manifest path empty or invalid";

// On Windows SteamVR accepts a path with '/' and then never lists the
// application; on Linux its loader turns '\' into '/', so the runtime would
// open another file than the one named.
std::string_view refusedSeparatorText() {
  return text::refusedSeparator() == '/'
             ? "manifest path contains forward slash; SteamVR will silently skip. Path: "
             : "manifest path contains back-slash, which SteamVR on Linux reads as '/'. Path: ";
}

// The runtime takes the path as a NUL-terminated string, so a path with an
// embedded NUL would silently name a different file: treat it as unusable,
// like an empty one.
std::string toUtf8(const std::wstring& path) {
  if (path.empty()) return {};
  std::string utf8 = platform::wideToUtf8(path);
  if (utf8.find('\0') != std::string::npos) return {};
  return utf8;
}

class ManifestRegistrarImpl final : public IManifestRegistrar {
 public:
  ManifestRegistrarImpl(IVRApplicationsSurface* surface, std::string appKey,
                        std::wstring manifestPath, ISleeper& sleeper)
      : surface_(surface),
        appKey_(std::move(appKey)),
        manifestPath_(std::move(manifestPath)),
        sleeper_(sleeper) {}

  RegisterResult Register() override {
    if (const RegisterResult added = addAndPoll(); added != RegisterResult::Success) return added;

    if (const ApplicationError err = surface_->SetApplicationAutoLaunch(appKey_.c_str(), true);
        err != kApplicationErrorNone) {
      return fail(RegisterResult::AutoLaunchFailed, LogLevel::Warn,
                  std::string("SetApplicationAutoLaunch: ") + surface_->ErrorName(err));
    }

    logMessage(LogLevel::Info, "manifest registered + auto-launch enabled: ", appKey_);
    lastError_.clear();
    return RegisterResult::Success;
  }

  RegisterResult Unregister() override {
    const std::string path = toUtf8(manifestPath_);
    if (path.empty()) return fail(RegisterResult::RemoveFailed, LogLevel::Error, kInvalidPath);

    if (const ApplicationError err = surface_->RemoveApplicationManifest(path.c_str());
        err != kApplicationErrorNone) {
      return fail(RegisterResult::RemoveFailed, LogLevel::Warn,
                  std::string("RemoveApplicationManifest: ") + surface_->ErrorName(err));
    }

    logMessage(LogLevel::Info, "manifest removed: ", appKey_);
    lastError_.clear();
    return RegisterResult::Success;
  }

  RegisterResult EnsureRegistered() override {
    if (surface_->IsApplicationInstalled(appKey_.c_str())) {
      lastError_.clear();
      return RegisterResult::Success;
    }
    return Register();
  }

  std::string LastError() const override { return lastError_; }

  RegisterResult AddAndWait() override {
    if (const RegisterResult added = addAndPoll(); added != RegisterResult::Success) return added;
    lastError_.clear();
    return RegisterResult::Success;
  }

 private:
  // The add and the polls Register and AddAndWait share; logs as Register
  // does, and leaves lastError_ set on failure only.
  RegisterResult addAndPoll() {
    const std::string path = toUtf8(manifestPath_);
    if (path.empty()) return fail(RegisterResult::AddFailed, LogLevel::Error, kInvalidPath);
    if (path.find(text::refusedSeparator()) != std::string::npos) {
      return fail(RegisterResult::AddFailed, LogLevel::Error,
                  std::string(refusedSeparatorText()) + path);
    }

    if (const ApplicationError err = surface_->AddApplicationManifest(path.c_str(), false);
        err != kApplicationErrorNone) {
      return fail(RegisterResult::AddFailed, LogLevel::Warn,
                  std::string("AddApplicationManifest: ") + surface_->ErrorName(err));
    }

    logMessage(LogLevel::Info, "polling for manifest install");
    int polledMs = 0;
    const PollEnd polled = pollUntilInstalled(polledMs);
    if (polled == PollEnd::Stopped) {
      lastError_ = "polling stopped after " + std::to_string(polledMs) + "ms";
      logMessage(LogLevel::Warn, lastError_);
      return RegisterResult::PollTimeout;
    }
    if (polled == PollEnd::TimedOut) {
      lastError_ = "IsApplicationInstalled timeout after 2000ms";
      logMessage(LogLevel::Warn, "timeout after 2000ms");
      return RegisterResult::PollTimeout;
    }
    return RegisterResult::Success;
  }

  enum class PollEnd { Installed, TimedOut, Stopped };

  // The reported wait counts polls; it is not measured time. The sleep also
  // follows the last miss, so a time-out takes the full 2000 ms. A stopped
  // sleep ends the polls at once; `polledMs` counts the sleeps completed.
  PollEnd pollUntilInstalled(int& polledMs) {
    const int interval = static_cast<int>(kPollInterval.count());
    for (int attempt = 1; attempt <= kPollAttempts; ++attempt) {
      if (surface_->IsApplicationInstalled(appKey_.c_str())) {
        logMessage(LogLevel::Info, "manifest ready after ", attempt * interval, "ms");
        return PollEnd::Installed;
      }
      if (!sleeper_.SleepFor(kPollInterval)) {
        polledMs = (attempt - 1) * interval;
        return PollEnd::Stopped;
      }
    }
    return PollEnd::TimedOut;
  }

  RegisterResult fail(RegisterResult result, LogLevel level, std::string text) {
    lastError_ = std::move(text);
    logMessage(level, lastError_);
    return result;
  }

  IVRApplicationsSurface* surface_;
  std::string appKey_;
  std::wstring manifestPath_;
  ISleeper& sleeper_;
  std::string lastError_;
};

}  // namespace

std::unique_ptr<IManifestRegistrar> createManifestRegistrar(IVRApplicationsSurface* surface,
                                                            std::string appKey,
                                                            std::wstring manifestPath) {
  return createManifestRegistrar(surface, std::move(appKey), std::move(manifestPath), nullptr);
}

std::unique_ptr<IManifestRegistrar> createManifestRegistrar(IVRApplicationsSurface* surface,
                                                            std::string appKey,
                                                            std::wstring manifestPath,
                                                            ISleeper* sleeper) {
  // A registrar without a surface could only crash on first use.
  if (surface == nullptr) return nullptr;
  return std::make_unique<ManifestRegistrarImpl>(surface, std::move(appKey),
                                                 std::move(manifestPath),
                                                 sleeper != nullptr ? *sleeper : plainSleeper());
}

}  // namespace ostrel::steamvr
