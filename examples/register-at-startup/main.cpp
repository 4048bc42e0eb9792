// What the desktop application does at start-up: keep its SteamVR
// registration right, off the thread that draws its window. Built against
// the installed ostrel package.
//
//   register-at-startup KEY [MANIFEST]
//
// MANIFEST defaults to app.vrmanifest beside this program; the loader
// (openvr_api.dll) is looked for beside it first, as an application ships
// it. Prints one line, "<action>: <text>", and exits 0 for already-registered,
// registered and repaired, 69 for unreachable, 1 otherwise.
#include <iostream>

#include <ostrel/startup/StartupRegistration.h>

namespace startup = ostrel::startup;

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::cerr << "usage: register-at-startup KEY [MANIFEST]\n";
    return 64;
  }
  startup::StartupOptions options;
  options.appKey = argv[1];
  if (argc == 3) options.manifestPath = argv[2];  // UTF-8

  // Returns at once; an application goes on starting up meanwhile, and
  // destroying the handle at exit stops a registration still under way.
  const auto registration = startup::startRegistration(options);
  const startup::StartupOutcome& outcome = registration->Wait();

  std::cout << startup::startupActionName(outcome.action) << ": " << outcome.text << '\n';
  return startup::startupExitStatus(outcome.action);
}
