// The test's own handle on the stand-in loader: loads the same library file
// the session will load (the system then hands both the same copy), resolves
// the control entry points and scripts it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "fakeloader/FakeLoaderControl.h"
#include "platform/Platform.h"

namespace ostrel::openvr::testing {

class FakeLoader {
 public:
  // The stand-in beside the test executable, where the session looks first.
  static std::filesystem::path besideExecutable() {
    return platform::executableDirectory().valueOr({}) /
           platform::sharedLibraryFileName("openvr_api");
  }

  // The old-loader build, without VR_InitInternal2.
  static std::filesystem::path oldLoader() {
    return platform::executableDirectory().valueOr({}) / "oldloader" /
           platform::sharedLibraryFileName("openvr_api");
  }

  // Loads the stand-in at `path` and resets its script. ready() says whether
  // that worked; problem() says why not.
  explicit FakeLoader(const std::filesystem::path& path) {
    outcome::Outcome<platform::DynamicLibrary> opened = platform::DynamicLibrary::open(path);
    if (!opened) {
      problem_ = "cannot load " + platform::pathToUtf8(path) + ": " + opened.failure().message;
      return;
    }
    library_ = std::move(opened).value();
    resolve(fakeloader::kReset, reset_);
    resolve(fakeloader::kSetInitError, setInitError_);
    resolve(fakeloader::kQueueInitError, queueInitError_);
    resolve(fakeloader::kSetInterfaceKnown, setInterfaceKnown_);
    resolve(fakeloader::kWithholdTable, withholdTable_);
    resolve(fakeloader::kClearSlot, clearSlot_);
    resolve(fakeloader::kQueueAnswer, queueAnswer_);
    resolve(fakeloader::kSetTextProperty, setTextProperty_);
    resolve(fakeloader::kSetFlagProperty, setFlagProperty_);
    resolve(fakeloader::kCallCount, callCount_);
    resolve(fakeloader::kCall, call_);
    if (problem_.empty()) reset_();
  }

  bool ready() const { return problem_.empty(); }
  const std::string& problem() const { return problem_; }

  void reset() { reset_(); }
  void setInitError(std::int32_t error) { setInitError_(error); }
  void queueInitError(std::int32_t error) { queueInitError_(error); }
  void setInterfaceKnown(bool known) { setInterfaceKnown_(known); }
  void withholdTable() { withholdTable_(true); }
  bool clearSlot(std::int32_t slot) { return clearSlot_(slot); }
  bool queue(const char* entry, std::int32_t answer) { return queueAnswer_(entry, answer); }
  void setTextProperty(std::int32_t property, const std::string& value, std::int32_t error = 0) {
    setTextProperty_(property, value.c_str(), error);
  }
  void setFlagProperty(std::int32_t property, bool value, std::int32_t error = 0) {
    setFlagProperty_(property, value, error);
  }

  std::vector<std::string> calls() const {
    std::vector<std::string> out;
    for (std::size_t i = 0, n = callCount_(); i < n; ++i) out.emplace_back(call_(i));
    return out;
  }

 private:
  template <typename Function>
  void resolve(const char* name, Function& out) {
    const outcome::Outcome<platform::LibraryFunction> address = library_.function(name);
    if (!address) {
      problem_ += std::string(name) + ": " + address.failure().message + "; ";
      return;
    }
    out = reinterpret_cast<Function>(address.value());
  }

  platform::DynamicLibrary library_;
  std::string problem_;
  fakeloader::ResetFunction reset_ = nullptr;
  fakeloader::SetInitErrorFunction setInitError_ = nullptr;
  fakeloader::QueueInitErrorFunction queueInitError_ = nullptr;
  fakeloader::SetInterfaceKnownFunction setInterfaceKnown_ = nullptr;
  fakeloader::WithholdTableFunction withholdTable_ = nullptr;
  fakeloader::ClearSlotFunction clearSlot_ = nullptr;
  fakeloader::QueueAnswerFunction queueAnswer_ = nullptr;
  fakeloader::SetTextPropertyFunction setTextProperty_ = nullptr;
  fakeloader::SetFlagPropertyFunction setFlagProperty_ = nullptr;
  fakeloader::CallCountFunction callCount_ = nullptr;
  fakeloader::CallFunction call_ = nullptr;
};

}  // namespace ostrel::openvr::testing
