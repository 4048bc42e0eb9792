// Test double for the applications surface: answers from per-operation
// scripts and remembers each call with its exact arguments.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "ostrel/steamvr/IVRApplicationsSurface.h"

namespace ostrel::steamvr::testing {

struct SurfaceCall {
  std::string operation;
  std::string text;  // the path or key, byte for byte
  bool flag = false;
};

class FakeApplicationsSurface final : public IVRApplicationsSurface {
 public:
  ApplicationError AddApplicationManifest(const char* manifestPath, bool temporary) override {
    calls_.push_back({"Add", manifestPath, temporary});
    return next(addAnswers_, ApplicationError{0});
  }
  bool IsApplicationInstalled(const char* appKey) override {
    calls_.push_back({"Installed", appKey, false});
    return next(installedAnswers_, false);
  }
  ApplicationError SetApplicationAutoLaunch(const char* appKey, bool autoLaunch) override {
    calls_.push_back({"AutoLaunch", appKey, autoLaunch});
    return next(autoLaunchAnswers_, ApplicationError{0});
  }
  ApplicationError RemoveApplicationManifest(const char* manifestPath) override {
    calls_.push_back({"Remove", manifestPath, false});
    return next(removeAnswers_, ApplicationError{0});
  }

  std::vector<std::string> operations() const {
    std::vector<std::string> names;
    for (const SurfaceCall& call : calls_) names.push_back(call.operation);
    return names;
  }

  std::vector<SurfaceCall> calls_;
  std::deque<ApplicationError> addAnswers_;
  std::deque<bool> installedAnswers_;
  std::deque<ApplicationError> autoLaunchAnswers_;
  std::deque<ApplicationError> removeAnswers_;

 private:
  template <typename T>
  static T next(std::deque<T>& answers, T otherwise) {
    if (answers.empty()) return otherwise;
    T answer = answers.front();
    answers.pop_front();
    return answer;
  }
};

}  // namespace ostrel::steamvr::testing
