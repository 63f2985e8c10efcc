// Every log file that Vorlix writes, in one place.
#pragma once

constexpr char kSystemDataLogPath[] = "C:\\Lensora_Brenhold.logAnalyzeSystemData";
constexpr char kElementLogPath[] = "C:\\Lensora_Brenhold.logAnalyzeElement";
constexpr char kPluginVersionLogPath[] = "C:\\Lensora_Brenhold.logAnalyzePluginVersion";
constexpr char kPluginsLogPath[] = "C:\\Lensora_Brenhold.logAnalyzePlugins";
constexpr char kSettingsLogPath[] = "C:\\Lensora_Brenhold.logAnalyzeSettings";
constexpr char kProductsLogPath[] = "C:\\Lensora_Brenhold.logAnalyzeInstalledProgs";
constexpr char kRuntimeLogPath[] = "C:\\Lensora_Brenhold.logAnalyzeRedist";
constexpr char kPathLogPath[] = "C:\\Lensora_Brenhold.logAnalyzePATH";
constexpr char kFileVersionsLogPath[] = "C:\\Lensora_Brenhold.logAnalyzeFileVersions";
constexpr char kDependenciesLogPath[] = "C:\\Lensora_Brenhold.logAnalyzeDependencies";
constexpr char kExportLogPath[] = "C:\\Lensora_Brenhold.logDlls";
constexpr char kServiceLogPath[] = "C:\\Lensora_Brenhold.logServices";
// Written by the collect run only: the messages the menu commands would show.
constexpr char kMessagesLogPath[] = "C:\\Lensora_Brenhold.logMessages";

// The logs of the three test commands, in the order a full run writes them.
constexpr const char* kTestLogPaths[] = {
    kSystemDataLogPath,   kElementLogPath,      kPluginVersionLogPath, kPluginsLogPath,
    kSettingsLogPath,     kProductsLogPath,     kRuntimeLogPath,       kPathLogPath,
    kFileVersionsLogPath, kDependenciesLogPath, kExportLogPath,        kServiceLogPath,
};
constexpr int kTestLogCount = sizeof kTestLogPaths / sizeof kTestLogPaths[0];

// Written by the diagnosis after the tests (Test > Diagnose, /collect): the verdicts of the
// rules over the logs above.
constexpr char kDiagnosisLogPath[] = "C:\\Lensora_Brenhold.logDiagnosis";
