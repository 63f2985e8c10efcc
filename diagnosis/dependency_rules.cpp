// The rules over the dependencies log: needed DLLs found, of the right bitness, exporting
// what their importers need; the Visual C++ runtime where its DLLs are needed.
#include "diagnosis/rule_support.h"
#include "diagnosis/rules.h"
#include "platform/path_text.h"

namespace {

const char kDependencies[] = "Lensora_Brenhold.logAnalyzeDependencies";

std::string Who(const NeededDllFact& dll) {
    return (dll.delayLoaded ? "delay-loaded by " : "needed by ") + dll.neededBy;
}

}  // namespace

Verdict JudgeNeededDllsFound(const BundleFacts& facts) {
    const DependencyFacts& deps = facts.dependencies;
    if (!DependenciesWalked(facts)) {
        return NotWalkedVerdict();
    }
    std::vector<std::string> names, delayed, others;
    std::vector<Evidence> evidence;
    for (const NeededDllFact& dll : deps.needed) {
        if (dll.state != "Not found") {
            continue;
        }
        if (const char* other = ExplainingRule(facts, dll)) {
            others.push_back(dll.name + " (" + other + ")");
            continue;
        }
        (dll.delayLoaded ? delayed : names).push_back(dll.name + " (" + Who(dll) + ")");
        evidence.push_back(RowEvidence(BundleLog::Dependencies, dll.row, dll.state + ", " + Who(dll),
                                       "found in the search order"));
    }
    if (!names.empty()) {
        return MakeVerdict(Outcome::Fail,
                           "Not found in the loader's search order: " + JoinFirstNames(names) +
                               "; the plug-in cannot load without it.",
                           evidence,
                           "Install the DLL where the loader looks (the program folder of Mach3 "
                           "or a folder on PATH); the search order is in " +
                               std::string(kDependencies) + ".");
    }
    if (!delayed.empty()) {
        return MakeVerdict(Outcome::Warn,
                           "Delay-loaded but not found: " + JoinNames(delayed) +
                               "; the plug-in loads, but fails when it first calls into it.",
                           evidence, "Install the DLL where the loader looks for it.");
    }
    if (!others.empty()) {
        return MakeVerdict(Outcome::Pass, "No needed DLL is missing but those that their own "
                                          "rules name: " +
                                              JoinNames(others) + ".");
    }
    return MakeVerdict(Outcome::Pass, "Every needed DLL is found.");
}

Verdict JudgeNeededDllsBitness(const BundleFacts& facts) {
    const DependencyFacts& deps = facts.dependencies;
    if (!DependenciesWalked(facts)) {
        return NotWalkedVerdict();
    }
    const std::string bitness = ExpectedBitness(facts);
    std::vector<std::string> names;
    std::vector<Evidence> evidence;
    bool onlyDelayed = true;
    for (const NeededDllFact& dll : deps.needed) {
        if (dll.state == "Not found" || dll.state == bitness || dll.state == "API set") {
            continue;
        }
        names.push_back(dll.name + " (" + dll.state + ", " + dll.path + ", " + Who(dll) + ")");
        evidence.push_back(
            RowEvidence(BundleLog::Dependencies, dll.row, dll.state + " at " + dll.path, bitness));
        onlyDelayed = onlyDelayed && dll.delayLoaded;
    }
    if (names.empty()) {
        return MakeVerdict(Outcome::Pass, "Every needed DLL found is a " + bitness + " image.");
    }
    return MakeVerdict(onlyDelayed ? Outcome::Warn : Outcome::Fail,
                       "The loader picks a DLL that is no " + bitness + " image: " +
                           JoinNames(names) + ".",
                       evidence,
                       "Replace that file with the " + bitness +
                           " DLL that came with the plug-in, or remove it so that the loader "
                           "finds the right one further down the search order.");
}

Verdict JudgeNeededFunctions(const BundleFacts& facts) {
    const DependencyFacts& deps = facts.dependencies;
    if (!DependenciesWalked(facts)) {
        return NotWalkedVerdict();
    }
    if (deps.missingFunctions.empty()) {
        return MakeVerdict(Outcome::Pass,
                           "Every DLL the loader picks exports every function its importers need.");
    }
    const MissingFunctionFact* first = nullptr;
    std::vector<Evidence> evidence;
    for (const MissingFunctionFact& missing : deps.missingFunctions) {
        if (first == nullptr || (first->delayLoaded && !missing.delayLoaded)) {
            first = &missing;
        }
        evidence.push_back(RowEvidence(BundleLog::Dependencies, missing.row,
                                       missing.result + " at " + missing.path,
                                       "exported by " + missing.dll));
        for (const DllCopyFact& copy : missing.copies) {
            evidence.push_back(RowEvidence(BundleLog::Dependencies, copy.row,
                                           copy.result + " at " + copy.path));
        }
    }
    const bool load = !first->delayLoaded;
    std::string sentence = first->dll + " (" + first->path + ", version " + first->version +
                           ") lacks " + first->function + ", which " + first->neededBy +
                           (load ? " needs" : " delay-loads");
    const std::size_t more = deps.missingFunctions.size() - 1;
    if (more > 0) {
        sentence += " (and " + std::to_string(more) + " more missing function" +
                    (more == 1 ? "" : "s") + ")";
    }
    std::string action;
    const DllCopyFact* good = nullptr;
    for (const DllCopyFact& copy : first->copies) {
        if (copy.hasEveryMissingFunction) {
            good = &copy;
            break;
        }
    }
    if (good != nullptr) {
        sentence += "; the copy " + good->path + " (" + good->result.substr(0, good->result.find(',')) +
                    ") has it, but comes later in the search order.";
        action = "Remove or replace " + first->path + ", or put " + FolderOfPath(good->path) +
                 " before " + FolderOfPath(first->path) + " on PATH.";
    } else {
        sentence += "; no other copy in the search order has it.";
        action = "Install the " + first->dll +
                 " that came with the plug-in (the version its importers were built with).";
    }
    if (load) {
        sentence += " The loader refuses the plug-in (\"The specified procedure could not be "
                    "found\").";
    }
    return MakeVerdict(load ? Outcome::Fail : Outcome::Warn, sentence, evidence, action);
}

Verdict JudgeRuntime(const BundleFacts& facts) {
    const std::vector<LogRow> rows = facts.view.Rows(BundleLog::Runtime);
    if (rows.empty()) {
        return MakeVerdict(Outcome::NotJudged, "Not judged: the runtime log holds no row.");
    }
    const LogRow& nameRow = rows.front();
    if (!RuntimeMissing(facts)) {
        return MakeVerdict(Outcome::Pass, "The Visual C++ 2010 x86 runtime is installed.");
    }
    Evidence runtime = RowEvidence(BundleLog::Runtime, nameRow, nameRow.Last(), "found");
    if (!DependenciesWalked(facts)) {
        return MakeVerdict(Outcome::Warn,
                           "The Visual C++ 2010 x86 runtime is not installed; whether the plug-in "
                           "needs it is not known (no DLL it needs is listed).",
                           {runtime}, "Install the Visual C++ 2010 x86 runtime.");
    }
    std::vector<std::string> missing, found;
    std::vector<Evidence> evidence{runtime};
    for (const NeededDllFact& dll : facts.dependencies.needed) {
        if (!IsRuntimeDll(dll.name)) {
            continue;
        }
        if (dll.state == "Not found") {
            missing.push_back(dll.name + " (" + Who(dll) + ")");
            evidence.push_back(RowEvidence(BundleLog::Dependencies, dll.row, dll.state, "found"));
        } else {
            found.push_back(dll.name + " at " + dll.path);
        }
    }
    if (!missing.empty()) {
        return MakeVerdict(Outcome::Fail,
                           "The Visual C++ 2010 x86 runtime is not installed, and " +
                               JoinNames(missing) + " that it provides cannot be found.",
                           evidence,
                           "Install the Microsoft Visual C++ 2010 Redistributable (x86), "
                           "version 10.0.40219, also on 64-bit Windows.");
    }
    if (!found.empty()) {
        return MakeVerdict(Outcome::Pass, "The Visual C++ 2010 x86 runtime is not installed, but "
                                          "the DLLs the plug-in needs of it are found: " +
                                              JoinNames(found) + ".");
    }
    return MakeVerdict(Outcome::Pass, "The Visual C++ 2010 x86 runtime is not installed, and "
                                      "nothing the plug-in loads needs it.");
}
