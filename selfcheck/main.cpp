// Self-check: drives the manifest registrar through five fixed scenarios
// against a scripted, recording stand-in for the runtime's applications API.
//
// Standard output gets one PASS line per scenario and "all tests passed";
// the first failed check writes one FAIL line to standard error and ends the
// run with status 1. The registrar's own log lines share standard error.
#include <iostream>

#include "Scenarios.h"
#include "ostrel/steamvr/IManifestRegistrar.h"

int main() {
  return runScenarios(&ostrel::steamvr::createManifestRegistrar, std::cout, std::cerr);
}
