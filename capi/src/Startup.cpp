// The start-up handle: the start-up library's asynchronous handle, run to
// its end (ostrel_startup_run) or left to report through the callback
// (ostrel_startup_start). Its stop is the handle's own, so that a cancel
// before the run stops the run to come.
#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <utility>

#include "Boundary.h"
#include "ostrel.h"
#include "ostrel/manifestcheck/ManifestCheck.h"
#include "ostrel/startup/StartupRegistration.h"
#include "ostrel/steamvr/Sleeper.h"

struct ostrel_startup {
  ostrel::startup::StartupOptions options;
  ostrel::steamvr::StoppableSleeper stop;
  // Set once by the first run or start, which alone may then set `work`.
  std::atomic<bool> claimed{false};
  // Set once `work` is there; readers look at `work` only after this.
  std::atomic<bool> ready{false};
  std::unique_ptr<ostrel::startup::IStartupRegistration> work;
  // Held while `work` is being set, so that a callback that destroys the
  // handle waits until the start is done with it.
  std::mutex starting;
  std::thread::id starter;
  // The system refused a thread: the start-up library then reports on the
  // starting thread, inside the start.
  bool noThread = false;
};

namespace {

using ostrel::startup::StartupOutcome;

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

// Starts the work with the handle's stop; `callback` (may be null) gets the
// outcome on the work's thread. OSTREL_E_INTERNAL, with the handle not run,
// when the system refused a thread and a callback was asked for. REQUIRES:
// this caller claimed the handle.
int begin(ostrel_startup& s, bool report, ostrel_startup_done callback, void* user) {
  ostrel::startup::StartupCallback onDone;
  if (report) {
    onDone = [handle = &s, callback, user](const StartupOutcome& outcome) {
      if (std::this_thread::get_id() == handle->starter) {
        handle->noThread = true;
        return;
      }
      // The start has let go of the handle before the callback may destroy it.
      { const std::lock_guard wait(handle->starting); }
      if (callback != nullptr) callback(handle, outcomeCode(outcome.action), user);
    };
  }
  const std::lock_guard lock(s.starting);
  s.starter = std::this_thread::get_id();
  ostrel::startup::StartupServices services;
  services.stop = &s.stop;
  s.work = ostrel::startup::startRegistration(s.options, services, std::move(onDone));
  if (s.noThread) {
    s.work.reset();
    s.noThread = false;
    return OSTREL_E_INTERNAL;
  }
  s.ready = true;
  return OSTREL_OK;
}

}  // namespace

extern "C" {

OSTREL_API int OSTREL_CALL ostrel_startup_create(const char* app_key, const char* manifest_path,
                                                 const char* loader_path, ostrel_startup** out) {
  if (out == nullptr) return OSTREL_E_INVALID_ARGUMENT;
  *out = nullptr;
  if (!ostrel::capi::acceptableKey(app_key) ||
      !ostrel::capi::acceptablePath(manifest_path, false) ||
      !ostrel::capi::acceptablePath(loader_path, false)) {
    return OSTREL_E_INVALID_ARGUMENT;
  }
  return ostrel::capi::guarded([&] {
    auto handle = std::make_unique<ostrel_startup>();
    handle->options.appKey = app_key;
    handle->options.manifestPath = ostrel::capi::textOrEmpty(manifest_path);
    handle->options.loaderPath = ostrel::capi::textOrEmpty(loader_path);
    handle->options.programFolder = ostrel::capi::programFolder();
    *out = handle.release();
    return OSTREL_OK;
  });
}

OSTREL_API int OSTREL_CALL ostrel_startup_run(ostrel_startup* s) {
  if (s == nullptr) return OSTREL_E_INVALID_ARGUMENT;
  if (s->claimed.exchange(true)) return OSTREL_E_INVALID_STATE;
  const int started = ostrel::capi::guarded([&] { return begin(*s, false, nullptr, nullptr); });
  if (started != OSTREL_OK) {
    s->claimed = false;
    return started;
  }
  return outcomeCode(s->work->Wait().action);
}

OSTREL_API int OSTREL_CALL ostrel_startup_start(ostrel_startup* s, ostrel_startup_done callback,
                                                void* user) {
  if (s == nullptr) return OSTREL_E_INVALID_ARGUMENT;
  if (s->claimed.exchange(true)) return OSTREL_E_INVALID_STATE;
  const int started = ostrel::capi::guarded([&] { return begin(*s, true, callback, user); });
  if (started != OSTREL_OK) s->claimed = false;
  return started;
}

OSTREL_API int OSTREL_CALL ostrel_startup_wait(ostrel_startup* s) {
  if (s == nullptr) return OSTREL_E_INVALID_ARGUMENT;
  if (!s->ready) return OSTREL_E_INVALID_STATE;
  return outcomeCode(s->work->Wait().action);
}

OSTREL_API void OSTREL_CALL ostrel_startup_cancel(ostrel_startup* s) {
  if (s != nullptr) s->stop.RequestStop();
}

OSTREL_API const char* OSTREL_CALL ostrel_startup_message(const ostrel_startup* s) {
  if (s == nullptr) return nullptr;
  // The outcome never changes once the work is done, so the pointer stays
  // good until the handle goes.
  if (!s->ready || !s->work->Done()) return "";
  return s->work->Wait().text.c_str();
}

OSTREL_API void OSTREL_CALL ostrel_startup_destroy(ostrel_startup* s) {
  // The work's handle stops and joins its thread, or lets it end by itself
  // when this is its callback.
  delete s;
}

}  // extern "C"
