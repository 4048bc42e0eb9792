// The folder the defaults are looked for in, for the whole process: set by a
// host whose executable is not the application (mono, python3), read by
// every call that looks for the manifest or the loader.
#include <mutex>
#include <string>

#include "Boundary.h"
#include "ostrel.h"

namespace {

std::mutex& folderMutex() {
  static std::mutex mutex;
  return mutex;
}

std::string& folder() {
  static std::string value;
  return value;
}

}  // namespace

namespace ostrel::capi {

std::string programFolder() {
  const std::lock_guard lock(folderMutex());
  return folder();
}

}  // namespace ostrel::capi

extern "C" {

OSTREL_API int OSTREL_CALL ostrel_set_program_folder(const char* program_folder) {
  if (!ostrel::capi::acceptablePath(program_folder, false)) return OSTREL_E_INVALID_ARGUMENT;
  return ostrel::capi::guarded([&] {
    std::string chosen = ostrel::capi::textOrEmpty(program_folder);
    const std::lock_guard lock(folderMutex());
    folder() = std::move(chosen);
    return OSTREL_OK;
  });
}

}  // extern "C"
