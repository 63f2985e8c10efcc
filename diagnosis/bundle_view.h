// One bundle's logs as the diagnosis rules see them: each log of the collect run read the
// way the comparison reads a log that travelled, or absent with the reason. The same view
// is made from the logs a run has just written on the machine and from a bundle's folder,
// so both give the same verdicts.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "report/log_lines.h"

enum class BundleLog {
    SystemData,
    Element,
    PluginVersion,
    Plugins,
    Settings,
    Products,
    Runtime,
    Path,
    FileVersions,
    Dependencies,
    Exports,
    Services,
    Messages,
};
constexpr int kBundleLogCount = 13;

// "Lensora_Brenhold.logAnalyzeDependencies": the log's file name in a bundle and under C:\.
const char* BundleLogFileName(BundleLog log);
// The log a file name names (ASCII case ignored); false for any other name.
bool BundleLogOfFileName(const std::string& name, BundleLog* log);

// What was found of one log file.
struct BundleFile {
    std::string name;   // file name, as the folder spells it
    bool read = false;  // its bytes could be read
    std::string bytes;
    std::string problem;  // why it could not be read
};

// The cells of one line of a log, by what they mean rather than where the reader put them:
// an empty Value cell leaves no field behind, so the Result is always the last field.
struct LogRow {
    const LogLine* line = nullptr;
    std::size_t number = 0;  // 1 for the first line after the timestamp line

    const std::string& Name() const;
    const std::string& Last() const;
    // The fields between the first and the last, joined by two blanks as the log wrote them;
    // empty for a line of one or two fields.
    std::string Middle() const;
    std::size_t FieldCount() const;
};

struct ViewedLog {
    bool present = false;  // in the run's or the bundle's logs, and readable
    // Why it is not there: "not in the bundle", "not written by this run", "unreadable: ...".
    std::string absence;
    LogLines lines;
};

// Why a log is absent: the run did not write it (a section with nothing to say, such as the
// plug-in version without an uninstall entry), or it was lost on the way.
extern const char kNotWrittenByTheRun[];
extern const char kMissingFromBundle[];
extern const char kNotInBundle[];

class BundleView {
public:
    // `files` are the bundle's logs (other names are passed over). `written`, where known, names
    // the logs the run wrote (this run's on the machine, the manifest's files in a bundle): a
    // log it does not name was not written, one it names but `files` lacks was lost.
    BundleView(const std::vector<BundleFile>& files, const std::vector<std::string>* written);

    const ViewedLog& Log(BundleLog log) const { return logs_[static_cast<int>(log)]; }
    // The log's lines handed over, once nothing reads them here any more (the matrix of many
    // bundles keeps them after the rules have run); the view then holds none of that log.
    LogLines TakeLines(BundleLog log) { return std::move(logs_[static_cast<int>(log)].lines); }
    bool Has(BundleLog log) const { return Log(log).present; }
    std::vector<LogRow> Rows(BundleLog log) const;
    // The first row whose name equals `name`, ASCII case ignored; false when there is none.
    bool FindRow(BundleLog log, const std::string& name, LogRow* row) const;

private:
    ViewedLog logs_[kBundleLogCount];
};
