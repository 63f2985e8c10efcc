// The API-set schema that Windows 7 and later map into every process.
#pragma once

#include <cstddef>

// The schema's bytes as far as they are mapped readable; false on a system without one
// (before Windows 7) or when the pointer leads to no readable memory.
bool ProcessApiSetSchema(const unsigned char** bytes, std::size_t* size);
