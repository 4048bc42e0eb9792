// The words of advice that differ between Windows and Linux: the user's own
// account (an installer elevated with another administrator's credentials;
// a program started through sudo or su, a Flatpak sandbox) and where the
// OpenVR SDK keeps the loader. The sentences are shared; the build compiles
// one definition of the words, for the system the program runs on.
#pragma once

namespace ostrel::openvr {

struct AccountAdviceWords {
  // Who the runtime's folders and registry belong to.
  const char* thisUser;
  // The path registry's name, with where it lives when that helps.
  const char* pathRegistry;
  // How a program comes to run as another account, and what to do instead.
  const char* anotherAccount;
};

const AccountAdviceWords& hostAccountAdviceWords() noexcept;

// The OpenVR SDK's folder that holds the loader for this system:
// "bin\win64" or "bin/linux64".
const char* loaderSdkFolder() noexcept;

}  // namespace ostrel::openvr
