// The self-check's stand-in for the runtime: a scripted, recording
// applications surface and the two queries over its call log.
//
// Everything here sits in an unnamed namespace: the header belongs to the
// runner's unit (and to that unit's test), and nothing else can name it.
#pragma once

#include <cstddef>
#include <queue>
#include <string>
#include <vector>

#include "ostrel/steamvr/IVRApplicationsSurface.h"

namespace {

using ostrel::steamvr::ApplicationError;

// Records every call as "Operation(arg,arg)" and answers from queues that the
// scenario fills beforehand; an empty queue answers success / not installed.
class StubApplicationsSurface final : public ostrel::steamvr::IVRApplicationsSurface {
 public:
  ApplicationError AddApplicationManifest(const char* manifestPath, bool temporary) override {
    callLog_.push_back("AddApplicationManifest(" + text(manifestPath) + "," + flag(temporary) +
                       ")");
    return take(addResults_, ApplicationError{0});
  }

  bool IsApplicationInstalled(const char* appKey) override {
    callLog_.push_back("IsApplicationInstalled(" + text(appKey) + ")");
    return take(installedResults_, false);
  }

  ApplicationError SetApplicationAutoLaunch(const char* appKey, bool autoLaunch) override {
    callLog_.push_back("SetApplicationAutoLaunch(" + text(appKey) + "," + flag(autoLaunch) + ")");
    return take(autoLaunchResults_, ApplicationError{0});
  }

  ApplicationError RemoveApplicationManifest(const char* manifestPath) override {
    callLog_.push_back("RemoveApplicationManifest(" + text(manifestPath) + ")");
    return take(removeResults_, ApplicationError{0});
  }

  std::vector<std::string> callLog_;
  std::queue<ApplicationError> addResults_;
  std::queue<bool> installedResults_;
  std::queue<ApplicationError> autoLaunchResults_;
  std::queue<ApplicationError> removeResults_;

 private:
  static std::string text(const char* value) { return value == nullptr ? "(null)" : value; }
  static std::string flag(bool value) { return value ? "true" : "false"; }

  template <typename T>
  static T take(std::queue<T>& results, T fallback) {
    if (results.empty()) return fallback;
    T answer = results.front();
    results.pop();
    return answer;
  }
};

bool beginsWith(const std::string& entry, const std::string& prefix) {
  return entry.rfind(prefix, 0) == 0;
}

int countCalls(const std::vector<std::string>& log, const std::string& prefix) {
  int count = 0;
  for (const std::string& entry : log) {
    if (beginsWith(entry, prefix)) ++count;
  }
  return count;
}

int firstCallIndex(const std::vector<std::string>& log, const std::string& prefix) {
  for (std::size_t i = 0; i < log.size(); ++i) {
    if (beginsWith(log[i], prefix)) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace
