#include "compare/compare_kind.h"

#include "platform/ascii_case.h"
#include "platform/path_text.h"

namespace {

const char kAnalysisExtension[] = ".loganalyze";

}  // namespace

LogKind LogKindOfName(const std::string& path) {
    const std::string extension = ExtensionOfPath(path);
    const std::string lowered = FoldAsciiCase(extension);
    LogKind kind;
    if (lowered == ".logservices") {
        kind.compare = CompareKind::Services;
    } else if (lowered == ".logdlls") {
        kind.compare = CompareKind::Exports;
    } else if (lowered.compare(0, sizeof kAnalysisExtension - 1, kAnalysisExtension) == 0) {
        kind.compare = CompareKind::Analysis;
        kind.section = lowered.substr(sizeof kAnalysisExtension - 1);
    }
    return kind;
}

bool SameLogKind(const LogKind& a, const LogKind& b) {
    return a.compare != CompareKind::None && a.compare == b.compare && a.section == b.section;
}

std::string DescribeLogKind(const LogKind& kind, const std::string& path) {
    switch (kind.compare) {
        case CompareKind::Services:
            return "services";
        case CompareKind::Exports:
            return "exports";
        case CompareKind::Analysis: {
            // The section as the file name spells it.
            const std::string extension = ExtensionOfPath(path);
            const std::string section = extension.substr(sizeof kAnalysisExtension - 1);
            return section.empty() ? "analysis" : "analysis (" + section + ")";
        }
        case CompareKind::None:
            break;
    }
    return "no log";
}

CompareKind CompareKindOfWord(const std::string& word) {
    const std::string lowered = FoldAsciiCase(word);
    if (lowered == "analysis") {
        return CompareKind::Analysis;
    }
    if (lowered == "exports") {
        return CompareKind::Exports;
    }
    if (lowered == "services") {
        return CompareKind::Services;
    }
    return CompareKind::None;
}
