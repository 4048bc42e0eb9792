#include "ostrel/openvr/OpenVRApplicationsSurface.h"

#include <cstdint>
#include <string>

#include "OpenVRApplicationsTable.h"

namespace ostrel::openvr {

using steamvr::ApplicationError;
using steamvr::kApplicationErrorNone;
using steamvr::applicationErrorName;

namespace {

// Paths fit at once; a longer value costs one more call.
constexpr std::uint32_t kFirstTextBufferSize = 260;
// A value the runtime claims is larger than this is not a path: refuse it
// instead of allocating whatever it says.
constexpr std::uint32_t kLargestTextBufferSize = 1u << 20;

class OpenVRApplicationsSurfaceImpl final : public OpenVRApplicationsSurface {
 public:
  explicit OpenVRApplicationsSurfaceImpl(const OpenVRApplicationsTable& table) : table_(table) {}

  // The session checked the registration entries when it opened; they are
  // checked again here so that this class never depends on that.
  ApplicationError AddApplicationManifest(const char* manifestPath, bool temporary) override {
    return callForError(table_.AddApplicationManifest, manifestPath, temporary);
  }

  bool IsApplicationInstalled(const char* appKey) override {
    if (table_.IsApplicationInstalled == nullptr) return false;
    return table_.IsApplicationInstalled(appKey);
  }

  ApplicationError SetApplicationAutoLaunch(const char* appKey, bool autoLaunch) override {
    return callForError(table_.SetApplicationAutoLaunch, appKey, autoLaunch);
  }

  ApplicationError RemoveApplicationManifest(const char* manifestPath) override {
    return callForError(table_.RemoveApplicationManifest, manifestPath);
  }

  ApplicationFlag GetApplicationAutoLaunch(const char* appKey) override {
    if (table_.GetApplicationAutoLaunch == nullptr)
      return {false, kApplicationErrorFunctionMissing};
    return {table_.GetApplicationAutoLaunch(appKey), kApplicationErrorNone};
  }

  ApplicationFlag IsDashboardOverlay(const char* appKey) override {
    if (table_.GetApplicationPropertyBool == nullptr) {
      return {false, kApplicationErrorFunctionMissing};
    }
    ApplicationError error = kApplicationErrorNone;
    const bool value =
        table_.GetApplicationPropertyBool(appKey, kPropertyIsDashboardOverlay, &error);
    if (error != kApplicationErrorNone) return {false, error};
    return {value, kApplicationErrorNone};
  }

  ApplicationText GetBinaryPath(const char* appKey) override {
    return textProperty(appKey, kPropertyBinaryPath);
  }

  ApplicationText GetWorkingDirectory(const char* appKey) override {
    return textProperty(appKey, kPropertyWorkingDirectory);
  }

 private:
  // The entries that answer with an error code alone; a missing one answers
  // as a call that failed, never as a null call.
  template <typename... Parameters, typename... Arguments>
  static ApplicationError callForError(ApplicationError (*entry)(Parameters...),
                                       Arguments... arguments) {
    if (entry == nullptr) return kApplicationErrorFunctionMissing;
    return entry(arguments...);
  }

  // The runtime answers every call with the size the value needs, terminator
  // included; when that exceeds the buffer it reports BufferTooSmall and the
  // call is repeated once with a buffer of that size. A value that grows
  // again in between is reported as too small rather than chased.
  ApplicationText textProperty(const char* appKey, std::int32_t property) {
    if (table_.GetApplicationPropertyString == nullptr) {
      return {{}, kApplicationErrorFunctionMissing};
    }
    std::string buffer(kFirstTextBufferSize, '\0');
    for (int attempt = 0; attempt < 2; ++attempt) {
      ApplicationError error = kApplicationErrorNone;
      const std::uint32_t needed = table_.GetApplicationPropertyString(
          appKey, property, buffer.data(), static_cast<std::uint32_t>(buffer.size()), &error);
      const bool fits = needed <= buffer.size();
      if (error != kApplicationErrorNone && !(error == kApplicationErrorBufferTooSmall && !fits)) {
        return {{}, error};
      }
      if (fits) {
        // Up to the terminator, wherever the runtime put it.
        buffer.resize(needed);
        if (const std::size_t end = buffer.find('\0'); end != std::string::npos) buffer.resize(end);
        return {std::move(buffer), kApplicationErrorNone};
      }
      if (needed > kLargestTextBufferSize) break;
      buffer.assign(needed, '\0');
    }
    return {{}, kApplicationErrorBufferTooSmall};
  }

  const OpenVRApplicationsTable& table_;
};

}  // namespace

const char* OpenVRApplicationsSurface::ErrorName(ApplicationError code) {
  if (code == kApplicationErrorFunctionMissing) {
    return "IVRApplications_007 table entry missing";
  }
  return applicationErrorName(code);
}

std::unique_ptr<OpenVRApplicationsSurface> createOpenVRApplicationsSurface(
    const OpenVRSession* session) {
  if (session == nullptr) return nullptr;
  return std::make_unique<OpenVRApplicationsSurfaceImpl>(session->applications());
}

}  // namespace ostrel::openvr
