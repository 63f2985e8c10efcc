#include "diagnosis/rule_support.h"

#include "platform/ascii_case.h"
#include "report/runtime_check.h"

Verdict MakeVerdict(Outcome outcome, std::string sentence, std::vector<Evidence> evidence,
                    std::string action) {
    Verdict verdict;
    verdict.outcome = outcome;
    verdict.sentence = std::move(sentence);
    verdict.evidence = FirstEvidence(std::move(evidence));
    verdict.action = std::move(action);
    return verdict;
}

Evidence RowEvidence(BundleLog log, const LogRow& row, std::string observed,
                     std::string expected) {
    // A message has no name of its own: its caption repeats, so its line tells it apart.
    std::string name = log == BundleLog::Messages ? "line " + std::to_string(row.number) : row.Name();
    return Evidence{BundleLogFileName(log), std::move(name), std::move(observed),
                    std::move(expected)};
}

std::vector<Evidence> FirstEvidence(std::vector<Evidence> evidence) {
    if (evidence.size() > kMaxEvidence) {
        const std::size_t more = evidence.size() - kMaxEvidence + 1;
        evidence.resize(kMaxEvidence - 1);
        evidence.push_back(Evidence{"", "", "and " + std::to_string(more) + " more rows like these", ""});
    }
    return evidence;
}

std::string JoinFirstNames(const std::vector<std::string>& names) {
    if (names.size() <= kMaxNamed) {
        return JoinNames(names);
    }
    std::vector<std::string> first(names.begin(), names.begin() + (kMaxNamed - 1));
    first.push_back(std::to_string(names.size() - first.size()) + " more");
    return JoinNames(first);
}

bool DependenciesWalked(const BundleFacts& facts) {
    return !facts.dependencies.needed.empty();
}

Verdict NotWalkedVerdict() {
    return MakeVerdict(Outcome::NotJudged,
                       "Not judged: the dependencies log lists no needed DLL (the plug-in DLL "
                       "could not be read as an image of this program's kind).");
}

std::string JoinNames(const std::vector<std::string>& names) {
    std::string text;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i > 0) {
            text += i + 1 == names.size() ? " and " : ", ";
        }
        text += names[i];
    }
    return text;
}

std::string ExpectedBitness(const BundleFacts& facts) {
    // The system data log names the program's own architecture ("Processor Architecture
    // AMD64" for a 64-bit build, made for tests on machines without 32-bit support; the
    // native one reads "x64 (AMD or Intel)"): such a build walks 64-bit images.
    for (const LogRow& row : facts.view.Rows(BundleLog::SystemData)) {
        if (row.Name() == "Processor Architecture" && row.Last() == "AMD64") {
            return "64-bit";
        }
    }
    return "32-bit";
}

bool RuntimeMissing(const BundleFacts& facts) {
    const std::vector<LogRow> rows = facts.view.Rows(BundleLog::Runtime);
    return !rows.empty() && rows.front().Last() != "found";
}

bool IsRuntimeDll(const std::string& name) {
    const std::string folded = FoldAsciiCase(name);
    return folded == "msvcr100.dll" || folded == "msvcp100.dll";
}

bool IsMissingOpenCvFile(const BundleFacts& facts, const std::string& dll) {
    for (const InstalledFileFact& file : facts.openCv) {
        if (file.checked && !file.found && EndsWithFolded(file.relativePath, "\\" + dll)) {
            return true;
        }
    }
    return false;
}

bool IsInstalledOpenCvFile(const BundleFacts& facts, const std::string& dll) {
    for (const InstalledFileFact& file : facts.openCv) {
        if (file.found && EndsWithFolded(file.relativePath, "\\" + dll)) {
            return true;
        }
    }
    return false;
}

bool OpenCvFolderOffPath(const BundleFacts& facts) {
    if (!facts.view.Has(BundleLog::Path)) {
        return false;
    }
    const std::string folder = OpenCvFolder(facts.openCv);
    if (folder.empty()) {
        return false;
    }
    for (const LogRow& row : facts.view.Rows(BundleLog::Path)) {
        if (row.Last() == "PATH" && SameFolder(row.Name(), folder)) {
            return false;
        }
    }
    return true;
}

const char* ExplainingRule(const BundleFacts& facts, const NeededDllFact& dll) {
    if (IsRuntimeDll(dll.name) && RuntimeMissing(facts)) {
        return "RUNTIME-VC2010";
    }
    if (IsMissingOpenCvFile(facts, dll.name)) {
        return "OPENCV-FILES";
    }
    if (OpenCvFolderOffPath(facts) && IsInstalledOpenCvFile(facts, dll.name)) {
        return "PATH-OPENCV";
    }
    return nullptr;
}

bool DependenciesStopTheLoad(const BundleFacts& facts, std::string* firstCode) {
    const DependencyFacts& deps = facts.dependencies;
    const std::string bitness = ExpectedBitness(facts);
    for (const NeededDllFact& dll : deps.needed) {
        if (dll.delayLoaded) {
            continue;
        }
        if (dll.state == "Not found") {
            const char* other = ExplainingRule(facts, dll);
            *firstCode = other != nullptr ? other : "DLL-NOT-FOUND";
            return true;
        }
        if (dll.state != bitness && dll.state != "API set") {
            *firstCode = "DLL-BITNESS";
            return true;
        }
    }
    for (const MissingFunctionFact& missing : deps.missingFunctions) {
        if (!missing.delayLoaded) {
            *firstCode = "FUNCTION-MISSING";
            return true;
        }
    }
    return false;
}

bool FindLoadFailure(const BundleFacts& facts, MessageFact* failure) {
    for (const MessageFact& message : facts.messages) {
        if (message.caption == "Vorlix   LoadLibrary") {
            *failure = message;
            return true;
        }
    }
    return false;
}
