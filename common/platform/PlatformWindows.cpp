// Windows side of the platform layer.
#include "platform/Platform.h"

#include "platform/WindowsHeaders.h"
// After windows.h, which it needs.
#include <shellapi.h>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

namespace ostrel::platform {

namespace {

// The C runtime takes a TZ variable, when set, in its own "JST-9" form and
// silently falls back to UTC for anything else. An Olson name such as
// "Asia/Tokyo" only ever comes from a Unix environment (Wine passes the
// host's TZ through), where the system time zone already follows it; drop
// it so the runtime asks the system instead of stamping UTC.
void ignoreUnixTimeZoneName() noexcept {
  const char* tz = std::getenv("TZ");
  if (tz != nullptr && (tz[0] == ':' || std::strchr(tz, '/') != nullptr)) {
    _putenv("TZ=");
  }
  _tzset();
}

}  // namespace

bool localTime(std::int64_t secondsSinceEpoch, std::tm& out) noexcept {
  static const bool timeZoneReady = (ignoreUnixTimeZoneName(), true);
  (void)timeZoneReady;
  std::memset(&out, 0, sizeof out);
  const __time64_t seconds = secondsSinceEpoch;
  if (_localtime64_s(&out, &seconds) != 0) {
    std::memset(&out, 0, sizeof out);
    return false;
  }
  return true;
}

// Code page 65001 with flags 0: ill-formed UTF-16 is converted, each unpaired
// surrogate becoming U+FFFD, rather than refused. The first call sizes the
// output, the second fills it.
std::string wideToUtf8(std::wstring_view text) {
  if (text.empty()) return {};
  if (text.size() > static_cast<std::size_t>(INT_MAX)) return {};
  const int units = static_cast<int>(text.size());
  const int bytes =
      WideCharToMultiByte(CP_UTF8, 0, text.data(), units, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return {};
  std::string out(static_cast<std::size_t>(bytes), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), units, out.data(), bytes, nullptr, nullptr);
  return out;
}

namespace {

// The system's sentence for an error code, in UTF-8, with its number, e.g.
// "The specified module could not be found. (error 126)".
std::string systemErrorText(DWORD code) {
  wchar_t* message = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&message), 0, nullptr);
  std::wstring text;
  if (length > 0 && message != nullptr) text.assign(message, length);
  if (message != nullptr) LocalFree(message);
  while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' ')) {
    text.pop_back();
  }
  std::string out = wideToUtf8(text);
  if (!out.empty()) out += ' ';
  out += "(error " + std::to_string(code) + ")";
  return out;
}

}  // namespace

outcome::Outcome<DynamicLibrary> DynamicLibrary::open(const std::filesystem::path& path) {
  // LoadLibraryW reads forward slashes in a full path as part of a relative
  // name; the preferred form has only back slashes.
  std::filesystem::path native = path;
  native.make_preferred();
  // Without this, a damaged or foreign file could stop the program with a
  // message box instead of failing the call.
  DWORD previousMode = 0;
  const bool modeChanged =
      SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &previousMode) != 0;
  HMODULE module = LoadLibraryW(native.c_str());
  const DWORD failure = GetLastError();
  if (modeChanged) SetThreadErrorMode(previousMode, nullptr);
  if (module == nullptr) return outcome::Failure{"", systemErrorText(failure), ""};
  return DynamicLibrary(reinterpret_cast<void*>(module));
}

outcome::Outcome<LibraryFunction> DynamicLibrary::function(const char* name) const {
  if (handle_ == nullptr) return outcome::Failure{"", "library not open", ""};
  FARPROC address = GetProcAddress(static_cast<HMODULE>(handle_), name);
  if (address == nullptr) return outcome::Failure{"", systemErrorText(GetLastError()), ""};
  return reinterpret_cast<LibraryFunction>(address);
}

void DynamicLibrary::close() noexcept {
  if (handle_ != nullptr) FreeLibrary(static_cast<HMODULE>(handle_));
  handle_ = nullptr;
}

std::filesystem::path sharedLibraryFileName(std::string_view baseName) {
  std::wstring name(baseName.begin(), baseName.end());
  name += L".dll";
  return name;
}

// GetModuleFileNameW truncates silently when the buffer is short, so the
// buffer grows until the name fits (long paths reach 32767 units).
outcome::Outcome<std::filesystem::path> executableDirectory() {
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length =
        GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) {
      return outcome::Failure{"", "GetModuleFileNameW: " + systemErrorText(GetLastError()), ""};
    }
    if (length < buffer.size()) {
      buffer.resize(length);
      break;
    }
    if (buffer.size() >= 32768) {
      return outcome::Failure{
          "", "GetModuleFileNameW: executable path longer than 32767 characters", ""};
    }
    buffer.resize(buffer.size() * 2);
  }
  return std::filesystem::path(buffer).parent_path();
}

std::string pathToUtf8(const std::filesystem::path& path) { return wideToUtf8(path.native()); }

// CommandLineToArgvW follows the C runtime's quoting rules, so the split is
// the one argv got, minus the code page.
std::vector<std::string> commandLineArguments(int argc, char** argv) {
  std::vector<std::string> arguments;
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (wide != nullptr) {
    for (int i = 0; i < count; ++i) arguments.push_back(wideToUtf8(wide[i]));
    LocalFree(wide);
    return arguments;
  }
  for (int i = 0; i < argc; ++i) arguments.emplace_back(argv[i] != nullptr ? argv[i] : "");
  return arguments;
}

// Flags 0: ill-formed bytes become U+FFFD rather than failing the call.
std::wstring utf8ToWide(std::string_view text) {
  if (text.empty()) return {};
  if (text.size() > static_cast<std::size_t>(INT_MAX)) return {};
  const int bytes = static_cast<int>(text.size());
  const int units = MultiByteToWideChar(CP_UTF8, 0, text.data(), bytes, nullptr, 0);
  if (units <= 0) return {};
  std::wstring out(static_cast<std::size_t>(units), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), bytes, out.data(), units);
  return out;
}

// The first call sizes the result, terminator included; the working
// directory may change in between, so a second "too small" is retried.
std::wstring fullNativePath(std::wstring_view path) {
  if (path.empty() || path.find(L'\0') != std::wstring_view::npos) return std::wstring(path);
  const std::wstring input(path);
  std::wstring buffer(MAX_PATH, L'\0');
  for (int attempt = 0; attempt < 3; ++attempt) {
    const DWORD length =
        GetFullPathNameW(input.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
    if (length == 0) return input;
    if (length < buffer.size()) {
      buffer.resize(length);
      return buffer;
    }
    buffer.resize(length);
  }
  return input;
}

std::filesystem::path pathFromUtf8(std::string_view text) { return utf8ToWide(text); }

namespace {

// One condition variable for every word waited on: a waiter checks its word
// and goes to sleep under waitLock, so a wake that follows a change of the
// word (and takes waitLock first) cannot fall between the two. Both start
// as all zero bits and need no clean-up, so they work from program load to
// the end of exit processing. (WaitOnAddress would do the same but costs
// every program an import of an API set DLL; these are kernel32's.)
SRWLOCK waitLock = SRWLOCK_INIT;
CONDITION_VARIABLE wordChanged = CONDITION_VARIABLE_INIT;

}  // namespace

void waitWhileEqual(const std::atomic<std::uint32_t>& word, std::uint32_t expected) noexcept {
  AcquireSRWLockExclusive(&waitLock);
  if (word.load(std::memory_order_relaxed) == expected) {
    SleepConditionVariableSRW(&wordChanged, &waitLock, INFINITE, 0);
  }
  ReleaseSRWLockExclusive(&waitLock);
}

void wakeOneWaiter(std::atomic<std::uint32_t>& /*word*/) noexcept {
  AcquireSRWLockExclusive(&waitLock);
  ReleaseSRWLockExclusive(&waitLock);
  // Every waiter, whatever its word: the others find theirs unchanged and
  // wait again.
  WakeAllConditionVariable(&wordChanged);
}

}  // namespace ostrel::platform
