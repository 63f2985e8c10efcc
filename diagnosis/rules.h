// The diagnosis: a fixed table of rules over the logs of one bundle. Each rule reads only
// the view of the bundle, never a file or the registry, so the user's machine and the
// supporter's give the same verdicts from the same logs.
#pragma once

#include <vector>

#include "diagnosis/bundle_facts.h"
#include "diagnosis/verdict.h"

constexpr int kMaxRuleFacts = 3;

struct Rule {
    const char* code;      // stable: the diagnosis log and comparisons pair verdicts by it
    const char* question;  // what the rule checks, as the README lists it
    // The logs it cannot judge without; absent ones make the verdict "not judged".
    BundleLog facts[kMaxRuleFacts];
    int factCount;
    Verdict (*judge)(const BundleFacts& facts);
};

extern const Rule kRules[];
extern const int kRuleCount;

// Every rule's verdict, in the table's order.
std::vector<Verdict> Diagnose(const BundleView& view);

// The rules themselves, one function each (in their own files by subject).
Verdict JudgePluginFile(const BundleFacts& facts);
Verdict JudgeNeededDllsFound(const BundleFacts& facts);
Verdict JudgeNeededDllsBitness(const BundleFacts& facts);
Verdict JudgeNeededFunctions(const BundleFacts& facts);
Verdict JudgeRuntime(const BundleFacts& facts);
Verdict JudgeEntryPoints(const BundleFacts& facts);
Verdict JudgePluginInitialisation(const BundleFacts& facts);
Verdict JudgeOpenCvFiles(const BundleFacts& facts);
Verdict JudgeOpenCvVersions(const BundleFacts& facts);
Verdict JudgeOpenCvOnPath(const BundleFacts& facts);
Verdict JudgePathEntries(const BundleFacts& facts);
Verdict JudgeSettingsKey(const BundleFacts& facts);
Verdict JudgeUninstallEntry(const BundleFacts& facts);
Verdict JudgePluginCopies(const BundleFacts& facts);
