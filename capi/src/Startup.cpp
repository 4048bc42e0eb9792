// The start-up handle: keepRegistrationRight run in the caller's thread,
// with a sleeper of the handle's own so that another thread can stop it.
#include <atomic>
#include <mutex>
#include <new>
#include <string>

#include "Boundary.h"
#include "ostrel.h"
#include "ostrel/startup/StartupRegistration.h"
#include "ostrel/steamvr/Sleeper.h"

struct ostrel_startup {
  ostrel::startup::StartupOptions options;
  ostrel::steamvr::StoppableSleeper stop;
  std::atomic<bool> started{false};
  // Written once, when the run returns; read from any thread.
  mutable std::mutex messageMutex;
  std::string message;
  bool messageSet = false;
};

namespace {

int outcomeCode(ostrel::startup::StartupAction action) noexcept {
  using ostrel::startup::StartupAction;
  switch (action) {
    case StartupAction::AlreadyRegistered:
      return OSTREL_STARTUP_ALREADY_REGISTERED;
    case StartupAction::Registered:
      return OSTREL_STARTUP_REGISTERED;
    case StartupAction::Repaired:
      return OSTREL_STARTUP_REPAIRED;
    case StartupAction::Unreachable:
      return OSTREL_STARTUP_UNREACHABLE;
    case StartupAction::Failed:
      return OSTREL_STARTUP_FAILED;
    case StartupAction::Cancelled:
      return OSTREL_STARTUP_CANCELLED;
  }
  return OSTREL_STARTUP_FAILED;
}

void setMessage(ostrel_startup& s, std::string text) {
  const std::lock_guard lock(s.messageMutex);
  s.message = std::move(text);
  s.messageSet = true;
}

}  // namespace

extern "C" {

OSTREL_API int OSTREL_CALL ostrel_startup_create(const char* app_key, const char* manifest_path,
                                                 const char* loader_path, ostrel_startup** out) {
  if (out == nullptr) return OSTREL_E_INVALID_ARGUMENT;
  *out = nullptr;
  if (!ostrel::capi::acceptableText(app_key) ||
      !ostrel::capi::acceptableOptionalText(manifest_path) ||
      !ostrel::capi::acceptableOptionalText(loader_path)) {
    return OSTREL_E_INVALID_ARGUMENT;
  }
  return ostrel::capi::guarded([&] {
    auto* handle = new ostrel_startup;
    handle->options.appKey = app_key;
    handle->options.manifestPath = ostrel::capi::textOrEmpty(manifest_path);
    handle->options.loaderPath = ostrel::capi::textOrEmpty(loader_path);
    *out = handle;
    return OSTREL_OK;
  });
}

OSTREL_API int OSTREL_CALL ostrel_startup_run(ostrel_startup* s) {
  if (s == nullptr) return OSTREL_E_INVALID_ARGUMENT;
  if (s->started.exchange(true)) return OSTREL_E_INVALID_STATE;
  return ostrel::capi::guarded([&] {
    if (s->stop.StopRequested()) {
      setMessage(*s, "cancelled before the start-up registration began");
      return OSTREL_STARTUP_CANCELLED;
    }
    ostrel::startup::StartupServices services;
    services.stop = &s->stop;
    ostrel::startup::StartupOutcome outcome =
        ostrel::startup::keepRegistrationRight(s->options, services);
    setMessage(*s, std::move(outcome.text));
    return outcomeCode(outcome.action);
  });
}

OSTREL_API void OSTREL_CALL ostrel_startup_cancel(ostrel_startup* s) {
  if (s != nullptr) s->stop.RequestStop();
}

OSTREL_API const char* OSTREL_CALL ostrel_startup_message(const ostrel_startup* s) {
  if (s == nullptr) return nullptr;
  const std::lock_guard lock(s->messageMutex);
  // Never changed once set, so the pointer stays good after the lock.
  return s->messageSet ? s->message.c_str() : "";
}

OSTREL_API void OSTREL_CALL ostrel_startup_destroy(ostrel_startup* s) { delete s; }

}  // extern "C"
