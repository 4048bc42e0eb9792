#include "RunnerManifestPath.h"

std::wstring runnerManifestPath() { return L"C:\\Program Files\\Ostrel\\app.vrmanifest"; }
