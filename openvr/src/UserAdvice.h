// The advice that speaks of the user's own account differs between Windows
// (an installer elevated with another administrator's credentials) and Linux
// (a program started through sudo or su, a Flatpak sandbox). The sentences
// are shared; the build compiles one definition of the words that differ,
// for the system the program runs on.
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

}  // namespace ostrel::openvr
