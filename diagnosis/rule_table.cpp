#include "diagnosis/rules.h"

using L = BundleLog;

const Rule kRules[] = {
    {"PLUGIN-FILE", "The plug-in DLL is there, readable and an image of Mach3's bitness",
     {L::Element, L::FileVersions}, 2, JudgePluginFile},
    {"DLL-NOT-FOUND", "Every DLL the plug-in needs, directly or through another DLL, is found",
     {L::Dependencies}, 1, JudgeNeededDllsFound},
    {"DLL-BITNESS", "Every needed DLL the loader picks is an image of the plug-in's bitness",
     {L::Dependencies}, 1, JudgeNeededDllsBitness},
    {"FUNCTION-MISSING", "The DLL the loader picks exports every function its importers need",
     {L::Dependencies}, 1, JudgeNeededFunctions},
    {"RUNTIME-VC2010", "The Visual C++ 2010 x86 runtime is installed where its DLLs are needed",
     {L::Runtime}, 1, JudgeRuntime},
    {"ENTRY-POINTS", "The plug-in exports the 21 entry points Mach3 calls", {L::Exports}, 1,
     JudgeEntryPoints},
    {"PLUGIN-INIT", "The plug-in loads when every DLL and function it needs resolves",
     {L::Messages, L::Exports}, 2, JudgePluginInitialisation},
    {"OPENCV-FILES", "Every file of the OpenCV list is installed", {L::Element}, 1,
     JudgeOpenCvFiles},
    {"OPENCV-VERSIONS", "The OpenCV DLLs are all of one file version", {L::FileVersions}, 1,
     JudgeOpenCvVersions},
    {"PATH-OPENCV", "The OpenCV folder is on PATH", {L::Path, L::Element}, 2, JudgeOpenCvOnPath},
    {"PATH-ENTRIES", "Every PATH entry exists and holds no control character",
     {L::Path, L::Messages}, 2, JudgePathEntries},
    {"SETTINGS-KEY", "The plug-in's settings are there (it has been started by this user)",
     {L::Messages}, 1, JudgeSettingsKey},
    {"UNINSTALL-ENTRY", "The plug-in has its uninstall entry (it was installed by its setup)",
     {L::Messages}, 1, JudgeUninstallEntry},
    {"PLUGIN-COPIES", "No second copy of the plug-in lies in Mach3's plug-in folder",
     {L::Plugins}, 1, JudgePluginCopies},
};
const int kRuleCount = sizeof kRules / sizeof kRules[0];

std::vector<Verdict> Diagnose(const BundleView& view) {
    std::vector<Verdict> verdicts;
    verdicts.reserve(kRuleCount);
    const BundleFacts facts(view);
    for (const Rule& rule : kRules) {
        Verdict verdict;
        std::string missing;
        for (int i = 0; i < rule.factCount; ++i) {
            const ViewedLog& log = view.Log(rule.facts[i]);
            if (!log.present) {
                missing += (missing.empty() ? "" : "; ") + std::string(BundleLogFileName(rule.facts[i])) +
                           " " + log.absence;
            }
        }
        if (missing.empty()) {
            verdict = rule.judge(facts);
        } else {
            verdict.outcome = Outcome::NotJudged;
            verdict.sentence = "Not judged: " + missing + ".";
        }
        verdict.code = rule.code;
        verdicts.push_back(verdict);
    }
    return verdicts;
}
