#include "QuietProcess.h"

#include <array>
#include <string>
#include <utility>

#include "platform/WindowsHeaders.h"

namespace ostrel::msiactions {
namespace {

// Owns one kernel handle.
class Handle final {
 public:
  Handle() noexcept = default;
  explicit Handle(HANDLE handle) noexcept
      : handle_(handle == INVALID_HANDLE_VALUE ? nullptr : handle) {}
  ~Handle() { reset(); }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;

  HANDLE get() const noexcept { return handle_; }
  explicit operator bool() const noexcept { return handle_ != nullptr; }
  void reset() noexcept {
    if (handle_ != nullptr) CloseHandle(handle_);
    handle_ = nullptr;
  }

 private:
  HANDLE handle_ = nullptr;
};

QuietRun failure(const char* what, DWORD error) {
  QuietRun run;
  run.error = std::string(what) + " failed (error " + std::to_string(error) + ")";
  return run;
}

// Cuts the pipe's bytes into lines; a "\r\n" ending counts as one.
class LineCutter final {
 public:
  explicit LineCutter(const LineSink& sink) : sink_(sink) {}

  void Add(std::string_view bytes) {
    for (const char c : bytes) {
      if (c == '\n') {
        Emit();
      } else {
        pending_ += c;
      }
    }
  }

  // The last line, when the program did not end it.
  void Finish() {
    if (!pending_.empty()) Emit();
  }

 private:
  void Emit() {
    if (!pending_.empty() && pending_.back() == '\r') pending_.pop_back();
    sink_(pending_);
    pending_.clear();
  }

  const LineSink& sink_;
  std::string pending_;
};

}  // namespace

QuietRun runQuietly(const std::wstring& program, const std::wstring& commandLine,
                    const LineSink& onLine) {
  SECURITY_ATTRIBUTES inheritable{};
  inheritable.nLength = sizeof(inheritable);
  inheritable.bInheritHandle = TRUE;

  HANDLE readEnd = nullptr;
  HANDLE writeEnd = nullptr;
  if (CreatePipe(&readEnd, &writeEnd, &inheritable, 0) == 0) {
    return failure("CreatePipe", GetLastError());
  }
  Handle reader(readEnd);
  Handle writer(writeEnd);
  // The child gets the write end only: holding the read end as well would
  // keep the pipe from ever reporting its end.
  SetHandleInformation(reader.get(), HANDLE_FLAG_INHERIT, 0);
  Handle input(CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inheritable,
                           OPEN_EXISTING, 0, nullptr));

  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = input.get();
  startup.hStdOutput = writer.get();
  startup.hStdError = writer.get();
  PROCESS_INFORMATION started{};
  std::wstring line = commandLine;  // CreateProcessW may write into it
  if (CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                     nullptr, nullptr, &startup, &started) == 0) {
    return failure("CreateProcess", GetLastError());
  }
  Handle process(started.hProcess);
  Handle thread(started.hThread);
  // Now only the child holds the write end, so the pipe ends when it exits.
  writer.reset();
  input.reset();

  LineCutter cutter(onLine);
  std::array<char, 4096> buffer{};
  DWORD got = 0;
  while (ReadFile(reader.get(), buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr) !=
             0 &&
         got > 0) {
    cutter.Add(std::string_view(buffer.data(), got));
  }
  cutter.Finish();

  if (WaitForSingleObject(process.get(), INFINITE) != WAIT_OBJECT_0) {
    return failure("WaitForSingleObject", GetLastError());
  }
  DWORD status = 0;
  if (GetExitCodeProcess(process.get(), &status) == 0) {
    return failure("GetExitCodeProcess", GetLastError());
  }
  QuietRun run;
  run.started = true;
  run.exitStatus = status;
  return run;
}

}  // namespace ostrel::msiactions
