// Where the OpenVR loader finds the per-user path registry
// (openvrpaths.vrpath) and what it takes from it. The registry reader and the
// judgement of the active runtime both read it through here, so they cannot
// look at different files or read the same one differently.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "ostrel/runtimeregistry/RuntimeRegistry.h"

namespace ostrel::runtimeregistry {

// The variable's value when it is set and not empty; the loader takes an
// empty value as not set.
std::optional<std::string> nonEmptyVariable(IRegistryEnvironment& environment, const char* name);

struct PathRegistryFile {
  enum class Status {
    NotLocated,  // no VR_PATHREG_OVERRIDE and no per-user folder
    Missing,     // no file where it belongs
    Unreadable,  // there, but not a file the loader could use
    Read,
  };
  Status status = Status::NotLocated;
  // VR_PATHREG_OVERRIDE, else <user folder>/openvr/openvrpaths.vrpath;
  // empty when NotLocated.
  std::filesystem::path file;
  // NotLocated, Unreadable: why, one line for a person.
  std::string problem;
  // Read: the first entries of "config" and "runtime" when they are
  // non-empty strings. The environment's overrides are not applied here.
  std::optional<std::string> config;
  std::optional<std::string> runtime;
  // Read: whether the file has a "config" member at all, usable or not.
  bool configMember = false;
};

// Finds and reads the path registry as the loader does; reads at most
// kRegistryFileSizeLimit bytes of it.
PathRegistryFile readPathRegistryFile(IRegistryEnvironment& environment, IRegistryFiles& files);

}  // namespace ostrel::runtimeregistry
