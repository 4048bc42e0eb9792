#include "ostrel/registration/AutoLaunchChoice.h"

namespace ostrel::registration {

AutoLaunchChoice userAutoLaunchChoice(std::optional<bool> runtimeAnswer,
                                      const runtimeregistry::RuntimeRegistry& registry) {
  if (runtimeAnswer == true) return {true, true};
  if (registry.autoLaunch) return {true, runtimeAnswer.value_or(*registry.autoLaunch)};
  if (registry.appSettingsRead) return {false, false};
  if (runtimeAnswer) return {true, *runtimeAnswer};
  return {false, false};
}

}  // namespace ostrel::registration
