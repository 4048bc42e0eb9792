// The user's auto-launch choice for a key, and the one rule every
// registration follows with it: a choice the user has made is kept exactly as
// it is, never switched, not even for a moment; where none is recorded, a
// registration switches auto-launch on (for a dashboard overlay, the only
// kind the runtime starts by itself).
//
// The runtime answers auto-launch "off" both for a key whose user switched it
// off and for one nobody ever set, so "off" alone does not tell a choice; its
// settings file (<key>.vrappconfig) does. Pure functions: they share no state
// and throw nothing but std::bad_alloc.
#pragma once

#include <optional>

#include "ostrel/runtimeregistry/RuntimeRegistry.h"

namespace ostrel::registration {

struct AutoLaunchChoice {
  // Whether a choice is known to be made for the key.
  bool recorded = false;
  // The choice, when recorded.
  bool on = false;

  friend bool operator==(const AutoLaunchChoice&, const AutoLaunchChoice&) = default;
};

// The choice from the runtime's answer (`runtimeAnswer`: what
// GetApplicationAutoLaunch said for an installed key, nullopt when it was not
// asked or could not answer) and from its files (`registry`):
//   - the runtime answers on: on (a key nobody set is off);
//   - else, when the settings file has an autolaunch, a choice is recorded:
//     the runtime's answer (off), or the file's when the runtime gave none;
//   - else, when the settings file is known to say nothing: none recorded;
//   - else (the file could not be read) the runtime's answer, off, is taken
//     as the choice, since nothing shows that it is not one; with no answer
//     either, none recorded.
AutoLaunchChoice userAutoLaunchChoice(std::optional<bool> runtimeAnswer,
                                      const runtimeregistry::RuntimeRegistry& registry);

}  // namespace ostrel::registration
