// Exit statuses of ostrel-register and the one summary line each command ends
// with. Setup scripts branch on the status; people read the line.
#pragma once

#include <string>

#include "ostrel/steamvr/IManifestRegistrar.h"

namespace ostrel::registercli {

// 0 to 4 are the registrar's RegisterResult values, unchanged.
inline constexpr int kExitManifestErrors = 5;  // check found errors, not forced
inline constexpr int kExitUsage = 64;          // EX_USAGE
inline constexpr int kExitUnavailable = 69;    // EX_UNAVAILABLE: no runtime session

int exitStatusFor(steamvr::RegisterResult result) noexcept;

// "AddFailed", "PollTimeout", ...; "Unknown" outside the enum.
const char* registerResultName(steamvr::RegisterResult result) noexcept;

// What a registrar run came to, as its summary line tells it.
enum class RegistrationOutcome { Registered, AlreadyRegistered, Removed, Failed };

// The summary of a registrar run. `verb` is "register", "ensure" or
// "unregister"; `manifestPath` the full path handed to the registrar, UTF-8.
std::string registrationSummary(const char* verb, RegistrationOutcome outcome,
                                steamvr::RegisterResult result, const std::string& appKey,
                                const std::string& manifestPath, const std::string& lastError);

// The summary when the manifest check stopped register or ensure.
std::string refusedSummary(const char* verb, int errors, int warnings);

// The summary when no runtime session could be opened; `reason` is the
// session's own message.
std::string unavailableSummary(const char* verb, const std::string& reason);

// "1 error", "2 warnings".
std::string countText(int count, const char* singular);

}  // namespace ostrel::registercli
