// Whether what the runtime holds for an application still matches a
// manifest. After an application is moved or reinstalled elsewhere the
// runtime keeps starting the old binary, which is the stale registration
// users report as "it launches the old version" or "it does not start".
// Text rules over what was already read, and the file system asked only
// whether two texts name one file: nothing here touches the runtime, keeps
// state, or throws but std::bad_alloc.
#pragma once

#include <string>

#include "ostrel/registration/ManifestLocation.h"

namespace ostrel::registration {

// What the runtime reported; empty texts for properties it did not give.
struct RegisteredPlace {
  std::string binaryPath;
  std::string workingDirectory;
};

enum class PlaceMatch {
  Matches,  // the registration points where the manifest does
  Differs,  // it points elsewhere: stale
  Unknown,  // too little known on one side to tell
};

struct PlaceVerdict {
  PlaceMatch match = PlaceMatch::Unknown;
  std::string explanation;  // one sentence for a person, UTF-8
};

// Differs when the registered binary is not the manifest's, or the
// registered working directory is neither the manifest's folder nor its
// binary's; Matches when whatever both sides give agrees; Unknown when
// neither comparison can be made (no binary path on one side, and no
// registered working directory or no manifest folder). The explanation is
// never empty. Compares as sameRegisteredPath does. A relative binary path
// is taken under the manifest's folder, as the runtime takes it.
PlaceVerdict judgeRegisteredPlace(const RegisteredPlace& registered,
                                  const ManifestLocation& manifest);

// The comparison judgeRegisteredPlace uses, for two full paths: the same
// path by the rules of the platform built for (text::samePath: on Windows
// letter case ignored for ASCII letters, '/' read as '\', repeated and
// trailing separators ignored, a "\\?\" prefix not stripped; on Linux bytes
// compared exactly once "." and ".." are removed), or two names of one
// existing file or folder, through symbolic links (on Linux
// ~/.steam/steam and ~/.local/share/Steam name one folder).
bool sameRegisteredPath(const std::string& a, const std::string& b);

}  // namespace ostrel::registration
