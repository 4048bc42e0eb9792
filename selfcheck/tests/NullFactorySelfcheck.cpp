// The self-check's scenarios with a registrar factory that never delivers: the
// runner must report its first check and stop (CheckSelfcheckFailure.cmake).
#include <iostream>
#include <memory>
#include <string>

#include "Scenarios.h"

namespace {

std::unique_ptr<ostrel::steamvr::IManifestRegistrar> noRegistrar(
    ostrel::steamvr::IVRApplicationsSurface*, std::string, std::wstring) {
  return nullptr;
}

}  // namespace

int main() { return runScenarios(&noRegistrar, std::cout, std::cerr); }
