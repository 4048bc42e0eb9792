// The summary lines several commands share: the one line a command ends
// with on standard output after a registrar run, a refusal by the manifest
// check or an unreachable runtime, and countText for the counts in them.
// Status, check and repair word their other outcomes themselves. Each
// function returns the line without its newline, which the caller adds; a
// line of success starts with the word a script looks for ("registered",
// "already registered", "removed"). Pure functions of their arguments: they
// share no state and throw nothing but std::bad_alloc.
#pragma once

#include <string>

#include "ostrel/steamvr/IManifestRegistrar.h"

namespace ostrel::registercli {

// What a registrar run came to, as its summary line tells it.
enum class RegistrationOutcome { Registered, AlreadyRegistered, Removed, Failed };

// The summary of a registrar run:
//   Registered         "registered <appKey> from <manifestPath>"
//   AlreadyRegistered  "already registered <appKey>"
//   Removed            "removed <appKey> from <manifestPath>"
//   Failed             "<verb> failed (<result's name>, exit <its status>) for
//                      <appKey> from <manifestPath>: <lastError>", with "no
//                      reason given" for an empty `lastError`
// `result` and `lastError` are read only for Failed. `verb` is the command
// ("register", "ensure", "unregister", "repair"); `manifestPath` the full
// path handed to the registrar, UTF-8. REQUIRES: `verb` is not null.
std::string registrationSummary(const char* verb, RegistrationOutcome outcome,
                                steamvr::RegisterResult result, const std::string& appKey,
                                const std::string& manifestPath, const std::string& lastError);

// The summary when the manifest check stopped register, ensure or repair:
// "<verb> refused: the manifest check found <n> errors and <m> warnings; fix
// them or pass --force". REQUIRES: `verb` is not null.
std::string refusedSummary(const char* verb, int errors, int warnings);

// The summary when no runtime session could be opened: "<verb> failed: the
// SteamVR runtime cannot be reached: <reason>", `reason` being the session's
// own message (registration::RuntimeFailure::message). REQUIRES: `verb` is not null.
std::string unavailableSummary(const char* verb, const std::string& reason);

// The count and the noun, with an "s" unless the count is 1: "1 error",
// "0 warnings", "2 warnings". REQUIRES: `singular` is not null and takes a
// plain "s" plural.
std::string countText(int count, const char* singular);

}  // namespace ostrel::registercli
