// Which DLL an API-set name ("api-ms-win-...", "ext-ms-...") stands for, as the system's
// API-set schema says: the map that Windows 7 and later put into every process
// (PEB->ApiSetMap), in its layouts of version 2 (Windows 7), 4 (8.1) and 6 (10 and 11).
// The bytes are read as untrusted: every offset, length and count is checked.
#pragma once

#include <cstddef>
#include <string>

// Entries of one schema; the schemas Windows ships hold a few thousand.
constexpr std::size_t kMaxApiSetEntries = 65536;

struct ApiSetHost {
    // The bytes are a schema of a known version.
    bool schemaRead = false;
    // The schema has an entry for the name.
    bool known = false;
    // The DLL the entry names for this importer; empty when the set has no host here.
    std::string host;
};

// `importer`: the file name of the DLL that needs the set (an entry may name another host
// for one importer).
ApiSetHost LookUpApiSet(const unsigned char* schema, std::size_t size, const std::string& name,
                        const std::string& importer);
