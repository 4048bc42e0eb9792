// ostrel-msi-actions.dll: the custom actions of ostrel.msi (ostrel.wxs).
// Each runs ostrel-register.exe from the install folder without a console
// window, copies every line it prints into the installer's log, and acts on
// its exit status as the README's table for installers says. Deferred
// actions: each reads "<app key>;<install folder>" from CustomActionData.
//
// Exported with C names, as Windows Installer looks them up (the CustomAction
// table's Target).
#include <cstdint>
#include <string>
#include <string_view>

#include "QuietProcess.h"
#include "platform/Platform.h"
#include "platform/WindowsHeaders.h"
// After <windows.h>, which they need.
#include <msi.h>
#include <msiquery.h>

namespace ostrel::msiactions {
namespace {

// ostrel-register.exe's exit statuses that change what the installer does.
constexpr std::uint32_t kExitDone = 0;
constexpr std::uint32_t kExitStale = 6;
constexpr std::uint32_t kExitNotRegistered = 7;
constexpr std::uint32_t kExitRuntimeUnreachable = 69;

// Messages to the installer: logged in every mode; a warning or an error is
// also shown (a message box) when the install has a user interface.
class InstallerLog final {
 public:
  explicit InstallerLog(MSIHANDLE install) noexcept : install_(install) {}

  void Info(std::string_view text) const { Send(INSTALLMESSAGE_INFO, text); }
  void Warning(std::string_view text) const {
    Send(static_cast<INSTALLMESSAGE>(INSTALLMESSAGE_WARNING | MB_OK | MB_ICONWARNING), text);
  }
  void Error(std::string_view text) const {
    Send(static_cast<INSTALLMESSAGE>(INSTALLMESSAGE_ERROR | MB_OK | MB_ICONERROR), text);
  }

 private:
  // The text is the record's field 1 and the template names only that field,
  // so brackets in what the command printed are not read as properties.
  void Send(INSTALLMESSAGE kind, std::string_view text) const {
    const MSIHANDLE record = MsiCreateRecord(1);
    if (record == 0) return;
    MsiRecordSetStringW(record, 0, L"[1]");
    MsiRecordSetStringW(record, 1, platform::utf8ToWide(text).c_str());
    MsiProcessMessage(install_, kind, record);
    MsiCloseHandle(record);
  }

  MSIHANDLE install_;
};

// What an action works on: the application's key and the install folder
// (ending in '\'), which holds ostrel-register.exe and app.vrmanifest.
struct Installed {
  std::wstring key;
  std::wstring folder;
};

std::wstring customActionData(MSIHANDLE install) {
  wchar_t none[1] = L"";
  DWORD size = 0;
  const UINT sized = MsiGetPropertyW(install, L"CustomActionData", none, &size);
  if (sized != ERROR_MORE_DATA && sized != ERROR_SUCCESS) return {};
  std::wstring value(static_cast<std::size_t>(size) + 1, L'\0');
  size += 1;
  if (MsiGetPropertyW(install, L"CustomActionData", value.data(), &size) != ERROR_SUCCESS) {
    return {};
  }
  value.resize(size);
  return value;
}

// false, with an error in the log, when the data is not "<key>;<folder>".
bool readInstalled(MSIHANDLE install, const InstallerLog& log, Installed& out) {
  const std::wstring data = customActionData(install);
  const std::size_t separator = data.find(L';');
  if (separator == std::wstring::npos || separator == 0 || separator + 1 == data.size()) {
    log.Error("Ostrel's installer is broken: its registration step got \"" +
              platform::wideToUtf8(data) + "\", not \"<app key>;<install folder>\"");
    return false;
  }
  out.key = data.substr(0, separator);
  out.folder = data.substr(separator + 1);
  if (out.folder.back() != L'\\') out.folder += L'\\';
  return true;
}

std::wstring quoted(const std::wstring& text) { return L"\"" + text + L"\""; }

struct RegisterRun {
  bool started = false;
  std::uint32_t status = 0;
  // The last line it printed: its summary line, or why it could not be run.
  std::string summary;
};

// Runs "ostrel-register.exe <verb>" for the installed manifest; every line
// it prints goes into the log, indented under the command.
RegisterRun runRegister(const Installed& installed, std::string_view verb,
                        const InstallerLog& log) {
  const std::wstring program = installed.folder + L"ostrel-register.exe";
  const std::wstring command = quoted(program) + L" " + platform::utf8ToWide(verb) + L" --key " +
                               quoted(installed.key) + L" --manifest " +
                               quoted(installed.folder + L"app.vrmanifest");
  log.Info("ostrel-register " + std::string(verb));
  RegisterRun run;
  const QuietRun quiet = runQuietly(program, command, [&](std::string_view line) {
    if (line.empty()) return;
    log.Info("  " + std::string(line));
    run.summary = line;
  });
  run.started = quiet.started;
  run.status = quiet.exitStatus;
  if (!quiet.started) run.summary = "ostrel-register.exe could not be run: " + quiet.error;
  log.Info("ostrel-register " + std::string(verb) + ": " +
           (run.started ? "exit status " + std::to_string(run.status) : run.summary));
  return run;
}

UINT registerInstalled(MSIHANDLE install) {
  const InstallerLog log(install);
  Installed installed;
  if (!readInstalled(install, log, installed)) return ERROR_INSTALL_FAILURE;

  // status first: when another listed manifest (an old install folder)
  // holds the key, repair removes it and registers this one. Otherwise
  // ensure, which leaves a registration the runtime already has alone, so a
  // repair or an upgrade keeps the auto-launch the user chose.
  const RegisterRun status = runRegister(installed, "status", log);
  if (!status.started) {
    log.Error("Ostrel could not be registered with SteamVR: " + status.summary);
    return ERROR_INSTALL_FAILURE;
  }
  const std::string_view verb = status.status == kExitStale ? "repair" : "ensure";
  const RegisterRun done = runRegister(installed, verb, log);
  if (done.started && done.status == kExitDone) {
    log.Info("Ostrel is registered with SteamVR.");
    return ERROR_SUCCESS;
  }
  if (done.started && done.status == kExitRuntimeUnreachable) {
    log.Warning("SteamVR could not be reached: " + done.summary +
                "\nOstrel registers itself with SteamVR when it next starts.");
    return ERROR_SUCCESS;
  }
  // The install is rolled back and this manifest's files go with it. When
  // the runtime did not list the manifest before, take back whatever the
  // failed attempt listed (an add whose auto-launch then failed, say).
  if (status.status == kExitNotRegistered) {
    log.Info("Taking back what the failed registration may have listed:");
    runRegister(installed, "unregister", log);
  }
  const std::string exit = done.started ? ", exit " + std::to_string(done.status) : "";
  log.Error("Ostrel could not be registered with SteamVR (ostrel-register " + std::string(verb) +
            exit + "): " + done.summary);
  return ERROR_INSTALL_FAILURE;
}

// Never fails the uninstall: the files go either way, and a runtime that
// cannot be reached drops the entry itself once the manifest is gone.
UINT unregisterInstalled(MSIHANDLE install) {
  const InstallerLog log(install);
  Installed installed;
  if (!readInstalled(install, log, installed)) return ERROR_SUCCESS;
  const RegisterRun run = runRegister(installed, "unregister", log);
  if (run.started && run.status == kExitDone) {
    log.Info("Ostrel's SteamVR registration is removed.");
  } else if (run.started && run.status == kExitRuntimeUnreachable) {
    log.Info("SteamVR could not be reached; it drops Ostrel's entry once the manifest is gone.");
  } else {
    const std::string exit = run.started ? " (exit " + std::to_string(run.status) + ")" : "";
    log.Warning("Ostrel's SteamVR registration could not be removed" + exit + ": " + run.summary);
  }
  return ERROR_SUCCESS;
}

}  // namespace
}  // namespace ostrel::msiactions

// An exception must not cross into Windows Installer; one that reaches here
// (memory ran out) counts as the action failing.
extern "C" __declspec(dllexport) UINT __stdcall OstrelRegister(MSIHANDLE install) {
  try {
    return ostrel::msiactions::registerInstalled(install);
  } catch (...) {
    return ERROR_INSTALL_FAILURE;
  }
}

extern "C" __declspec(dllexport) UINT __stdcall OstrelUnregister(MSIHANDLE install) {
  try {
    return ostrel::msiactions::unregisterInstalled(install);
  } catch (...) {
    return ERROR_SUCCESS;
  }
}
