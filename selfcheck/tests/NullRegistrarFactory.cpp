// A registrar factory that never delivers, linked into a variant of the
// self-check to prove how the runner reports a failed check. Defining the
// factory here keeps the library's own from being linked in.
#include <memory>
#include <string>

#include "ostrel/steamvr/IManifestRegistrar.h"

namespace ostrel::steamvr {

std::unique_ptr<IManifestRegistrar> createManifestRegistrar(IVRApplicationsSurface*, std::string,
                                                            std::wstring) {
  return nullptr;
}

}  // namespace ostrel::steamvr
