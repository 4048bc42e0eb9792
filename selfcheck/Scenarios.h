// The self-check's scenarios as a function of the registrar factory, so the
// program and its failure tests run the very same checks: the program passes
// the library's factory, a test passes one that misbehaves.
#pragma once

#include <memory>
#include <ostream>
#include <string>

#include "ostrel/steamvr/IManifestRegistrar.h"
#include "ostrel/steamvr/IVRApplicationsSurface.h"

// Makes the registrar under test; the same shape as createManifestRegistrar.
using RegistrarFactory = std::unique_ptr<ostrel::steamvr::IManifestRegistrar> (*)(
    ostrel::steamvr::IVRApplicationsSurface* surface, std::string appKey,
    std::wstring manifestPath);

// Runs the five scenarios in order with registrars made by `factory`. Writes
// one PASS line per scenario and then "all tests passed" to `out` and returns
// 0; on the first failed check writes "FAIL: <expression> at line <n>" (n is
// the line of Scenarios.cpp the check stands on) to `err`, writes nothing
// more and returns 1. The registrar's own log lines go to the process logger.
// REQUIRES: factory != nullptr.
int runScenarios(RegistrarFactory factory, std::ostream& out, std::ostream& err);
