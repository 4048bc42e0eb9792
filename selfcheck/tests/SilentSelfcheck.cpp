// The self-check with the process logger slot emptied before the run: the
// scenarios must pass exactly as before and standard error stay empty
// (CheckSelfcheckRun.cmake with EXPECT_LOG=OFF).
#include <iostream>

#include "Scenarios.h"
#include "ostrel/common/ILogger.h"
#include "ostrel/steamvr/IManifestRegistrar.h"

int main() {
  // Nothing logs yet, so the slot may be written here.
  ostrel::common::processLogger.reset();
  return runScenarios(&ostrel::steamvr::createManifestRegistrar, std::cout, std::cerr);
}
