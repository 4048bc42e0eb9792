// Reaching the runtime on demand. The commands ask for the applications
// surface only once they know they need it, so `check` and a refused
// `register` never load the OpenVR loader.
#pragma once

#include <memory>
#include <string>

#include "ostrel/steamvr/OpenVRApplicationsSurface.h"

namespace ostrel::registercli {

class IRuntimeConnector {
 public:
  virtual ~IRuntimeConnector() = default;

  // The surface over a live runtime, owned by the connector and valid until
  // it is destroyed; nullptr with the reason in `error` when the runtime
  // cannot be reached. `loaderPath` empty: the session's default search.
  virtual steamvr::OpenVRApplicationsSurface* Connect(const std::string& loaderPath,
                                                      std::string& error) = 0;
};

// Opens an OpenVRSession (the loader named as UTF-8) and the surface over it.
std::unique_ptr<IRuntimeConnector> createOpenVRConnector();

}  // namespace ostrel::registercli
