// ostrel-app-standin: stands in for the Ostrel desktop application, which is
// not part of this repository, in the example installer. It does at start-up
// what the application does: keeps its SteamVR registration right from the
// manifest beside its own executable (registers it, repairs a moved install,
// leaves auto-launch as the user set it), off the main thread. That is what
// the installer promises when SteamVR could not be reached at install time.
// Prints one line, "<action>: <text>"; exit status 0 registered (or already
// was, or repaired), 69 runtime unreachable, 1 anything else.
#include <iostream>

#include "ostrel/startup/StartupRegistration.h"

namespace startup = ostrel::startup;

int main() {
  startup::StartupOptions options;
  options.appKey = "vantorell.ostrel";  // the manifest: app.vrmanifest beside this program
  const auto registration = startup::startRegistration(options);
  const startup::StartupOutcome& outcome = registration->Wait();
  std::cout << startup::startupActionName(outcome.action) << ": " << outcome.text << '\n';
  return startup::startupExitStatus(outcome.action);
}
