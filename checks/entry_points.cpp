#include "checks/entry_points.h"

const char* const kEntryPointNames[kEntryPointCount + 1] = {
    "Config",      "DoDwell",         "Home",      "InitControl",     "JogOff",     "JogOn",
    "Notify",      "PostInitControl", "Probe",     "Purge",           "Reset",      "SetCode",
    "SetDoButton", "SetGetDRO",       "SetGetLED", "SetGetMenuRange", "SetProName", "SetSetDRO",
    "SetSetLED",   "StopPlug",        "Update",    nullptr,
};

const char kExportCheckPluginPath[] = "C:\\mach3\\plugIns\\lensora.dll";

const char* ExportResultText(bool exported) {
    return exported ? "found" : "Not found";
}
