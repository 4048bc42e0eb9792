#include "RunnerManifestPath.h"

std::wstring runnerManifestPath() { return L"/opt/ostrel/app.vrmanifest"; }
