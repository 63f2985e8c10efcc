#include "diagnosis/bundle_view.h"

#include "platform/ascii_case.h"
#include "report/log_paths.h"

namespace {

// In the order of the enumeration; a bundle holds each log under its name in C:\.
constexpr std::size_t kDrivePrefix = 3;
const char* const kLogPaths[kBundleLogCount] = {
    kSystemDataLogPath, kElementLogPath,  kPluginVersionLogPath, kPluginsLogPath,
    kSettingsLogPath,   kProductsLogPath, kRuntimeLogPath,       kPathLogPath,
    kFileVersionsLogPath, kDependenciesLogPath, kExportLogPath, kServiceLogPath,
    kMessagesLogPath,
};

const std::string kNoField;

}  // namespace

const char* BundleLogFileName(BundleLog log) {
    return kLogPaths[static_cast<int>(log)] + kDrivePrefix;
}

bool BundleLogOfFileName(const std::string& name, BundleLog* log) {
    const std::string folded = FoldAsciiCase(name);
    for (int i = 0; i < kBundleLogCount; ++i) {
        if (folded == FoldAsciiCase(kLogPaths[i] + kDrivePrefix)) {
            *log = static_cast<BundleLog>(i);
            return true;
        }
    }
    return false;
}

const std::string& LogRow::Name() const {
    return line != nullptr && !line->fields.empty() ? line->fields.front() : kNoField;
}

const std::string& LogRow::Last() const {
    return line != nullptr && !line->fields.empty() ? line->fields.back() : kNoField;
}

std::string LogRow::Middle() const {
    std::string middle;
    if (line == nullptr) {
        return middle;
    }
    for (std::size_t i = 1; i + 1 < line->fields.size(); ++i) {
        middle += (i > 1 ? "  " : "") + line->fields[i];
    }
    return middle;
}

std::size_t LogRow::FieldCount() const {
    return line != nullptr ? line->fields.size() : 0;
}

const char kNotWrittenByTheRun[] = "not written by the run";
const char kMissingFromBundle[] = "missing, though the manifest lists it";
const char kNotInBundle[] = "not in the bundle";

BundleView::BundleView(const std::vector<BundleFile>& files,
                       const std::vector<std::string>* written) {
    for (int i = 0; i < kBundleLogCount; ++i) {
        logs_[i].absence = written == nullptr ? kNotInBundle : kNotWrittenByTheRun;
    }
    if (written != nullptr) {
        for (const std::string& name : *written) {
            BundleLog kind;
            if (BundleLogOfFileName(name, &kind)) {
                logs_[static_cast<int>(kind)].absence = kMissingFromBundle;
            }
        }
    }
    for (const BundleFile& file : files) {
        BundleLog kind;
        if (!BundleLogOfFileName(file.name, &kind)) {
            continue;
        }
        ViewedLog& log = logs_[static_cast<int>(kind)];
        if (!file.read) {
            log.present = false;
            log.absence = "unreadable: " + file.problem;
            continue;
        }
        log.present = true;
        log.absence.clear();
        log.lines = ReadLogLines(file.bytes.data(), file.bytes.size());
    }
}

std::vector<LogRow> BundleView::Rows(BundleLog kind) const {
    std::vector<LogRow> rows;
    const ViewedLog& log = Log(kind);
    if (!log.present) {
        return rows;
    }
    rows.reserve(log.lines.lines.size());
    for (std::size_t i = 0; i < log.lines.lines.size(); ++i) {
        rows.push_back(LogRow{&log.lines.lines[i], i + 1});
    }
    return rows;
}

bool BundleView::FindRow(BundleLog kind, const std::string& name, LogRow* row) const {
    const std::string folded = FoldAsciiCase(name);
    for (const LogRow& candidate : Rows(kind)) {
        if (FoldAsciiCase(candidate.Name()) == folded) {
            *row = candidate;
            return true;
        }
    }
    return false;
}
