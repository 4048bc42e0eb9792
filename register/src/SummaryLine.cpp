#include "SummaryLine.h"

#include "ostrel/registration/ExitStatus.h"

namespace ostrel::registercli {

using steamvr::RegisterResult;

std::string countText(int count, const char* singular) {
  return std::to_string(count) + " " + singular + (count == 1 ? "" : "s");
}

std::string registrationSummary(const char* verb, RegistrationOutcome outcome,
                                RegisterResult result, const std::string& appKey,
                                const std::string& manifestPath, const std::string& lastError) {
  switch (outcome) {
    case RegistrationOutcome::Registered:
      return "registered " + appKey + " from " + manifestPath;
    case RegistrationOutcome::AlreadyRegistered:
      return "already registered " + appKey;
    case RegistrationOutcome::Removed:
      return "removed " + appKey + " from " + manifestPath;
    case RegistrationOutcome::Failed:
      break;
  }
  // The registrar leaves LastError empty only on success; say so rather
  // than end the line on a colon.
  const std::string why = lastError.empty() ? "no reason given" : lastError;
  return std::string(verb) + " failed (" + steamvr::registerResultName(result) + ", exit " +
         std::to_string(registration::exitStatusFor(result)) + ") for " + appKey + " from " + manifestPath +
         ": " + why;
}

std::string refusedSummary(const char* verb, int errors, int warnings) {
  return std::string(verb) + " refused: the manifest check found " + countText(errors, "error") +
         " and " + countText(warnings, "warning") + "; fix them or pass --force";
}

std::string unavailableSummary(const char* verb, const std::string& reason) {
  return std::string(verb) + " failed: the SteamVR runtime cannot be reached: " + reason;
}

}  // namespace ostrel::registercli
