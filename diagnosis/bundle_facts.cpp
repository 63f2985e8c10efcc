#include "diagnosis/bundle_facts.h"

#include <cstdlib>

#include "platform/ascii_case.h"
#include "platform/dependency_walk.h"
#include "platform/path_text.h"
#include "report/dependency_texts.h"
#include "report/opencv_files.h"

namespace {

// The pieces the dependencies log is written from.
const char* const kNeededBy = kNeededByText;
const char* const kDelayLoadedBy = kDelayLoadedByText;
const char* const kMissingIn = kMissingInText;
const char* const kCopyWord = kCopyName;
const char* const kSearchFolder = kSearchFolderName;
const char* const kFolderMissing = kFolderMissingText;
const char* const kHasEveryMissing = kHasEveryMissingText;

bool StartsWith(const std::string& text, const char* start) {
    return text.compare(0, std::char_traits<char>::length(start), start) == 0;
}

std::string TrimFolder(std::string folder) {
    while (folder.size() > 3 && (folder.back() == '\\' || folder.back() == '/')) {
        folder.pop_back();
    }
    return FoldAsciiCase(folder);
}

// "opencv_core248.dll copy 2" names another copy of "opencv_core248.dll".
bool IsCopyRowOf(const std::string& name, const std::string& dll) {
    const std::string prefix = FoldAsciiCase(dll) + kCopyWord;
    const std::string folded = FoldAsciiCase(name);
    if (folded.compare(0, prefix.size(), prefix) != 0 || folded.size() == prefix.size()) {
        return false;
    }
    for (std::size_t i = prefix.size(); i < folded.size(); ++i) {
        if (folded[i] < '0' || folded[i] > '9') {
            return false;
        }
    }
    return true;
}

void ReadMissingFunction(const LogRow& row, DependencyFacts& facts) {
    MissingFunctionFact missing;
    missing.row = row;
    const std::string& name = row.Name();
    const std::size_t bang = name.find('!');
    missing.dll = name.substr(0, bang);
    missing.function = name.substr(bang + 1);
    missing.path = row.Middle();
    missing.result = row.Last();
    std::string state;
    SplitNeededResult(missing.result, &state, &missing.neededBy, &missing.delayLoaded);
    const std::string afterMissing = state.substr(std::char_traits<char>::length(kMissingIn));
    missing.version = StartsWith(afterMissing, kNoVersionText)
                          ? std::string(kNoVersionText)
                          : afterMissing.substr(0, afterMissing.find(' '));
    facts.missingFunctions.push_back(missing);
}

}  // namespace

bool SplitNeededResult(const std::string& result, std::string* state, std::string* neededBy,
                       bool* delayLoaded) {
    if (result.empty() || result.back() != ')') {
        return false;
    }
    for (const char* marker : {kNeededBy, kDelayLoadedBy}) {
        const std::size_t at = result.rfind(marker);
        if (at != std::string::npos) {
            const std::size_t length = std::char_traits<char>::length(marker);
            *state = result.substr(0, at);
            *neededBy = result.substr(at + length, result.size() - at - length - 1);
            *delayLoaded = marker == kDelayLoadedBy;
            return true;
        }
    }
    return false;
}

DependencyFacts ReadDependencyFacts(const BundleView& view) {
    DependencyFacts facts;
    for (const LogRow& row : view.Rows(BundleLog::Dependencies)) {
        const std::string& name = row.Name();
        const std::string& last = row.Last();
        if (StartsWith(name, kSearchFolder) && row.FieldCount() >= 2) {
            SearchFolderFact folder;
            folder.row = row;
            folder.folder = row.Middle();
            folder.role = last;
            const std::size_t missingAt = last.rfind(kFolderMissing);
            if (missingAt != std::string::npos &&
                missingAt + std::char_traits<char>::length(kFolderMissing) == last.size()) {
                folder.missing = true;
                folder.role = last.substr(0, missingAt);
            }
            facts.searchFolders.push_back(folder);
            continue;
        }
        if (name.find('!') != std::string::npos && StartsWith(last, kMissingIn)) {
            ReadMissingFunction(row, facts);
            continue;
        }
        if (!facts.missingFunctions.empty() &&
            IsCopyRowOf(name, facts.missingFunctions.back().dll)) {
            DllCopyFact copy;
            copy.row = row;
            copy.path = row.Middle();
            copy.result = last;
            copy.hasEveryMissingFunction = last.find(kHasEveryMissing) != std::string::npos;
            // Every function missing from that DLL is told the same copies.
            const std::string dll = FoldAsciiCase(facts.missingFunctions.back().dll);
            for (MissingFunctionFact& missing : facts.missingFunctions) {
                if (FoldAsciiCase(missing.dll) == dll) {
                    missing.copies.push_back(copy);
                }
            }
            continue;
        }
        NeededDllFact needed;
        if (!SplitNeededResult(last, &needed.state, &needed.neededBy, &needed.delayLoaded)) {
            continue;
        }
        needed.row = row;
        needed.name = name;
        needed.path = row.Middle();
        facts.needed.push_back(needed);
    }
    return facts;
}

namespace {

InstalledFileFact ReadInstalledFile(const BundleView& view, const std::string& relativePath,
                                    bool wholePath) {
    InstalledFileFact fact;
    fact.relativePath = relativePath;
    // The element log's row ends in "found" or "Not found"; a path too long for its field
    // runs into its result, which is then the end of the only field.
    const std::string wanted = wholePath ? relativePath : "\\" + relativePath;
    for (const LogRow& row : view.Rows(BundleLog::Element)) {
        const std::string& name = row.Name();
        std::size_t pathSize = name.size();
        const char* result = nullptr;
        if (row.FieldCount() == 1) {
            for (const char* end : {"Not found", "found"}) {
                const std::size_t endSize = std::char_traits<char>::length(end);
                if (name.size() > endSize &&
                    SameFoldedBytes(name.data() + name.size() - endSize, end, endSize)) {
                    result = end;
                    pathSize -= endSize;
                    break;
                }
            }
        }
        const bool matches = wholePath
                                 ? pathSize == wanted.size() &&
                                       SameFoldedBytes(name.data(), wanted.data(), wanted.size())
                                 : pathSize >= wanted.size() &&
                                       SameFoldedBytes(name.data() + pathSize - wanted.size(),
                                                       wanted.data(), wanted.size());
        if (matches) {
            fact.checked = true;
            fact.found = (result != nullptr ? std::string(result) : row.Last()) == "found";
            fact.elementRow = row;
            fact.fullPath = name.substr(0, pathSize);
            break;
        }
    }
    if (!fact.checked) {
        return fact;
    }
    for (const LogRow& row : view.Rows(BundleLog::FileVersions)) {
        if (EqualFolded(row.Name(), fact.fullPath)) {
            fact.hasVersionRow = true;
            fact.versionRow = row;
            fact.version = row.Middle();
            fact.kind = row.Last();
            break;
        }
    }
    return fact;
}

}  // namespace

InstalledFileFact ReadPluginFileFact(const BundleView& view) {
    return ReadInstalledFile(view, kPluginDllPath, true);
}

std::vector<InstalledFileFact> ReadOpenCvFileFacts(const BundleView& view) {
    std::vector<InstalledFileFact> facts;
    for (const char* const* entry = kOpenCvFiles; *entry != nullptr; ++entry) {
        facts.push_back(ReadInstalledFile(view, *entry, false));
    }
    return facts;
}

std::string OpenCvFolder(const std::vector<InstalledFileFact>& files) {
    for (const InstalledFileFact& file : files) {
        if (file.checked) {
            return FolderOfPath(file.fullPath);
        }
    }
    return std::string();
}

std::vector<MessageFact> ReadMessageFacts(const BundleView& view) {
    std::vector<MessageFact> facts;
    for (const LogRow& row : view.Rows(BundleLog::Messages)) {
        const std::vector<std::string>& fields = row.line->fields;
        MessageFact fact;
        fact.row = row;
        // "Vorlix   LoadLibrary" holds the reader's field end: its two parts are two fields.
        std::size_t next = 1;
        fact.caption = fields[0];
        if (fields[0] == "Vorlix" && fields.size() > 2) {
            fact.caption += "   " + fields[1];
            next = 2;
        }
        for (std::size_t i = next; i < fields.size(); ++i) {
            fact.rest += (i > next ? "  " : "") + fields[i];
        }
        facts.push_back(fact);
    }
    return facts;
}

BundleFacts::BundleFacts(const BundleView& bundle)
    : view(bundle),
      dependencies(ReadDependencyFacts(bundle)),
      plugin(ReadPluginFileFact(bundle)),
      openCv(ReadOpenCvFileFacts(bundle)),
      messages(ReadMessageFacts(bundle)) {}

bool SameFolder(const std::string& a, const std::string& b) {
    return TrimFolder(a) == TrimFolder(b);
}

bool EndsWithFolded(const std::string& text, const std::string& end) {
    return text.size() >= end.size() &&
           SameFoldedBytes(text.data() + text.size() - end.size(), end.data(), end.size());
}
