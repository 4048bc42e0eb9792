// Reaching the runtime on demand. The commands ask for the applications
// surface only once they know they need it, so `check` and a refused
// `register` never load the OpenVR loader.
#pragma once

#include <memory>
#include <string>

#include "ostrel/steamvr/OpenVRApplicationsSurface.h"

namespace ostrel::registercli {

// Why the runtime could not be reached.
struct RuntimeFailure {
  // One line for a person: what the loader or the system said, then what to
  // do about it.
  std::string message;
  // The loader's VRInitError symbol ("VRInitError_Init_PathRegistryNotFound")
  // when the runtime refused the start, else the session's error kind
  // ("LibraryNotFound", ...); empty when not known.
  std::string symbol;
  // What usually causes it and what to do; empty when there is nothing to add.
  std::string advice;
};

class IRuntimeConnector {
 public:
  virtual ~IRuntimeConnector() = default;

  // The surface over a live runtime, owned by the connector and valid until
  // it is destroyed; nullptr with the reason in `failure` when the runtime
  // cannot be reached. `loaderPath` empty: the session's default search.
  virtual steamvr::OpenVRApplicationsSurface* Connect(const std::string& loaderPath,
                                                      RuntimeFailure& failure) = 0;
};

// Opens an OpenVRSession (the loader named as UTF-8) and the surface over it.
std::unique_ptr<IRuntimeConnector> createOpenVRConnector();

}  // namespace ostrel::registercli
