// Process-wide records that the analysis run prepares and its sections share.
#pragma once

#include <windows.h>

#include <memory>

#include "analysis/product_name_list.h"

// Filled by the run and again by the system data section; the plug-in
// version section reads its version numbers.
extern OSVERSIONINFOEXA g_versionRecord;
// The program files folder as this 32-bit process sees it.
extern char g_programFilesFolder[MAX_PATH];
// Exists only while a run is under way.
extern std::unique_ptr<ProductNameList> g_productNames;

// Refills g_versionRecord from the system; true on success.
bool QueryVersionRecord();
