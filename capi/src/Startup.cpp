// The start-up handle: keepRegistrationRight run in the caller's thread or
// on one of the handle's own, with a sleeper of the handle's own so that
// another thread can stop it.
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <new>
#include <string>
#include <thread>

#include "Boundary.h"
#include "ostrel.h"
#include "ostrel/startup/StartupRegistration.h"
#include "ostrel/steamvr/Sleeper.h"

struct ostrel_startup {
  ostrel::startup::StartupOptions options;
  ostrel::steamvr::StoppableSleeper stop;
  std::atomic<bool> started{false};
  std::thread worker;  // only for ostrel_startup_start
  // Written once, when the run returns; read from any thread.
  mutable std::mutex mutex;
  std::condition_variable finished;
  std::string message;
  bool done = false;
  int outcome = OSTREL_E_INVALID_STATE;
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

// Does the work and records its end; REQUIRES: s.started was set by this
// caller. The message is moved in before `done` turns true, so a reader
// never sees it change.
int runWork(ostrel_startup& s) noexcept {
  std::string text;
  const int outcome = ostrel::capi::guarded([&] {
    if (s.stop.StopRequested()) {
      text = "cancelled before the start-up registration began";
      return OSTREL_STARTUP_CANCELLED;
    }
    ostrel::startup::StartupServices services;
    services.stop = &s.stop;
    ostrel::startup::StartupOutcome result =
        ostrel::startup::keepRegistrationRight(s.options, services);
    text = std::move(result.text);
    return outcomeCode(result.action);
  });
  // Notified under the lock: a waiter that then destroys the handle cannot
  // do so while this thread still touches it.
  const std::lock_guard lock(s.mutex);
  s.message = std::move(text);
  s.outcome = outcome;
  s.done = true;
  s.finished.notify_all();
  return outcome;
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
  return runWork(*s);
}

OSTREL_API int OSTREL_CALL ostrel_startup_start(ostrel_startup* s, ostrel_startup_done callback,
                                                void* user) {
  if (s == nullptr) return OSTREL_E_INVALID_ARGUMENT;
  if (s->started.exchange(true)) return OSTREL_E_INVALID_STATE;
  const int status = ostrel::capi::guarded([&] {
    s->worker = std::thread([s, callback, user] {
      const int outcome = runWork(*s);
      // The callback may destroy the handle: nothing of it is touched after.
      if (callback != nullptr) callback(s, outcome, user);
    });
    return OSTREL_OK;
  });
  if (status != OSTREL_OK) s->started = false;
  // A refused thread is the system's failure, not a lack of memory.
  return status == OSTREL_OK ? OSTREL_OK : OSTREL_E_INTERNAL;
}

OSTREL_API int OSTREL_CALL ostrel_startup_wait(ostrel_startup* s) {
  if (s == nullptr) return OSTREL_E_INVALID_ARGUMENT;
  if (!s->started) return OSTREL_E_INVALID_STATE;
  std::unique_lock lock(s->mutex);
  s->finished.wait(lock, [s] { return s->done; });
  return s->outcome;
}

OSTREL_API void OSTREL_CALL ostrel_startup_cancel(ostrel_startup* s) {
  if (s != nullptr) s->stop.RequestStop();
}

OSTREL_API const char* OSTREL_CALL ostrel_startup_message(const ostrel_startup* s) {
  if (s == nullptr) return nullptr;
  const std::lock_guard lock(s->mutex);
  // Never changed once set, so the pointer stays good after the lock.
  return s->done ? s->message.c_str() : "";
}

OSTREL_API void OSTREL_CALL ostrel_startup_destroy(ostrel_startup* s) {
  if (s == nullptr) return;
  if (s->worker.joinable()) {
    if (s->worker.get_id() == std::this_thread::get_id()) {
      // From the callback: the thread touches nothing of the handle after.
      s->worker.detach();
    } else {
      s->stop.RequestStop();
      try {
        s->worker.join();
      } catch (...) {
        // join fails only for a thread that cannot be joined; there is
        // nothing left to wait for then.
      }
    }
  }
  delete s;
}

}  // extern "C"
