#include <condition_variable>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>

#include "ostrel/common/ILogger.h"
#include "ostrel/startup/StartupRegistration.h"

namespace ostrel::startup {

namespace {

class AsyncStartupRegistration final : public IStartupRegistration {
 public:
  AsyncStartupRegistration(StartupOptions options, StartupServices services,
                           StartupCallback onDone)
      : options_(std::move(options)), services_(services), onDone_(std::move(onDone)) {
    if (services_.stop == nullptr) services_.stop = &ownStop_;
  }

  ~AsyncStartupRegistration() override {
    RequestStop();
    if (!worker_.joinable()) return;
    // From the callback, on the work's own thread: it touches nothing of the
    // handle after the callback returns, so it may end by itself.
    if (worker_.get_id() == std::this_thread::get_id()) {
      worker_.detach();
    } else {
      worker_.join();
    }
  }

  AsyncStartupRegistration(const AsyncStartupRegistration&) = delete;
  AsyncStartupRegistration& operator=(const AsyncStartupRegistration&) = delete;

  // Separate from the constructor so that the thread never sees a
  // half-built object.
  void begin() {
    try {
      worker_ = std::thread([this] { complete(keepRegistrationRight(options_, services_)); });
    } catch (const std::system_error& error) {
      StartupOutcome outcome;
      outcome.text = std::string("no thread for the start-up registration: ") + error.what();
      common::logMessage(common::LogLevel::Error, outcome.text);
      complete(std::move(outcome));
    }
  }

  void RequestStop() noexcept override { services_.stop->RequestStop(); }

  bool Done() const noexcept override {
    const std::lock_guard<std::mutex> lock(mutex_);
    return done_;
  }

  const StartupOutcome& Wait() override {
    std::unique_lock<std::mutex> lock(mutex_);
    finished_.wait(lock, [this] { return done_; });
    return outcome_;
  }

 private:
  void complete(StartupOutcome outcome) {
    {
      const std::lock_guard<std::mutex> lock(mutex_);
      outcome_ = std::move(outcome);
      done_ = true;
    }
    finished_.notify_all();
    // outcome_ no longer changes once done_ is set, so the callback reads it
    // without the lock, and may call Done() or Wait() itself. It may also
    // destroy the handle, so the callable is moved out of it first and
    // nothing of the handle is touched after.
    const StartupCallback onDone = std::move(onDone_);
    if (onDone) onDone(outcome_);
  }

  StartupOptions options_;
  StartupServices services_;
  StartupCallback onDone_;
  steamvr::StoppableSleeper ownStop_;  // services_.stop when none was given

  mutable std::mutex mutex_;
  std::condition_variable finished_;
  bool done_ = false;
  StartupOutcome outcome_;

  std::thread worker_;  // last: started after, and joined before, the rest goes
};

}  // namespace

std::unique_ptr<IStartupRegistration> startRegistration(StartupOptions options,
                                                        StartupServices services,
                                                        StartupCallback onDone) {
  auto handle = std::make_unique<AsyncStartupRegistration>(std::move(options), services,
                                                           std::move(onDone));
  handle->begin();
  return handle;
}

std::unique_ptr<IStartupRegistration> startRegistration(StartupOptions options,
                                                        StartupCallback onDone) {
  return startRegistration(std::move(options), StartupServices{}, std::move(onDone));
}

}  // namespace ostrel::startup
