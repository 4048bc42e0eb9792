// The manifest path the scenarios hand the registrar: a full path in the form
// the runtime on the platform built for reads, so the registrar's separator
// rule lets it through. One definition per platform, picked by the build.
#pragma once

#include <string>

std::wstring runnerManifestPath();
