#include <optional>
#include <string>

#include "Commands.h"
#include "ExitStatus.h"
#include "ManifestLocation.h"
#include "StaleRegistration.h"
#include "platform/Platform.h"

namespace ostrel::registercli {

namespace {

using steamvr::ApplicationError;
using steamvr::kApplicationErrorNone;
using steamvr::OpenVRApplicationsSurface;

std::string flagText(OpenVRApplicationsSurface& surface, steamvr::ApplicationFlag flag,
                     const char* yes, const char* no) {
  if (flag.error != kApplicationErrorNone) {
    return std::string("unknown (") + surface.ErrorName(flag.error) + ")";
  }
  return flag.value ? yes : no;
}

std::string textOrReason(OpenVRApplicationsSurface& surface, const steamvr::ApplicationText& text) {
  if (text.error != kApplicationErrorNone) {
    return std::string("(not reported: ") + surface.ErrorName(text.error) + ")";
  }
  return text.value;
}

}  // namespace

int runStatusCommand(const CommandLine& commandLine, IRuntimeConnector& connector,
                     std::ostream& out) {
  const std::string& key = commandLine.appKey;
  std::string reason;
  OpenVRApplicationsSurface* surface = connector.Connect(commandLine.loaderPath, reason);
  if (surface == nullptr) {
    out << unavailableSummary("status", reason) << '\n';
    return kExitUnavailable;
  }

  const bool installed = surface->IsApplicationInstalled(key.c_str());
  out << "application:       " << key << '\n';
  out << "installed:         " << (installed ? "yes" : "no") << '\n';
  if (!installed) {
    out << "status: " << key << " is not registered with the runtime\n";
    return 0;
  }

  const steamvr::ApplicationFlag autoLaunch = surface->GetApplicationAutoLaunch(key.c_str());
  const steamvr::ApplicationFlag overlay = surface->IsDashboardOverlay(key.c_str());
  const steamvr::ApplicationText binary = surface->GetBinaryPath(key.c_str());
  const steamvr::ApplicationText folder = surface->GetWorkingDirectory(key.c_str());
  out << "auto-launch:       " << flagText(*surface, autoLaunch, "on", "off") << '\n';
  out << "dashboard overlay: " << flagText(*surface, overlay, "yes", "no") << '\n';
  out << "binary path:       " << textOrReason(*surface, binary) << '\n';
  out << "working directory: " << textOrReason(*surface, folder) << '\n';

  std::string verdict;
  if (commandLine.manifestPath) {
    const std::string manifest = platform::wideToUtf8(registrarPathFor(*commandLine.manifestPath));
    std::string problem;
    const std::optional<ManifestLocation> location = readManifestLocation(manifest, key, problem);
    if (!location) {
      out << "manifest:          cannot compare: " << problem << '\n';
    } else {
      const RegisteredPlace place{binary.error == kApplicationErrorNone ? binary.value : "",
                                  folder.error == kApplicationErrorNone ? folder.value : ""};
      const PlaceVerdict judged = judgeRegisteredPlace(place, *location);
      out << "manifest:          " << judged.explanation << '\n';
      if (judged.match == PlaceMatch::Differs)
        verdict = ", stale: points elsewhere than " + manifest;
    }
  }
  out << "status: " << key << " is registered (auto-launch "
      << flagText(*surface, autoLaunch, "on", "off") << ")" << verdict << '\n';
  return 0;
}

}  // namespace ostrel::registercli
