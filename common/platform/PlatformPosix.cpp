// POSIX side of the platform layer.
#include <dlfcn.h>

#include <cstring>
#include <ctime>
#include <system_error>

#include "ostrel/text/Utf8.h"
#include "platform/Platform.h"

namespace ostrel::platform {

namespace {

using text::kReplacementCharacter;

bool isSurrogate(char32_t value) { return value >= 0xD800 && value <= 0xDFFF; }
bool isHighSurrogate(char32_t value) { return value >= 0xD800 && value <= 0xDBFF; }
bool isLowSurrogate(char32_t value) { return value >= 0xDC00 && value <= 0xDFFF; }

void appendUtf8(std::string& out, char32_t codePoint) {
  if (codePoint < 0x80) {
    out.push_back(static_cast<char>(codePoint));
  } else if (codePoint < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (codePoint >> 6)));
    out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
  } else if (codePoint < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (codePoint >> 12)));
    out.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (codePoint >> 18)));
    out.push_back(static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
  }
}

// wchar_t holds whole code points (Linux, macOS): anything that is not a
// Unicode scalar value gets the replacement character, as Windows gives an
// unpaired surrogate.
[[maybe_unused]] std::string codePointsToUtf8(std::wstring_view text) {
  std::string out;
  out.reserve(text.size());
  for (wchar_t unit : text) {
    auto value = static_cast<char32_t>(unit);
    if (isSurrogate(value) || value > 0x10FFFF) value = kReplacementCharacter;
    appendUtf8(out, value);
  }
  return out;
}

// wchar_t holds UTF-16 units: pairs combine, a lone surrogate is replaced.
[[maybe_unused]] std::string utf16ToUtf8(std::wstring_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    auto value = static_cast<char32_t>(static_cast<std::make_unsigned_t<wchar_t>>(text[i]));
    if (isHighSurrogate(value) && i + 1 < text.size()) {
      auto next = static_cast<char32_t>(static_cast<std::make_unsigned_t<wchar_t>>(text[i + 1]));
      if (isLowSurrogate(next)) {
        appendUtf8(out, 0x10000 + ((value - 0xD800) << 10) + (next - 0xDC00));
        ++i;
        continue;
      }
    }
    appendUtf8(out, isSurrogate(value) ? kReplacementCharacter : value);
  }
  return out;
}

}  // namespace

bool localTime(std::int64_t secondsSinceEpoch, std::tm& out) noexcept {
  std::memset(&out, 0, sizeof out);
  const auto seconds = static_cast<std::time_t>(secondsSinceEpoch);
  if (static_cast<std::int64_t>(seconds) != secondsSinceEpoch) return false;
  if (localtime_r(&seconds, &out) == nullptr) {
    std::memset(&out, 0, sizeof out);
    return false;
  }
  return true;
}

std::string wideToUtf8(std::wstring_view text) {
  if constexpr (sizeof(wchar_t) == 2) {
    return utf16ToUtf8(text);
  } else {
    return codePointsToUtf8(text);
  }
}

namespace {

// dlerror() is the only source of a reason, and it forgets it once read.
std::string lastLoaderError(const char* fallback) {
  const char* reason = dlerror();
  return reason != nullptr ? std::string(reason) : std::string(fallback);
}

}  // namespace

outcome::Outcome<DynamicLibrary> DynamicLibrary::open(const std::filesystem::path& path) {
  // RTLD_NOW: a library with unresolved symbols fails here, with a reason,
  // rather than at its first call. RTLD_LOCAL keeps its symbols out of the
  // libraries loaded after it.
  dlerror();
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) return outcome::Failure{"", lastLoaderError("dlopen failed"), ""};
  return DynamicLibrary(handle);
}

outcome::Outcome<LibraryFunction> DynamicLibrary::function(const char* name) const {
  if (handle_ == nullptr) return outcome::Failure{"", "library not open", ""};
  dlerror();
  void* address = dlsym(handle_, name);
  if (address == nullptr) return outcome::Failure{"", lastLoaderError("symbol not found"), ""};
  // POSIX guarantees that dlsym's object pointer converts to a function
  // pointer.
  return reinterpret_cast<LibraryFunction>(address);
}

void DynamicLibrary::close() noexcept {
  if (handle_ != nullptr) dlclose(handle_);
  handle_ = nullptr;
}

std::filesystem::path sharedLibraryFileName(std::string_view baseName) {
  std::string name = "lib";
  name.append(baseName);
  name.append(".so");
  return name;
}

// Linux names the executable through /proc; the link is absolute and already
// free of symbolic links.
outcome::Outcome<std::filesystem::path> executableDirectory() {
  std::error_code failure;
  std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", failure);
  if (failure) return outcome::Failure{"", "cannot read /proc/self/exe: " + failure.message(), ""};
  return executable.parent_path();
}

std::string pathToUtf8(const std::filesystem::path& path) { return path.native(); }

namespace {

void appendWide(std::wstring& out, char32_t codePoint) {
  if constexpr (sizeof(wchar_t) == 2) {
    if (codePoint >= 0x10000) {
      codePoint -= 0x10000;
      out.push_back(static_cast<wchar_t>(0xD800 + (codePoint >> 10)));
      out.push_back(static_cast<wchar_t>(0xDC00 + (codePoint & 0x3FF)));
      return;
    }
  }
  out.push_back(static_cast<wchar_t>(codePoint));
}

}  // namespace

std::vector<std::string> commandLineArguments(int argc, char** argv) {
  std::vector<std::string> arguments;
  for (int i = 0; i < argc; ++i) arguments.emplace_back(argv[i] != nullptr ? argv[i] : "");
  return arguments;
}

std::wstring utf8ToWide(std::string_view text) {
  std::wstring out;
  out.reserve(text.size());
  std::size_t offset = 0;
  while (offset < text.size()) {
    // An ill-formed stretch comes back as U+FFFD with the length to skip.
    const text::Utf8Step step = text::decodeUtf8(text, offset);
    appendWide(out, step.codePoint);
    offset += step.length;
  }
  return out;
}

// The runtime resolves a relative path against its own working folder, not
// ours, so one is made absolute here. Only by joining: "." and ".." stay
// where the user put them, since the system resolves ".." after a symbolic
// link from the link's target, which text alone cannot know.
std::wstring fullNativePath(std::wstring_view path) {
  if (path.empty() || path.front() == L'/' || path.find(L'\0') != std::wstring_view::npos) {
    return std::wstring(path);
  }
  std::error_code failure;
  const std::filesystem::path current = std::filesystem::current_path(failure);
  if (failure || current.empty()) return std::wstring(path);
  std::wstring full = utf8ToWide(current.native());
  if (full.back() != L'/') full.push_back(L'/');
  full.append(path);
  return full;
}

std::filesystem::path pathFromUtf8(std::string_view text) { return std::string(text); }

// Linux's libstdc++ waits on a futex here: the comparison and the block
// are one system call.
void waitWhileEqual(const std::atomic<std::uint32_t>& word, std::uint32_t expected) noexcept {
  word.wait(expected, std::memory_order_relaxed);
}

void wakeOneWaiter(std::atomic<std::uint32_t>& word) noexcept { word.notify_one(); }

}  // namespace ostrel::platform
