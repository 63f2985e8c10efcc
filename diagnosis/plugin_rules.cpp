// The rules over the plug-in itself: its file, its load, its entry points, its installation
// (uninstall entry, settings) and stray copies in Mach3's plug-in folder.
#include "diagnosis/rule_support.h"
#include "diagnosis/rules.h"
#include "platform/ascii_case.h"
#include "report/opencv_files.h"

Verdict JudgePluginFile(const BundleFacts& facts) {
    const InstalledFileFact plugin = facts.plugin;
    if (!plugin.checked) {
        return MakeVerdict(Outcome::NotJudged,
                           std::string("Not judged: the element log has no row for ") +
                               kPluginDllPath + ".");
    }
    std::vector<Evidence> evidence{
        RowEvidence(BundleLog::Element, plugin.elementRow, plugin.elementRow.Last(), "found")};
    if (!plugin.found) {
        return MakeVerdict(Outcome::Fail,
                           std::string("The plug-in DLL ") + plugin.fullPath + " is not there.",
                           evidence,
                           "Install the plug-in again (its setup puts lensora.dll into Mach3's "
                           "plug-in folder).");
    }
    const std::string bitness = ExpectedBitness(facts);
    if (!plugin.hasVersionRow) {
        return MakeVerdict(Outcome::NotJudged,
                           "Not judged: the file versions log has no row for the plug-in DLL.",
                           evidence);
    }
    evidence.push_back(RowEvidence(BundleLog::FileVersions, plugin.versionRow, plugin.kind, bitness));
    if (plugin.kind == bitness) {
        const bool versioned = !plugin.version.empty() && plugin.version != "no version";
        return MakeVerdict(Outcome::Pass,
                           "The plug-in DLL is there and a " + bitness + " image" +
                               (versioned ? " (version " + plugin.version + ")." : "."),
                           evidence);
    }
    const std::string what = plugin.kind == "not readable" ? "cannot be read"
                             : plugin.kind == "no image"   ? "is no image (cut short or damaged)"
                                                           : "is a " + plugin.kind + " image";
    return MakeVerdict(Outcome::Fail,
                       "The plug-in DLL " + plugin.fullPath + " " + what + "; Mach3 needs a " +
                           bitness + " image.",
                       evidence,
                       plugin.kind == "not readable"
                           ? "Check that the file is not locked or blocked by a virus scanner, "
                             "then install the plug-in again."
                           : "Install the plug-in again from its setup.");
}

Verdict JudgeEntryPoints(const BundleFacts& facts) {
    const std::vector<LogRow> rows = facts.view.Rows(BundleLog::Exports);
    if (rows.empty()) {
        return MakeVerdict(Outcome::NotJudged, "Not judged: the plug-in did not load, so its entry "
                                               "points could not be looked up.");
    }
    std::vector<std::string> missing;
    std::vector<Evidence> evidence;
    for (const LogRow& row : rows) {
        if (row.Last() != "found") {
            missing.push_back(row.Name());
            evidence.push_back(RowEvidence(BundleLog::Exports, row, row.Last(), "found"));
        }
    }
    if (missing.empty()) {
        return MakeVerdict(Outcome::Pass, "The plug-in exports all " + std::to_string(rows.size()) +
                                              " entry points Mach3 calls.");
    }
    return MakeVerdict(Outcome::Fail,
                       "The plug-in does not export " + JoinNames(missing) +
                           ", which Mach3 calls: it is not a Mach3 plug-in of this version.",
                       evidence, "Install the plug-in version made for this Mach3.");
}

Verdict JudgePluginInitialisation(const BundleFacts& facts) {
    MessageFact failure;
    if (!FindLoadFailure(facts, &failure)) {
        if (facts.view.Rows(BundleLog::Exports).empty()) {
            return MakeVerdict(Outcome::NotJudged, "Not judged: the export log holds no row and "
                                                   "the messages log no load failure.");
        }
        return MakeVerdict(Outcome::Pass, "The plug-in loads.");
    }
    const Evidence loadEvidence = RowEvidence(BundleLog::Messages, failure.row, failure.rest,
                                              "no load failure");
    std::string cause;
    const InstalledFileFact plugin = facts.plugin;
    if (plugin.checked && (!plugin.found || (plugin.hasVersionRow && plugin.kind != ExpectedBitness(facts)))) {
        cause = "PLUGIN-FILE";
    } else if (!facts.view.Has(BundleLog::Dependencies)) {
        return MakeVerdict(Outcome::NotJudged,
                           "Not judged: the plug-in does not load, and without the dependencies "
                           "log its cause cannot be told.",
                           {loadEvidence});
    } else {
        DependenciesStopTheLoad(facts, &cause);
    }
    if (!cause.empty()) {
        return MakeVerdict(Outcome::NotJudged,
                           "Not judged apart: the load failure follows from what " + cause +
                               " names.",
                           {loadEvidence});
    }
    return MakeVerdict(Outcome::Fail,
                       "The plug-in does not load although every DLL and function it needs "
                       "resolves: its own initialisation failed (" +
                           failure.rest + ").",
                       {loadEvidence},
                       "Start Mach3 once as administrator; if the plug-in still fails, install it "
                       "again and send this bundle to the plug-in's support with the system's "
                       "text above.");
}

Verdict JudgeSettingsKey(const BundleFacts& facts) {
    for (const MessageFact& message : facts.messages) {
        if (message.rest.find("Plugin not installed, or not at least started once") !=
            std::string::npos) {
            return MakeVerdict(
                Outcome::Warn,
                "The plug-in's settings key is missing: the plug-in has never been started by "
                "this Windows user, so its settings were not read.",
                {RowEvidence(BundleLog::Messages, message.row, message.rest, "no such message")},
                "Start Mach3 with the plug-in enabled once as this user (Config > Config "
                "Plugins), then collect again.");
        }
    }
    if (!facts.view.Has(BundleLog::Settings)) {
        return MakeVerdict(Outcome::NotJudged,
                           "Not judged: the settings log is missing and no message says why.");
    }
    return MakeVerdict(Outcome::Pass, "The plug-in's settings are there.");
}

Verdict JudgeUninstallEntry(const BundleFacts& facts) {
    LogRow version;
    if (facts.view.FindRow(BundleLog::PluginVersion, "Version", &version)) {
        return MakeVerdict(Outcome::Pass,
                           "The plug-in is installed as \"" + version.Last() + "\".");
    }
    const ViewedLog& log = facts.view.Log(BundleLog::PluginVersion);
    if (!log.present && log.absence == kNotWrittenByTheRun) {
        return MakeVerdict(Outcome::Warn,
                           "The plug-in has no uninstall entry: it was not installed by its "
                           "setup, or the entry was removed.",
                           {Evidence{BundleLogFileName(BundleLog::PluginVersion), "",
                                     "not written (no uninstall entry to read)",
                                     "Version row with the plug-in's name"}},
                           "Install the plug-in with its setup, so that its files, settings and "
                           "uninstall entry belong together.");
    }
    return MakeVerdict(Outcome::NotJudged,
                       std::string("Not judged: ") + BundleLogFileName(BundleLog::PluginVersion) +
                           " " + (log.present ? "holds no Version row" : log.absence) + ".");
}

Verdict JudgePluginCopies(const BundleFacts& facts) {
    std::vector<std::string> copies;
    std::vector<Evidence> evidence;
    for (const LogRow& row : facts.view.Rows(BundleLog::Plugins)) {
        const std::string name = FoldAsciiCase(row.Last());
        if (name.compare(0, 7, "lensora") == 0 && name != "lensora.dll") {
            copies.push_back(row.Last());
            evidence.push_back(RowEvidence(BundleLog::Plugins, row, row.Last(), "lensora.dll only"));
        }
    }
    if (copies.empty()) {
        return MakeVerdict(Outcome::Pass, "Mach3's plug-in folder holds no second copy of the plug-in.");
    }
    return MakeVerdict(Outcome::Warn,
                       "Mach3's plug-in folder also holds " + JoinNames(copies) +
                           ": Mach3 loads every DLL there, so two copies of the plug-in run side "
                           "by side.",
                       evidence, "Remove the other copies from Mach3's plug-in folder.");
}
