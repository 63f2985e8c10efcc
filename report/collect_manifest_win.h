// Reads a bundle folder's manifest.txt.
#pragma once

#include <string>

#include "report/collect_manifest.h"

// The folder's manifest, when it has one that reads as a manifest; false for none, one that
// cannot be read, or one that is no manifest of ours.
bool ReadManifestFile(const std::string& folder, CollectManifest* manifest);
