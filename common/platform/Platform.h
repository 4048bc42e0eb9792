// The operating-system services the components use, behind one small
// interface. The build compiles exactly one of PlatformPosix.cpp and
// PlatformWindows.cpp; PlatformPortable.cpp holds what is the same on both.
//
// Internal to the project: not installed, not part of any public header.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ostrel/outcome/Outcome.h"

namespace ostrel::platform {

// Broken-down local time of `secondsSinceEpoch` in the process's time zone.
// On failure (a value the C runtime cannot represent) returns false and leaves
// `out` all zeros, so a caller that ignores the result still reads defined
// values.
bool localTime(std::int64_t secondsSinceEpoch, std::tm& out) noexcept;

// UTF-8 form of a wide string. Ill-formed input is not refused: each unpaired
// UTF-16 surrogate, and on platforms with 32-bit wchar_t each surrogate code
// point or value above U+10FFFF, becomes U+FFFD. An empty result means empty
// input or a conversion the system could not perform.
std::string wideToUtf8(std::wstring_view text);

// Blocks the calling thread for at least `duration` on the monotonic clock.
void sleepFor(std::chrono::milliseconds duration);

// Replaces the function sleepFor calls, so that tests of polling code can
// count sleeps instead of waiting. Returns the previous replacement (nullptr
// for the real sleep); passing nullptr restores the real sleep. Not for use
// while another thread may be sleeping through sleepFor.
using SleepFunction = void (*)(std::chrono::milliseconds);
SleepFunction replaceSleepFunction(SleepFunction replacement) noexcept;

// A wait on one 32-bit word, as a futex offers: waitWhileEqual blocks while
// `word` holds `expected` (it may also return for no reason, so callers
// check again); wakeOneWaiter, called after the word changed, wakes at
// least one thread blocked on it. A wake-up is never lost between a
// waiter's check and its sleep. Usable from program load to the end of exit
// processing. Windows does not use std::atomic::wait: GCC 12's
// implementation there has no futex beneath it, and with it a log line's
// writer once stayed blocked for good while the lock was free.
void waitWhileEqual(const std::atomic<std::uint32_t>& word, std::uint32_t expected) noexcept;
void wakeOneWaiter(std::atomic<std::uint32_t>& word) noexcept;

// ---------------------------------------------------------------------------
// Shared libraries loaded at run time.

// Every exported function comes back as this type; the caller converts it to
// the function's real type, which only it knows.
using LibraryFunction = void (*)();

// Owns one loaded shared library and unloads it when destroyed. The system
// counts loads, so opening a library that is already loaded gives another
// handle to the same copy (same code, same global state). Move-only.
class DynamicLibrary {
 public:
  DynamicLibrary() noexcept = default;
  ~DynamicLibrary();
  DynamicLibrary(DynamicLibrary&& other) noexcept;
  DynamicLibrary& operator=(DynamicLibrary&& other) noexcept;
  DynamicLibrary(const DynamicLibrary&) = delete;
  DynamicLibrary& operator=(const DynamicLibrary&) = delete;

  // Loads the library at `path`, which is used as given (a relative path is
  // taken from the working directory); a bare file name with no folder part
  // is looked up by the system's own search. Windows gets the path as UTF-16,
  // so any name the file system holds can be loaded. A failure's message is
  // the system's reason.
  static outcome::Outcome<DynamicLibrary> open(const std::filesystem::path& path);

  bool isOpen() const noexcept { return handle_ != nullptr; }

  // Gives the handle up without unloading: the library stays loaded until
  // the process ends, and this object holds nothing any more. For a library
  // that leaks whatever it allocated each time it is unloaded; what was
  // looked up in it stays valid.
  void keepLoaded() noexcept { handle_ = nullptr; }

  // Address of the exported function `name`, never null; a failure, with the
  // system's reason as its message, when the library does not export it or is
  // not open. REQUIRES: `name` is the exported (undecorated) C name.
  outcome::Outcome<LibraryFunction> function(const char* name) const;

 private:
  explicit DynamicLibrary(void* handle) noexcept : handle_(handle) {}
  void close() noexcept;

  void* handle_ = nullptr;
};

// The platform's file name for a shared library called `baseName`:
// "libNAME.so" on Linux, "NAME.dll" on Windows.
std::filesystem::path sharedLibraryFileName(std::string_view baseName);

// Folder holding the running program's executable file.
outcome::Outcome<std::filesystem::path> executableDirectory();

// A path as UTF-8 text for messages. POSIX paths are taken to be UTF-8
// already; Windows paths are converted from UTF-16 as wideToUtf8 does.
std::string pathToUtf8(const std::filesystem::path& path);

// ---------------------------------------------------------------------------
// Small files read whole: manifests and the runtime's own files.

struct BoundedFile {
  enum class Status {
    Read,        // `content` holds the bytes
    Missing,     // nothing at the path
    Folder,      // a folder is there
    NotRegular,  // a device, pipe or socket: never opened, since it could block for ever
    Unreadable,  // see `step` and `reason`
  };
  // Where an Unreadable file failed.
  enum class Step { Examine, Open, Read };

  Status status = Status::Missing;
  Step step = Step::Examine;
  std::string content;  // Read: at most the limit + 1 bytes
  std::string reason;   // Unreadable: what the system said, e.g. "Permission denied"
};

// The bytes of the regular file at `path`, at most `limit` + 1 of them (one
// more than the limit, so that a caller can tell the file is over it). Only
// as much memory as the file needs is taken, whatever the limit. Never throws
// but std::bad_alloc.
BoundedFile readBoundedFile(const std::filesystem::path& path, std::size_t limit);

// ---------------------------------------------------------------------------
// Symbolic links, which the runtime follows when it opens a manifest or a
// binary: two different texts may name one file.

// Whether `a` and `b` both exist and are the same file (same device and
// inode on POSIX, same volume and file index on Windows), whichever links
// either goes through. False when either is missing or cannot be examined.
bool sameExistingFile(const std::filesystem::path& a, const std::filesystem::path& b) noexcept;

// Where an existing absolute path really leads when some part of it is a
// symbolic link: its canonical form. nullopt when no part of it is a link
// (the canonical form equals the path with "." and ".." removed), when it
// does not exist, or when it cannot be examined.
std::optional<std::filesystem::path> linkResolvedPath(const std::filesystem::path& path);

// ---------------------------------------------------------------------------
// Text and paths handed in by the user.

// The program's arguments as UTF-8, the program's name first, from main's
// argc and argv. POSIX: argv as it is (UTF-8 by convention). Windows: argv
// went through the ANSI code page, which loses every character it lacks, so
// the UTF-16 command line is split the way the C runtime splits it and
// converted as wideToUtf8 does; argv is used only if the system refuses.
std::vector<std::string> commandLineArguments(int argc, char** argv);

// Wide form of UTF-8 text. Ill-formed input is not refused: each maximal
// ill-formed subsequence (a stray continuation byte, a truncated sequence, an
// overlong or surrogate form) becomes one U+FFFD. Where wchar_t holds UTF-16
// units, code points above U+FFFF become surrogate pairs.
std::wstring utf8ToWide(std::string_view text);

// The full form of a path the user typed. Windows: made absolute against the
// working directory and given back slashes only, by the system's own rules
// (GetFullPathNameW); on failure, or for text holding a NUL, the input comes
// back unchanged. POSIX: a relative path is joined to the working directory
// (text only: "." and ".." stay, no symbolic link is resolved); an absolute
// one, empty text, text holding a NUL, or any path when the working
// directory is not known, comes back unchanged.
std::wstring fullNativePath(std::wstring_view path);

// The file system path that UTF-8 text names. POSIX: the bytes as they are.
// Windows: converted as utf8ToWide does.
std::filesystem::path pathFromUtf8(std::string_view text);

// ---------------------------------------------------------------------------
// The process environment and the per-user folders other programs keep their
// settings in. Defined in UserFolders<OS>.cpp, apart from the rest, so that a
// program that never asks links none of the system libraries they need.

// The value of the environment variable `name` as UTF-8; nullopt when it is
// not set. POSIX: the bytes as they are. Windows: read from the UTF-16
// environment and converted as wideToUtf8 does, so a value holding
// characters outside the ANSI code page arrives intact.
std::optional<std::string> environmentVariable(const char* name);

// The per-user folder under which the OpenVR runtime keeps its path registry
// ("openvr/openvrpaths.vrpath" inside it). Windows: the user's local
// application data folder, as the shell names it
// (SHGetKnownFolderPath(FOLDERID_LocalAppData)). POSIX: $XDG_CONFIG_HOME as
// given when it is set and not empty, as the OpenVR loader takes it, else
// $HOME/.config. A failure when the system names no such folder.
outcome::Outcome<std::filesystem::path> userRuntimeConfigFolder();

}  // namespace ostrel::platform
