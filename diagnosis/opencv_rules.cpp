// The rules over the OpenCV files and PATH: every file of the list installed, one version
// throughout, the OpenCV folder on PATH, no PATH entry that misleads the loader.
#include <map>

#include "diagnosis/rule_support.h"
#include "diagnosis/rules.h"
#include "platform/ascii_case.h"
#include "platform/path_text.h"

namespace {

bool IsNeeded(const DependencyFacts& deps, const std::string& file) {
    for (const NeededDllFact& dll : deps.needed) {
        if (EndsWithFolded(file, "\\" + dll.name) || FoldAsciiCase(file) == FoldAsciiCase(dll.name)) {
            return true;
        }
    }
    return false;
}

}  // namespace

Verdict JudgeOpenCvFiles(const BundleFacts& facts) {
    const std::vector<InstalledFileFact>& files = facts.openCv;
    const bool knowsNeeds = DependenciesWalked(facts);
    const DependencyFacts& deps = facts.dependencies;
    std::vector<std::string> needed, unneeded;
    std::vector<Evidence> evidence;
    std::size_t checked = 0;
    for (const InstalledFileFact& file : files) {
        checked += file.checked ? 1 : 0;
        if (!file.checked || file.found) {
            continue;
        }
        const std::string name = FileNameOfPath(file.relativePath);
        (knowsNeeds && IsNeeded(deps, name) ? needed : unneeded).push_back(name);
        evidence.push_back(RowEvidence(BundleLog::Element, file.elementRow, file.elementRow.Last(), "found"));
    }
    if (checked == 0) {
        return MakeVerdict(Outcome::NotJudged, "Not judged: the element log has no row for an OpenCV file.");
    }
    const std::string action = "Install the plug-in again: its setup puts every OpenCV file into " +
                               OpenCvFolder(files) + ".";
    if (!needed.empty()) {
        return MakeVerdict(Outcome::Fail,
                           "OpenCV files that the plug-in needs are not installed: " +
                               JoinFirstNames(needed) + ".",
                           evidence, action);
    }
    if (!unneeded.empty()) {
        return MakeVerdict(Outcome::Warn,
                           "OpenCV files are not installed: " + JoinFirstNames(unneeded) +
                               (knowsNeeds ? "; nothing the plug-in loads needs them (debug DLLs "
                                             "and tools)."
                                           : "; whether the plug-in needs them is not known (no "
                                             "DLL it needs is listed)."),
                           evidence, action);
    }
    return MakeVerdict(Outcome::Pass, "All " + std::to_string(checked) + " OpenCV files are installed.");
}

Verdict JudgeOpenCvVersions(const BundleFacts& facts) {
    std::map<std::string, std::vector<std::string>> filesOfVersion;
    std::vector<Evidence> evidence;
    for (const InstalledFileFact& file : facts.openCv) {
        if (!file.hasVersionRow || file.version == "no version" ||
            !EndsWithFolded(file.relativePath, ".dll")) {
            continue;
        }
        filesOfVersion[file.version].push_back(FileNameOfPath(file.relativePath));
        evidence.push_back(RowEvidence(BundleLog::FileVersions, file.versionRow, file.version));
    }
    if (filesOfVersion.empty()) {
        return MakeVerdict(Outcome::NotJudged,
                           "Not judged: no OpenCV DLL with a file version is listed.");
    }
    if (filesOfVersion.size() == 1) {
        return MakeVerdict(Outcome::Pass,
                           "Every OpenCV DLL is of version " + filesOfVersion.begin()->first + ".");
    }
    // The version most files have is taken as the installation's; the others are named.
    std::string common;
    std::size_t most = 0;
    for (const auto& entry : filesOfVersion) {
        if (entry.second.size() > most) {
            most = entry.second.size();
            common = entry.first;
        }
    }
    std::vector<std::string> odd;
    std::vector<Evidence> oddEvidence;
    for (const auto& entry : filesOfVersion) {
        if (entry.first != common) {
            odd.push_back(JoinNames(entry.second) + " (" + entry.first + ")");
        }
    }
    for (const Evidence& fact : evidence) {
        if (fact.observed != common) {
            oddEvidence.push_back(Evidence{fact.log, fact.row, fact.observed, common});
        }
    }
    return MakeVerdict(Outcome::Warn,
                       "The OpenCV DLLs are of mixed versions: most are " + common + ", but " +
                           JoinNames(odd) + ".",
                       oddEvidence,
                       "Install the plug-in again so that every OpenCV DLL is of the version it "
                       "brings.");
}

Verdict JudgeOpenCvOnPath(const BundleFacts& facts) {
    const std::vector<InstalledFileFact>& files = facts.openCv;
    const std::string folder = OpenCvFolder(files);
    if (folder.empty()) {
        return MakeVerdict(Outcome::NotJudged, "Not judged: the element log names no OpenCV file.");
    }
    bool anyInstalled = false;
    for (const InstalledFileFact& file : files) {
        anyInstalled = anyInstalled || file.found;
    }
    if (!anyInstalled) {
        return MakeVerdict(Outcome::NotJudged,
                           "Not judged: no OpenCV file is installed (OPENCV-FILES names them).");
    }
    if (!OpenCvFolderOffPath(facts)) {
        return MakeVerdict(Outcome::Pass, "The OpenCV folder " + folder + " is on PATH.");
    }
    const Evidence onPath{BundleLogFileName(BundleLog::Path), "", "no entry " + folder,
                          "an entry " + folder};
    std::vector<std::string> notFound;
    for (const NeededDllFact& dll : facts.dependencies.needed) {
        if (dll.state == "Not found" && IsInstalledOpenCvFile(facts, dll.name)) {
            notFound.push_back(dll.name);
        }
    }
    const std::string action = "Add " + folder +
                               " to the system's PATH (System Properties > Environment "
                               "Variables), then restart Mach3.";
    if (!notFound.empty()) {
        return MakeVerdict(Outcome::Fail,
                           "The OpenCV folder " + folder + " is not on PATH, so the loader does "
                           "not find " + JoinNames(notFound) + " that lie there.",
                           {onPath}, action);
    }
    return MakeVerdict(Outcome::Warn,
                       "The OpenCV folder " + folder + " is not on PATH; the plug-in's DLLs are "
                       "found elsewhere for now.",
                       {onPath}, action);
}

Verdict JudgePathEntries(const BundleFacts& facts) {
    std::vector<std::string> problems;
    std::vector<Evidence> evidence;
    for (const SearchFolderFact& folder : facts.dependencies.searchFolders) {
        if (folder.missing && folder.role == "PATH") {
            problems.push_back(folder.folder + " does not exist");
            evidence.push_back(RowEvidence(BundleLog::Dependencies, folder.row,
                                           folder.folder + " not found", "an existing folder"));
        }
    }
    for (const MessageFact& message : facts.messages) {
        if (message.rest.compare(0, 12, "PATH entry \"") == 0) {
            problems.push_back(message.rest.substr(0, message.rest.find("\"  ") + 1) +
                               " holds a control character");
            evidence.push_back(RowEvidence(BundleLog::Messages, message.row, message.rest,
                                           "no control character"));
        }
    }
    if (problems.empty()) {
        return MakeVerdict(Outcome::Pass, facts.view.Has(BundleLog::Dependencies)
                                              ? "Every PATH entry exists and holds only "
                                                "printable characters."
                                              : "No PATH entry holds a control character (whether "
                                                "each exists is not known without the "
                                                "dependencies log).");
    }
    return MakeVerdict(Outcome::Warn, "PATH entries mislead the search: " + JoinNames(problems) + ".",
                       evidence,
                       "Remove or correct those entries of PATH (System Properties > Environment "
                       "Variables).");
}
