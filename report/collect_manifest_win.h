// Reads a bundle folder's manifest.txt.
#pragma once

#include <cstddef>
#include <string>

#include "report/collect_manifest.h"

// A manifest is small; anything larger is no manifest of ours, and is not read.
constexpr std::size_t kMaxManifestSize = 1024 * 1024;

// The folder's manifest, when it has one that reads as a manifest; false for none, one that
// cannot be read, or one that is no manifest of ours.
bool ReadManifestFile(const std::string& folder, CollectManifest* manifest);

// The manifest that a manifest.txt read elsewhere holds, on the same terms.
bool ManifestFromBytes(const char* data, std::size_t size, CollectManifest* manifest);
