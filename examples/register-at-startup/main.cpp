// What the desktop application does at start-up: make sure SteamVR lists it,
// and say why when it cannot. Built against the installed ostrel package.
//
//   register-at-startup <app key> <full path of app.vrmanifest>
//
// The loader (openvr_api.dll) is looked for beside this program first, as an
// application ships it. Exit status: 0 registered (or already was), 69 the
// runtime cannot be reached, 1 the registration failed.
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <string_view>

#include <ostrel/steamvr/IManifestRegistrar.h>
#include <ostrel/steamvr/OpenVRApplicationsSurface.h>
#include <ostrel/steamvr/OpenVRSession.h>

namespace vr = ostrel::steamvr;

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: register-at-startup <app key> <full path of app.vrmanifest>\n";
    return 64;
  }
  // The path as UTF-8 (enough for this example; a Windows program would take
  // its own folder from GetModuleFileNameW instead).
  const std::u8string_view utf8(reinterpret_cast<const char8_t*>(argv[2]));
  const std::wstring manifest = std::filesystem::path(utf8).wstring();

  vr::OpenVRSessionError error;
  const std::unique_ptr<vr::OpenVRSession> session = vr::OpenVRSession::open({}, error);
  if (!session) {
    std::cerr << "SteamVR cannot be reached: " << error.message << '\n';
    return 69;
  }
  const auto surface = vr::createOpenVRApplicationsSurface(session.get());
  const auto registrar = vr::createManifestRegistrar(surface.get(), argv[1], manifest);
  if (registrar->EnsureRegistered() != vr::RegisterResult::Success) {
    std::cerr << "registration failed: " << registrar->LastError() << '\n';
    return 1;
  }
  std::cout << "registered " << argv[1] << '\n';
  return 0;
}
