#include "RuntimeServer.h"

namespace ostrel::runtimeregistry {

const char* runtimeServerFile() noexcept { return "bin\\win64\\vrserver.exe"; }

}  // namespace ostrel::runtimeregistry
