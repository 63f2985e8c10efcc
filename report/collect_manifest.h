// The manifest of a support bundle: which run made the folder and which files it placed
// there. Written last by "/collect FOLDER", so a folder without one is not a whole bundle;
// read by whoever compares two bundles.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

constexpr char kManifestFileName[] = "manifest.txt";

struct ManifestFile {
    std::string name;  // a plain file name in the bundle folder, never a path
    std::uint64_t size = 0;
};

struct CollectManifest {
    std::string program;  // "Vorlix V1.05"
    std::string run;      // the run's start, as a log's timestamp line: dd.mm.yyyy hh:mm ss
    std::string windows;  // the analysis' Windows version text; empty when unknown
    int exitCode = 0;
    std::vector<ManifestFile> files;  // in the order they were placed
};

// The manifest's bytes: Windows-1252 text, one TAB between fields, CR LF after every line.
// Tabs and line breaks inside a field become blanks, so that every field stays one field.
std::string FormatManifest(const CollectManifest& manifest);

// Reads manifest bytes (LF-only line ends, blanks at line ends and a UTF-8 byte-order mark
// are accepted). False, with *manifest unspecified, for anything that is not a manifest: a
// missing or misplaced line, a malformed timestamp or number, or a file name that is empty,
// names a path (backslash, slash, colon, "." or "..") or is listed twice.
bool ParseManifest(const std::string& bytes, CollectManifest* manifest);
