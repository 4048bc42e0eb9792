// Windows side of the environment and per-user folders.
#include "platform/Platform.h"
#include "platform/WindowsHeaders.h"
// After windows.h, which they need.
#include <knownfolders.h>
#include <objbase.h>
#include <shlobj.h>

#include <string>

namespace ostrel::platform {

// The C runtime's getenv hands out the ANSI form; the wide environment is
// the one the system keeps.
std::optional<std::string> environmentVariable(const char* name) {
  const std::wstring wideName = utf8ToWide(name);
  std::wstring value(256, L'\0');
  for (int attempt = 0; attempt < 3; ++attempt) {
    SetLastError(ERROR_SUCCESS);
    const DWORD length =
        GetEnvironmentVariableW(wideName.c_str(), value.data(), static_cast<DWORD>(value.size()));
    if (length == 0) {
      if (GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
      return std::string();
    }
    if (length < value.size()) {
      value.resize(length);
      return wideToUtf8(value);
    }
    // Too small: `length` is the size needed, terminator included.
    value.assign(length, L'\0');
  }
  return std::nullopt;
}

outcome::Outcome<std::filesystem::path> userRuntimeConfigFolder() {
  wchar_t* folder = nullptr;
  const HRESULT result = SHGetKnownFolderPath(FOLDERID_LocalAppData, 0, nullptr, &folder);
  std::filesystem::path path;
  if (SUCCEEDED(result) && folder != nullptr) path = std::filesystem::path(folder);
  // Freed whether or not the call succeeded, as the shell asks.
  CoTaskMemFree(folder);
  if (path.empty()) {
    return outcome::Failure{
        "",
        "the shell names no local application data folder for this user (HRESULT " +
            std::to_string(static_cast<unsigned long>(result)) + ")",
        ""};
  }
  return path;
}

}  // namespace ostrel::platform
