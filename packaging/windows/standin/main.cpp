// ostrel-app-standin: stands in for the Ostrel desktop application, which is
// not part of this repository, in the example installer. It does at start-up
// what the application does: makes sure SteamVR lists it, from the manifest
// beside its own executable, leaving auto-launch as the user set it. That is
// what the installer promises when SteamVR could not be reached at install
// time. Prints one line; exit status 0 registered, 69 runtime unreachable,
// 1 anything else.
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>

#include "ostrel/steamvr/IManifestRegistrar.h"
#include "ostrel/steamvr/OpenVRApplicationsSurface.h"
#include "ostrel/steamvr/OpenVRSession.h"
#include "platform/Platform.h"

namespace vr = ostrel::steamvr;

namespace {
constexpr const char* kAppKey = "vantorell.ostrel";
}  // namespace

int main() {
  std::string problem;
  const std::filesystem::path folder = ostrel::platform::executableDirectory(problem);
  if (folder.empty()) {
    std::cout << "stand-in: cannot find its own folder: " << problem << '\n';
    return 1;
  }
  const std::wstring manifest = ostrel::platform::fullNativePath(
      ostrel::platform::utf8ToWide(ostrel::platform::pathToUtf8(folder / "app.vrmanifest")));

  vr::OpenVRSessionError error;
  const std::unique_ptr<vr::OpenVRSession> session = vr::OpenVRSession::open({}, error);
  if (!session) {
    std::cout << "stand-in: SteamVR cannot be reached: " << error.message << '\n';
    return 69;
  }
  const auto surface = vr::createOpenVRApplicationsSurface(session.get());
  const auto registrar = vr::createManifestRegistrar(surface.get(), kAppKey, manifest);
  if (registrar->EnsureRegistered() != vr::RegisterResult::Success) {
    std::cout << "stand-in: registration failed: " << registrar->LastError() << '\n';
    return 1;
  }
  std::cout << "stand-in: " << kAppKey << " is registered with SteamVR\n";
  return 0;
}
