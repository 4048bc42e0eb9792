// The applications surface over a live runtime: forwards the registrar's five
// operations to the runtime's IVRApplications_007 table, and reads back what
// the runtime holds for an application.
#pragma once

#include <memory>
#include <string>

#include "ostrel/steamvr/IVRApplicationsSurface.h"
#include "ostrel/openvr/OpenVRSession.h"

namespace ostrel::openvr {

// Reported instead of calling a table entry that the runtime left empty. Not
// one of the runtime's codes, which are all positive.
inline constexpr steamvr::ApplicationError kApplicationErrorFunctionMissing = -1;

struct ApplicationFlag {
  bool value = false;
  steamvr::ApplicationError error = steamvr::kApplicationErrorNone;  // value is false unless None
};

struct ApplicationText {
  std::string value;                               // UTF-8, as the runtime holds it
  steamvr::ApplicationError error = steamvr::kApplicationErrorNone;  // value is empty unless None
};

class OpenVRApplicationsSurface : public steamvr::IVRApplicationsSurface {
 public:
  // Whether the runtime starts the application with itself. The runtime has
  // no error for this question: an unknown key reads as false.
  virtual ApplicationFlag GetApplicationAutoLaunch(const char* appKey) = 0;

  // Whether the manifest registered the application as a dashboard overlay.
  virtual ApplicationFlag IsDashboardOverlay(const char* appKey) = 0;

  // The registered binary path and working directory; an unregistered key or
  // a property the manifest did not set comes back as the runtime's error.
  virtual ApplicationText GetBinaryPath(const char* appKey) = 0;
  virtual ApplicationText GetWorkingDirectory(const char* appKey) = 0;

  // applicationErrorName for the runtime's codes; a text of its own for
  // kApplicationErrorFunctionMissing.
  const char* ErrorName(steamvr::ApplicationError code) override;
};

// `session` is borrowed and must outlive the surface. Returns an empty pointer
// when `session` is null.
std::unique_ptr<OpenVRApplicationsSurface> createOpenVRApplicationsSurface(
    const OpenVRSession* session);

}  // namespace ostrel::openvr
