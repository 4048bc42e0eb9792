#include "RuntimeServer.h"

namespace ostrel::steamvr::runtimeregistry {

const char* runtimeServerFile() noexcept { return "bin\\win64\\vrserver.exe"; }

}  // namespace ostrel::steamvr::runtimeregistry
