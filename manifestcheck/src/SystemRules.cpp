#include "SystemRules.h"

namespace ostrel::manifestcheck {

const ISystemRules& systemRules(RuntimeSystem system) {
  switch (system) {
    case RuntimeSystem::Linux:
      return linuxRules();
    case RuntimeSystem::LinuxArm:
      return linuxArmRules();
    case RuntimeSystem::Windows:
      break;
  }
  return windowsRules();
}

}  // namespace ostrel::manifestcheck
