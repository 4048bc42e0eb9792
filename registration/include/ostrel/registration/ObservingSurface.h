// Forwards the registrar's calls to the runtime and notes whether a manifest
// was added, which is how `ensure` tells "already registered" from
// "registered" without a second question to the runtime. Each call goes to
// the target unchanged and its answer comes back unchanged; nothing here
// throws but what the target throws. Not synchronised: one call at a time,
// as IVRApplicationsSurface asks.
#pragma once

#include "ostrel/steamvr/IVRApplicationsSurface.h"

namespace ostrel::registration {

class ObservingSurface final : public steamvr::IVRApplicationsSurface {
 public:
  // `target` is borrowed and must outlive this object. REQUIRES: `target` is
  // not null.
  explicit ObservingSurface(steamvr::IVRApplicationsSurface* target) : target_(target) {}

  steamvr::ApplicationError AddApplicationManifest(const char* manifestPath,
                                                   bool temporary) override {
    addCalled_ = true;
    return target_->AddApplicationManifest(manifestPath, temporary);
  }
  bool IsApplicationInstalled(const char* appKey) override {
    return target_->IsApplicationInstalled(appKey);
  }
  steamvr::ApplicationError SetApplicationAutoLaunch(const char* appKey, bool autoLaunch) override {
    return target_->SetApplicationAutoLaunch(appKey, autoLaunch);
  }
  steamvr::ApplicationError RemoveApplicationManifest(const char* manifestPath) override {
    return target_->RemoveApplicationManifest(manifestPath);
  }
  const char* ErrorName(steamvr::ApplicationError code) override {
    return target_->ErrorName(code);
  }

  // Whether AddApplicationManifest was called through this object, whatever
  // the runtime answered.
  bool addCalled() const { return addCalled_; }

 private:
  steamvr::IVRApplicationsSurface* target_;
  bool addCalled_ = false;
};

}  // namespace ostrel::registration
