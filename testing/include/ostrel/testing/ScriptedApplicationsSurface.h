// A stand-in for the runtime's applications registry, for the tests of every
// subsystem and for the benchmarks: each operation answers from a script of
// its own and, unless told not to, is remembered with its exact arguments.
//
// It is the runtime surface (with the read-backs that `status` asks for), so
// that the registrar, the commands and the benchmarks all drive one double.
// Not synchronised: one thread at a time, like the surfaces it stands in for.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "ostrel/openvr/OpenVRApplicationsSurface.h"

namespace ostrel::testing {

// Answers handed out in order, then `otherwise` for every later call.
template <typename T>
struct ScriptedAnswers {
  std::deque<T> queued;
  T otherwise{};

  T next() {
    if (queued.empty()) return otherwise;
    T answer = queued.front();
    queued.pop_front();
    return answer;
  }
};

// One call of the four registration operations. `operation` is "Add",
// "Installed", "AutoLaunch" or "Remove"; `text` the path or key, byte for
// byte; `flag` the temporary or auto-launch argument (false for the others).
struct SurfaceCall {
  std::string operation;
  std::string text;
  bool flag = false;
};

class ScriptedApplicationsSurface final : public openvr::OpenVRApplicationsSurface {
 public:
  steamvr::ApplicationError AddApplicationManifest(const char* manifestPath,
                                                   bool temporary) override {
    record("Add", manifestPath, temporary);
    return addAnswers.next();
  }
  bool IsApplicationInstalled(const char* appKey) override {
    record("Installed", appKey, false);
    return installedAnswers.next();
  }
  steamvr::ApplicationError SetApplicationAutoLaunch(const char* appKey, bool autoLaunch) override {
    record("AutoLaunch", appKey, autoLaunch);
    return autoLaunchAnswers.next();
  }
  steamvr::ApplicationError RemoveApplicationManifest(const char* manifestPath) override {
    record("Remove", manifestPath, false);
    return removeAnswers.next();
  }

  // The read-backs answer the same every time and are not recorded: they
  // change nothing in the runtime.
  openvr::ApplicationFlag GetApplicationAutoLaunch(const char*) override { return autoLaunch; }
  openvr::ApplicationFlag IsDashboardOverlay(const char*) override { return overlay; }
  openvr::ApplicationText GetBinaryPath(const char*) override { return binaryPath; }
  openvr::ApplicationText GetWorkingDirectory(const char*) override { return workingDirectory; }

  // The operations' names in call order.
  std::vector<std::string> operations() const {
    std::vector<std::string> names;
    names.reserve(calls.size());
    for (const SurfaceCall& call : calls) names.push_back(call.operation);
    return names;
  }

  // Every answer defaults to success; "installed" to false.
  ScriptedAnswers<steamvr::ApplicationError> addAnswers;
  ScriptedAnswers<bool> installedAnswers;
  ScriptedAnswers<steamvr::ApplicationError> autoLaunchAnswers;
  ScriptedAnswers<steamvr::ApplicationError> removeAnswers;

  // What the read-backs report; by default an overlay with auto-launch off
  // whose manifest set neither binary path nor working directory
  // (VRApplicationError_PropertyNotSet, 201).
  openvr::ApplicationFlag autoLaunch{false, steamvr::kApplicationErrorNone};
  openvr::ApplicationFlag overlay{true, steamvr::kApplicationErrorNone};
  openvr::ApplicationText binaryPath{{}, 201};
  openvr::ApplicationText workingDirectory{{}, 201};

  // False: calls are answered but not remembered, so that a benchmark
  // measures the caller's allocations and not the double's.
  bool recordCalls = true;
  std::vector<SurfaceCall> calls;

 private:
  void record(const char* operation, const char* text, bool flag) {
    if (recordCalls) calls.push_back({operation, text, flag});
  }
};

}  // namespace ostrel::testing
